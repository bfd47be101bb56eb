// The d3d9 layer's CPU cost per draw and per full-screen pass, on SDL's
// offscreen driver and Mesa, with the GL state cache on (argument 0) and
// bypassed (argument 1). Targets are tiny so that rasterising costs little.
#include "D3D9Testing.h"

#include "Assembler.h"

#include <benchmark/benchmark.h>
#include <d3d9.h>
#include <windows.h>

#include <stdlib.h>

#include <algorithm>
#include <string>
#include <vector>

namespace
{

LRESULT CALLBACK procedure(HWND a_window, UINT a_message, WPARAM a_wParam, LPARAM a_lParam)
{
    return DefWindowProcA(a_window, a_message, a_wParam, a_lParam);
}

const float g_quad[20] = {-1, 1, 0, 0, 0, 1, 1, 0, 1, 0, -1, -1, 0, 0, 1, 1, -1, 0, 1, 1};

// A device with the system's screen quad and a pair of shaders like its own.
class Bench
{
public:
    Bench()
    {
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        WNDCLASSA description = {};
        description.lpfnWndProc = procedure;
        description.lpszClassName = "d3d9bench";
        RegisterClassA(&description);
        m_window = CreateWindowExA(0, "d3d9bench", "bench", WS_OVERLAPPEDWINDOW, 0, 0, 64, 64,
                                   nullptr, nullptr, nullptr, nullptr);
        m_d3d = Direct3DCreate9(D3D_SDK_VERSION);
        D3DPRESENT_PARAMETERS parameters = {};
        parameters.BackBufferWidth = 64;
        parameters.BackBufferHeight = 64;
        parameters.SwapEffect = D3DSWAPEFFECT_COPY;
        parameters.hDeviceWindow = m_window;
        parameters.Windowed = TRUE;
        parameters.EnableAutoDepthStencil = TRUE;
        parameters.AutoDepthStencilFormat = D3DFMT_D24X8;
        parameters.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
        m_d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, m_window, 0, &parameters,
                            &m_device);
        m_device->CreateVertexBuffer(sizeof(g_quad), D3DUSAGE_WRITEONLY, 0x102, D3DPOOL_DEFAULT,
                                     &m_quad, nullptr);
        void* data = nullptr;
        m_quad->Lock(0, 0, &data, 0);
        std::copy(g_quad, g_quad + 20, static_cast<float*>(data));
        m_quad->Unlock();
        const std::vector<uint32_t> vertex = assemble("vs_3_0\n"
                                                      "const float yscale : c0\n"
                                                      "dcl_position v0\n"
                                                      "dcl_texcoord v1\n"
                                                      "dcl_position o0\n"
                                                      "dcl_texcoord o1\n"
                                                      "mov o0, v0\n"
                                                      "mul o0.y, v0.y, c0.x\n"
                                                      "mov o1.xy, v1\n");
        const std::vector<uint32_t> pixel = assemble("ps_3_0\n"
                                                     "const float4 tint : c0\n"
                                                     "dcl_texcoord v0.xy\n"
                                                     "dcl_2d s0\n"
                                                     "texld r0, v0, s0\n"
                                                     "mul oC0, r0, c0\n");
        m_device->CreateVertexShader(reinterpret_cast<const DWORD*>(vertex.data()), &m_vertex);
        m_device->CreatePixelShader(reinterpret_cast<const DWORD*>(pixel.data()), &m_pixel);
        for (IDirect3DTexture9*& target : m_targets)
            m_device->CreateTexture(4, 4, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A16B16G16R16F,
                                    D3DPOOL_DEFAULT, &target, nullptr);
        m_device->GetRenderTarget(0, &m_backBuffer);
    }

    ~Bench()
    {
        m_backBuffer->Release();
        for (IDirect3DTexture9* target : m_targets)
            target->Release();
        m_vertex->Release();
        m_pixel->Release();
        m_quad->Release();
        m_device->Release();
        m_d3d->Release();
        DestroyWindow(m_window);
    }

    IDirect3DDevice9* device() const { return m_device; }

