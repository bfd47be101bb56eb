// The Direct3D 9 device: each call handed to the part that owns it.
#include "Device9.h"

#include "CubeTexture9.h"
#include "DeviceChild.h"
#include "Format.h"
#include "GlEnums.h"
#include "IndexBuffer9.h"
#include "Surface9.h"
#include "Texture9.h"
#include "TextureStorage.h"
#include "VertexBuffer9.h"

HRESULT Device9::create(HWND a_focusWindow, D3DPRESENT_PARAMETERS* a_parameters,
                        IDirect3DDevice9** a_device)
{
    const HRESULT checked = DeviceContext::checkParameters(a_focusWindow, a_parameters);
    if (checked != D3D_OK)
        return checked;
    Device9* device = new Device9(*a_parameters);
    const HRESULT initialised = device->initialise();
    if (initialised != D3D_OK)
    {
        device->Release();
        return initialised;
    }
    *a_device = device;
    return D3D_OK;
}

Device9::Device9(const D3DPRESENT_PARAMETERS& a_parameters) : m_context(a_parameters) {}

HRESULT Device9::initialise()
{
    const HRESULT created = m_context.create(this);
    if (created != D3D_OK)
        return created;
    m_translator.createGl();
    m_state.setDefaults(m_context.backBuffer(), m_context.autoDepth(),
                        m_context.caps().NumSimultaneousRTs);
    return D3D_OK;
}

// Frees every GL object, orphaning the resources still alive, and the context.
Device9::~Device9()
{
    m_context.release([this](bool a_current) {
        m_state.releaseReferences();
        std::unordered_set<DeviceChild*> children;
        children.swap(m_children);
        for (DeviceChild* child : children)
            child->orphan(a_current);
        if (a_current)
            m_translator.releaseGl();
    });
}

void Device9::adopt(DeviceChild* a_child)
{
    m_children.insert(a_child);
}
void Device9::disown(DeviceChild* a_child)
{
    m_children.erase(a_child);
}
void Device9::forgetShader(const ShaderCode* a_shader)
{
    m_translator.forgetShader(a_shader);
}
void Device9::forgetTexture(GLuint a_texture)
{
    m_translator.forgetTexture(a_texture);
}

HRESULT Device9::GetDeviceCaps(D3DCAPS9* a_caps)
{
    if (!a_caps)
        return D3DERR_INVALIDCALL;
    *a_caps = m_context.caps();
    return D3D_OK;
}

HRESULT Device9::Present(const RECT* a_sourceRect, const RECT* a_destRect, HWND a_destWindow,
                         const void* a_dirtyRegion)
{
    const HRESULT checked =
        m_context.checkPresent(a_sourceRect, a_destRect, a_destWindow, a_dirtyRegion);
    if (checked != D3D_OK)
        return checked;
    m_context.present(m_translator.gl());
    return D3D_OK;
}

HRESULT Device9::readWindow(std::vector<DWORD>* a_pixels, UINT* a_width, UINT* a_height)
{
    return m_context.readWindow(a_pixels, a_width, a_height);
}

HRESULT Device9::CreateTexture(UINT a_width, UINT a_height, UINT a_levels, DWORD a_usage,
                               D3DFORMAT a_format, D3DPOOL a_pool, IDirect3DTexture9** a_texture,
                               HANDLE* a_shared)
{
    if (!makeCurrent())
        return D3DERR_INVALIDCALL;
    if (a_shared)
        return D3DERR_INVALIDCALL;
    return Texture9::create(this, a_width, a_height, a_levels, a_usage, a_format, a_pool,
                            a_texture);
}

HRESULT Device9::CreateCubeTexture(UINT a_edgeLength, UINT a_levels, DWORD a_usage,
                                   D3DFORMAT a_format, D3DPOOL a_pool,
                                   IDirect3DCubeTexture9** a_texture, HANDLE* a_shared)
{
    if (!makeCurrent())
        return D3DERR_INVALIDCALL;
    if (a_shared)
        return D3DERR_INVALIDCALL;
    return CubeTexture9::create(this, a_edgeLength, a_levels, a_usage, a_format, a_pool, a_texture);
}

HRESULT Device9::CreateVertexBuffer(UINT a_length, DWORD a_usage, DWORD a_fvf, D3DPOOL a_pool,
                                    IDirect3DVertexBuffer9** a_buffer, HANDLE* a_shared)
{
    if (!makeCurrent())
        return D3DERR_INVALIDCALL;
    if (a_shared)
        return D3DERR_INVALIDCALL;
    return VertexBuffer9::create(this, a_length, a_usage, a_fvf, a_pool, a_buffer);
}

