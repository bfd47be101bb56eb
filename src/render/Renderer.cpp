// Device creation, capability checks and the frame.
#include "render/Renderer.h"

#include "core/FatalError.h"
#include "core/LauncherSettings.h"
#include "core/Assert.h"
#include "render/Quad.h"
#include "render/RenderTarget.h"
#include "render/Shader.h"

#include <stdlib.h>

#include <new>

Renderer* Renderer::create()
{
    Renderer* renderer = new (std::nothrow) Renderer();
    TARVO_ASSERT(renderer);
    // Not tested here: beginFrame's assertion catches a missing object.
    renderer->m_d3d = Direct3DCreate9(D3D_SDK_VERSION);
    return renderer;
}

Renderer::~Renderer()
{
    shutdown();
}

ReturnCode Renderer::init(int32_t a_width, int32_t a_height, HWND a_window)
{
    m_width = a_width;
    m_height = a_height;

    // The launcher offered only modes that exist; the result is not examined.
    D3DDISPLAYMODE mode = {};
    m_d3d->EnumAdapterModes(D3DADAPTER_DEFAULT, D3DFMT_X8R8G8B8, static_cast<UINT>(g_displayMode),
                            &mode);
    m_backBufferWidth = static_cast<int32_t>(mode.Width);
    m_backBufferHeight = static_cast<int32_t>(mode.Height);

    D3DPRESENT_PARAMETERS parameters = {};
    parameters.BackBufferWidth = mode.Width;
    parameters.BackBufferHeight = mode.Height;
    parameters.BackBufferFormat = g_windowed ? D3DFMT_UNKNOWN : D3DFMT_X8R8G8B8;
    parameters.BackBufferCount = g_windowed ? 0 : 1;
    parameters.MultiSampleType = D3DMULTISAMPLE_NONE;
    parameters.SwapEffect = g_windowed ? D3DSWAPEFFECT_COPY : D3DSWAPEFFECT_DISCARD;
    parameters.hDeviceWindow = a_window;
    parameters.Windowed = g_windowed ? TRUE : FALSE;
    parameters.EnableAutoDepthStencil = TRUE;
    parameters.AutoDepthStencilFormat = D3DFMT_D24X8;
    parameters.PresentationInterval = D3DPRESENT_INTERVAL_ONE;

    // A window whose client area has about the display mode's size.
    if (g_windowed)
    {
        const int width = static_cast<int>(mode.Width) + 2 * GetSystemMetrics(SM_CXFRAME);
        const int height = static_cast<int>(mode.Height) + GetSystemMetrics(SM_CYSIZE) +
                           GetSystemMetrics(SM_CYBORDER) + 2 * GetSystemMetrics(SM_CYFRAME);
        MoveWindow(a_window, 50, 50, width, height, TRUE);
    }

    // A second try: device creation can fail once while a mode switch settles.
    for (int attempt = 0; attempt < 2 && !m_device; ++attempt)
    {
        if (FAILED(m_d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, a_window,
                                       D3DCREATE_HARDWARE_VERTEXPROCESSING, &parameters,
                                       &m_device)))
            m_device = nullptr;
    }
    if (!m_device)
        return ReturnCode(ReturnCode::kFailure);

    ReturnCode capable = checkCapabilities();
    if (capable.failed())
        return failInit();

    m_device->GetRenderTarget(0, &m_backBuffer);
    m_quad = Quad::create(this);
    if (!m_quad)
        return failInit();
    for (DWORD stage = 0; stage < 4; ++stage)
        setLinearFiltering(stage);
    // A filter given a missing scratch target would have nothing to draw
    // into: the device refusing one fails init like a refused device.
    for (RenderTarget*& target : m_targets)
    {
        target = RenderTarget::create(this, m_width, m_height, D3DFMT_A16B16G16R16F);
        if (!target)
            return failInit();
    }
    return ReturnCode(ReturnCode::kSuccess);
}

ReturnCode Renderer::failInit()
{
    shutdown();
    return ReturnCode(ReturnCode::kFailure);
}

