// The device's recorded state, as D3D9's Set calls leave it and its Get calls
// read it: render, sampler and texture stage states, the stage textures, the
// vertex stream, indices and FVF code, the shaders and their constant
// registers, the viewport, the scissor rectangle and the targets. It checks
// each call's arguments as D3D9 does, notes what changed for the draw
// translator, and calls no GL.
#pragma once

#include "DeviceChild.h"
#include "FvfLayout.h"
#include "Shader9.h"
#include "VertexBuffer9.h"

#include <d3d9.h>

#include <stdint.h>
#include <vector>

class Device9;
class IndexBuffer9;
class Surface9;
class TextureStorage;

class DeviceState
{
public:
    static const UINT MaxRenderTargets = 4;
    static const UINT Samplers = 16;
    static const UINT SamplerStates = D3DSAMP_MIPFILTER + 1;
    static const UINT TextureStages = 8;
    static const UINT StageStates = D3DTSS_ALPHAARG2 + 1;
    static const UINT RenderStates = 256;
    static const UINT VertexFloatRegisters = 256;
    static const UINT PixelFloatRegisters = 224;
    static const UINT IntRegisters = 16;
    static const UINT BoolRegisters = 16;

    // Constant registers of one shader stage.
    struct Registers
    {
        explicit Registers(UINT a_floats) : floats(a_floats * 4, 0.0f) {}
        std::vector<float> floats;
        int ints[IntRegisters * 4] = {};
        BOOL bools[BoolRegisters] = {};
    };

    // What the draw translator has yet to carry to GL; a new state has
    // everything to carry. The translator clears what it applies.
    struct Changes
    {
        bool targets = true;                       // colour targets or depth buffer
        bool vertexInput = true;                   // stream, indices or FVF code
        unsigned textures = (1u << Samplers) - 1;  // bit per stage
        unsigned samplers = (1u << Samplers) - 1;  // bit per stage with a sampler state below
        unsigned samplerStates[Samplers];          // bit per D3DSAMPLERSTATETYPE
        Changes();
    };

    // a_device: the device whose resources the state accepts.
    explicit DeviceState(const Device9* a_device) : m_device(a_device) {}
    ~DeviceState();
    DeviceState(const DeviceState&) = delete;
    DeviceState& operator=(const DeviceState&) = delete;

    // The states a new device starts with: D3D9's documented defaults, the
    // back buffer as target 0 and the automatic depth buffer (or none).
    void setDefaults(Surface9* a_backBuffer, Surface9* a_autoDepth, DWORD a_renderTargets);
    // Lets go of every object the state holds a reference to.
    void releaseReferences();

    // Targets, viewport and scissor rectangle.
    HRESULT setRenderTarget(DWORD a_index, IDirect3DSurface9* a_target);
    HRESULT getRenderTarget(DWORD a_index, IDirect3DSurface9** a_target) const;
    HRESULT setDepthStencilSurface(IDirect3DSurface9* a_depth);
    HRESULT getDepthStencilSurface(IDirect3DSurface9** a_depth) const;
    HRESULT setViewport(const D3DVIEWPORT9* a_viewport);
    HRESULT getViewport(D3DVIEWPORT9* a_viewport) const;
    HRESULT setScissorRect(const RECT* a_rect);
    HRESULT getScissorRect(RECT* a_rect) const;

    // States and textures.
    HRESULT setRenderState(D3DRENDERSTATETYPE a_state, DWORD a_value);
    HRESULT getRenderState(D3DRENDERSTATETYPE a_state, DWORD* a_value) const;
    HRESULT setTexture(DWORD a_stage, IDirect3DBaseTexture9* a_texture);
    HRESULT getTexture(DWORD a_stage, IDirect3DBaseTexture9** a_texture) const;
    HRESULT setSamplerState(DWORD a_sampler, D3DSAMPLERSTATETYPE a_type, DWORD a_value);
    HRESULT getSamplerState(DWORD a_sampler, D3DSAMPLERSTATETYPE a_type, DWORD* a_value) const;
    HRESULT setTextureStageState(DWORD a_stage, D3DTEXTURESTAGESTATETYPE a_type, DWORD a_value);
    HRESULT getTextureStageState(DWORD a_stage, D3DTEXTURESTAGESTATETYPE a_type,
                                 DWORD* a_value) const;

    // Vertex input.
    HRESULT setFvf(DWORD a_fvf);
    HRESULT getFvf(DWORD* a_fvf) const;
    HRESULT setStreamSource(UINT a_stream, IDirect3DVertexBuffer9* a_buffer, UINT a_offset,
                            UINT a_stride);
    HRESULT setIndices(IDirect3DIndexBuffer9* a_indices);

