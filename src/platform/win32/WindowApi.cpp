// Window classes, windows and the message functions of Win32.
#include <windows.h>

#include "MessageQueue.h"
#include "VirtualKeys.h"
#include "Window.h"

#include <SDL.h>

#include <algorithm>
#include <map>
#include <string>

namespace
{

struct RegisteredClass
{
    WNDCLASSA info;
    std::string name;  // info.lpszClassName points here
    ATOM atom;
};

std::map<std::string, RegisteredClass> g_classes;
ATOM g_nextAtom = 0xC000;  // where Win32 numbers registered classes from

// Win32 names a class by its string or by the atom its registration returned.
std::map<std::string, RegisteredClass>::iterator findClass(LPCSTR a_name)
{
    if (!a_name)
        return g_classes.end();
    if (IS_INTRESOURCE(a_name))
    {
        const ATOM atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(a_name));
        return std::find_if(g_classes.begin(), g_classes.end(),
                            [&](const auto& a_entry) { return a_entry.second.atom == atom; });
    }
    return g_classes.find(a_name);
}

// Win32 takes a class without a procedure (its windows answer every
// message with 0).
ATOM registerClass(const WNDCLASSA& a_class)
{
    if (!a_class.lpszClassName || IS_INTRESOURCE(a_class.lpszClassName))
        return 0;
    const std::string name = a_class.lpszClassName;
    if (g_classes.count(name))
        return 0;  // ERROR_CLASS_ALREADY_EXISTS
    RegisteredClass& entry = g_classes[name];
    entry.info = a_class;
    entry.name = name;
    entry.info.lpszClassName = entry.name.c_str();
    entry.atom = g_nextAtom++;
    return entry.atom;
}

}

ATOM WINAPI RegisterClassA(const WNDCLASSA* lpWndClass)
{
    return lpWndClass ? registerClass(*lpWndClass) : 0;
}

// Win32 refuses a WNDCLASSEXA whose cbSize is not the structure's size. The
// small icon has nowhere to go: an SDL window has one icon, the class's.
ATOM WINAPI RegisterClassExA(const WNDCLASSEXA* lpWndClass)
{
    if (!lpWndClass || lpWndClass->cbSize != sizeof(WNDCLASSEXA))
        return 0;
    const WNDCLASSEXA& ex = *lpWndClass;
    const WNDCLASSA info = {ex.style,        ex.lpfnWndProc,  ex.cbClsExtra, ex.cbWndExtra,
                            ex.hInstance,    ex.hIcon,        ex.hCursor,    ex.hbrBackground,
                            ex.lpszMenuName, ex.lpszClassName};
    return registerClass(info);
}

// Win32 keeps a class while any window of it lives (ERROR_CLASS_HAS_WINDOWS).
BOOL WINAPI UnregisterClassA(LPCSTR lpClassName, HINSTANCE)
{
    const auto found = findClass(lpClassName);
    if (found == g_classes.end() || Window::existsOfClass(found->first))
        return FALSE;
    g_classes.erase(found);
    return TRUE;
}

HWND WINAPI CreateWindowExA(DWORD, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle, int X,
                            int Y, int nWidth, int nHeight, HWND, HMENU, HINSTANCE, LPVOID)
{
    const auto found = findClass(lpClassName);
    if (found == g_classes.end() || nWidth <= 0 || nHeight <= 0)
        return nullptr;

    Window* window =
        Window::create(found->second.info, lpWindowName, dwStyle, X, Y, nWidth, nHeight);
    if (!window)
        return nullptr;
    HWND handle = window->handle();
    // A procedure that answers WM_CREATE with -1 refuses the window.
    if (window->send(WM_CREATE, 0, 0) == -1)
    {
        DestroyWindow(handle);
        return nullptr;
    }
    if (dwStyle & WS_VISIBLE)
        ShowWindow(handle, SW_SHOW);
    return handle;
}

BOOL WINAPI DestroyWindow(HWND hWnd)
{
    Window* window = Window::fromHandle(hWnd);
    if (!window)
        return FALSE;
    Window::destroy(window);
    return TRUE;
}

// Returns whether the window was visible before.
BOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow)
{
    Window* window = Window::fromHandle(hWnd);
    if (!window)
        return FALSE;
    const BOOL wasVisible = window->visible() ? TRUE : FALSE;
    const bool visible = nCmdShow != SW_HIDE;
    if (visible != window->visible())
    {
        window->show(visible);
        window->send(WM_SHOWWINDOW, visible ? TRUE : FALSE, 0);
    }
    if (window->sdlWindow() && nCmdShow == SW_MINIMIZE)
        SDL_MinimizeWindow(window->sdlWindow());
    else if (window->sdlWindow() && nCmdShow == SW_RESTORE)
        SDL_RestoreWindow(window->sdlWindow());
    return wasVisible;
}

BOOL WINAPI MoveWindow(HWND hWnd, int X, int Y, int nWidth, int nHeight, BOOL)
{
    Window* window = Window::fromHandle(hWnd);
    if (!window || nWidth <= 0 || nHeight <= 0)
        return FALSE;
    window->setRect(RECT{X, Y, X + nWidth, Y + nHeight});
    window->send(WM_MOVE, 0, MAKELPARAM(X, Y));
    window->send(WM_SIZE, SIZE_RESTORED, MAKELPARAM(nWidth, nHeight));
    return TRUE;
}

