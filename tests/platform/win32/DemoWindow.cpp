#include "platform/win32/DemoWindow.h"

#include "app/MainWindow.h"

#include <stdlib.h>

#include <algorithm>

const char DemoWindow::kClass[] = "tarvow";

LRESULT CALLBACK DemoWindow::procedure(HWND a_window, UINT a_message, WPARAM a_wParam,
                                       LPARAM a_lParam)
{
    log().push_back(Received{a_window, a_message, a_wParam, a_lParam});
    return windowProc(a_window, a_message, a_wParam, a_lParam);
}

void DemoWindow::SetUpTestSuite()
{
#ifndef _WIN32
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
#endif
    WNDCLASSA windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClass;
    ASSERT_NE(RegisterClassA(&windowClass), 0);
}

void DemoWindow::TearDownTestSuite()
{
    UnregisterClassA(kClass, GetModuleHandleA(nullptr));
}

void DemoWindow::SetUp()
{
    log().clear();
    m_window = CreateWindowExA(0, kClass, "Tarvo2", WS_OVERLAPPEDWINDOW, kLeft, kTop, kWidth,
                               kHeight, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(m_window, nullptr);
}

void DemoWindow::TearDown()
{
    DestroyWindow(m_window);
    drain();
}

std::vector<MSG> DemoWindow::drain()
{
    std::vector<MSG> taken;
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
    {
        taken.push_back(message);
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return taken;
}

std::vector<DemoWindow::Received>& DemoWindow::log()
{
    static std::vector<Received> received;
    return received;
}

std::vector<UINT> DemoWindow::received(std::initializer_list<UINT> a_kinds)
{
    std::vector<UINT> kinds;
    for (const Received& entry : log())
    {
        if (std::find(a_kinds.begin(), a_kinds.end(), entry.message) != a_kinds.end())
            kinds.push_back(entry.message);
    }
    return kinds;
}
