// The device's recorded state and D3D9's checks of the calls that set it.
#include "DeviceState.h"

#include "CubeTexture9.h"
#include "GlEnums.h"
#include "IndexBuffer9.h"
#include "Surface9.h"
#include "Texture9.h"
#include "VertexBuffer9.h"

#include <algorithm>
#include <string.h>

namespace
{

// Writes or reads a_count registers of a_width values from a_start on;
// D3DERR_INVALIDCALL for a null pointer or registers past the end.
template <typename T>
HRESULT copyRegisters(T* a_to, const T* a_from, UINT a_start, UINT a_count, UINT a_registers,
                      UINT a_width, bool a_toDevice)
{
    if (!a_from || !a_to || a_start > a_registers || a_count > a_registers - a_start)
        return D3DERR_INVALIDCALL;
    const size_t offset = size_t(a_start) * a_width;
    const size_t bytes = size_t(a_count) * a_width * sizeof(T);
    if (a_toDevice)
        memcpy(a_to + offset, a_from, bytes);
    else
        memcpy(a_to, a_from + offset, bytes);
    return D3D_OK;
}

// A value handed out by a Get call.
template <typename T>
HRESULT copyOut(T* a_out, const T& a_value)
{
    if (!a_out)
        return D3DERR_INVALIDCALL;
    *a_out = a_value;
    return D3D_OK;
}

// Hands out a counted reference, as D3D9's Get calls do.
template <typename Interface, typename Object>
HRESULT hand(Interface** a_out, Object* a_object)
{
    if (!a_out)
        return D3DERR_INVALIDCALL;
    *a_out = a_object;
    if (a_object)
        a_object->AddRef();
    return D3D_OK;
}

// Binds the layer's object behind a_interface (or null) into a slot
// (bindings are not in the public count); D3DERR_INVALIDCALL for an object of another device or kind.
template <typename Object, typename Interface>
HRESULT take(Object*& a_slot, Interface* a_interface, const Device9* a_device)
{
    Object* object = dynamic_cast<Object*>(a_interface);
    if (a_interface && (!object || object->device() != a_device))
        return D3DERR_INVALIDCALL;
    replaceBinding(a_slot, object);
    return D3D_OK;
}

// The sampler and texture stage states the layer records.
bool knownSamplerState(DWORD a_sampler, D3DSAMPLERSTATETYPE a_type)
{
    return a_sampler < DeviceState::Samplers && a_type >= D3DSAMP_ADDRESSU &&
           a_type <= D3DSAMP_MIPFILTER;
}

bool knownStageState(DWORD a_stage, D3DTEXTURESTAGESTATETYPE a_type)
{
    return a_stage < DeviceState::TextureStages && a_type >= D3DTSS_COLOROP &&
           a_type <= D3DTSS_ALPHAARG2;
}

struct StateValue
{
    DWORD type;
    DWORD value;
};

// The states a new D3D9 device starts with, as documented for each state
// (D3DRS_ZENABLE depends on the automatic depth buffer).
const StateValue g_renderStateDefaults[] = {
    {D3DRS_ZWRITEENABLE, TRUE},
    {D3DRS_SRCBLEND, D3DBLEND_ONE},
    {D3DRS_DESTBLEND, D3DBLEND_ZERO},
    {D3DRS_CULLMODE, D3DCULL_CCW},
    {D3DRS_ZFUNC, D3DCMP_LESSEQUAL},
    {D3DRS_ALPHABLENDENABLE, FALSE},
    {D3DRS_COLORWRITEENABLE, 0xF},
    {D3DRS_BLENDOP, D3DBLENDOP_ADD},
    {D3DRS_SCISSORTESTENABLE, FALSE},
    // Lighting applies to untransformed vertices drawn without a vertex
    // shader, which the layer does not draw; pre-transformed vertices and
    // shaders ignore it.
    {D3DRS_LIGHTING, TRUE},
};

// Stage 0 modulates its texture by the vertex colour; later stages are off.
const StateValue g_firstStageDefaults[] = {
    {D3DTSS_COLOROP, D3DTOP_MODULATE}, {D3DTSS_COLORARG1, D3DTA_TEXTURE},
    {D3DTSS_COLORARG2, D3DTA_CURRENT}, {D3DTSS_ALPHAOP, D3DTOP_SELECTARG1},
    {D3DTSS_ALPHAARG1, D3DTA_TEXTURE}, {D3DTSS_ALPHAARG2, D3DTA_CURRENT},
};
const StateValue g_laterStageDefaults[] = {
    {D3DTSS_COLOROP, D3DTOP_DISABLE},  {D3DTSS_COLORARG1, D3DTA_TEXTURE},
    {D3DTSS_COLORARG2, D3DTA_CURRENT}, {D3DTSS_ALPHAOP, D3DTOP_DISABLE},
    {D3DTSS_ALPHAARG1, D3DTA_TEXTURE}, {D3DTSS_ALPHAARG2, D3DTA_CURRENT},
};

const StateValue g_samplerStateDefaults[] = {
    {D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP}, {D3DSAMP_ADDRESSV, D3DTADDRESS_WRAP},
    {D3DSAMP_ADDRESSW, D3DTADDRESS_WRAP}, {D3DSAMP_BORDERCOLOR, 0},
    {D3DSAMP_MAGFILTER, D3DTEXF_POINT},   {D3DSAMP_MINFILTER, D3DTEXF_POINT},
    {D3DSAMP_MIPFILTER, D3DTEXF_NONE},
};

}  // namespace

