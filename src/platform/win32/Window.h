// A window of the Win32 layer: an SDL window with its class's procedure and
// the outer rectangle Win32 reports. Internal to the platform layers (the
// device takes its SDL window from here), not part of the mirrored API.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

struct SDL_Window;
class Control;

class Window
{
public:
    // Creates the SDL window (hidden, ready for an OpenGL context); null on failure.
    static Window* create(const WNDCLASSA& a_class, const char* a_title, DWORD a_style, int a_x,
                          int a_y, int a_width, int a_height);
    // A control inside a_parent: no SDL window of its own; a_rect in the
    // parent's client pixels. Takes a_control.
    static Window* createChild(Window* a_parent, std::unique_ptr<Control> a_control, int a_id,
                               DWORD a_style, const RECT& a_rect);
    // Sends WM_DESTROY, destroys the children, then the window; its handle
    // and theirs become invalid.
    static void destroy(Window* a_window);

    // Handles: null for handles of windows that no longer (or never) existed.
    static Window* fromHandle(HWND a_handle);
    static Window* fromSdlId(uint32_t a_windowId);
    // Whether a live window was made from the class of this name.
    static bool existsOfClass(const std::string& a_className);
    HWND handle() { return reinterpret_cast<HWND>(this); }

    // The keyboard focus (null for none). Moving it sends WM_KILLFOCUS to
    // the window losing it, then WM_SETFOCUS to the one taking it.
    static Window* focus();
    static void setFocus(Window* a_window);
    // The top-level window a window belongs to (itself for a top-level one).
    Window* topLevel();

    LRESULT send(UINT a_message, WPARAM a_wParam, LPARAM a_lParam);

    SDL_Window* sdlWindow() const { return m_sdl; }  // null for controls
    const std::string& className() const { return m_className; }
    Window* parent() const { return m_parent; }
    int id() const { return m_id; }
    DWORD style() const { return m_style; }
    Control* control() const { return m_control.get(); }
    const std::vector<Window*>& children() const { return m_children; }
    const RECT& rect() const { return m_rect; }  // outer rectangle, screen coordinates
    void setRect(const RECT& a_rect);            // moves and resizes the SDL window
    void noteMoved(int a_x, int a_y);            // the window manager moved it
    void noteResized(int a_width, int a_height);

    void show(bool a_visible);
    bool visible() const { return m_visible; }
    // Focus and minimisation as the window manager reports them.
    bool active() const { return m_active; }
    // Whether the window has had the focus at any time: focus gained and
    // lost again between two looks at active() still counts as lost.
    bool beenActive() const { return m_beenActive; }
    bool minimized() const { return m_minimized; }
    void setActive(bool a_active)
    {
        m_active = a_active;
        m_beenActive = m_beenActive || a_active;
    }
    void setMinimized(bool a_minimized) { m_minimized = a_minimized; }

private:
    Window() = default;
    ~Window();

    SDL_Window* m_sdl = nullptr;  // owned
    WNDPROC m_procedure = nullptr;
    std::string m_className;
    Window* m_parent = nullptr;
    std::vector<Window*> m_children;     // owned, in creation order
    std::unique_ptr<Control> m_control;  // the state of a control window
    int m_id = 0;
    DWORD m_style = 0;
    RECT m_rect = {0, 0, 0, 0};
    bool m_visible = false;
    bool m_active = false;
    bool m_beenActive = false;
    bool m_minimized = false;
};