// Shader Model 3.0 first, then the four colour targets the geometry pass binds
// at once; only the first failing check speaks.
ReturnCode Renderer::checkCapabilities()
{
    D3DCAPS9 caps = {};
    m_device->GetDeviceCaps(&caps);
    if (caps.PixelShaderVersion < D3DPS_VERSION(3, 0) ||
        caps.VertexShaderVersion < D3DVS_VERSION(3, 0))
    {
        fatalError("Shader Model 3.0 not supported.");
        return ReturnCode(ReturnCode::kFailure);
    }
    if (caps.NumSimultaneousRTs < 4)
    {
        fatalError("Number of simultaneous render targets supported is too low.");
        return ReturnCode(ReturnCode::kFailure);
    }
    return ReturnCode(ReturnCode::kSuccess);
}

ReturnCode Renderer::shutdown()
{
    if (m_backBuffer)
    {
        m_backBuffer->Release();
        m_backBuffer = nullptr;
    }
    if (m_device)
    {
        m_device->Release();
        m_device = nullptr;
    }
    if (m_d3d)
    {
        m_d3d->Release();
        m_d3d = nullptr;
    }
    delete m_quad;
    m_quad = nullptr;
    for (RenderTarget*& target : m_targets)
    {
        delete target;
        target = nullptr;
    }
    return ReturnCode(ReturnCode::kSuccess, true);
}

ReturnCode Renderer::beginFrame()
{
    TARVO_ASSERT(m_d3d && m_device);
    m_device->BeginScene();
    return ReturnCode(ReturnCode::kSuccess, true);
}

// Every resource lives in D3DPOOL_DEFAULT and would be lost with the device,
// and there is no reset: a lost device ends the demo, quietly.
ReturnCode Renderer::endFrame()
{
    m_device->EndScene();
    if (m_device->Present(nullptr, nullptr, nullptr, nullptr) == D3DERR_DEVICELOST)
        exit(0);
    return ReturnCode(ReturnCode::kSuccess, true);
}

void Renderer::restoreBackBuffer()
{
    m_device->SetRenderTarget(0, m_backBuffer);
    m_width = m_backBufferWidth;
    m_height = m_backBufferHeight;
    for (DWORD index = 1; index < 4; ++index)
        m_device->SetRenderTarget(index, nullptr);
}

void Renderer::setShaders(const ShaderPair& a_shaders)
{
    m_vertexShader = a_shaders.vertex;
    m_vertexShader->bind();
    m_pixelShader = a_shaders.pixel;
    m_pixelShader->bind();
}

void Renderer::setLinearFiltering(DWORD a_stage)
{
    m_device->SetSamplerState(a_stage, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    m_device->SetSamplerState(a_stage, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    m_device->SetSamplerState(a_stage, D3DSAMP_MIPFILTER, D3DTEXF_LINEAR);
}

void Renderer::setPointFiltering(DWORD a_stage)
{
    m_device->SetSamplerState(a_stage, D3DSAMP_MINFILTER, D3DTEXF_POINT);
    m_device->SetSamplerState(a_stage, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
    m_device->SetSamplerState(a_stage, D3DSAMP_MIPFILTER, D3DTEXF_POINT);
}

// The internal image is 16:9; on a monitor of another aspect its height is
// scaled about the centre to keep its proportions, over bars of the cleared
// black. The factor is the single-precision quotient of the aspect and 16/9:
// 0.75 for 4:3, 0.703125 for 5:4, 1 for 16:9, 0.9 for 16:10.
void Renderer::drawToScreen(RenderTarget* a_target)
{
    TARVO_ASSERT(a_target && m_quad);
    restoreBackBuffer();
    const float yscale = g_aspect / 1.7777778f;
    // The bars are the only pixels the quad leaves: on a 16:9 monitor it
    // covers the whole back buffer and clearing it first would only cost a
    // full-screen write.
    if (yscale < 1.0f)
        m_device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
    for (DWORD stage = 0; stage < 5; ++stage)
        setLinearFiltering(stage);
    a_target->bindTexture(0);
    m_quad->drawScreen(yscale);
}

RenderTarget* Renderer::getTarget(uint32_t a_index)
{
    TARVO_ASSERT(a_index < 3);
    return m_targets[a_index];
}