DeviceState::Changes::Changes()
{
    for (unsigned& states : samplerStates)
        states = (1u << SamplerStates) - 1;
}

DeviceState::~DeviceState()
{
    releaseReferences();
}

void DeviceState::setDefaults(Surface9* a_backBuffer, Surface9* a_autoDepth, DWORD a_renderTargets)
{
    m_renderTargetCount = a_renderTargets;
    for (const StateValue& state : g_renderStateDefaults)
        m_renderStates[state.type] = state.value;
    m_renderStates[D3DRS_ZENABLE] = a_autoDepth ? D3DZB_TRUE : D3DZB_FALSE;
    for (DWORD stage = 0; stage < TextureStages; ++stage)
        for (const StateValue& state : stage == 0 ? g_firstStageDefaults : g_laterStageDefaults)
            m_stageStates[stage][state.type] = state.value;
    for (DWORD sampler = 0; sampler < Samplers; ++sampler)
        for (const StateValue& state : g_samplerStateDefaults)
            m_samplerStates[sampler][state.type] = state.value;
    replaceBinding(m_targets[0], a_backBuffer);
    m_boundTargets = 1;
    replaceBinding(m_depth, a_autoDepth);
    resetViewportAndScissor(*a_backBuffer);
}

void DeviceState::releaseReferences()
{
    for (Surface9*& target : m_targets)
        replaceBinding(target, static_cast<Surface9*>(nullptr));
    m_boundTargets = 0;
    replaceBinding(m_depth, static_cast<Surface9*>(nullptr));
    for (IDirect3DBaseTexture9*& texture : m_textures)
        replaceBinding(texture, static_cast<IDirect3DBaseTexture9*>(nullptr));
    for (const TextureStorage*& storage : m_storages)
        storage = nullptr;
    replaceBinding(m_stream, static_cast<VertexBuffer9*>(nullptr));
    replaceBinding(m_indices, static_cast<IndexBuffer9*>(nullptr));
    replaceBinding(m_vertexShader, static_cast<VertexShader9*>(nullptr));
    replaceBinding(m_pixelShader, static_cast<PixelShader9*>(nullptr));
}

// D3D9 sets the viewport and the scissor rectangle to the whole of a new
// colour target 0, even when it is the target already bound.
void DeviceState::resetViewportAndScissor(const Surface9& a_target)
{
    m_viewport = D3DVIEWPORT9{0, 0, a_target.width(), a_target.height(), 0.0f, 1.0f};
    m_scissor = RECT{0, 0, LONG(a_target.width()), LONG(a_target.height())};
}