HRESULT Device9::CreateIndexBuffer(UINT a_length, DWORD a_usage, D3DFORMAT a_format, D3DPOOL a_pool,
                                   IDirect3DIndexBuffer9** a_buffer, HANDLE* a_shared)
{
    if (!makeCurrent())
        return D3DERR_INVALIDCALL;
    if (a_shared)
        return D3DERR_INVALIDCALL;
    return IndexBuffer9::create(this, a_length, a_usage, a_format, a_pool, a_buffer);
}

HRESULT Device9::CreateOffscreenPlainSurface(UINT a_width, UINT a_height, D3DFORMAT a_format,
                                             D3DPOOL a_pool, IDirect3DSurface9** a_surface,
                                             HANDLE* a_shared)
{
    if (!makeCurrent())
        return D3DERR_INVALIDCALL;
    if (!a_surface)
        return D3DERR_INVALIDCALL;
    *a_surface = nullptr;
    // D3D9 has no managed plain surfaces, and depth formats are depth buffers.
    const Format* format = Format::find(a_format);
    if (a_shared || !format || format->depth || a_pool == D3DPOOL_MANAGED ||
        a_pool > D3DPOOL_SCRATCH || a_width == 0 || a_height == 0 || a_width > kMaxSurfaceSide ||
        a_height > kMaxSurfaceSide)
        return D3DERR_INVALIDCALL;
    Surface9* surface = Surface9::createStandalone(this, format, a_width, a_height, 0, a_pool);
    if (!surface)
        return D3DERR_OUTOFVIDEOMEMORY;
    *a_surface = surface;
    return D3D_OK;
}

// One swap chain with one back buffer the caller can reach (see QUIRKS.md).
HRESULT Device9::GetBackBuffer(UINT a_swapChain, UINT a_index, D3DBACKBUFFER_TYPE a_type,
                               IDirect3DSurface9** a_surface)
{
    if (!a_surface)
        return D3DERR_INVALIDCALL;
    *a_surface = nullptr;
    if (a_swapChain != 0 || a_index != 0 || a_type != D3DBACKBUFFER_TYPE_MONO)
        return D3DERR_INVALIDCALL;
    *a_surface = m_context.backBuffer();
    (*a_surface)->AddRef();
    return D3D_OK;
}

// D3D9 copies a default-pool render target into a system-memory surface of
// the same size and format, unconverted: float targets keep values outside
// 0..1. The copy is queued and the surface's lock waits for it, so a caller
// can lock the copy of one frame while the next is drawn. (Mesa's llvmpipe
// still finishes drawing into the target before it starts the copy.)
HRESULT Device9::GetRenderTargetData(IDirect3DSurface9* a_target, IDirect3DSurface9* a_destination)
{
    if (!makeCurrent())
        return D3DERR_INVALIDCALL;
    Surface9* source = dynamic_cast<Surface9*>(a_target);
    Surface9* destination = dynamic_cast<Surface9*>(a_destination);
    if (!source || !destination || source->device() != this || destination->device() != this)
        return D3DERR_INVALIDCALL;
    const TextureStorage& from = source->storage();
    const TextureStorage& to = destination->storage();
    if (!source->isRenderTarget() || from.pool() != D3DPOOL_DEFAULT ||
        to.pool() != D3DPOOL_SYSTEMMEM || from.format().format != to.format().format ||
        source->width() != destination->width() || source->height() != destination->height())
        return D3DERR_INVALIDCALL;
    return destination->storage().download(destination->face(), destination->level(), *source);
}

HRESULT Device9::SetRenderTarget(DWORD a_index, IDirect3DSurface9* a_target)
{
    return m_state.setRenderTarget(a_index, a_target);
}

HRESULT Device9::GetRenderTarget(DWORD a_index, IDirect3DSurface9** a_target)
{
    return m_state.getRenderTarget(a_index, a_target);
}

HRESULT Device9::SetDepthStencilSurface(IDirect3DSurface9* a_depth)
{
    return m_state.setDepthStencilSurface(a_depth);
}

HRESULT Device9::GetDepthStencilSurface(IDirect3DSurface9** a_depth)
{
    return m_state.getDepthStencilSurface(a_depth);
}

HRESULT Device9::BeginScene()
{
    return m_context.beginScene();
}
HRESULT Device9::EndScene()
{
    return m_context.endScene();
}

