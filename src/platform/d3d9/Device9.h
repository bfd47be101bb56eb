// The Direct3D 9 device over an OpenGL 4.5 compatibility context on the
// device window: D3D9's state, kept here and applied to GL at draw time, with
// D3D9's conventions (see QUIRKS.md).
#pragma once

#include "ComObject.h"
#include "FixedFunction.h"
#include "FvfLayout.h"
#include "GlStateCache.h"
#include "ProgramCache.h"
#include "Shader9.h"
#include "TextureUnits.h"

#include <d3d9.h>

#include <unordered_set>
#include <vector>

struct SDL_Window;
class DeviceChild;
class IndexBuffer9;
class Surface9;
class VertexBuffer9;

class Device9 final : public ComObject<IDirect3DDevice9>
{
public:
    // CreateDevice's work: checks the present parameters, makes the GL
    // context, the back buffer and its depth buffer.
    static HRESULT create(HWND a_focusWindow, D3DPRESENT_PARAMETERS* a_parameters,
                          IDirect3DDevice9** a_device);
    // While set, draws, clears and presents check their arguments and answer
    // as usual but change no pixel; everything else works (D3D9Testing).
    static void setDrawingSkipped(bool a_skipped);
    static bool drawingSkipped();

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
    HRESULT Clear(DWORD a_count, const D3DRECT* a_rects, DWORD a_flags, D3DCOLOR a_color,
                  float a_z, DWORD a_stencil) override;
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
    void adopt(DeviceChild* a_child);
    void disown(DeviceChild* a_child);
    void forgetShader(const ShaderCode* a_shader);
    // The window's pixels as 0xAARRGGBB, top row first (D3D9Testing).
    HRESULT readWindow(std::vector<DWORD>* a_pixels, UINT* a_width, UINT* a_height);

    static const UINT MaxRenderTargets = 4;
    static const UINT Samplers = TextureUnits::Units;
    static const UINT TextureStages = 8;
    static const UINT VertexFloatRegisters = 256;
    static const UINT PixelFloatRegisters = 224;
    static const UINT IntRegisters = 16;
    static const UINT BoolRegisters = 16;

private:
    // Constant registers of one shader stage.
    struct Registers
    {
        explicit Registers(UINT a_floats) : floats(a_floats * 4, 0.0f) {}
        std::vector<float> floats;
        int ints[IntRegisters * 4] = {};
        BOOL bools[BoolRegisters] = {};
    };

    Device9(HWND a_window, SDL_Window* a_sdlWindow, const D3DPRESENT_PARAMETERS& a_parameters);
    ~Device9() override;
    HRESULT initialise();
    // Frees every GL object (orphaning the resources still alive) and the context.
    void releaseContext();
    void adoptD3DConventions();
    void setDefaultStates();

    void resetViewportAndScissor(const Surface9& a_target);
    bool deviceLost();
    // Binds the targets; a_outputs selects the colour targets that draw
    // buffers reach (bit n: target n), the others keep their contents.
    bool applyTargets(unsigned a_outputs);
    unsigned boundTargets() const;
    bool targetsShareOneSize() const;
    void clearAttachments(GLuint a_framebuffer, unsigned a_colourBuffers, DWORD a_flags,
                          const float a_color[4], float a_z, DWORD a_stencil);
    void clearEachTarget(DWORD a_flags, const float a_color[4], float a_z, DWORD a_stencil);
    void applyRenderStates();
    void applyCullMode(DWORD a_cullMode);
    void applyVertexInput();
    bool applyProgram();
    void applyColourClamping(unsigned a_vertexModel, unsigned a_pixelModel);
    void uploadRegisters(GLuint a_program, const GLint a_locations[3],
                         const TranslatedShader& a_shader, const Registers& a_registers);
    // Whole vertices stream 0 holds after its offset.
    uint64_t streamVertices() const;
    HRESULT prepareDraw(D3DPRIMITIVETYPE a_type, UINT a_primitiveCount, uint64_t* a_vertices);

    HWND m_window;
    SDL_Window* m_sdlWindow;
    void* m_context = nullptr;  // SDL_GLContext
    bool m_holdsGlLibrary = false;
    D3DPRESENT_PARAMETERS m_parameters;
    D3DCAPS9 m_caps = {};
    bool m_inScene = false;
    bool m_focusSeen = false;
    bool m_lost = false;

    Surface9* m_backBuffer = nullptr;  // one reference of ours
    Surface9* m_autoDepth = nullptr;   // one reference of ours, or null
    Surface9* m_targets[MaxRenderTargets] = {};
    Surface9* m_depth = nullptr;
    D3DVIEWPORT9 m_viewport = {};
    RECT m_scissor = {};

    DWORD m_renderStates[256] = {};
    DWORD m_samplerStates[Samplers][D3DSAMP_MIPFILTER + 1] = {};
    DWORD m_stageStates[TextureStages][D3DTSS_ALPHAARG2 + 1] = {};
    IDirect3DBaseTexture9* m_textures[Samplers] = {};
    TextureUnits m_units{m_samplerStates};

    VertexBuffer9* m_stream = nullptr;
    UINT m_streamOffset = 0;
    UINT m_streamStride = 0;
    IndexBuffer9* m_indices = nullptr;
    DWORD m_fvf = 0;
    FvfLayout m_layout;
    bool m_vertexInputDirty = true;

    VertexShader9* m_vertexShader = nullptr;
    PixelShader9* m_pixelShader = nullptr;
    Registers m_vertexRegisters{VertexFloatRegisters};
    Registers m_pixelRegisters{PixelFloatRegisters};
    std::vector<float> m_uploadFloats;
    std::vector<int> m_uploadInts;

    GLuint m_framebuffer = 0;
    GLuint m_presentFramebuffer = 0;
    GLuint m_clearFramebuffer = 0;  // one target at a time, for targets of different sizes
    GLuint m_vertexArray = 0;
    bool m_targetsDirty = true;
    unsigned m_drawBuffers = ~0u;  // the outputs the draw buffers last named; ~0: unknown
    unsigned m_boundTargets = 0;   // bit n: m_targets[n] is set
    bool m_framebufferComplete = false;
    GlStateCache m_gl;
    ProgramCache m_programs;
    FixedFunction m_fixedFunction;

    std::unordered_set<DeviceChild*> m_children;
};
