// Posted messages and SDL event translation.
#include "MessageQueue.h"

#include "VirtualKeys.h"
#include "Window.h"

#include <SDL.h>

#include <deque>

namespace
{

std::deque<MSG> g_posted;
bool g_quitPosted = false;
int g_exitCode = 0;

// Key messages carry a repeat count of 1, the scancode in bits 16-23, the
// previous key state in bit 30 and the transition in bit 31.
LPARAM keyParameter(const SDL_KeyboardEvent& a_key)
{
    DWORD parameter = 1 | (static_cast<DWORD>(a_key.keysym.scancode & 0xFF) << 16);
    if (a_key.repeat || a_key.type == SDL_KEYUP)
        parameter |= 1u << 30;
    if (a_key.type == SDL_KEYUP)
        parameter |= 1u << 31;
    return static_cast<LPARAM>(parameter);
}

WPARAM mouseButtons()
{
    const Uint32 state = SDL_GetMouseState(nullptr, nullptr);
    WPARAM buttons = 0;
    if (state & SDL_BUTTON_LMASK)
        buttons |= MK_LBUTTON;
    if (state & SDL_BUTTON_RMASK)
        buttons |= MK_RBUTTON;
    if (state & SDL_BUTTON_MMASK)
        buttons |= MK_MBUTTON;
    return buttons;
}

UINT buttonMessage(Uint8 a_button, bool a_down)
{
    switch (a_button)
    {
    case SDL_BUTTON_LEFT:
        return a_down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
    case SDL_BUTTON_RIGHT:
        return a_down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
    case SDL_BUTTON_MIDDLE:
        return a_down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
    default:
        return WM_NULL;
    }
}

// Focus, size and closing reach the window procedure at once, as the
// messages Win32 sends for them.
void sendWindowEvent(Window& a_window, const SDL_WindowEvent& a_event)
{
    switch (a_event.event)
    {
    case SDL_WINDOWEVENT_CLOSE:
        a_window.send(WM_CLOSE, 0, 0);
        break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
    case SDL_WINDOWEVENT_FOCUS_LOST:
    {
        const bool active = a_event.event == SDL_WINDOWEVENT_FOCUS_GAINED;
        a_window.setActive(active);
        a_window.send(WM_ACTIVATEAPP, active ? TRUE : FALSE, 0);
        a_window.send(WM_ACTIVATE, active ? WA_ACTIVE : WA_INACTIVE, 0);
        break;
    }
    case SDL_WINDOWEVENT_MINIMIZED:
        a_window.setMinimized(true);
        a_window.send(WM_SIZE, SIZE_MINIMIZED, 0);
        break;
    case SDL_WINDOWEVENT_RESTORED:
    {
        a_window.setMinimized(false);
        const RECT& rect = a_window.rect();
        a_window.send(WM_SIZE, SIZE_RESTORED,
                      MAKELPARAM(rect.right - rect.left, rect.bottom - rect.top));
        break;
    }
    case SDL_WINDOWEVENT_MOVED:
        a_window.noteMoved(a_event.data1, a_event.data2);
        a_window.send(WM_MOVE, 0, MAKELPARAM(a_event.data1, a_event.data2));
        break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        a_window.noteResized(a_event.data1, a_event.data2);
        a_window.send(WM_SIZE, SIZE_RESTORED, MAKELPARAM(a_event.data1, a_event.data2));
        break;
    default:
        break;
    }
}

}

void MessageQueue::post(HWND a_window, UINT a_message, WPARAM a_wParam, LPARAM a_lParam)
{
    MSG message = {};
    message.hwnd = a_window;
    message.message = a_message;
    message.wParam = a_wParam;
    message.lParam = a_lParam;
    message.time = GetTickCount();
    g_posted.push_back(message);
}

void MessageQueue::postQuit(int a_exitCode)
{
    g_quitPosted = true;
    g_exitCode = a_exitCode;
}

bool MessageQueue::peek(MSG& a_message, HWND a_window, UINT a_first, UINT a_last, bool a_remove)
{
    pumpSdlEvents();

    const bool all = a_first == 0 && a_last == 0;
    const auto wanted = [&](UINT a_id) {
        return all || (a_id >= a_first && a_id <= a_last);
    };

    for (auto it = g_posted.begin(); it != g_posted.end(); ++it)
    {
        if ((a_window && it->hwnd != a_window) || !wanted(it->message))
            continue;
        a_message = *it;
        if (a_remove)
            g_posted.erase(it);
        return true;
    }

    // WM_QUIT is no real message: it is made from the quit flag once the
    // posted messages are gone, for any window filter.
    if (g_quitPosted && wanted(WM_QUIT))
    {
        a_message = MSG{};
        a_message.message = WM_QUIT;
        a_message.wParam = static_cast<WPARAM>(g_exitCode);
        a_message.time = GetTickCount();
        if (a_remove)
            g_quitPosted = false;
        return true;
    }
    return false;
}

bool MessageQueue::takePosted(MSG& a_message)
{
    if (g_posted.empty())
        return false;
    a_message = g_posted.front();
    g_posted.pop_front();
    return true;
}

void MessageQueue::postKey(Window& a_window, const SDL_KeyboardEvent& a_key)
{
    const WPARAM key = VirtualKeys::fromScancode(a_key.keysym.scancode);
    if (key == 0)
        return;
    Window* focus = Window::focus();
    Window* target = focus && focus->topLevel() == &a_window ? focus : &a_window;
    post(target->handle(), a_key.type == SDL_KEYDOWN ? WM_KEYDOWN : WM_KEYUP, key,
         keyParameter(a_key));
}

void MessageQueue::forget(HWND a_window)
{
    for (auto it = g_posted.begin(); it != g_posted.end();)
        it = it->hwnd == a_window ? g_posted.erase(it) : it + 1;
}

void MessageQueue::pumpSdlEvents()
{
    if (!SDL_WasInit(SDL_INIT_VIDEO))
        return;

    SDL_Event event;
    while (SDL_PollEvent(&event))
    {
        switch (event.type)
        {
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            if (Window* window = Window::fromSdlId(event.key.windowID))
                postKey(*window, event.key);
            break;
        case SDL_MOUSEMOTION:
            if (Window* window = Window::fromSdlId(event.motion.windowID))
                post(window->handle(), WM_MOUSEMOVE, mouseButtons(),
                     MAKELPARAM(event.motion.x, event.motion.y));
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
        {
            Window* window = Window::fromSdlId(event.button.windowID);
            const UINT message =
                buttonMessage(event.button.button, event.type == SDL_MOUSEBUTTONDOWN);
            if (window && message != WM_NULL)
                post(window->handle(), message, mouseButtons(),
                     MAKELPARAM(event.button.x, event.button.y));
            break;
        }
        case SDL_MOUSEWHEEL:
            if (Window* window = Window::fromSdlId(event.wheel.windowID))
            {
                int x = 0;
                int y = 0;
                SDL_GetGlobalMouseState(&x, &y);
                const WPARAM delta =
                    static_cast<WORD>(static_cast<short>(event.wheel.y * WHEEL_DELTA));
                post(window->handle(), WM_MOUSEWHEEL, (delta << 16) | mouseButtons(),
                     MAKELPARAM(x, y));
            }
            break;
        case SDL_WINDOWEVENT:
            if (Window* window = Window::fromSdlId(event.window.windowID))
                sendWindowEvent(*window, event.window);
            break;
        default:
            break;
        }
    }
}
