// The main window and the message pump.
#include "app/MainWindow.h"

#include "app/resource.h"
#include "core/LauncherSettings.h"

namespace
{

const char kClassName[] = "tarvow";
const char kTitle[] = "Tarvo2";
constexpr DWORD kFullScreenStyle = WS_POPUP | 0x8;

}

HWND createMainWindow(HINSTANCE a_instance)
{
    WNDCLASSA windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = a_instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    RegisterClassA(&windowClass);

    const DWORD style = g_fullScreen ? kFullScreenStyle : WS_OVERLAPPEDWINDOW;
    const int position = g_fullScreen ? 0 : 50;
    HWND window = CreateWindowExA(0, kClassName, kTitle, style, position, position, kFrameWidth,
                                  kFrameHeight, nullptr, nullptr, a_instance, nullptr);

    const HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_TARVO));
    const LONG iconValue = static_cast<LONG>(reinterpret_cast<LONG_PTR>(icon));
    SetClassLongA(window, GCL_HICON, iconValue);
    SetClassLongA(window, GCL_HICONSM, iconValue);
    return window;
}

LRESULT CALLBACK windowProc(HWND a_window, UINT a_message, WPARAM a_wParam, LPARAM a_lParam)
{
    switch (a_message)
    {
    case WM_DESTROY:
        PostQuitMessage(0);
        break;
    case WM_KEYDOWN:
        if (a_wParam == VK_ESCAPE)
            PostQuitMessage(0);
        break;
    case WM_NCHITTEST:
    {
        // Dragging anywhere in the client area moves the window.
        const LRESULT hit = DefWindowProcA(a_window, a_message, a_wParam, a_lParam);
        return hit == HTCLIENT ? HTCAPTION : hit;
    }
    default:
        break;
    }
    return DefWindowProcA(a_window, a_message, a_wParam, a_lParam);
}

// Never waits: the frame loop polls, then draws. A quit posted while a
// message is dispatched is taken by the same call.
bool pumpMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
    {
        TranslateMessage(&message);
        DispatchMessageA(&message);
        if (message.message == WM_QUIT)
            return false;
    }
    return true;
}
