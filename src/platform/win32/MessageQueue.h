// The thread's message queue: posted messages in order, the quit flag, and
// SDL's events turned into the messages Win32 would deliver. Window events
// (close, focus, size) are sent to the window procedure while the queue is
// pumped, as Win32 sends them; input is posted.
#pragma once

#include <windows.h>

class Window;
struct SDL_KeyboardEvent;

class MessageQueue
{
public:
    static void post(HWND a_window, UINT a_message, WPARAM a_wParam, LPARAM a_lParam);
    static void postQuit(int a_exitCode);

    // Takes (or copies) the first message that matches the filter, after
    // pumping SDL's events; WM_QUIT comes once nothing else is posted.
    static bool peek(MSG& a_message, HWND a_window, UINT a_first, UINT a_last, bool a_remove);

    // Takes the first posted message, for any window, without pumping SDL's
    // events: for a modal loop that reads SDL's events itself. WM_QUIT stays.
    static bool takePosted(MSG& a_message);

    // Posts an SDL key on a top-level window as Win32's key message, to the
    // window that has the focus if it lies in a_window, else to a_window.
    static void postKey(Window& a_window, const SDL_KeyboardEvent& a_key);

    // Drops the messages posted to a window that is being destroyed.
    static void forget(HWND a_window);

private:
    static void pumpSdlEvents();
};
