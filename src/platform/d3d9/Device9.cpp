// The Direct3D 9 device over an OpenGL 4.5 compatibility context.
#include "Device9.h"

#include "AdapterModes.h"
#include "CubeTexture9.h"
#include "DeviceChild.h"
#include "DriverCaps.h"
#include "GlEnums.h"
#include "IndexBuffer9.h"
#include "PixelCentre.h"
#include "Surface9.h"
#include "Texture9.h"
#include "VertexBuffer9.h"
#include "Window.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>

namespace
{

bool validInterval(UINT a_interval)
{
    return a_interval == D3DPRESENT_INTERVAL_DEFAULT || a_interval == D3DPRESENT_INTERVAL_ONE ||
           a_interval == D3DPRESENT_INTERVAL_IMMEDIATE;
}

bool hasMode(UINT a_width, UINT a_height, UINT a_refreshRate)
{
    for (const D3DDISPLAYMODE& mode : AdapterModes::list())
        if (mode.Width == a_width && mode.Height == a_height &&
            (a_refreshRate == 0 || mode.RefreshRate == a_refreshRate))
            return true;
    return false;
}

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
        std::memcpy(a_to + offset, a_from, bytes);
    else
        std::memcpy(a_to, a_from + offset, bytes);
    return D3D_OK;
}

bool validDepthFormat(D3DFORMAT a_format)
{
    return a_format == D3DFMT_D24X8 || a_format == D3DFMT_D24S8;
}

void attach(GLuint a_framebuffer, GLenum a_attachment, const Surface9* a_surface)
{
    if (!a_surface)
        glNamedFramebufferTexture(a_framebuffer, a_attachment, 0, 0);
    else if (a_surface->storage().target() == GL_TEXTURE_CUBE_MAP)
        glNamedFramebufferTextureLayer(a_framebuffer, a_attachment, a_surface->storage().name(),
                                       GLint(a_surface->level()), GLint(a_surface->face()));
    else
        glNamedFramebufferTexture(a_framebuffer, a_attachment, a_surface->storage().name(),
                                  GLint(a_surface->level()));
}

}  // namespace

namespace Device9Switch
{
bool g_drawingSkipped = false;
}

void Device9::setDrawingSkipped(bool a_skipped) { Device9Switch::g_drawingSkipped = a_skipped; }
bool Device9::drawingSkipped() { return Device9Switch::g_drawingSkipped; }

HRESULT Device9::create(HWND a_focusWindow, D3DPRESENT_PARAMETERS* a_parameters,
                        IDirect3DDevice9** a_device)
{
    D3DPRESENT_PARAMETERS parameters = *a_parameters;
    if (!parameters.hDeviceWindow)
        parameters.hDeviceWindow = a_focusWindow;
    Window* window = Window::fromHandle(parameters.hDeviceWindow);
    if (!window || !window->sdlWindow())
        return D3DERR_INVALIDCALL;
    if (parameters.MultiSampleType != D3DMULTISAMPLE_NONE || parameters.BackBufferCount > 3 ||
        parameters.SwapEffect < D3DSWAPEFFECT_DISCARD ||
        parameters.SwapEffect > D3DSWAPEFFECT_COPY ||
        !validInterval(parameters.PresentationInterval))
        return D3DERR_INVALIDCALL;
    if (parameters.EnableAutoDepthStencil && !validDepthFormat(parameters.AutoDepthStencilFormat))
        return D3DERR_INVALIDCALL;
    const D3DFORMAT format = parameters.BackBufferFormat;
    if (parameters.Windowed)
    {
        // D3D9 fills in what a windowed device leaves open: the display's
        // format and the client area's size.
        if (format != D3DFMT_UNKNOWN && format != D3DFMT_X8R8G8B8 && format != D3DFMT_A8R8G8B8)
            return D3DERR_INVALIDCALL;
        int width = 0;
        int height = 0;
        SDL_GetWindowSize(window->sdlWindow(), &width, &height);
        if (parameters.BackBufferWidth == 0)
            parameters.BackBufferWidth = UINT(std::max(width, 1));
        if (parameters.BackBufferHeight == 0)
            parameters.BackBufferHeight = UINT(std::max(height, 1));
    }
    else if ((format != D3DFMT_X8R8G8B8 && format != D3DFMT_A8R8G8B8) ||
             !hasMode(parameters.BackBufferWidth, parameters.BackBufferHeight,
                      parameters.FullScreen_RefreshRateInHz))
        return D3DERR_INVALIDCALL;
    if (parameters.BackBufferWidth > 16384 || parameters.BackBufferHeight > 16384)
        return D3DERR_INVALIDCALL;
    if (format == D3DFMT_UNKNOWN)
        parameters.BackBufferFormat = D3DFMT_X8R8G8B8;  // the display's format
    parameters.BackBufferCount = std::max(parameters.BackBufferCount, 1u);
    *a_parameters = parameters;

    Device9* device = new Device9(parameters.hDeviceWindow, window->sdlWindow(), parameters);
    const HRESULT initialised = device->initialise();
    if (initialised != D3D_OK)
    {
        device->Release();
        return initialised;
    }
    *a_device = device;
    return D3D_OK;
}

Device9::Device9(HWND a_window, SDL_Window* a_sdlWindow, const D3DPRESENT_PARAMETERS& a_parameters)
    : m_window(a_window), m_sdlWindow(a_sdlWindow), m_parameters(a_parameters)
{
}