HRESULT DeviceState::setRenderTarget(DWORD a_index, IDirect3DSurface9* a_target)
{
    Surface9* surface = dynamic_cast<Surface9*>(a_target);
    if (a_index >= m_renderTargetCount || (a_target && !surface) || (!surface && a_index == 0))
        return D3DERR_INVALIDCALL;
    if (surface && (!surface->isRenderTarget() || surface->device() != m_device))
        return D3DERR_INVALIDCALL;
    replaceBinding(m_targets[a_index], surface);
    m_changes.targets = true;
    if (surface)
        m_boundTargets |= 1u << a_index;
    else
        m_boundTargets &= ~(1u << a_index);
    if (a_index == 0)
        resetViewportAndScissor(*surface);
    return D3D_OK;
}

HRESULT DeviceState::getRenderTarget(DWORD a_index, IDirect3DSurface9** a_target) const
{
    if (a_index >= m_renderTargetCount || !a_target)
        return D3DERR_INVALIDCALL;
    hand(a_target, m_targets[a_index]);
    return m_targets[a_index] ? D3D_OK : D3DERR_NOTFOUND;
}

HRESULT DeviceState::setDepthStencilSurface(IDirect3DSurface9* a_depth)
{
    Surface9* surface = dynamic_cast<Surface9*>(a_depth);
    if ((a_depth && !surface) ||
        (surface && (!surface->isDepth() || surface->device() != m_device)))
        return D3DERR_INVALIDCALL;
    replaceBinding(m_depth, surface);
    m_changes.targets = true;
    return D3D_OK;
}

HRESULT DeviceState::getDepthStencilSurface(IDirect3DSurface9** a_depth) const
{
    if (!a_depth)
        return D3DERR_INVALIDCALL;
    hand(a_depth, m_depth);
    return m_depth ? D3D_OK : D3DERR_NOTFOUND;
}

// The viewport must lie inside colour target 0; an empty one does, and
// draws and clears nothing.
HRESULT DeviceState::setViewport(const D3DVIEWPORT9* a_viewport)
{
    if (!a_viewport || uint64_t(a_viewport->X) + a_viewport->Width > m_targets[0]->width() ||
        uint64_t(a_viewport->Y) + a_viewport->Height > m_targets[0]->height() ||
        !(a_viewport->MinZ >= 0.0f && a_viewport->MinZ <= 1.0f) ||
        !(a_viewport->MaxZ >= 0.0f && a_viewport->MaxZ <= 1.0f))
        return D3DERR_INVALIDCALL;
    m_viewport = *a_viewport;
    return D3D_OK;
}

HRESULT DeviceState::getViewport(D3DVIEWPORT9* a_viewport) const
{
    return copyOut(a_viewport, m_viewport);
}

// D3D9 keeps the scissor rectangle inside the render target.
HRESULT DeviceState::setScissorRect(const RECT* a_rect)
{
    if (!a_rect || a_rect->left < 0 || a_rect->top < 0 || a_rect->left > a_rect->right ||
        a_rect->top > a_rect->bottom || a_rect->right > LONG(m_targets[0]->width()) ||
        a_rect->bottom > LONG(m_targets[0]->height()))
        return D3DERR_INVALIDCALL;
    m_scissor = *a_rect;
    return D3D_OK;
}

HRESULT DeviceState::getScissorRect(RECT* a_rect) const
{
    return copyOut(a_rect, m_scissor);
}

HRESULT DeviceState::setRenderState(D3DRENDERSTATETYPE a_state, DWORD a_value)
{
    if (DWORD(a_state) >= RenderStates)
        return D3DERR_INVALIDCALL;
    m_renderStates[a_state] = a_value;
    return D3D_OK;
}

HRESULT DeviceState::getRenderState(D3DRENDERSTATETYPE a_state, DWORD* a_value) const
{
    if (DWORD(a_state) >= RenderStates)
        return D3DERR_INVALIDCALL;
    return copyOut(a_value, m_renderStates[a_state]);
}

