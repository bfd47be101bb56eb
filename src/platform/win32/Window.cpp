// Windows over SDL.
#include "Window.h"

#include "Control.h"
#include "MessageQueue.h"
#include "SdlVideo.h"

#include <SDL.h>

#include <algorithm>
#include <set>

namespace
{

std::set<Window*> g_windows;  // live windows; a handle is valid while listed here
Window* g_focus = nullptr;

// Win32 lets a window be dragged wherever its procedure answers HTCAPTION to
// WM_NCHITTEST; SDL asks the same question through its hit test.
SDL_HitTestResult hitTest(SDL_Window* a_sdl, const SDL_Point* a_area, void* a_data)
{
    Window* window = static_cast<Window*>(a_data);
    if (!Window::fromHandle(window->handle()) || window->sdlWindow() != a_sdl)
        return SDL_HITTEST_NORMAL;
    const RECT& rect = window->rect();
    const LPARAM point = MAKELPARAM(rect.left + a_area->x, rect.top + a_area->y);
    return window->send(WM_NCHITTEST, 0, point) == HTCAPTION ? SDL_HITTEST_DRAGGABLE
                                                             : SDL_HITTEST_NORMAL;
}

}

Window* Window::create(const WNDCLASSA& a_class, const char* a_title, DWORD a_style, int a_x,
                       int a_y, int a_width, int a_height)
{
    if (!SdlVideo::start())
        return nullptr;

    Uint32 flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_OPENGL;
    if (a_style & WS_POPUP)
        flags |= SDL_WINDOW_BORDERLESS;
    if (a_style & WS_THICKFRAME)
        flags |= SDL_WINDOW_RESIZABLE;
    const int x = a_x == CW_USEDEFAULT ? static_cast<int>(SDL_WINDOWPOS_UNDEFINED) : a_x;
    const int y = a_y == CW_USEDEFAULT ? static_cast<int>(SDL_WINDOWPOS_UNDEFINED) : a_y;
    SDL_Window* sdl = SDL_CreateWindow(a_title ? a_title : "", x, y, a_width, a_height, flags);
    if (!sdl)
    {
        SDL_Log("CreateWindowExA: %s", SDL_GetError());
        return nullptr;
    }

    Window* window = new Window();
    window->m_sdl = sdl;
    window->m_procedure = a_class.lpfnWndProc;
    window->m_className = a_class.lpszClassName;
    window->m_style = a_style;
    // Where the window manager placed it, unless the caller said where.
    int left = a_x;
    int top = a_y;
    if (a_x == CW_USEDEFAULT || a_y == CW_USEDEFAULT)
        SDL_GetWindowPosition(sdl, &left, &top);
    window->m_rect = RECT{left, top, left + a_width, top + a_height};
    SDL_SetWindowData(sdl, "tarvo.window", window);
    SDL_SetWindowHitTest(sdl, hitTest, window);
    g_windows.insert(window);
    return window;
}

Window* Window::createChild(Window* a_parent, std::unique_ptr<Control> a_control, int a_id,
                            DWORD a_style, const RECT& a_rect)
{
    Window* window = new Window();
    window->m_procedure = Control::procedure;
    window->m_className = a_control->className();
    window->m_parent = a_parent;
    window->m_control = std::move(a_control);
    window->m_id = a_id;
    window->m_style = a_style;
    window->m_rect = a_rect;
    window->m_visible = true;
    a_parent->m_children.push_back(window);
    g_windows.insert(window);
    return window;
}

void Window::destroy(Window* a_window)
{
    a_window->send(WM_DESTROY, 0, 0);
    for (Window* child : a_window->m_children)
    {
        child->m_parent = nullptr;
        destroy(child);
    }
    if (a_window->m_parent)
    {
        std::vector<Window*>& siblings = a_window->m_parent->m_children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), a_window), siblings.end());
    }
    // The window takes its focus and what was posted to it along: neither
    // may reach a handle that is gone.
    if (g_focus == a_window)
        g_focus = nullptr;
    MessageQueue::forget(a_window->handle());
    g_windows.erase(a_window);
    delete a_window;
}

Window::~Window()
{
    if (m_sdl)
        SDL_DestroyWindow(m_sdl);
}

Window* Window::fromHandle(HWND a_handle)
{
    Window* window = reinterpret_cast<Window*>(a_handle);
    return g_windows.count(window) ? window : nullptr;
}

Window* Window::focus()
{
    return g_focus;
}

void Window::setFocus(Window* a_window)
{
    Window* previous = g_focus;
    if (previous == a_window)
        return;
    g_focus = a_window;
    if (previous)
        previous->send(WM_KILLFOCUS,
                       reinterpret_cast<WPARAM>(a_window ? a_window->handle() : nullptr), 0);
    // The window losing the focus may have moved it again meanwhile.
    if (a_window && g_focus == a_window && g_windows.count(a_window))
        a_window->send(WM_SETFOCUS,
                       reinterpret_cast<WPARAM>(
                           previous && g_windows.count(previous) ? previous->handle() : nullptr),
                       0);
}

Window* Window::topLevel()
{
    Window* window = this;
    while (window->m_parent)
        window = window->m_parent;
    return window;
}

bool Window::existsOfClass(const std::string& a_className)
{
    return std::any_of(g_windows.begin(), g_windows.end(), [&](const Window* a_window) {
        return a_window->m_className == a_className;
    });
}

Window* Window::fromSdlId(uint32_t a_windowId)
{
    SDL_Window* sdl = SDL_GetWindowFromID(a_windowId);
    if (!sdl)
        return nullptr;
    Window* window = static_cast<Window*>(SDL_GetWindowData(sdl, "tarvo.window"));
    return window && g_windows.count(window) ? window : nullptr;
}

LRESULT Window::send(UINT a_message, WPARAM a_wParam, LPARAM a_lParam)
{
    return m_procedure ? m_procedure(handle(), a_message, a_wParam, a_lParam) : 0;
}

// The size given to Win32 is the outer size; SDL's is the client's. The
// client gets the whole of it and the window manager adds its frame outside.
void Window::setRect(const RECT& a_rect)
{
    m_rect = a_rect;
    if (!m_sdl)
        return;
    SDL_SetWindowPosition(m_sdl, a_rect.left, a_rect.top);
    SDL_SetWindowSize(m_sdl, a_rect.right - a_rect.left, a_rect.bottom - a_rect.top);
}

void Window::noteMoved(int a_x, int a_y)
{
    const LONG width = m_rect.right - m_rect.left;
    const LONG height = m_rect.bottom - m_rect.top;
    m_rect = RECT{a_x, a_y, a_x + width, a_y + height};
}

void Window::noteResized(int a_width, int a_height)
{
    m_rect.right = m_rect.left + a_width;
    m_rect.bottom = m_rect.top + a_height;
}

void Window::show(bool a_visible)
{
    m_visible = a_visible;
    if (!m_sdl)
        return;
    if (a_visible)
        SDL_ShowWindow(m_sdl);
    else
        SDL_HideWindow(m_sdl);
}