HRESULT Device9::initialise()
{
    if (!m_parameters.Windowed)
    {
        SDL_DisplayMode wanted = {SDL_PIXELFORMAT_RGB888, int(m_parameters.BackBufferWidth),
                                  int(m_parameters.BackBufferHeight),
                                  int(m_parameters.FullScreen_RefreshRateInHz), nullptr};
        SDL_DisplayMode closest;
        SDL_SetWindowSize(m_sdlWindow, wanted.w, wanted.h);
        if (SDL_GetClosestDisplayMode(0, &wanted, &closest))
            SDL_SetWindowDisplayMode(m_sdlWindow, &closest);
        if (SDL_SetWindowFullscreen(m_sdlWindow, SDL_WINDOW_FULLSCREEN) != 0)
        {
            SDL_Log("d3d9: no full-screen mode %ux%u: %s", m_parameters.BackBufferWidth,
                    m_parameters.BackBufferHeight, SDL_GetError());
            return D3DERR_NOTAVAILABLE;
        }
    }
    // SDL unloads the GL library, and with it every context, when its last
    // GL window goes; the device's own hold keeps its context alive should
    // the window go first.
    if (SDL_GL_LoadLibrary(nullptr) != 0)
    {
        SDL_Log("d3d9: no OpenGL library: %s", SDL_GetError());
        return D3DERR_NOTAVAILABLE;
    }
    m_holdsGlLibrary = true;
    DriverCaps::requestContext();
    m_context = SDL_GL_CreateContext(m_sdlWindow);
    if (!m_context)
    {
        SDL_Log("d3d9: no OpenGL 4.5 compatibility context: %s", SDL_GetError());
        return D3DERR_NOTAVAILABLE;
    }
    SDL_GL_MakeCurrent(m_sdlWindow, m_context);
    if (epoxy_gl_version() < 45)
    {
        SDL_Log("d3d9: the driver offers OpenGL %d.%d, not 4.5", epoxy_gl_version() / 10,
                epoxy_gl_version() % 10);
        return D3DERR_NOTAVAILABLE;
    }
    SDL_GL_SetSwapInterval(m_parameters.PresentationInterval == D3DPRESENT_INTERVAL_IMMEDIATE ? 0
                                                                                              : 1);
    DriverCaps::read(&m_caps);
    adoptD3DConventions();

    glCreateFramebuffers(1, &m_framebuffer);
    glCreateFramebuffers(1, &m_presentFramebuffer);
    glCreateFramebuffers(1, &m_clearFramebuffer);
    glCreateVertexArrays(1, &m_vertexArray);
    glBindVertexArray(m_vertexArray);
    m_units.createGl();

    m_backBuffer = Surface9::createStandalone(this, Format::find(m_parameters.BackBufferFormat),
                                              m_parameters.BackBufferWidth,
                                              m_parameters.BackBufferHeight, D3DUSAGE_RENDERTARGET,
                                              D3DPOOL_DEFAULT);
    if (!m_backBuffer)
        return D3DERR_OUTOFVIDEOMEMORY;
    if (m_parameters.EnableAutoDepthStencil)
    {
        m_autoDepth = Surface9::createStandalone(
            this, Format::find(m_parameters.AutoDepthStencilFormat), m_parameters.BackBufferWidth,
            m_parameters.BackBufferHeight, D3DUSAGE_DEPTHSTENCIL, D3DPOOL_DEFAULT);
        if (!m_autoDepth)
            return D3DERR_OUTOFVIDEOMEMORY;
    }
    glNamedFramebufferTexture(m_presentFramebuffer, GL_COLOR_ATTACHMENT0,
                              m_backBuffer->storage().name(), 0);
    setDefaultStates();
    return D3D_OK;
}

// D3D9's conventions in GL terms. Clip-space depth runs 0..1, and the upper
// left origin makes clip-space y = +1 the first row of every render target:
// D3D9 stores the top row first, and texture coordinate v = 0 samples it.
void Device9::adoptD3DConventions()
{
    glClipControl(GL_UPPER_LEFT, GL_ZERO_TO_ONE);
    glFrontFace(GL_CW);  // see applyCullMode
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    m_gl.invalidate();
}

// The states a new D3D9 device starts with, as documented for each state.
void Device9::setDefaultStates()
{
    m_renderStates[D3DRS_ZENABLE] = m_autoDepth ? D3DZB_TRUE : D3DZB_FALSE;
    m_renderStates[D3DRS_ZWRITEENABLE] = TRUE;
    m_renderStates[D3DRS_SRCBLEND] = D3DBLEND_ONE;
    m_renderStates[D3DRS_DESTBLEND] = D3DBLEND_ZERO;
    m_renderStates[D3DRS_CULLMODE] = D3DCULL_CCW;
    m_renderStates[D3DRS_ZFUNC] = D3DCMP_LESSEQUAL;
    m_renderStates[D3DRS_ALPHABLENDENABLE] = FALSE;
    m_renderStates[D3DRS_COLORWRITEENABLE] = 0xF;
    m_renderStates[D3DRS_BLENDOP] = D3DBLENDOP_ADD;
    m_renderStates[D3DRS_SCISSORTESTENABLE] = FALSE;
    // Lighting applies to untransformed vertices drawn without a vertex
    // shader, which the layer does not draw; pre-transformed vertices and
    // shaders ignore it.
    m_renderStates[D3DRS_LIGHTING] = TRUE;
    // Stage 0 modulates its texture by the vertex colour; later stages are off.
    for (DWORD stage = 0; stage < TextureStages; ++stage)
    {
        DWORD* states = m_stageStates[stage];
        states[D3DTSS_COLOROP] = stage == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE;
        states[D3DTSS_COLORARG1] = D3DTA_TEXTURE;
        states[D3DTSS_COLORARG2] = D3DTA_CURRENT;
        states[D3DTSS_ALPHAOP] = stage == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE;
        states[D3DTSS_ALPHAARG1] = D3DTA_TEXTURE;
        states[D3DTSS_ALPHAARG2] = D3DTA_CURRENT;
    }
    for (DWORD sampler = 0; sampler < Samplers; ++sampler)
    {
        DWORD* states = m_samplerStates[sampler];
        states[D3DSAMP_ADDRESSU] = D3DTADDRESS_WRAP;
        states[D3DSAMP_ADDRESSV] = D3DTADDRESS_WRAP;
        states[D3DSAMP_ADDRESSW] = D3DTADDRESS_WRAP;
        states[D3DSAMP_BORDERCOLOR] = 0;
        states[D3DSAMP_MAGFILTER] = D3DTEXF_POINT;
        states[D3DSAMP_MINFILTER] = D3DTEXF_POINT;
        states[D3DSAMP_MIPFILTER] = D3DTEXF_NONE;
    }
    replaceReference(m_targets[0], m_backBuffer);
    m_boundTargets = 1;
    replaceReference(m_depth, m_autoDepth);
    resetViewportAndScissor(*m_backBuffer);
}

Device9::~Device9()
{
    releaseContext();
    if (m_holdsGlLibrary)
        SDL_GL_UnloadLibrary();
}

