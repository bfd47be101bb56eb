// The Direct3D 9 device over an OpenGL 4.5 compatibility context on the
// device window, with D3D9's conventions (see QUIRKS.md). The COM object:
// each call goes to the part that owns it, the recorded state (DeviceState),
// its translation to GL at draw time (DrawTranslator) or the context and its
// frames (DeviceContext), and the device keeps the list of its resources.
#pragma once

#include "ComObject.h"
#include "DeviceContext.h"
#include "DeviceState.h"
#include "DrawTranslator.h"

#include <d3d9.h>

#include <unordered_set>
#include <vector>

class DeviceChild;
class ShaderCode;

class Device9 final : public ComObject<IDirect3DDevice9>
{
public:
    // CreateDevice's work: checks the present parameters, makes the GL
    // context, the back buffer and its depth buffer.
    static HRESULT create(HWND a_focusWindow, D3DPRESENT_PARAMETERS* a_parameters,
                          IDirect3DDevice9** a_device);

    // Capabilities and presentation.
    HRESULT GetDeviceCaps(D3DCAPS9* a_caps) override;
    HRESULT Present(const RECT* a_sourceRect, const RECT* a_destRect, HWND a_destWindow,
                    const void* a_dirtyRegion) override;

    // Resources.
    HRESULT CreateTexture(UINT a_width, UINT a_height, UINT a_levels, DWORD a_usage,
                          D3DFORMAT a_format, D3DPOOL a_pool, IDirect3DTexture9** a_texture,
                          HANDLE* a_shared) override;
    HRESULT CreateCubeTexture(UINT a_edgeLength, UINT a_levels, DWORD a_usage, D3DFORMAT a_format,
                              D3DPOOL a_pool, IDirect3DCubeTexture9** a_texture,
                              HANDLE* a_shared) override;
    HRESULT CreateOffscreenPlainSurface(UINT a_width, UINT a_height, D3DFORMAT a_format,
                                        D3DPOOL a_pool, IDirect3DSurface9** a_surface,
                                        HANDLE* a_shared) override;
    HRESULT CreateVertexBuffer(UINT a_length, DWORD a_usage, DWORD a_fvf, D3DPOOL a_pool,
                               IDirect3DVertexBuffer9** a_buffer, HANDLE* a_shared) override;
    HRESULT CreateIndexBuffer(UINT a_length, DWORD a_usage, D3DFORMAT a_format, D3DPOOL a_pool,
                              IDirect3DIndexBuffer9** a_buffer, HANDLE* a_shared) override;

    // Targets, their contents and the frame.
    HRESULT GetBackBuffer(UINT a_swapChain, UINT a_index, D3DBACKBUFFER_TYPE a_type,
                          IDirect3DSurface9** a_surface) override;
    HRESULT GetRenderTargetData(IDirect3DSurface9* a_target,
                                IDirect3DSurface9* a_destination) override;
    HRESULT SetRenderTarget(DWORD a_index, IDirect3DSurface9* a_target) override;
    HRESULT GetRenderTarget(DWORD a_index, IDirect3DSurface9** a_target) override;
    HRESULT SetDepthStencilSurface(IDirect3DSurface9* a_depth) override;
    HRESULT GetDepthStencilSurface(IDirect3DSurface9** a_depth) override;
    HRESULT BeginScene() override;
    HRESULT EndScene() override;
    HRESULT Clear(DWORD a_count, const D3DRECT* a_rects, DWORD a_flags, D3DCOLOR a_color, float a_z,
                  DWORD a_stencil) override;
    HRESULT SetViewport(const D3DVIEWPORT9* a_viewport) override;
    HRESULT GetViewport(D3DVIEWPORT9* a_viewport) override;
    HRESULT SetScissorRect(const RECT* a_rect) override;
    HRESULT GetScissorRect(RECT* a_rect) override;

