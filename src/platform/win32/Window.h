// A window of the Win32 layer: an SDL window with its class's procedure and
// the outer rectangle Win32 reports. Internal to the platform layers (the
// device takes its SDL window from here), not part of the mirrored API.
#pragma once

#include <windows.h>

#include <string>

struct SDL_Window;

class Window
{
public:
    // Creates the SDL window (hidden, ready for an OpenGL context); null on failure.
    static Window* create(const WNDCLASSA& a_class, const char* a_title, DWORD a_style, int a_x,
                          int a_y, int a_width, int a_height);
    // Destroys the window after its WM_DESTROY; the handle becomes invalid.
    static void destroy(Window* a_window);

    // Handles: null for handles of windows that no longer (or never) existed.
    static Window* fromHandle(HWND a_handle);
    static Window* fromSdlId(uint32_t a_windowId);
    HWND handle() { return reinterpret_cast<HWND>(this); }

    LRESULT send(UINT a_message, WPARAM a_wParam, LPARAM a_lParam);

    SDL_Window* sdlWindow() const { return m_sdl; }
    const RECT& rect() const { return m_rect; }  // outer rectangle, screen coordinates
    void setRect(const RECT& a_rect);            // moves and resizes the SDL window
    void noteMoved(int a_x, int a_y);            // the window manager moved it
    void noteResized(int a_width, int a_height);

    void show(bool a_visible);
    bool visible() const { return m_visible; }
    // Focus and minimisation as the window manager reports them.
    bool active() const { return m_active; }
    bool minimized() const { return m_minimized; }
    void setActive(bool a_active) { m_active = a_active; }
    void setMinimized(bool a_minimized) { m_minimized = a_minimized; }

private:
    Window() = default;
    ~Window();

    SDL_Window* m_sdl = nullptr;  // owned
    WNDPROC m_procedure = nullptr;
    RECT m_rect = {0, 0, 0, 0};
    bool m_visible = false;
    bool m_active = false;
    bool m_minimized = false;
};
