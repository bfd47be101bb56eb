// The demo's window: its class and procedure, and the per-frame message pump.
#pragma once

#include <windows.h>

// Registers class "tarvow" and creates the hidden window: a 1280 x 720
// pop-up at (0, 0) for full screen, an overlapped window at (50, 50) otherwise.
HWND createMainWindow(HINSTANCE a_instance);

// Escape and destruction quit; the client area drags the window.
LRESULT CALLBACK windowProc(HWND a_window, UINT a_message, WPARAM a_wParam, LPARAM a_lParam);

// Handles every pending message without waiting; false once WM_QUIT came.
bool pumpMessages();