    // States and textures.
    HRESULT SetRenderState(D3DRENDERSTATETYPE a_state, DWORD a_value) override;
    HRESULT GetRenderState(D3DRENDERSTATETYPE a_state, DWORD* a_value) override;
    HRESULT GetTexture(DWORD a_stage, IDirect3DBaseTexture9** a_texture) override;
    HRESULT SetTexture(DWORD a_stage, IDirect3DBaseTexture9* a_texture) override;
    HRESULT GetSamplerState(DWORD a_sampler, D3DSAMPLERSTATETYPE a_type, DWORD* a_value) override;
    HRESULT SetSamplerState(DWORD a_sampler, D3DSAMPLERSTATETYPE a_type, DWORD a_value) override;
    HRESULT GetTextureStageState(DWORD a_stage, D3DTEXTURESTAGESTATETYPE a_type,
                                 DWORD* a_value) override;
    HRESULT SetTextureStageState(DWORD a_stage, D3DTEXTURESTAGESTATETYPE a_type,
                                 DWORD a_value) override;

    // Drawing.
    HRESULT DrawPrimitive(D3DPRIMITIVETYPE a_type, UINT a_startVertex,
                          UINT a_primitiveCount) override;
    HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE a_type, INT a_baseVertex, UINT a_minIndex,
                                 UINT a_vertexCount, UINT a_startIndex,
                                 UINT a_primitiveCount) override;
    HRESULT SetFVF(DWORD a_fvf) override;
    HRESULT GetFVF(DWORD* a_fvf) override;

    // Shaders and constant registers.
    HRESULT CreateVertexShader(const DWORD* a_function, IDirect3DVertexShader9** a_shader) override;
    HRESULT SetVertexShader(IDirect3DVertexShader9* a_shader) override;
    HRESULT GetVertexShader(IDirect3DVertexShader9** a_shader) override;
    HRESULT SetVertexShaderConstantF(UINT a_start, const float* a_data, UINT a_count) override;
    HRESULT GetVertexShaderConstantF(UINT a_start, float* a_data, UINT a_count) override;
    HRESULT SetVertexShaderConstantI(UINT a_start, const int* a_data, UINT a_count) override;
    HRESULT GetVertexShaderConstantI(UINT a_start, int* a_data, UINT a_count) override;
    HRESULT SetVertexShaderConstantB(UINT a_start, const BOOL* a_data, UINT a_count) override;
    HRESULT GetVertexShaderConstantB(UINT a_start, BOOL* a_data, UINT a_count) override;
    HRESULT SetStreamSource(UINT a_stream, IDirect3DVertexBuffer9* a_buffer, UINT a_offset,
                            UINT a_stride) override;
    HRESULT SetIndices(IDirect3DIndexBuffer9* a_indices) override;
    HRESULT CreatePixelShader(const DWORD* a_function, IDirect3DPixelShader9** a_shader) override;
    HRESULT SetPixelShader(IDirect3DPixelShader9* a_shader) override;
    HRESULT GetPixelShader(IDirect3DPixelShader9** a_shader) override;
    HRESULT SetPixelShaderConstantF(UINT a_start, const float* a_data, UINT a_count) override;
    HRESULT GetPixelShaderConstantF(UINT a_start, float* a_data, UINT a_count) override;
    HRESULT SetPixelShaderConstantI(UINT a_start, const int* a_data, UINT a_count) override;
    HRESULT GetPixelShaderConstantI(UINT a_start, int* a_data, UINT a_count) override;
    HRESULT SetPixelShaderConstantB(UINT a_start, const BOOL* a_data, UINT a_count) override;
    HRESULT GetPixelShaderConstantB(UINT a_start, BOOL* a_data, UINT a_count) override;

    // For the device's resources.
    bool makeCurrent() { return m_context.makeCurrent(); }
    void adopt(DeviceChild* a_child);
    void disown(DeviceChild* a_child);
    void forgetShader(const ShaderCode* a_shader);
    // The texture's GL name is about to be deleted.
    void forgetTexture(GLuint a_texture);
    // The window's pixels as 0xAARRGGBB, top row first (D3D9Testing).
    HRESULT readWindow(std::vector<DWORD>* a_pixels, UINT* a_width, UINT* a_height);

private:
    explicit Device9(const D3DPRESENT_PARAMETERS& a_parameters);
    ~Device9() override;
    HRESULT initialise();

    DeviceContext m_context;  // first in, last out: the others free GL objects in it
    DeviceState m_state{this};
    DrawTranslator m_translator;
    std::unordered_set<DeviceChild*> m_children;
};