    // What the system's Quad::draw does for one full-screen pass, into a
    // target and back: bind, shaders, constants, states, draw, restore.
    void pass(int a_index)
    {
        IDirect3DSurface9* surface = nullptr;
        m_targets[a_index % 2]->GetSurfaceLevel(0, &surface);
        m_device->SetRenderTarget(0, surface);
        m_device->SetTexture(0, m_targets[(a_index + 1) % 2]);
        m_device->SetVertexShader(m_vertex);
        m_device->SetPixelShader(m_pixel);
        const float yscale[4] = {1, 0, 0, 0};
        const float tint[4] = {1, 1, 1, 1};
        m_device->SetVertexShaderConstantF(0, yscale, 1);
        m_device->SetPixelShaderConstantF(0, tint, 1);
        m_device->SetRenderState(D3DRS_ZENABLE, FALSE);
        m_device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
        m_device->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
        m_device->SetSamplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP);
        for (DWORD stage = 2; stage < 4; ++stage)
            for (D3DSAMPLERSTATETYPE type :
                 {D3DSAMP_MINFILTER, D3DSAMP_MAGFILTER, D3DSAMP_MIPFILTER})
                m_device->SetSamplerState(stage, type, D3DTEXF_LINEAR);
        m_device->SetStreamSource(0, m_quad, 0, 20);
        m_device->SetFVF(0x102);
        m_device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
        m_device->SetRenderState(D3DRS_ZENABLE, TRUE);
        m_device->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
        for (DWORD stage = 0; stage < 2; ++stage)
        {
            m_device->SetSamplerState(stage, D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP);
            m_device->SetSamplerState(stage, D3DSAMP_ADDRESSV, D3DTADDRESS_WRAP);
        }
        m_device->SetRenderTarget(0, m_backBuffer);
        m_device->SetTexture(0, nullptr);
        surface->Release();
    }

    void bindQuad()
    {
        IDirect3DSurface9* surface = nullptr;
        m_targets[0]->GetSurfaceLevel(0, &surface);
        m_device->SetRenderTarget(0, surface);
        surface->Release();
        m_device->SetTexture(0, m_targets[1]);
        m_device->SetVertexShader(m_vertex);
        m_device->SetPixelShader(m_pixel);
        m_device->SetRenderState(D3DRS_ZENABLE, FALSE);
        m_device->SetStreamSource(0, m_quad, 0, 20);
        m_device->SetFVF(0x102);
    }

private:
    static std::vector<uint32_t> assemble(const std::string& a_source)
    {
        std::vector<uint32_t> tokens;
        AssemblyError error;
        Assembler::assemble(a_source, tokens, error);
        return tokens;
    }

    HWND m_window = nullptr;
    IDirect3D9* m_d3d = nullptr;
    IDirect3DDevice9* m_device = nullptr;
    IDirect3DVertexBuffer9* m_quad = nullptr;
    IDirect3DVertexShader9* m_vertex = nullptr;
    IDirect3DPixelShader9* m_pixel = nullptr;
    IDirect3DTexture9* m_targets[2] = {};
    IDirect3DSurface9* m_backBuffer = nullptr;
};

Bench& bench()
{
    static Bench g_bench;
    return g_bench;
}

// One quad draw with nothing changed since the last: constants uploaded,
// states applied, the draw issued.
void perDraw(benchmark::State& a_state)
{
    D3D9Testing::bypassGlStateCache(a_state.range(0) != 0);
    bench().bindQuad();
    const float tint[4] = {1, 1, 1, 1};
    for (auto step : a_state)
    {
        bench().device()->SetPixelShaderConstantF(0, tint, 1);
        bench().device()->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
    }
    D3D9Testing::bypassGlStateCache(false);
}
BENCHMARK(perDraw)->Arg(0)->Arg(1);

// One full-screen pass as the filters make them, ping-ponging two targets.
void perPass(benchmark::State& a_state)
{
    D3D9Testing::bypassGlStateCache(a_state.range(0) != 0);
    int index = 0;
    for (auto step : a_state)
        bench().pass(index++);
    D3D9Testing::bypassGlStateCache(false);
}
BENCHMARK(perPass)->Arg(0)->Arg(1);

}  // namespace
