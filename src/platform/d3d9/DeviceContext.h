// The device's GL context on its window and what shows its frames: the
// present parameters and the full-screen mode, the context and D3D9's
// conventions in it, the capabilities, the back buffer and its automatic
// depth buffer, scenes, Present, reading the window back, and the lost
// device.
#pragma once

#include "Gl.h"

#include <d3d9.h>

#include <functional>
#include <vector>

struct SDL_Window;
class Device9;
class GlStateCache;
class Surface9;

class DeviceContext
{
public:
    // CreateDevice's checks of the present parameters, filling in what D3D9
    // fills in; a_parameters changes only when they pass.
    static HRESULT checkParameters(HWND a_focusWindow, D3DPRESENT_PARAMETERS* a_parameters);

    // a_parameters: checked ones.
    explicit DeviceContext(const D3DPRESENT_PARAMETERS& a_parameters);
    ~DeviceContext();
    DeviceContext(const DeviceContext&) = delete;
    DeviceContext& operator=(const DeviceContext&) = delete;

    // Enters the full-screen mode, makes the context current with D3D9's
    // conventions, reads the capabilities and makes a_device's back buffer
    // and automatic depth buffer.
    HRESULT create(Device9* a_device);
    // Makes the context current (on a stand-in window when the device window
    // is gone), lets a_free free every other GL object, told whether the
    // context is current, and frees the back buffer and the context.
    void release(const std::function<void(bool a_current)>& a_free);
    // Makes the context current: on the device's window, or once the window
    // is gone (a device may outlive it: its resources keep it alive) on a
    // hidden window of its own. False when neither can carry it.
    bool makeCurrent();

    const D3DCAPS9& caps() const { return m_caps; }
    Surface9* backBuffer() const { return m_backBuffer; }
    Surface9* autoDepth() const { return m_autoDepth; }  // null without one

    // The frame.
    HRESULT beginScene();
    HRESULT endScene();
    // Present's checks: D3D_OK when the back buffer can be shown.
    HRESULT checkPresent(const RECT* a_sourceRect, const RECT* a_destRect, HWND a_destWindow,
                         const void* a_dirtyRegion);
    // Shows the back buffer in the window.
    void present(GlStateCache& a_gl);
    // The window's pixels as 0xAARRGGBB, top row first.
    HRESULT readWindow(std::vector<DWORD>* a_pixels, UINT* a_width, UINT* a_height) const;

private:
    void adoptD3DConventions();
    bool deviceLost();

    HWND m_window;
    SDL_Window* m_sdlWindow;
    SDL_Window* m_carrier = nullptr;  // carries the context after the window is gone
    void* m_context = nullptr;        // SDL_GLContext
    bool m_holdsGlLibrary = false;
    D3DPRESENT_PARAMETERS m_parameters;
    D3DCAPS9 m_caps = {};
    bool m_inScene = false;
    bool m_lost = false;
    Surface9* m_backBuffer = nullptr;  // one reference of ours
    Surface9* m_autoDepth = nullptr;   // one reference of ours, or null
    GLuint m_presentFramebuffer = 0;
};