BOOL WINAPI GetWindowRect(HWND hWnd, LPRECT lpRect)
{
    Window* window = Window::fromHandle(hWnd);
    if (!window || !lpRect)
        return FALSE;
    *lpRect = window->rect();
    return TRUE;
}

BOOL WINAPI GetClientRect(HWND hWnd, LPRECT lpRect)
{
    Window* window = Window::fromHandle(hWnd);
    if (!window || !lpRect)
        return FALSE;
    const RECT& rect = window->rect();
    *lpRect = RECT{0, 0, rect.right - rect.left, rect.bottom - rect.top};
    return TRUE;
}

// Win32 grows the rectangle by the caption, menu and frame the style adds.
// This layer's windows have none inside the size a program gives (the window
// manager draws its frame outside; see GetSystemMetrics), so the window rectangle
// equals the client rectangle and a window created with the adjusted size
// has exactly the client area asked for.
BOOL WINAPI AdjustWindowRectEx(LPRECT lpRect, DWORD, BOOL, DWORD)
{
    return lpRect ? TRUE : FALSE;
}

BOOL WINAPI AdjustWindowRect(LPRECT lpRect, DWORD dwStyle, BOOL bMenu)
{
    return AdjustWindowRectEx(lpRect, dwStyle, bMenu, 0);
}

BOOL WINAPI IsWindow(HWND hWnd)
{
    return Window::fromHandle(hWnd) ? TRUE : FALSE;
}

BOOL WINAPI IsWindowVisible(HWND hWnd)
{
    Window* window = Window::fromHandle(hWnd);
    return window && window->visible() ? TRUE : FALSE;
}

LRESULT WINAPI DefWindowProcA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    Window* window = Window::fromHandle(hWnd);
    if (!window)
        return 0;
    switch (Msg)
    {
    case WM_SYSCOMMAND:
        // The window menu's Close, and the close box, ask the window first.
        if ((wParam & 0xFFF0) == SC_CLOSE)
            window->send(WM_CLOSE, 0, 0);
        return 0;
    case WM_CLOSE:
        DestroyWindow(hWnd);
        return 0;
    case WM_NCHITTEST:
    {
        // The client area covers the whole window: SDL's window manager
        // draws the frame outside it.
        const RECT& rect = window->rect();
        const LONG x = GET_X_LPARAM(lParam);
        const LONG y = GET_Y_LPARAM(lParam);
        const bool inside = x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
        return inside ? HTCLIENT : HTNOWHERE;
    }
    default:
        return 0;
    }
}

LRESULT WINAPI SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    Window* window = Window::fromHandle(hWnd);
    return window ? window->send(Msg, wParam, lParam) : 0;
}

BOOL WINAPI PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    if (hWnd && !Window::fromHandle(hWnd))
        return FALSE;
    MessageQueue::post(hWnd, Msg, wParam, lParam);
    return TRUE;
}

// Returns the window that had the focus; NULL, and the focus left where it
// was, for a handle that is no window. NULL takes the focus away.
HWND WINAPI SetFocus(HWND hWnd)
{
    Window* window = Window::fromHandle(hWnd);
    if (hWnd && !window)
        return nullptr;
    Window* previous = Window::focus();
    Window::setFocus(window);
    return previous ? previous->handle() : nullptr;
}

HWND WINAPI GetFocus(void)
{
    Window* focus = Window::focus();
    return focus ? focus->handle() : nullptr;
}

VOID WINAPI PostQuitMessage(int nExitCode)
{
    MessageQueue::postQuit(nExitCode);
}

BOOL WINAPI PeekMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax,
                         UINT wRemoveMsg)
{
    if (!lpMsg)
        return FALSE;
    return MessageQueue::peek(*lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax,
                              (wRemoveMsg & PM_REMOVE) != 0)
               ? TRUE
               : FALSE;
}

// Posts WM_CHAR for a key going down that makes a character. As Win32's, it
// answers TRUE for every key message, whether a character came of it or not.
BOOL WINAPI TranslateMessage(const MSG* lpMsg)
{
    if (!lpMsg || (lpMsg->message != WM_KEYDOWN && lpMsg->message != WM_KEYUP))
        return FALSE;
    const bool shift = (SDL_GetModState() & KMOD_SHIFT) != 0;
    const char character =
        lpMsg->message == WM_KEYDOWN ? VirtualKeys::character(lpMsg->wParam, shift) : 0;
    if (character != 0)
        MessageQueue::post(lpMsg->hwnd, WM_CHAR,
                           static_cast<WPARAM>(static_cast<unsigned char>(character)),
                           lpMsg->lParam);
    return TRUE;
}

LRESULT WINAPI DispatchMessageA(const MSG* lpMsg)
{
    if (!lpMsg)
        return 0;
    Window* window = Window::fromHandle(lpMsg->hwnd);
    return window ? window->send(lpMsg->message, lpMsg->wParam, lpMsg->lParam) : 0;
}