// D3D9 clears every bound colour target and the depth buffer inside the
// viewport (and inside the given rectangles, and the scissor rectangle when
// the scissor test is on), whatever the write masks say.
//
// The runtime reads the rectangles only when both the count and the list are
// given: a count with no list clears the whole viewport, a list with a count
// of 0 clears nothing, and a rectangle that is empty or turned inside out
// clears nothing; all of these succeed.
HRESULT Device9::Clear(DWORD a_count, const D3DRECT* a_rects, DWORD a_flags, D3DCOLOR a_color,
                       float a_z, DWORD a_stencil)
{
    if (!makeCurrent())
        return D3DERR_INVALIDCALL;
    if (!m_state.checkClear(a_flags, a_z))
        return D3DERR_INVALIDCALL;
    if (a_count == 0 && a_rects)
        return D3D_OK;
    if (!m_translator.applyTargets(m_state, m_state.boundTargets()))
        return D3DERR_INVALIDCALL;
    D3DRECT area;
    if (!m_state.clearArea(&area))
        return D3D_OK;
    m_translator.clear(m_state, area, a_rects ? a_count : 0, a_rects, a_flags, a_color, a_z,
                       a_stencil);
    return D3D_OK;
}

HRESULT Device9::SetViewport(const D3DVIEWPORT9* a_viewport)
{
    return m_state.setViewport(a_viewport);
}

HRESULT Device9::GetViewport(D3DVIEWPORT9* a_viewport)
{
    return m_state.getViewport(a_viewport);
}
HRESULT Device9::SetScissorRect(const RECT* a_rect)
{
    return m_state.setScissorRect(a_rect);
}
HRESULT Device9::GetScissorRect(RECT* a_rect)
{
    return m_state.getScissorRect(a_rect);
}

HRESULT Device9::SetRenderState(D3DRENDERSTATETYPE a_state, DWORD a_value)
{
    return m_state.setRenderState(a_state, a_value);
}

HRESULT Device9::GetRenderState(D3DRENDERSTATETYPE a_state, DWORD* a_value)
{
    return m_state.getRenderState(a_state, a_value);
}

HRESULT Device9::GetTexture(DWORD a_stage, IDirect3DBaseTexture9** a_texture)
{
    return m_state.getTexture(a_stage, a_texture);
}

HRESULT Device9::SetTexture(DWORD a_stage, IDirect3DBaseTexture9* a_texture)
{
    return m_state.setTexture(a_stage, a_texture);
}

HRESULT Device9::GetSamplerState(DWORD a_sampler, D3DSAMPLERSTATETYPE a_type, DWORD* a_value)
{
    return m_state.getSamplerState(a_sampler, a_type, a_value);
}

HRESULT Device9::SetSamplerState(DWORD a_sampler, D3DSAMPLERSTATETYPE a_type, DWORD a_value)
{
    return m_state.setSamplerState(a_sampler, a_type, a_value);
}

HRESULT Device9::GetTextureStageState(DWORD a_stage, D3DTEXTURESTAGESTATETYPE a_type,
                                      DWORD* a_value)
{
    return m_state.getTextureStageState(a_stage, a_type, a_value);
}

HRESULT Device9::SetTextureStageState(DWORD a_stage, D3DTEXTURESTAGESTATETYPE a_type, DWORD a_value)
{
    return m_state.setTextureStageState(a_stage, a_type, a_value);
}

HRESULT Device9::DrawPrimitive(D3DPRIMITIVETYPE a_type, UINT a_startVertex, UINT a_primitiveCount)
{
    if (!makeCurrent())
        return D3DERR_INVALIDCALL;
    // The runtime takes a draw of nothing (no primitives, a type it does not
    // know, no vertex stream) and draws nothing.
    if (GlEnums::vertexCount(a_type, a_primitiveCount) == 0 || !m_state.stream())
        return D3D_OK;
    uint64_t vertices = 0;
    if (!m_state.checkDraw(a_type, a_primitiveCount, &vertices) ||
        uint64_t(a_startVertex) + vertices > m_state.streamVertices() ||
        !m_translator.applyDraw(m_state))
        return D3DERR_INVALIDCALL;
    m_translator.drawArrays(a_type, a_startVertex, vertices);
    return D3D_OK;
}

HRESULT Device9::DrawIndexedPrimitive(D3DPRIMITIVETYPE a_type, INT a_baseVertex, UINT, UINT,
                                      UINT a_startIndex, UINT a_primitiveCount)
{
    if (!makeCurrent())
        return D3DERR_INVALIDCALL;
    uint64_t indices = 0;
    if (!m_state.checkDraw(a_type, a_primitiveCount, &indices) ||
        !m_state.checkIndices(a_baseVertex, a_startIndex, indices) ||
        !m_translator.applyDraw(m_state))
        return D3DERR_INVALIDCALL;
    m_translator.drawIndexed(a_type, m_state, a_baseVertex, a_startIndex, indices);
    return D3D_OK;
}