void Device9::releaseContext()
{
    if (!m_context)
        return;
    // The device may outlive its window (COM lets the caller release it
    // last); a hidden window of the same kind then carries the context
    // while its objects are freed.
    SDL_Window* helper = nullptr;
    SDL_Window* carrier = m_sdlWindow;
    if (!Window::fromHandle(m_window))
        carrier = helper = SDL_CreateWindow("", 0, 0, 1, 1, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    const bool current = carrier && SDL_GL_MakeCurrent(carrier, m_context) == 0;
    if (!current)
        SDL_Log("d3d9: the device's context is gone with its window; GL objects left to it");
    for (Surface9*& target : m_targets)
        replaceReference(target, static_cast<Surface9*>(nullptr));
    m_boundTargets = 0;
    replaceReference(m_depth, static_cast<Surface9*>(nullptr));
    for (IDirect3DBaseTexture9*& texture : m_textures)
        replaceReference(texture, static_cast<IDirect3DBaseTexture9*>(nullptr));
    replaceReference(m_stream, static_cast<VertexBuffer9*>(nullptr));
    replaceReference(m_indices, static_cast<IndexBuffer9*>(nullptr));
    replaceReference(m_vertexShader, static_cast<VertexShader9*>(nullptr));
    replaceReference(m_pixelShader, static_cast<PixelShader9*>(nullptr));
    std::unordered_set<DeviceChild*> children;
    children.swap(m_children);
    for (DeviceChild* child : children)
        child->orphan(current);
    replaceReference(m_backBuffer, static_cast<Surface9*>(nullptr));
    replaceReference(m_autoDepth, static_cast<Surface9*>(nullptr));
    if (current)
    {
        m_programs.releaseGl();
        m_fixedFunction.releaseGl();
        m_units.releaseGl();
        glDeleteVertexArrays(1, &m_vertexArray);
        glDeleteFramebuffers(1, &m_framebuffer);
        glDeleteFramebuffers(1, &m_presentFramebuffer);
        glDeleteFramebuffers(1, &m_clearFramebuffer);
        SDL_GL_MakeCurrent(carrier, nullptr);
    }
    if (!m_parameters.Windowed && !helper)
        SDL_SetWindowFullscreen(m_sdlWindow, 0);
    SDL_GL_DeleteContext(m_context);
    if (helper)
        SDL_DestroyWindow(helper);
}

void Device9::adopt(DeviceChild* a_child) { m_children.insert(a_child); }
void Device9::disown(DeviceChild* a_child) { m_children.erase(a_child); }
void Device9::forgetShader(const ShaderCode* a_shader) { m_programs.forget(a_shader); }

HRESULT Device9::GetDeviceCaps(D3DCAPS9* a_caps)
{
    if (!a_caps)
        return D3DERR_INVALIDCALL;
    *a_caps = m_caps;
    return D3D_OK;
}

// D3D9 loses a full-screen device when its window loses the focus or is
// minimised, and without Reset it stays lost. A window that never had the
// focus (as under SDL's offscreen driver) has not lost it.
bool Device9::deviceLost()
{
    if (m_lost || m_parameters.Windowed)
        return m_lost;
    const Window* window = Window::fromHandle(m_window);
    if (window->active())
        m_focusSeen = true;
    m_lost = window->minimized() || (m_focusSeen && !window->active());
    return m_lost;
}

// The back buffer's rows run top first and the window's bottom first, so the
// copy flips them; a back buffer of another size than the window is scaled.
HRESULT Device9::Present(const RECT* a_sourceRect, const RECT* a_destRect, HWND a_destWindow,
                         const void* a_dirtyRegion)
{
    if (a_sourceRect || a_destRect || a_destWindow || a_dirtyRegion || m_inScene ||
        !Window::fromHandle(m_window))
        return D3DERR_INVALIDCALL;
    if (deviceLost())
        return D3DERR_DEVICELOST;
    if (drawingSkipped())
        return D3D_OK;
    int width = 0;
    int height = 0;
    SDL_GL_GetDrawableSize(m_sdlWindow, &width, &height);
    const GLint sourceWidth = GLint(m_parameters.BackBufferWidth);
    const GLint sourceHeight = GLint(m_parameters.BackBufferHeight);
    m_gl.enable(GL_SCISSOR_TEST, false);
    glBlitNamedFramebuffer(m_presentFramebuffer, 0, 0, 0, sourceWidth, sourceHeight, 0, height,
                           width, 0, GL_COLOR_BUFFER_BIT,
                           width == sourceWidth && height == sourceHeight ? GL_NEAREST : GL_LINEAR);
    SDL_GL_SwapWindow(m_sdlWindow);
    return D3D_OK;
}

HRESULT Device9::readWindow(std::vector<DWORD>* a_pixels, UINT* a_width, UINT* a_height)
{
    if (!a_pixels || !a_width || !a_height || !Window::fromHandle(m_window))
        return D3DERR_INVALIDCALL;
    int width = 0;
    int height = 0;
    SDL_GL_GetDrawableSize(m_sdlWindow, &width, &height);
    std::vector<DWORD> rows(size_t(width) * size_t(height));
    glNamedFramebufferReadBuffer(0, GL_BACK);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glReadnPixels(0, 0, width, height, GL_BGRA, GL_UNSIGNED_BYTE,
                  GLsizei(rows.size() * sizeof(DWORD)), rows.data());
    a_pixels->resize(rows.size());
    for (int y = 0; y < height; ++y)
        std::memcpy(a_pixels->data() + size_t(y) * size_t(width),
                    rows.data() + size_t(height - 1 - y) * size_t(width), size_t(width) * 4);
    *a_width = UINT(width);
    *a_height = UINT(height);
    return D3D_OK;
}

HRESULT Device9::CreateTexture(UINT a_width, UINT a_height, UINT a_levels, DWORD a_usage,
                               D3DFORMAT a_format, D3DPOOL a_pool, IDirect3DTexture9** a_texture,
                               HANDLE* a_shared)
{
    if (a_shared)
        return D3DERR_INVALIDCALL;
    return Texture9::create(this, a_width, a_height, a_levels, a_usage, a_format, a_pool,
                            a_texture);
}

HRESULT Device9::CreateCubeTexture(UINT a_edgeLength, UINT a_levels, DWORD a_usage,
                                   D3DFORMAT a_format, D3DPOOL a_pool,
                                   IDirect3DCubeTexture9** a_texture, HANDLE* a_shared)
{
    if (a_shared)
        return D3DERR_INVALIDCALL;
    return CubeTexture9::create(this, a_edgeLength, a_levels, a_usage, a_format, a_pool,
                                a_texture);
}

HRESULT Device9::CreateVertexBuffer(UINT a_length, DWORD a_usage, DWORD a_fvf, D3DPOOL a_pool,
                                    IDirect3DVertexBuffer9** a_buffer, HANDLE* a_shared)
{
    if (a_shared)
        return D3DERR_INVALIDCALL;
    return VertexBuffer9::create(this, a_length, a_usage, a_fvf, a_pool, a_buffer);
}

HRESULT Device9::CreateIndexBuffer(UINT a_length, DWORD a_usage, D3DFORMAT a_format,
                                   D3DPOOL a_pool, IDirect3DIndexBuffer9** a_buffer,
                                   HANDLE* a_shared)
{
    if (a_shared)
        return D3DERR_INVALIDCALL;
    return IndexBuffer9::create(this, a_length, a_usage, a_format, a_pool, a_buffer);
}

HRESULT Device9::CreateOffscreenPlainSurface(UINT a_width, UINT a_height, D3DFORMAT a_format,
                                             D3DPOOL a_pool, IDirect3DSurface9** a_surface,
                                             HANDLE* a_shared)
{
    if (!a_surface)
        return D3DERR_INVALIDCALL;
    *a_surface = nullptr;
    // D3D9 has no managed plain surfaces, and depth formats are depth buffers.
    const Format* format = Format::find(a_format);
    if (a_shared || !format || format->depth || a_pool == D3DPOOL_MANAGED ||
        a_pool > D3DPOOL_SCRATCH || a_width == 0 || a_height == 0 || a_width > 16384 ||
        a_height > 16384)
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
    *a_surface = m_backBuffer;
    m_backBuffer->AddRef();
    return D3D_OK;
}

// D3D9 copies a default-pool render target into a system-memory surface of
// the same size and format, unconverted: float targets keep values outside
// 0..1.
HRESULT Device9::GetRenderTargetData(IDirect3DSurface9* a_target, IDirect3DSurface9* a_destination)
{
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
    glCopyImageSubData(from.name(), from.target(), GLint(source->level()), 0, 0,
                       GLint(source->face()), to.name(), to.target(), GLint(destination->level()),
                       0, 0, GLint(destination->face()), GLsizei(source->width()),
                       GLsizei(source->height()), 1);
    return D3D_OK;
}

// D3D9 sets the viewport and the scissor rectangle to the whole of a new
// colour target 0, even when it is the target already bound.
void Device9::resetViewportAndScissor(const Surface9& a_target)
{
    m_viewport = D3DVIEWPORT9{0, 0, a_target.width(), a_target.height(), 0.0f, 1.0f};
    m_scissor = RECT{0, 0, LONG(a_target.width()), LONG(a_target.height())};
}

HRESULT Device9::SetRenderTarget(DWORD a_index, IDirect3DSurface9* a_target)
{
    Surface9* surface = dynamic_cast<Surface9*>(a_target);
    if (a_index >= m_caps.NumSimultaneousRTs || (a_target && !surface) ||
        (!surface && a_index == 0))
        return D3DERR_INVALIDCALL;
    if (surface && (!surface->isRenderTarget() || surface->device() != this))
        return D3DERR_INVALIDCALL;
    replaceReference(m_targets[a_index], surface);
    m_targetsDirty = true;
    if (surface)
        m_boundTargets |= 1u << a_index;
    else
        m_boundTargets &= ~(1u << a_index);
    if (a_index == 0)
        resetViewportAndScissor(*surface);
    return D3D_OK;
}

HRESULT Device9::GetRenderTarget(DWORD a_index, IDirect3DSurface9** a_target)
{
    if (a_index >= m_caps.NumSimultaneousRTs || !a_target)
        return D3DERR_INVALIDCALL;
    *a_target = m_targets[a_index];
    if (!m_targets[a_index])
        return D3DERR_NOTFOUND;
    m_targets[a_index]->AddRef();
    return D3D_OK;
}

HRESULT Device9::SetDepthStencilSurface(IDirect3DSurface9* a_depth)
{
    Surface9* surface = dynamic_cast<Surface9*>(a_depth);
    if ((a_depth && !surface) || (surface && (!surface->isDepth() || surface->device() != this)))
        return D3DERR_INVALIDCALL;
    replaceReference(m_depth, surface);
    m_targetsDirty = true;
    return D3D_OK;
}

HRESULT Device9::GetDepthStencilSurface(IDirect3DSurface9** a_depth)
{
    if (!a_depth)
        return D3DERR_INVALIDCALL;
    *a_depth = m_depth;
    if (!m_depth)
        return D3DERR_NOTFOUND;
    m_depth->AddRef();
    return D3D_OK;
}

HRESULT Device9::BeginScene()
{
    if (m_inScene)
        return D3DERR_INVALIDCALL;
    m_inScene = true;
    return D3D_OK;
}

HRESULT Device9::EndScene()
{
    if (!m_inScene)
        return D3DERR_INVALIDCALL;
    m_inScene = false;
    glFlush();
    return D3D_OK;
}

unsigned Device9::boundTargets() const
{
    return m_boundTargets;
}

// The draw buffers name only the targets a draw writes: GL leaves the others
// undefined (or, for a shader that writes gl_FragColor, broadcasts to them),
// while D3D9 keeps the contents of a target the pixel shader does not write.
bool Device9::applyTargets(unsigned a_outputs)
{
    m_gl.bindDrawFramebuffer(m_framebuffer);
    if (m_targetsDirty)
    {
        for (GLenum i = 0; i < MaxRenderTargets; ++i)
            attach(m_framebuffer, GL_COLOR_ATTACHMENT0 + i, m_targets[i]);
        // A depth buffer with stencil fills both attachment points; detaching
        // the pair first clears a stencil attachment a previous buffer left.
        const bool stencil = m_depth && m_depth->storage().format().stencil;
        attach(m_framebuffer, GL_DEPTH_STENCIL_ATTACHMENT, stencil ? m_depth : nullptr);
        if (!stencil)
            attach(m_framebuffer, GL_DEPTH_ATTACHMENT, m_depth);
        const GLenum status = glCheckNamedFramebufferStatus(m_framebuffer, GL_DRAW_FRAMEBUFFER);
        m_framebufferComplete = status == GL_FRAMEBUFFER_COMPLETE;
        if (!m_framebufferComplete)
            SDL_Log("d3d9: GL cannot draw into these targets (status 0x%x)", status);
        m_targetsDirty = false;
        m_drawBuffers = ~0u;
    }
    const unsigned outputs = a_outputs & boundTargets();
    if (outputs != m_drawBuffers || GlStateCache::bypass())
    {
        GLenum drawBuffers[MaxRenderTargets];
        for (GLenum i = 0; i < MaxRenderTargets; ++i)
            drawBuffers[i] = (outputs >> i) & 1 ? GL_COLOR_ATTACHMENT0 + i : GL_NONE;
        glNamedFramebufferDrawBuffers(m_framebuffer, MaxRenderTargets, drawBuffers);
        m_drawBuffers = outputs;
    }
    return m_framebufferComplete;
}

// D3D9 clears every bound colour target and the depth buffer inside the
// viewport (and inside the given rectangles, and the scissor rectangle when
// the scissor test is on), whatever the write masks say. Each target is
// cleared as far as it reaches, whatever its size against target 0.
//
// The runtime reads the rectangles only when both the count and the list are
// given: a count with no list clears the whole viewport, a list with a count
// of 0 clears nothing, and a rectangle that is empty or turned inside out
// clears nothing; all of these succeed.
HRESULT Device9::Clear(DWORD a_count, const D3DRECT* a_rects, DWORD a_flags, D3DCOLOR a_color,
                       float a_z, DWORD a_stencil)
{
    const DWORD known = D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL;
    if ((a_flags & ~known) != 0 || !(a_z >= 0.0f && a_z <= 1.0f))
        return D3DERR_INVALIDCALL;
    if ((a_flags & D3DCLEAR_ZBUFFER) && !m_depth)
        return D3DERR_INVALIDCALL;
    if ((a_flags & D3DCLEAR_STENCIL) && !(m_depth && m_depth->storage().format().stencil))
        return D3DERR_INVALIDCALL;
    if (a_count == 0 && a_rects)
        return D3D_OK;
    if (!a_rects)
        a_count = 0;
    if (!applyTargets(boundTargets()))
        return D3DERR_INVALIDCALL;
    float color[4];
    GlEnums::color(a_color, color);
    m_gl.colorMask(0xF);
    m_gl.depthMask(true);
    m_gl.enable(GL_SCISSOR_TEST, true);
    D3DRECT viewport = {LONG(m_viewport.X), LONG(m_viewport.Y),
                        LONG(m_viewport.X + m_viewport.Width),
                        LONG(m_viewport.Y + m_viewport.Height)};
    if (m_renderStates[D3DRS_SCISSORTESTENABLE])
    {
        viewport.x1 = std::max(viewport.x1, m_scissor.left);
        viewport.y1 = std::max(viewport.y1, m_scissor.top);
        viewport.x2 = std::min(viewport.x2, m_scissor.right);
        viewport.y2 = std::min(viewport.y2, m_scissor.bottom);
        if (viewport.x1 >= viewport.x2 || viewport.y1 >= viewport.y2)
            return D3D_OK;
    }
    if (drawingSkipped())
        return D3D_OK;
    const bool oneSize = targetsShareOneSize();
    const DWORD areas = a_count > 0 ? a_count : 1;
    for (DWORD i = 0; i < areas; ++i)
    {
        D3DRECT area = viewport;
        if (a_count > 0)
        {
            area.x1 = std::max(area.x1, a_rects[i].x1);
            area.y1 = std::max(area.y1, a_rects[i].y1);
            area.x2 = std::min(area.x2, a_rects[i].x2);
            area.y2 = std::min(area.y2, a_rects[i].y2);
            if (area.x1 >= area.x2 || area.y1 >= area.y2)
                continue;
        }
        m_gl.scissor(area.x1, area.y1, area.x2 - area.x1, area.y2 - area.y1);
        if (oneSize)
            clearAttachments(m_framebuffer, boundTargets(), a_flags, color, a_z, a_stencil);
        else
            clearEachTarget(a_flags, color, a_z, a_stencil);
    }
    return D3D_OK;
}

bool Device9::targetsShareOneSize() const
{
    for (const Surface9* target : m_targets)
        if (target && (target->width() != m_targets[0]->width() ||
                       target->height() != m_targets[0]->height()))
            return false;
    return true;
}

// Clears the draw buffers a_colourBuffers names (bit n: draw buffer n) and
// the depth and stencil attached to a_framebuffer, inside the current
// scissor rectangle.
void Device9::clearAttachments(GLuint a_framebuffer, unsigned a_colourBuffers, DWORD a_flags,
                               const float a_color[4], float a_z, DWORD a_stencil)
{
    for (GLint buffer = 0; buffer < GLint(MaxRenderTargets); ++buffer)
        if ((a_flags & D3DCLEAR_TARGET) && ((a_colourBuffers >> buffer) & 1))
            glClearNamedFramebufferfv(a_framebuffer, GL_COLOR, buffer, a_color);
    if (a_flags & D3DCLEAR_ZBUFFER)
        glClearNamedFramebufferfv(a_framebuffer, GL_DEPTH, 0, &a_z);
    if (a_flags & D3DCLEAR_STENCIL)
    {
        const GLint stencil = GLint(a_stencil & 0xFF);
        glClearNamedFramebufferiv(a_framebuffer, GL_STENCIL, 0, &stencil);
    }
}

// GL draws and clears only where every attachment of a framebuffer reaches;
// D3D9 clears each target as far as it extends. Targets of different sizes
// are cleared one at a time, each alone in a framebuffer of its own size.
void Device9::clearEachTarget(DWORD a_flags, const float a_color[4], float a_z, DWORD a_stencil)
{
    glNamedFramebufferDrawBuffer(m_clearFramebuffer, GL_COLOR_ATTACHMENT0);
    for (const Surface9* target : m_targets)
        if ((a_flags & D3DCLEAR_TARGET) && target)
        {
            attach(m_clearFramebuffer, GL_COLOR_ATTACHMENT0, target);
            clearAttachments(m_clearFramebuffer, 1u, D3DCLEAR_TARGET, a_color, a_z, a_stencil);
        }
    attach(m_clearFramebuffer, GL_COLOR_ATTACHMENT0, nullptr);
    const DWORD depthFlags = a_flags & (D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL);
    if (!depthFlags)
        return;
    const bool stencil = m_depth->storage().format().stencil;
    glNamedFramebufferDrawBuffer(m_clearFramebuffer, GL_NONE);
    attach(m_clearFramebuffer, stencil ? GL_DEPTH_STENCIL_ATTACHMENT : GL_DEPTH_ATTACHMENT, m_depth);
    clearAttachments(m_clearFramebuffer, 0u, depthFlags, a_color, a_z, a_stencil);
    attach(m_clearFramebuffer, stencil ? GL_DEPTH_STENCIL_ATTACHMENT : GL_DEPTH_ATTACHMENT, nullptr);
}

HRESULT Device9::SetViewport(const D3DVIEWPORT9* a_viewport)
{
    if (!a_viewport || a_viewport->Width == 0 || a_viewport->Height == 0 ||
        uint64_t(a_viewport->X) + a_viewport->Width > m_targets[0]->width() ||
        uint64_t(a_viewport->Y) + a_viewport->Height > m_targets[0]->height() ||
        !(a_viewport->MinZ >= 0.0f && a_viewport->MinZ <= 1.0f) ||
        !(a_viewport->MaxZ >= 0.0f && a_viewport->MaxZ <= 1.0f))
        return D3DERR_INVALIDCALL;
    m_viewport = *a_viewport;
    return D3D_OK;
}

HRESULT Device9::GetViewport(D3DVIEWPORT9* a_viewport)
{
    if (!a_viewport)
        return D3DERR_INVALIDCALL;
    *a_viewport = m_viewport;
    return D3D_OK;
}

// D3D9 keeps the scissor rectangle inside the render target.
HRESULT Device9::SetScissorRect(const RECT* a_rect)
{
    if (!a_rect || a_rect->left < 0 || a_rect->top < 0 || a_rect->left > a_rect->right ||
        a_rect->top > a_rect->bottom || a_rect->right > LONG(m_targets[0]->width()) ||
        a_rect->bottom > LONG(m_targets[0]->height()))
        return D3DERR_INVALIDCALL;
    m_scissor = *a_rect;
    return D3D_OK;
}

HRESULT Device9::GetScissorRect(RECT* a_rect)
{
    if (!a_rect)
        return D3DERR_INVALIDCALL;
    *a_rect = m_scissor;
    return D3D_OK;
}

HRESULT Device9::SetRenderState(D3DRENDERSTATETYPE a_state, DWORD a_value)
{
    if (DWORD(a_state) >= sizeof(m_renderStates) / sizeof(m_renderStates[0]))
        return D3DERR_INVALIDCALL;
    m_renderStates[a_state] = a_value;
    return D3D_OK;
}

HRESULT Device9::GetRenderState(D3DRENDERSTATETYPE a_state, DWORD* a_value)
{
    if (!a_value || DWORD(a_state) >= sizeof(m_renderStates) / sizeof(m_renderStates[0]))
        return D3DERR_INVALIDCALL;
    *a_value = m_renderStates[a_state];
    return D3D_OK;
}

// Render states reach GL at draw time.
void Device9::applyRenderStates()
{
    const DWORD* states = m_renderStates;
    m_gl.enable(GL_DEPTH_TEST, states[D3DRS_ZENABLE] != D3DZB_FALSE && m_depth);
    m_gl.depthMask(states[D3DRS_ZWRITEENABLE] != FALSE);
    const GLenum function = GlEnums::compare(states[D3DRS_ZFUNC]);
    if (function != GlEnums::None)
        m_gl.depthFunc(function);
    applyCullMode(states[D3DRS_CULLMODE]);
    m_gl.enable(GL_BLEND, states[D3DRS_ALPHABLENDENABLE] != FALSE);
    const GLenum source = GlEnums::blend(states[D3DRS_SRCBLEND]);
    const GLenum destination = GlEnums::blend(states[D3DRS_DESTBLEND]);
    if (source != GlEnums::None && destination != GlEnums::None)
        m_gl.blendFunc(source, destination);
    const GLenum equation = GlEnums::blendOp(states[D3DRS_BLENDOP]);
    if (equation != GlEnums::None)
        m_gl.blendEquation(equation);
    m_gl.colorMask(states[D3DRS_COLORWRITEENABLE]);
    m_gl.enable(GL_SCISSOR_TEST, states[D3DRS_SCISSORTESTENABLE] != FALSE);
    m_gl.scissor(m_scissor.left, m_scissor.top, m_scissor.right - m_scissor.left,
                 m_scissor.bottom - m_scissor.top);
    m_gl.viewport(GLint(m_viewport.X), GLint(m_viewport.Y), GLsizei(m_viewport.Width),
                  GLsizei(m_viewport.Height));
    m_gl.depthRange(m_viewport.MinZ, m_viewport.MaxZ);
}

// D3D9 calls triangles that turn clockwise on screen front faces;
// D3DCULL_CW culls them and D3DCULL_CCW culls the others. Under the upper
// left origin GL negates the sign of a triangle's area (glClipControl),
// so what turns clockwise on screen is clockwise to GL too: glFrontFace(GL_CW),
// set once with the other conventions.
void Device9::applyCullMode(DWORD a_cullMode)
{
    m_gl.enable(GL_CULL_FACE, a_cullMode == D3DCULL_CW || a_cullMode == D3DCULL_CCW);
    m_gl.cullFace(a_cullMode == D3DCULL_CW ? GL_FRONT : GL_BACK);
}

HRESULT Device9::GetTexture(DWORD a_stage, IDirect3DBaseTexture9** a_texture)
{
    if (a_stage >= Samplers || !a_texture)
        return D3DERR_INVALIDCALL;
    *a_texture = m_textures[a_stage];
    if (*a_texture)
        (*a_texture)->AddRef();
    return D3D_OK;
}

// Stage s's texture goes on GL texture unit s, where sampler s reads it.
HRESULT Device9::SetTexture(DWORD a_stage, IDirect3DBaseTexture9* a_texture)
{
    if (a_stage >= Samplers)
        return D3DERR_INVALIDCALL;
    TextureStorage* storage = nullptr;
    if (Texture9* texture = dynamic_cast<Texture9*>(a_texture))
        storage = texture->device() == this ? &texture->storage() : nullptr;
    else if (CubeTexture9* cube = dynamic_cast<CubeTexture9*>(a_texture))
        storage = cube->device() == this ? &cube->storage() : nullptr;
    // D3D9 samples textures in video memory only: not system memory or scratch.
    if (a_texture && (!storage || storage->pool() == D3DPOOL_SYSTEMMEM ||
                      storage->pool() == D3DPOOL_SCRATCH))
        return D3DERR_INVALIDCALL;
    replaceReference(m_textures[a_stage], a_texture);
    m_units.setTexture(a_stage, storage ? storage->name() : 0, storage ? storage->target() : 0);
    return D3D_OK;
}

HRESULT Device9::GetSamplerState(DWORD a_sampler, D3DSAMPLERSTATETYPE a_type, DWORD* a_value)
{
    if (a_sampler >= Samplers || a_type < D3DSAMP_ADDRESSU || a_type > D3DSAMP_MIPFILTER ||
        !a_value)
        return D3DERR_INVALIDCALL;
    *a_value = m_samplerStates[a_sampler][a_type];
    return D3D_OK;
}

HRESULT Device9::SetSamplerState(DWORD a_sampler, D3DSAMPLERSTATETYPE a_type, DWORD a_value)
{
    if (a_sampler >= Samplers || a_type < D3DSAMP_ADDRESSU || a_type > D3DSAMP_MIPFILTER)
        return D3DERR_INVALIDCALL;
    // A value set again changes nothing GL holds, unless the cache is bypassed.
    if (m_samplerStates[a_sampler][a_type] == a_value && !GlStateCache::bypass())
        return D3D_OK;
    m_samplerStates[a_sampler][a_type] = a_value;
    m_units.samplerStateChanged(a_sampler, a_type);
    return D3D_OK;
}

HRESULT Device9::GetTextureStageState(DWORD a_stage, D3DTEXTURESTAGESTATETYPE a_type,
                                      DWORD* a_value)
{
    if (a_stage >= TextureStages || a_type < D3DTSS_COLOROP || a_type > D3DTSS_ALPHAARG2 ||
        !a_value)
        return D3DERR_INVALIDCALL;
    *a_value = m_stageStates[a_stage][a_type];
    return D3D_OK;
}

HRESULT Device9::SetTextureStageState(DWORD a_stage, D3DTEXTURESTAGESTATETYPE a_type,
                                      DWORD a_value)
{
    if (a_stage >= TextureStages || a_type < D3DTSS_COLOROP || a_type > D3DTSS_ALPHAARG2)
        return D3DERR_INVALIDCALL;
    m_stageStates[a_stage][a_type] = a_value;
    return D3D_OK;
}

void Device9::applyVertexInput()
{
    if (!m_vertexInputDirty && !GlStateCache::bypass())
        return;
    glVertexArrayVertexBuffer(m_vertexArray, 0, m_stream->buffer().name(),
                              GLintptr(m_streamOffset), GLsizei(m_streamStride));
    bool enabled[FvfLayout::LocationCount] = {};
    for (UINT i = 0; i < m_layout.count; ++i)
    {
        const FvfLayout::Element& element = m_layout.elements[i];
        glVertexArrayAttribFormat(m_vertexArray, element.location, element.components,
                                  element.type, element.normalized, element.offset);
        glVertexArrayAttribBinding(m_vertexArray, element.location, 0);
        glEnableVertexArrayAttrib(m_vertexArray, element.location);
        enabled[element.location] = true;
    }
    for (GLuint location = 0; location < FvfLayout::LocationCount; ++location)
        if (!enabled[location])
            glDisableVertexArrayAttrib(m_vertexArray, location);
    // Vertices without a colour are opaque white in D3D9.
    if (!enabled[FvfLayout::DiffuseLocation])
        glVertexAttrib4f(FvfLayout::DiffuseLocation, 1.0f, 1.0f, 1.0f, 1.0f);
    glVertexArrayElementBuffer(m_vertexArray, m_indices ? m_indices->buffer().name() : 0);
    m_vertexInputDirty = false;
}

void Device9::uploadRegisters(GLuint a_program, const GLint a_locations[3],
                              const TranslatedShader& a_shader, const Registers& a_registers)
{
    auto gather = [](auto& a_out, const auto* a_from, UINT a_registerCount, UINT a_width,
                     const std::vector<TranslatedShader::RegisterRange>& a_ranges) {
        a_out.clear();
        for (const TranslatedShader::RegisterRange& range : a_ranges)
            for (unsigned i = 0; i < range.count; ++i)
            {
                const unsigned index = range.first + i;
                for (UINT component = 0; component < a_width; ++component)
                    a_out.push_back(index < a_registerCount ? a_from[index * a_width + component]
                                                            : 0);
            }
    };
    const UINT floatRegisters = UINT(a_registers.floats.size() / 4);
    if (a_locations[0] >= 0)
    {
        gather(m_uploadFloats, a_registers.floats.data(), floatRegisters, 4, a_shader.floats);
        glProgramUniform4fv(a_program, a_locations[0], GLsizei(m_uploadFloats.size() / 4),
                            m_uploadFloats.data());
    }
    if (a_locations[1] >= 0)
    {
        gather(m_uploadInts, a_registers.ints, IntRegisters, 4, a_shader.ints);
        glProgramUniform4iv(a_program, a_locations[1], GLsizei(m_uploadInts.size() / 4),
                            m_uploadInts.data());
    }
    if (a_locations[2] >= 0)
    {
        gather(m_uploadInts, a_registers.bools, BoolRegisters, 1, a_shader.bools);
        glProgramUniform1iv(a_program, a_locations[2], GLsizei(m_uploadInts.size()),
                            m_uploadInts.data());
    }
}

// Shaders are linked per pair; with no shaders bound, pre-transformed
// vertices take the fixed-function path. Other mixes have no GL program.
bool Device9::applyProgram()
{
    float pixelCentre[2];
    PixelCentre::clipOffset(m_viewport.Width, m_viewport.Height, pixelCentre);
    if (m_vertexShader && m_pixelShader)
    {
        const ProgramCache::Program& program =
            m_programs.get(m_vertexShader->code(), m_pixelShader->code());
        if (!program.program)
            return false;
        m_gl.useProgram(program.program);
        const GLint vertexLocations[3] = {program.floats[0], program.ints[0], program.bools[0]};
        const GLint pixelLocations[3] = {program.floats[1], program.ints[1], program.bools[1]};
        uploadRegisters(program.program, vertexLocations, m_vertexShader->code().translated(),
                        m_vertexRegisters);
        uploadRegisters(program.program, pixelLocations, m_pixelShader->code().translated(),
                        m_pixelRegisters);
        glProgramUniform2fv(program.program, program.pixelCentre, 1, pixelCentre);
        applyColourClamping(m_vertexShader->code().translated().majorVersion,
                            m_pixelShader->code().translated().majorVersion);
        return true;
    }
    // FIXME: the fixed-function path blends stage 0 only; a draw that enables
    // stage 1 is refused rather than drawn without it.
    if (m_vertexShader || m_pixelShader || !m_layout.pretransformed ||
        m_stageStates[1][D3DTSS_COLOROP] != D3DTOP_DISABLE)
        return false;
    const GLuint program = m_fixedFunction.program();
    if (!program)
        return false;
    m_gl.useProgram(program);
    const float viewport[4] = {float(m_viewport.X), float(m_viewport.Y), float(m_viewport.Width),
                               float(m_viewport.Height)};
    m_fixedFunction.setUniforms(viewport, pixelCentre, m_units.target(0) == GL_TEXTURE_2D,
                                m_stageStates[0]);
    applyColourClamping(0, 0);
    return true;
}

// Shader models 1 and 2 (and the fixed-function pipeline) clamp the colours
// a vertex shader outputs and a pixel shader writes to 0..1; shader model 3
// clamps neither, so float targets receive values outside 0..1.
void Device9::applyColourClamping(unsigned a_vertexModel, unsigned a_pixelModel)
{
    m_gl.clampColors(a_vertexModel < 3, a_pixelModel < 3);
}

HRESULT Device9::prepareDraw(D3DPRIMITIVETYPE a_type, UINT a_primitiveCount, uint64_t* a_vertices)
{
    *a_vertices = GlEnums::vertexCount(a_type, a_primitiveCount);
    if (*a_vertices == 0 || !m_stream || m_fvf == 0 || m_streamStride == 0 ||
        m_streamStride < m_layout.stride)
        return D3DERR_INVALIDCALL;
    const unsigned outputs =
        m_pixelShader ? m_pixelShader->code().translated().colourOutputs : 1u;
    if (!applyTargets(outputs) || !applyProgram())
        return D3DERR_INVALIDCALL;
    applyRenderStates();
    applyVertexInput();
    m_units.apply();
    return D3D_OK;
}

uint64_t Device9::streamVertices() const
{
    const UINT length = m_stream->buffer().length();
    return m_streamOffset < length ? (length - m_streamOffset) / m_streamStride : 0;
}

HRESULT Device9::DrawPrimitive(D3DPRIMITIVETYPE a_type, UINT a_startVertex, UINT a_primitiveCount)
{
    uint64_t vertices = 0;
    const HRESULT prepared = prepareDraw(a_type, a_primitiveCount, &vertices);
    if (prepared != D3D_OK)
        return prepared;
    if (uint64_t(a_startVertex) + vertices > streamVertices())
        return D3DERR_INVALIDCALL;
    if (!drawingSkipped())
        glDrawArrays(GlEnums::primitive(a_type), GLint(a_startVertex), GLsizei(vertices));
    return D3D_OK;
}

// Every index is checked against the vertices the stream holds, so a draw
// never reads past a vertex buffer.
HRESULT Device9::DrawIndexedPrimitive(D3DPRIMITIVETYPE a_type, INT a_baseVertex, UINT,
                                      UINT, UINT a_startIndex, UINT a_primitiveCount)
{
    if (!m_indices || a_baseVertex < 0)
        return D3DERR_INVALIDCALL;
    uint64_t indices = 0;
    const HRESULT prepared = prepareDraw(a_type, a_primitiveCount, &indices);
    if (prepared != D3D_OK)
        return prepared;
    const UINT indexSize = m_indices->indexSize();
    const uint64_t indexCount = m_indices->buffer().length() / indexSize;
    const uint64_t available = streamVertices();
    if (uint64_t(a_startIndex) + indices > indexCount || uint64_t(a_baseVertex) >= available ||
        !m_indices->indicesBelow(a_startIndex, UINT(indices), available - uint64_t(a_baseVertex)))
        return D3DERR_INVALIDCALL;
    if (!drawingSkipped())
        glDrawElementsBaseVertex(GlEnums::primitive(a_type), GLsizei(indices), m_indices->glType(),
                                 reinterpret_cast<const void*>(uintptr_t(a_startIndex) * indexSize),
                                 a_baseVertex);
    return D3D_OK;
}

HRESULT Device9::SetFVF(DWORD a_fvf)
{
    FvfLayout layout;
    if (a_fvf != 0 && !FvfLayout::decode(a_fvf, &layout))
        return D3DERR_INVALIDCALL;
    m_fvf = a_fvf;
    m_layout = layout;
    m_vertexInputDirty = true;
    return D3D_OK;
}

HRESULT Device9::GetFVF(DWORD* a_fvf)
{
    if (!a_fvf)
        return D3DERR_INVALIDCALL;
    *a_fvf = m_fvf;
    return D3D_OK;
}

HRESULT Device9::CreateVertexShader(const DWORD* a_function, IDirect3DVertexShader9** a_shader)
{
    return VertexShader9::create(this, a_function, a_shader);
}

HRESULT Device9::SetVertexShader(IDirect3DVertexShader9* a_shader)
{
    VertexShader9* shader = dynamic_cast<VertexShader9*>(a_shader);
    if (a_shader && (!shader || shader->device() != this))
        return D3DERR_INVALIDCALL;
    replaceReference(m_vertexShader, shader);
    return D3D_OK;
}

HRESULT Device9::GetVertexShader(IDirect3DVertexShader9** a_shader)
{
    if (!a_shader)
        return D3DERR_INVALIDCALL;
    *a_shader = m_vertexShader;
    if (m_vertexShader)
        m_vertexShader->AddRef();
    return D3D_OK;
}

HRESULT Device9::SetVertexShaderConstantF(UINT a_start, const float* a_data, UINT a_count)
{
    return copyRegisters(m_vertexRegisters.floats.data(), a_data, a_start, a_count,
                         VertexFloatRegisters, 4, true);
}

HRESULT Device9::GetVertexShaderConstantF(UINT a_start, float* a_data, UINT a_count)
{
    return copyRegisters(a_data, m_vertexRegisters.floats.data(), a_start, a_count,
                         VertexFloatRegisters, 4, false);
}

HRESULT Device9::SetVertexShaderConstantI(UINT a_start, const int* a_data, UINT a_count)
{
    return copyRegisters(m_vertexRegisters.ints, a_data, a_start, a_count, IntRegisters, 4, true);
}

HRESULT Device9::GetVertexShaderConstantI(UINT a_start, int* a_data, UINT a_count)
{
    return copyRegisters(a_data, m_vertexRegisters.ints, a_start, a_count, IntRegisters, 4, false);
}

HRESULT Device9::SetVertexShaderConstantB(UINT a_start, const BOOL* a_data, UINT a_count)
{
    return copyRegisters(m_vertexRegisters.bools, a_data, a_start, a_count, BoolRegisters, 1, true);
}

HRESULT Device9::GetVertexShaderConstantB(UINT a_start, BOOL* a_data, UINT a_count)
{
    return copyRegisters(a_data, m_vertexRegisters.bools, a_start, a_count, BoolRegisters, 1,
                         false);
}

HRESULT Device9::SetStreamSource(UINT a_stream, IDirect3DVertexBuffer9* a_buffer, UINT a_offset,
                                 UINT a_stride)
{
    VertexBuffer9* buffer = dynamic_cast<VertexBuffer9*>(a_buffer);
    if (a_stream != 0 || (a_buffer && (!buffer || buffer->device() != this)))
        return D3DERR_INVALIDCALL;
    replaceReference(m_stream, buffer);
    m_streamOffset = a_offset;
    m_streamStride = a_stride;
    m_vertexInputDirty = true;
    return D3D_OK;
}

HRESULT Device9::SetIndices(IDirect3DIndexBuffer9* a_indices)
{
    IndexBuffer9* indices = dynamic_cast<IndexBuffer9*>(a_indices);
    if (a_indices && (!indices || indices->device() != this))
        return D3DERR_INVALIDCALL;
    replaceReference(m_indices, indices);
    m_vertexInputDirty = true;
    return D3D_OK;
}

HRESULT Device9::CreatePixelShader(const DWORD* a_function, IDirect3DPixelShader9** a_shader)
{
    return PixelShader9::create(this, a_function, a_shader);
}

HRESULT Device9::SetPixelShader(IDirect3DPixelShader9* a_shader)
{
    PixelShader9* shader = dynamic_cast<PixelShader9*>(a_shader);
    if (a_shader && (!shader || shader->device() != this))
        return D3DERR_INVALIDCALL;
    replaceReference(m_pixelShader, shader);
    return D3D_OK;
}

HRESULT Device9::GetPixelShader(IDirect3DPixelShader9** a_shader)
{
    if (!a_shader)
        return D3DERR_INVALIDCALL;
    *a_shader = m_pixelShader;
    if (m_pixelShader)
        m_pixelShader->AddRef();
    return D3D_OK;
}

HRESULT Device9::SetPixelShaderConstantF(UINT a_start, const float* a_data, UINT a_count)
{
    return copyRegisters(m_pixelRegisters.floats.data(), a_data, a_start, a_count,
                         PixelFloatRegisters, 4, true);
}

HRESULT Device9::GetPixelShaderConstantF(UINT a_start, float* a_data, UINT a_count)
{
    return copyRegisters(a_data, m_pixelRegisters.floats.data(), a_start, a_count,
                         PixelFloatRegisters, 4, false);
}

HRESULT Device9::SetPixelShaderConstantI(UINT a_start, const int* a_data, UINT a_count)
{
    return copyRegisters(m_pixelRegisters.ints, a_data, a_start, a_count, IntRegisters, 4, true);
}

HRESULT Device9::GetPixelShaderConstantI(UINT a_start, int* a_data, UINT a_count)
{
    return copyRegisters(a_data, m_pixelRegisters.ints, a_start, a_count, IntRegisters, 4, false);
}

HRESULT Device9::SetPixelShaderConstantB(UINT a_start, const BOOL* a_data, UINT a_count)
{
    return copyRegisters(m_pixelRegisters.bools, a_data, a_start, a_count, BoolRegisters, 1, true);
}

HRESULT Device9::GetPixelShaderConstantB(UINT a_start, BOOL* a_data, UINT a_count)
{
    return copyRegisters(a_data, m_pixelRegisters.bools, a_start, a_count, BoolRegisters, 1, false);
}
