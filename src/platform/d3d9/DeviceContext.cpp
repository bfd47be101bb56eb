// The device's GL context, its back buffer and the presentation of frames.
#include "DeviceContext.h"

#include "AdapterModes.h"
#include "DriverCaps.h"
#include "Format.h"
#include "GlStateCache.h"
#include "Surface9.h"
#include "TextureStorage.h"
#include "Window.h"

#include <SDL.h>

#include <algorithm>
#include <string.h>

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

bool validDepthFormat(D3DFORMAT a_format)
{
    return a_format == D3DFMT_D24X8 || a_format == D3DFMT_D24S8;
}

}  // namespace

HRESULT DeviceContext::checkParameters(HWND a_focusWindow, D3DPRESENT_PARAMETERS* a_parameters)
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
    if (parameters.BackBufferWidth > kMaxSurfaceSide ||
        parameters.BackBufferHeight > kMaxSurfaceSide)
        return D3DERR_INVALIDCALL;
    if (format == D3DFMT_UNKNOWN)
        parameters.BackBufferFormat = D3DFMT_X8R8G8B8;  // the display's format
    parameters.BackBufferCount = std::max(parameters.BackBufferCount, 1u);
    *a_parameters = parameters;
    return D3D_OK;
}

DeviceContext::DeviceContext(const D3DPRESENT_PARAMETERS& a_parameters)
    : m_window(a_parameters.hDeviceWindow),
      m_sdlWindow(Window::fromHandle(a_parameters.hDeviceWindow)->sdlWindow()),
      m_parameters(a_parameters)
{
}

DeviceContext::~DeviceContext()
{
    if (m_holdsGlLibrary)
        SDL_GL_UnloadLibrary();
}

HRESULT DeviceContext::create(Device9* a_device)
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
    glCreateFramebuffers(1, &m_presentFramebuffer);

    m_backBuffer = Surface9::createStandalone(
        a_device, Format::find(m_parameters.BackBufferFormat), m_parameters.BackBufferWidth,
        m_parameters.BackBufferHeight, D3DUSAGE_RENDERTARGET, D3DPOOL_DEFAULT);
    if (!m_backBuffer)
        return D3DERR_OUTOFVIDEOMEMORY;
    // The device's own surfaces are bound, not counted: their public count
    // starts at 0, as the program sees it through GetBackBuffer.
    m_backBuffer->bind();
    m_backBuffer->Release();
    if (m_parameters.EnableAutoDepthStencil)
    {
        m_autoDepth =
            Surface9::createStandalone(a_device, Format::find(m_parameters.AutoDepthStencilFormat),
                                       m_parameters.BackBufferWidth, m_parameters.BackBufferHeight,
                                       D3DUSAGE_DEPTHSTENCIL, D3DPOOL_DEFAULT);
        if (!m_autoDepth)
            return D3DERR_OUTOFVIDEOMEMORY;
        m_autoDepth->bind();
        m_autoDepth->Release();
    }
    glNamedFramebufferTexture(m_presentFramebuffer, GL_COLOR_ATTACHMENT0,
                              m_backBuffer->storage().name(), 0);
    return D3D_OK;
}

// D3D9's conventions in GL terms. Clip-space depth runs 0..1. D3D9 stores
// a target's top row first and texture coordinate v = 0 samples it, so clip-
// space y = +1 must reach row 0: the vertex programs turn clip space upside
// down themselves (PixelCentre::wrapVertexMain) rather than leave it to the
// upper left origin, because GL leaves the edge a pixel centre lies on to the
// driver, and drivers settle it by the origin: Mesa fills the edges on the
// side of row 0 (D3D9's top-left rule) under the lower left origin in a
// framebuffer object, and the far ones under the upper left origin.
// Triangles then keep their turn from screen to GL's window coordinates,
// where a positive area is counter-clockwise (see DrawTranslator::applyCullMode).
void DeviceContext::adoptD3DConventions()
{
    glClipControl(GL_LOWER_LEFT, GL_ZERO_TO_ONE);
    glFrontFace(GL_CCW);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
}