HRESULT Device9::SetFVF(DWORD a_fvf)
{
    return m_state.setFvf(a_fvf);
}
HRESULT Device9::GetFVF(DWORD* a_fvf)
{
    return m_state.getFvf(a_fvf);
}

HRESULT Device9::CreateVertexShader(const DWORD* a_function, IDirect3DVertexShader9** a_shader)
{
    if (!makeCurrent())
        return D3DERR_INVALIDCALL;
    return VertexShader9::create(this, a_function, a_shader);
}

HRESULT Device9::SetVertexShader(IDirect3DVertexShader9* a_shader)
{
    return m_state.setVertexShader(a_shader);
}

HRESULT Device9::GetVertexShader(IDirect3DVertexShader9** a_shader)
{
    return m_state.getVertexShader(a_shader);
}

HRESULT Device9::SetVertexShaderConstantF(UINT a_start, const float* a_data, UINT a_count)
{
    return DeviceState::setFloats(m_state.vertexRegisters(), a_start, a_data, a_count);
}

HRESULT Device9::GetVertexShaderConstantF(UINT a_start, float* a_data, UINT a_count)
{
    return DeviceState::getFloats(m_state.vertexRegisters(), a_start, a_data, a_count);
}

HRESULT Device9::SetVertexShaderConstantI(UINT a_start, const int* a_data, UINT a_count)
{
    return DeviceState::setInts(m_state.vertexRegisters(), a_start, a_data, a_count);
}

HRESULT Device9::GetVertexShaderConstantI(UINT a_start, int* a_data, UINT a_count)
{
    return DeviceState::getInts(m_state.vertexRegisters(), a_start, a_data, a_count);
}

HRESULT Device9::SetVertexShaderConstantB(UINT a_start, const BOOL* a_data, UINT a_count)
{
    return DeviceState::setBools(m_state.vertexRegisters(), a_start, a_data, a_count);
}

HRESULT Device9::GetVertexShaderConstantB(UINT a_start, BOOL* a_data, UINT a_count)
{
    return DeviceState::getBools(m_state.vertexRegisters(), a_start, a_data, a_count);
}

HRESULT Device9::SetStreamSource(UINT a_stream, IDirect3DVertexBuffer9* a_buffer, UINT a_offset,
                                 UINT a_stride)
{
    return m_state.setStreamSource(a_stream, a_buffer, a_offset, a_stride);
}

HRESULT Device9::SetIndices(IDirect3DIndexBuffer9* a_indices)
{
    return m_state.setIndices(a_indices);
}

HRESULT Device9::CreatePixelShader(const DWORD* a_function, IDirect3DPixelShader9** a_shader)
{
    if (!makeCurrent())
        return D3DERR_INVALIDCALL;
    return PixelShader9::create(this, a_function, a_shader);
}

HRESULT Device9::SetPixelShader(IDirect3DPixelShader9* a_shader)
{
    return m_state.setPixelShader(a_shader);
}

HRESULT Device9::GetPixelShader(IDirect3DPixelShader9** a_shader)
{
    return m_state.getPixelShader(a_shader);
}

HRESULT Device9::SetPixelShaderConstantF(UINT a_start, const float* a_data, UINT a_count)
{
    return DeviceState::setFloats(m_state.pixelRegisters(), a_start, a_data, a_count);
}

HRESULT Device9::GetPixelShaderConstantF(UINT a_start, float* a_data, UINT a_count)
{
    return DeviceState::getFloats(m_state.pixelRegisters(), a_start, a_data, a_count);
}

HRESULT Device9::SetPixelShaderConstantI(UINT a_start, const int* a_data, UINT a_count)
{
    return DeviceState::setInts(m_state.pixelRegisters(), a_start, a_data, a_count);
}

HRESULT Device9::GetPixelShaderConstantI(UINT a_start, int* a_data, UINT a_count)
{
    return DeviceState::getInts(m_state.pixelRegisters(), a_start, a_data, a_count);
}

HRESULT Device9::SetPixelShaderConstantB(UINT a_start, const BOOL* a_data, UINT a_count)
{
    return DeviceState::setBools(m_state.pixelRegisters(), a_start, a_data, a_count);
}

HRESULT Device9::GetPixelShaderConstantB(UINT a_start, BOOL* a_data, UINT a_count)
{
    return DeviceState::getBools(m_state.pixelRegisters(), a_start, a_data, a_count);
}