HRESULT DeviceState::setTexture(DWORD a_stage, IDirect3DBaseTexture9* a_texture)
{
    if (a_stage >= Samplers)
        return D3DERR_INVALIDCALL;
    const TextureStorage* storage = nullptr;
    if (Texture9* texture = dynamic_cast<Texture9*>(a_texture))
        storage = texture->device() == m_device ? &texture->storage() : nullptr;
    else if (CubeTexture9* cube = dynamic_cast<CubeTexture9*>(a_texture))
        storage = cube->device() == m_device ? &cube->storage() : nullptr;
    // D3D9 samples textures in video memory only: not system memory or scratch.
    if (a_texture &&
        (!storage || storage->pool() == D3DPOOL_SYSTEMMEM || storage->pool() == D3DPOOL_SCRATCH))
        return D3DERR_INVALIDCALL;
    replaceBinding(m_textures[a_stage], a_texture);
    m_storages[a_stage] = storage;
    m_changes.textures |= 1u << a_stage;
    return D3D_OK;
}

HRESULT DeviceState::getTexture(DWORD a_stage, IDirect3DBaseTexture9** a_texture) const
{
    if (a_stage >= Samplers)
        return D3DERR_INVALIDCALL;
    return hand(a_texture, m_textures[a_stage]);
}

HRESULT DeviceState::setSamplerState(DWORD a_sampler, D3DSAMPLERSTATETYPE a_type, DWORD a_value)
{
    if (!knownSamplerState(a_sampler, a_type))
        return D3DERR_INVALIDCALL;
    m_samplerStates[a_sampler][a_type] = a_value;
    m_changes.samplers |= 1u << a_sampler;
    m_changes.samplerStates[a_sampler] |= 1u << a_type;
    return D3D_OK;
}

HRESULT DeviceState::getSamplerState(DWORD a_sampler, D3DSAMPLERSTATETYPE a_type,
                                     DWORD* a_value) const
{
    return knownSamplerState(a_sampler, a_type)
               ? copyOut(a_value, m_samplerStates[a_sampler][a_type])
               : D3DERR_INVALIDCALL;
}

HRESULT DeviceState::setTextureStageState(DWORD a_stage, D3DTEXTURESTAGESTATETYPE a_type,
                                          DWORD a_value)
{
    if (!knownStageState(a_stage, a_type))
        return D3DERR_INVALIDCALL;
    m_stageStates[a_stage][a_type] = a_value;
    return D3D_OK;
}

HRESULT DeviceState::getTextureStageState(DWORD a_stage, D3DTEXTURESTAGESTATETYPE a_type,
                                          DWORD* a_value) const
{
    return knownStageState(a_stage, a_type) ? copyOut(a_value, m_stageStates[a_stage][a_type])
                                            : D3DERR_INVALIDCALL;
}

HRESULT DeviceState::setFvf(DWORD a_fvf)
{
    FvfLayout layout;
    if (a_fvf != 0 && !FvfLayout::decode(a_fvf, &layout))
        return D3DERR_INVALIDCALL;
    m_fvf = a_fvf;
    m_layout = layout;
    m_changes.vertexInput = true;
    return D3D_OK;
}

HRESULT DeviceState::getFvf(DWORD* a_fvf) const
{
    return copyOut(a_fvf, m_fvf);
}

HRESULT DeviceState::setStreamSource(UINT a_stream, IDirect3DVertexBuffer9* a_buffer, UINT a_offset,
                                     UINT a_stride)
{
    if (a_stream != 0 || take(m_stream, a_buffer, m_device) != D3D_OK)
        return D3DERR_INVALIDCALL;
    m_streamOffset = a_offset;
    m_streamStride = a_stride;
    m_changes.vertexInput = true;
    return D3D_OK;
}

HRESULT DeviceState::setIndices(IDirect3DIndexBuffer9* a_indices)
{
    if (take(m_indices, a_indices, m_device) != D3D_OK)
        return D3DERR_INVALIDCALL;
    m_changes.vertexInput = true;
    return D3D_OK;
}

HRESULT DeviceState::setVertexShader(IDirect3DVertexShader9* a_shader)
{
    return take(m_vertexShader, a_shader, m_device);
}

HRESULT DeviceState::getVertexShader(IDirect3DVertexShader9** a_shader) const
{
    return hand(a_shader, m_vertexShader);
}

HRESULT DeviceState::setPixelShader(IDirect3DPixelShader9* a_shader)
{
    return take(m_pixelShader, a_shader, m_device);
}