bool DeviceContext::makeCurrent()
{
    if (!m_context)
        return false;
    if (SDL_GL_GetCurrentContext() == m_context)
        return true;
    if (!m_carrier && Window::fromHandle(m_window))
        return SDL_GL_MakeCurrent(m_sdlWindow, m_context) == 0;
    // The window is gone (SDL let go of the context with it): a hidden
    // window of the same kind carries the context from now on.
    if (!m_carrier)
        m_carrier = SDL_CreateWindow("", 0, 0, 1, 1, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    return m_carrier && SDL_GL_MakeCurrent(m_carrier, m_context) == 0;
}

void DeviceContext::release(const std::function<void(bool a_current)>& a_free)
{
    if (!m_context)
        return;
    const bool current = makeCurrent();
    if (!current)
        SDL_Log("d3d9: the device's context is gone with its window; GL objects left to it");
    a_free(current);
    replaceBinding(m_backBuffer, static_cast<Surface9*>(nullptr));
    replaceBinding(m_autoDepth, static_cast<Surface9*>(nullptr));
    if (current)
    {
        glDeleteFramebuffers(1, &m_presentFramebuffer);
        SDL_GL_MakeCurrent(m_carrier ? m_carrier : m_sdlWindow, nullptr);
    }
    if (!m_parameters.Windowed && !m_carrier)
        SDL_SetWindowFullscreen(m_sdlWindow, 0);
    SDL_GL_DeleteContext(m_context);
    m_context = nullptr;
    if (m_carrier)
        SDL_DestroyWindow(m_carrier);
    m_carrier = nullptr;
}

HRESULT DeviceContext::beginScene()
{
    if (m_inScene)
        return D3DERR_INVALIDCALL;
    m_inScene = true;
    return D3D_OK;
}

HRESULT DeviceContext::endScene()
{
    if (!m_inScene)
        return D3DERR_INVALIDCALL;
    m_inScene = false;
    glFlush();
    return D3D_OK;
}

// D3D9 loses a full-screen device when its window loses the focus or is
// minimised, and without Reset it stays lost. A window that never had the
// focus (as under SDL's offscreen driver) has not lost it.
bool DeviceContext::deviceLost()
{
    if (m_lost || m_parameters.Windowed)
        return m_lost;
    const Window* window = Window::fromHandle(m_window);
    if (!window)
        return m_lost;
    m_lost = window->minimized() || (window->beenActive() && !window->active());
    return m_lost;
}

HRESULT DeviceContext::checkPresent(const RECT* a_sourceRect, const RECT* a_destRect,
                                    HWND a_destWindow, const void* a_dirtyRegion)
{
    if (a_sourceRect || a_destRect || a_destWindow || a_dirtyRegion || m_inScene)
        return D3DERR_INVALIDCALL;
    return deviceLost() ? D3DERR_DEVICELOST : D3D_OK;
}

// The back buffer's rows run top first and the window's bottom first, so the
// copy flips them; a back buffer of another size than the window is scaled.
// The scissor test would cut the copy. A window destroyed before its device
// (the demo's closes first) shows nothing, and presenting to it is no error:
// the reference implementation answers D3D_OK there.
void DeviceContext::present(GlStateCache& a_gl)
{
    if (!Window::fromHandle(m_window))
        return;
    int width = 0;
    int height = 0;
    SDL_GL_GetDrawableSize(m_sdlWindow, &width, &height);
    const GLint sourceWidth = GLint(m_parameters.BackBufferWidth);
    const GLint sourceHeight = GLint(m_parameters.BackBufferHeight);
    a_gl.enable(GL_SCISSOR_TEST, false);
    glBlitNamedFramebuffer(m_presentFramebuffer, 0, 0, 0, sourceWidth, sourceHeight, 0, height,
                           width, 0, GL_COLOR_BUFFER_BIT,
                           width == sourceWidth && height == sourceHeight ? GL_NEAREST : GL_LINEAR);
    SDL_GL_SwapWindow(m_sdlWindow);
}

HRESULT DeviceContext::readWindow(std::vector<DWORD>* a_pixels, UINT* a_width, UINT* a_height) const
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
        memcpy(a_pixels->data() + size_t(y) * size_t(width),
               rows.data() + size_t(height - 1 - y) * size_t(width), size_t(width) * 4);
    *a_width = UINT(width);
    *a_height = UINT(height);
    return D3D_OK;
}