    // Shaders and constant registers (a_count registers from a_start).
    HRESULT setVertexShader(IDirect3DVertexShader9* a_shader);
    HRESULT getVertexShader(IDirect3DVertexShader9** a_shader) const;
    HRESULT setPixelShader(IDirect3DPixelShader9* a_shader);
    HRESULT getPixelShader(IDirect3DPixelShader9** a_shader) const;
    Registers& vertexRegisters() { return m_vertexRegisters; }
    Registers& pixelRegisters() { return m_pixelRegisters; }
    const Registers& vertexRegisters() const { return m_vertexRegisters; }
    const Registers& pixelRegisters() const { return m_pixelRegisters; }
    static HRESULT setFloats(Registers& a_registers, UINT a_start, const float* a_data,
                             UINT a_count);
    static HRESULT getFloats(const Registers& a_registers, UINT a_start, float* a_data,
                             UINT a_count);
    static HRESULT setInts(Registers& a_registers, UINT a_start, const int* a_data, UINT a_count);
    static HRESULT getInts(const Registers& a_registers, UINT a_start, int* a_data, UINT a_count);
    static HRESULT setBools(Registers& a_registers, UINT a_start, const BOOL* a_data, UINT a_count);
    static HRESULT getBools(const Registers& a_registers, UINT a_start, BOOL* a_data, UINT a_count);

    // Checks of Clear and the draws against the state. checkClear: the flags
    // are Clear's, name buffers that are bound, and the depth is in 0..1.
    // clearArea: the viewport, cut by the scissor rectangle when the scissor
    // test is on; false when nothing is left to clear.
    bool checkClear(DWORD a_flags, float a_z) const;
    bool clearArea(D3DRECT* a_area) const;
    // The vertices (or indices) a_primitiveCount primitives take; false when
    // there are none or the stream and FVF code cannot feed a draw.
    bool checkDraw(D3DPRIMITIVETYPE a_type, UINT a_primitiveCount, uint64_t* a_vertices) const;
    // Whole vertices stream 0 holds after its offset.
    uint64_t streamVertices() const
    {
        const UINT length = m_stream->buffer().length();
        return m_streamOffset < length ? (length - m_streamOffset) / m_streamStride : 0;
    }
    // Every one of a_count indices from a_startIndex lies in the index
    // buffer and, after a_baseVertex, names a vertex of the stream.
    bool checkIndices(INT a_baseVertex, UINT a_startIndex, uint64_t a_count) const;

    // What the draw translator reads.
    const DWORD* renderStates() const { return m_renderStates; }
    const DWORD* samplerStates(UINT a_sampler) const { return m_samplerStates[a_sampler]; }
    const DWORD* stageStates(UINT a_stage) const { return m_stageStates[a_stage]; }
    // The GL texture of a stage; null with none set.
    const TextureStorage* textureStorage(UINT a_stage) const { return m_storages[a_stage]; }
    const Surface9* target(UINT a_index) const { return m_targets[a_index]; }
    unsigned boundTargets() const { return m_boundTargets; }  // bit n: target n is set
    bool targetsShareOneSize() const;
    const Surface9* depth() const { return m_depth; }
    const D3DVIEWPORT9& viewport() const { return m_viewport; }
    const RECT& scissor() const { return m_scissor; }
    const VertexBuffer9* stream() const { return m_stream; }
    UINT streamOffset() const { return m_streamOffset; }
    UINT streamStride() const { return m_streamStride; }
    const IndexBuffer9* indices() const { return m_indices; }
    const FvfLayout& layout() const { return m_layout; }
    const VertexShader9* vertexShader() const { return m_vertexShader; }
    const PixelShader9* pixelShader() const { return m_pixelShader; }
    Changes& changes() { return m_changes; }

private:
    void resetViewportAndScissor(const Surface9& a_target);

    const Device9* m_device;
    DWORD m_renderTargetCount = 0;  // the capabilities' NumSimultaneousRTs

    Surface9* m_targets[MaxRenderTargets] = {};
    unsigned m_boundTargets = 0;
    Surface9* m_depth = nullptr;
    D3DVIEWPORT9 m_viewport = {};
    RECT m_scissor = {};

    DWORD m_renderStates[RenderStates] = {};
    DWORD m_samplerStates[Samplers][SamplerStates] = {};
    DWORD m_stageStates[TextureStages][StageStates] = {};
    IDirect3DBaseTexture9* m_textures[Samplers] = {};
    const TextureStorage* m_storages[Samplers] = {};  // the GL side of m_textures

    VertexBuffer9* m_stream = nullptr;
    UINT m_streamOffset = 0;
    UINT m_streamStride = 0;
    IndexBuffer9* m_indices = nullptr;
    DWORD m_fvf = 0;
    FvfLayout m_layout;

    VertexShader9* m_vertexShader = nullptr;
    PixelShader9* m_pixelShader = nullptr;
    Registers m_vertexRegisters{VertexFloatRegisters};
    Registers m_pixelRegisters{PixelFloatRegisters};

    Changes m_changes;
};