HRESULT DeviceState::getPixelShader(IDirect3DPixelShader9** a_shader) const
{
    return hand(a_shader, m_pixelShader);
}

HRESULT DeviceState::setFloats(Registers& a_registers, UINT a_start, const float* a_data,
                               UINT a_count)
{
    return copyRegisters(a_registers.floats.data(), a_data, a_start, a_count,
                         UINT(a_registers.floats.size() / 4), 4, true);
}

HRESULT DeviceState::getFloats(const Registers& a_registers, UINT a_start, float* a_data,
                               UINT a_count)
{
    return copyRegisters(a_data, a_registers.floats.data(), a_start, a_count,
                         UINT(a_registers.floats.size() / 4), 4, false);
}

HRESULT DeviceState::setInts(Registers& a_registers, UINT a_start, const int* a_data, UINT a_count)
{
    return copyRegisters(a_registers.ints, a_data, a_start, a_count, IntRegisters, 4, true);
}

HRESULT DeviceState::getInts(const Registers& a_registers, UINT a_start, int* a_data, UINT a_count)
{
    return copyRegisters(a_data, a_registers.ints, a_start, a_count, IntRegisters, 4, false);
}

HRESULT DeviceState::setBools(Registers& a_registers, UINT a_start, const BOOL* a_data,
                              UINT a_count)
{
    return copyRegisters(a_registers.bools, a_data, a_start, a_count, BoolRegisters, 1, true);
}

HRESULT DeviceState::getBools(const Registers& a_registers, UINT a_start, BOOL* a_data,
                              UINT a_count)
{
    return copyRegisters(a_data, a_registers.bools, a_start, a_count, BoolRegisters, 1, false);
}

bool DeviceState::checkClear(DWORD a_flags, float a_z) const
{
    const DWORD known = D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL;
    if ((a_flags & ~known) != 0 || !(a_z >= 0.0f && a_z <= 1.0f))
        return false;
    if ((a_flags & D3DCLEAR_ZBUFFER) && !m_depth)
        return false;
    return !(a_flags & D3DCLEAR_STENCIL) || (m_depth && m_depth->storage().format().stencil);
}

bool DeviceState::clearArea(D3DRECT* a_area) const
{
    *a_area = {LONG(m_viewport.X), LONG(m_viewport.Y), LONG(m_viewport.X + m_viewport.Width),
               LONG(m_viewport.Y + m_viewport.Height)};
    if (m_renderStates[D3DRS_SCISSORTESTENABLE])
    {
        a_area->x1 = std::max(a_area->x1, m_scissor.left);
        a_area->y1 = std::max(a_area->y1, m_scissor.top);
        a_area->x2 = std::min(a_area->x2, m_scissor.right);
        a_area->y2 = std::min(a_area->y2, m_scissor.bottom);
    }
    return a_area->x1 < a_area->x2 && a_area->y1 < a_area->y2;
}

bool DeviceState::checkDraw(D3DPRIMITIVETYPE a_type, UINT a_primitiveCount,
                            uint64_t* a_vertices) const
{
    *a_vertices = GlEnums::vertexCount(a_type, a_primitiveCount);
    return *a_vertices != 0 && m_stream && m_fvf != 0 && m_streamStride != 0 &&
           m_streamStride >= m_layout.stride;
}

// Every index is checked against the vertices the stream holds, so a draw
// never reads past a vertex buffer.
bool DeviceState::checkIndices(INT a_baseVertex, UINT a_startIndex, uint64_t a_count) const
{
    if (!m_indices || a_baseVertex < 0)
        return false;
    const uint64_t indexCount = m_indices->buffer().length() / m_indices->indexSize();
    const uint64_t available = streamVertices();
    return uint64_t(a_startIndex) + a_count <= indexCount && uint64_t(a_baseVertex) < available &&
           m_indices->indicesBelow(a_startIndex, UINT(a_count), available - uint64_t(a_baseVertex));
}

bool DeviceState::targetsShareOneSize() const
{
    for (const Surface9* target : m_targets)
        if (target && (target->width() != m_targets[0]->width() ||
                       target->height() != m_targets[0]->height()))
            return false;
    return true;
}
