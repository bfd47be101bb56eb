// The Win32 window layer over SDL: classes, windows, the message queue fed
// from SDL's events, and the small system services. Runs on SDL's offscreen
// video driver, so it needs no display.
//
// Untested: dragging by the client area through SDL's hit test (needs a
// window manager to call it).
#include <windows.h>

#include "Window.h"
#include "app/MainWindow.h"
#include "VirtualKeys.h"
#include "Win32Offline.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <stdlib.h>

#include <vector>

namespace
{

struct Received
{
    HWND window;
    UINT message;
    WPARAM wParam;
};

std::vector<Received> g_received;

// The demo's own window procedure (quit on Escape and on destruction, drag
// by the client area), with every message it receives recorded.
LRESULT CALLBACK demoProcedure(HWND a_window, UINT a_message, WPARAM a_wParam, LPARAM a_lParam)
{
    g_received.push_back(Received{a_window, a_message, a_wParam});
    return windowProc(a_window, a_message, a_wParam, a_lParam);
}

class WindowApi : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        WNDCLASSA windowClass = {};
        windowClass.style = CS_HREDRAW | CS_VREDRAW;
        windowClass.lpfnWndProc = demoProcedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        windowClass.lpszClassName = "tarvow";
        ASSERT_NE(RegisterClassA(&windowClass), 0);
    }

    // The class outlives the suite's windows only; a repeated run registers it
    // again.
    static void TearDownTestSuite() { UnregisterClassA("tarvow", GetModuleHandleA(nullptr)); }

    void SetUp() override
    {
        g_received.clear();
        m_window = CreateWindowExA(0, "tarvow", "Tarvo2", WS_OVERLAPPEDWINDOW, 50, 50, 1280, 720,
                                   nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(m_window, nullptr);
    }

    void TearDown() override
    {
        DestroyWindow(m_window);
        drain();
    }

    // Takes every pending message, as the demo's pump does, and returns them.
    std::vector<MSG> drain()
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

    void pushWindowEvent(Uint8 a_event)
    {
        SDL_Event event = {};
        event.type = SDL_WINDOWEVENT;
        event.window.windowID = SDL_GetWindowID(Window::fromHandle(m_window)->sdlWindow());
        event.window.event = a_event;
        SDL_PushEvent(&event);
    }

    void pushKey(SDL_Scancode a_scancode, bool a_down)
    {
        SDL_Event event = {};
        event.type = a_down ? SDL_KEYDOWN : SDL_KEYUP;
        event.key.windowID = SDL_GetWindowID(Window::fromHandle(m_window)->sdlWindow());
        event.key.keysym.scancode = a_scancode;
        event.key.state = a_down ? SDL_PRESSED : SDL_RELEASED;
        SDL_PushEvent(&event);
    }

    HWND m_window = nullptr;
};

}

// A class name registers once; a class without a procedure not at all.
TEST_F(WindowApi, ClassRegistersOnce)
{
    WNDCLASSA again = {};
    again.lpfnWndProc = demoProcedure;
    again.lpszClassName = "tarvow";
    EXPECT_EQ(RegisterClassA(&again), 0);

    WNDCLASSA noProcedure = {};
    noProcedure.lpszClassName = "other";
    EXPECT_EQ(RegisterClassA(&noProcedure), 0);
    EXPECT_EQ(
        CreateWindowExA(0, "unknown", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr),
        nullptr);
}

// RegisterClassExA registers as RegisterClassA does, and only a structure
// whose cbSize is sizeof(WNDCLASSEXA); CreateWindowA makes a window of the
// class by name or by the atom; UnregisterClassA refuses while a window of
// the class lives and frees the name once none does.
TEST_F(WindowApi, ExtendedClassesRegisterAndUnregister)
{
    WNDCLASSEXA extended = {};
    extended.cbSize = sizeof(WNDCLASSEXA);
    extended.lpfnWndProc = demoProcedure;
    extended.hInstance = GetModuleHandleA(nullptr);
    extended.lpszClassName = "tarvoex";
    struct Case
    {
        const char* name;
        UINT cbSize;
        WNDPROC procedure;
    };
    const Case refused[] = {
        {"cbSize 0", 0, demoProcedure},
        {"cbSize of WNDCLASSA", UINT(sizeof(WNDCLASSA)), demoProcedure},
        {"no procedure", UINT(sizeof(WNDCLASSEXA)), nullptr},
    };
    for (const Case& test : refused)
    {
        SCOPED_TRACE(test.name);
        WNDCLASSEXA wrong = extended;
        wrong.cbSize = test.cbSize;
        wrong.lpfnWndProc = test.procedure;
        EXPECT_EQ(RegisterClassExA(&wrong), 0);
    }
    EXPECT_EQ(RegisterClassExA(nullptr), 0);
    const ATOM atom = RegisterClassExA(&extended);
    ASSERT_NE(atom, 0);
    EXPECT_GE(atom, 0xC000) << "Win32 numbers registered classes from 0xC000";
    EXPECT_EQ(RegisterClassExA(&extended), 0) << "registered already";

    const HWND byName = CreateWindowA("tarvoex", "by name", WS_OVERLAPPEDWINDOW, 0, 0, 64, 48,
                                      nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(byName, nullptr);
    RECT rect = {};
    ASSERT_TRUE(GetWindowRect(byName, &rect));
    EXPECT_EQ(rect.right - rect.left, 64);
    EXPECT_EQ(rect.bottom - rect.top, 48);
    const HWND byAtom = CreateWindowA(MAKEINTATOM(atom), "by atom", WS_OVERLAPPEDWINDOW, 0, 0, 32,
                                      32, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(byAtom, nullptr);
    EXPECT_EQ(Window::fromHandle(byAtom)->className(), "tarvoex");

    EXPECT_FALSE(UnregisterClassA("tarvoex", GetModuleHandleA(nullptr))) << "two windows live";
    DestroyWindow(byName);
    EXPECT_FALSE(UnregisterClassA(MAKEINTATOM(atom), GetModuleHandleA(nullptr)))
        << "one window lives";
    DestroyWindow(byAtom);
    drain();
    EXPECT_TRUE(UnregisterClassA(MAKEINTATOM(atom), GetModuleHandleA(nullptr)));
    EXPECT_FALSE(UnregisterClassA("tarvoex", GetModuleHandleA(nullptr))) << "gone already";
    EXPECT_EQ(CreateWindowA("tarvoex", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr),
              nullptr);
    EXPECT_NE(RegisterClassExA(&extended), 0) << "the name is free again";
    EXPECT_TRUE(UnregisterClassA("tarvoex", nullptr));
    EXPECT_FALSE(UnregisterClassA(nullptr, nullptr));
}

// A new window is hidden, has the outer rectangle it was created with, and
// its procedure saw WM_CREATE; showing it sends WM_SHOWWINDOW once.
TEST_F(WindowApi, CreatesHiddenWindowOfGivenRectangle)
{
    EXPECT_TRUE(IsWindow(m_window));
    RECT rect;
    ASSERT_TRUE(GetWindowRect(m_window, &rect));
    EXPECT_EQ(rect.left, 50);
    EXPECT_EQ(rect.top, 50);
    EXPECT_EQ(rect.right - rect.left, 1280);
    EXPECT_EQ(rect.bottom - rect.top, 720);
    EXPECT_TRUE(SDL_GetWindowFlags(Window::fromHandle(m_window)->sdlWindow()) & SDL_WINDOW_HIDDEN);
    ASSERT_FALSE(g_received.empty());
    EXPECT_EQ(g_received[0].message, static_cast<UINT>(WM_CREATE));

    g_received.clear();
    EXPECT_FALSE(ShowWindow(m_window, SW_SHOW));  // was hidden
    EXPECT_TRUE(ShowWindow(m_window, SW_SHOW));   // now visible, nothing sent
    ASSERT_EQ(g_received.size(), 1u);
    EXPECT_EQ(g_received[0].message, static_cast<UINT>(WM_SHOWWINDOW));
    EXPECT_EQ(g_received[0].wParam, static_cast<WPARAM>(TRUE));
    EXPECT_FALSE(SDL_GetWindowFlags(Window::fromHandle(m_window)->sdlWindow()) & SDL_WINDOW_HIDDEN);
}

// MoveWindow sets the outer rectangle and tells the procedure.
TEST_F(WindowApi, MoveWindowSetsRectangle)
{
    g_received.clear();
    ASSERT_TRUE(MoveWindow(m_window, 10, 20, 800, 600, TRUE));
    RECT rect;
    ASSERT_TRUE(GetWindowRect(m_window, &rect));
    EXPECT_EQ(rect.left, 10);
    EXPECT_EQ(rect.top, 20);
    EXPECT_EQ(rect.right, 810);
    EXPECT_EQ(rect.bottom, 620);
    ASSERT_TRUE(GetClientRect(m_window, &rect));
    EXPECT_EQ(rect.right, 800);
    EXPECT_EQ(rect.bottom, 600);
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(Window::fromHandle(m_window)->sdlWindow(), &width, &height);
    EXPECT_EQ(width, 800);
    EXPECT_EQ(height, 600);
    ASSERT_EQ(g_received.size(), 2u);
    EXPECT_EQ(g_received[0].message, static_cast<UINT>(WM_MOVE));
    EXPECT_EQ(g_received[1].message, static_cast<UINT>(WM_SIZE));
}

// A window sized by AdjustWindowRect(Ex) gets the client area the program
// asked for, whatever the style and menu; a null rectangle fails.
TEST_F(WindowApi, AdjustedWindowRectGivesTheAskedClientArea)
{
    struct Case
    {
        const char* name;
        DWORD style;
        BOOL menu;
        bool extended;
    };
    const Case cases[] = {
        {"overlapped window", WS_OVERLAPPEDWINDOW, FALSE, false},
        {"caption and system menu", WS_CAPTION | WS_SYSMENU, FALSE, false},
        {"with a menu", WS_OVERLAPPEDWINDOW, TRUE, false},
        {"thin border", WS_BORDER, FALSE, false},
        {"popup", WS_POPUP, FALSE, false},
        {"topmost popup", WS_POPUP, FALSE, true},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        RECT rect = {100, 50, 100 + 641, 50 + 479};
        const BOOL adjusted = c.extended ? AdjustWindowRectEx(&rect, c.style, c.menu, WS_EX_TOPMOST)
                                         : AdjustWindowRect(&rect, c.style, c.menu);
        ASSERT_TRUE(adjusted);
        EXPECT_LE(rect.left, 100);
        EXPECT_LE(rect.top, 50);
        ASSERT_TRUE(MoveWindow(m_window, rect.left, rect.top, rect.right - rect.left,
                               rect.bottom - rect.top, TRUE));
        RECT client;
        ASSERT_TRUE(GetClientRect(m_window, &client));
        EXPECT_EQ(client.right - client.left, 641);
        EXPECT_EQ(client.bottom - client.top, 479);
    }
    EXPECT_FALSE(AdjustWindowRect(nullptr, WS_OVERLAPPEDWINDOW, FALSE));
    EXPECT_FALSE(AdjustWindowRectEx(nullptr, WS_POPUP, FALSE, 0));
}

// Posted messages come out in order; PM_NOREMOVE leaves them; a range
// filters; WM_QUIT comes only after the rest, once, with its exit code.
TEST_F(WindowApi, QueueOrderAndQuit)
{
    drain();
    PostQuitMessage(7);
    PostMessageA(m_window, WM_USER + 1, 1, 0);
    PostMessageA(m_window, WM_USER + 2, 2, 0);

    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_USER + 1));
    ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_USER + 2, WM_USER + 2, PM_REMOVE));
    EXPECT_EQ(message.wParam, 2u);
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_USER + 1));
    EXPECT_EQ(message.hwnd, m_window);
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(message.wParam, 7u);
    EXPECT_EQ(message.hwnd, nullptr);
    EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
}

// Escape arrives as WM_KEYDOWN with VK_ESCAPE; the quit it posts while being
// dispatched is taken in the same pump, behind the character it made.
TEST_F(WindowApi, EscapeQuitsWithinSamePump)
{
    drain();
    pushKey(SDL_SCANCODE_ESCAPE, true);
    const std::vector<MSG> taken = drain();
    ASSERT_EQ(taken.size(), 3u);
    EXPECT_EQ(taken[0].message, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_EQ(taken[0].wParam, static_cast<WPARAM>(VK_ESCAPE));
    EXPECT_EQ(taken[0].hwnd, m_window);
    EXPECT_EQ(taken[0].lParam & 0xFFFF, 1);  // repeat count
    EXPECT_EQ(taken[1].message, static_cast<UINT>(WM_CHAR));
    EXPECT_EQ(taken[1].wParam, static_cast<WPARAM>(0x1B));
    EXPECT_EQ(taken[2].message, static_cast<UINT>(WM_QUIT));

    pushKey(SDL_SCANCODE_ESCAPE, false);
    const std::vector<MSG> released = drain();
    ASSERT_EQ(released.size(), 1u);
    EXPECT_EQ(released[0].message, static_cast<UINT>(WM_KEYUP));
    EXPECT_EQ(static_cast<DWORD>(released[0].lParam) >> 30, 3u);  // was down, going up
}

// The close box sends WM_CLOSE; the default answer destroys the window,
// whose WM_DESTROY posts the quit; the handle is then dead to every call.
TEST_F(WindowApi, CloseBoxDestroysWindowAndQuits)
{
    drain();
    g_received.clear();
    PostMessageA(m_window, WM_USER, 0, 0);  // dropped with the window
    pushWindowEvent(SDL_WINDOWEVENT_CLOSE);
    const std::vector<MSG> taken = drain();
    ASSERT_EQ(taken.size(), 1u);
    EXPECT_EQ(taken[0].message, static_cast<UINT>(WM_QUIT));
    ASSERT_EQ(g_received.size(), 2u);
    EXPECT_EQ(g_received[0].message, static_cast<UINT>(WM_CLOSE));
    EXPECT_EQ(g_received[1].message, static_cast<UINT>(WM_DESTROY));

    EXPECT_FALSE(IsWindow(m_window));
    RECT rect;
    EXPECT_FALSE(GetWindowRect(m_window, &rect));
    EXPECT_FALSE(ShowWindow(m_window, SW_SHOW));
    EXPECT_FALSE(PostMessageA(m_window, WM_USER, 0, 0));
    EXPECT_FALSE(DestroyWindow(m_window));
    MSG stale = {};
    stale.hwnd = m_window;
    stale.message = WM_USER;
    EXPECT_EQ(DispatchMessageA(&stale), 0);
}

// Focus and minimisation reach the procedure at once, as sent messages, and
// stay readable for the device, which loses a full-screen device on them.
TEST_F(WindowApi, FocusAndMinimiseAreSent)
{
    drain();
    Window* window = Window::fromHandle(m_window);
    const struct
    {
        Uint8 event;
        std::vector<UINT> sent;
        WPARAM firstParameter;
        bool active;
        bool minimized;
    } cases[] = {
        {SDL_WINDOWEVENT_FOCUS_GAINED, {WM_ACTIVATEAPP, WM_ACTIVATE}, TRUE, true, false},
        {SDL_WINDOWEVENT_FOCUS_LOST, {WM_ACTIVATEAPP, WM_ACTIVATE}, FALSE, false, false},
        {SDL_WINDOWEVENT_MINIMIZED, {WM_SIZE}, SIZE_MINIMIZED, false, true},
        {SDL_WINDOWEVENT_RESTORED, {WM_SIZE}, SIZE_RESTORED, false, false},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(static_cast<int>(c.event));
        g_received.clear();
        pushWindowEvent(c.event);
        EXPECT_TRUE(drain().empty()) << "nothing is posted";
        std::vector<UINT> sent;
        for (const Received& received : g_received)
            sent.push_back(received.message);
        EXPECT_EQ(sent, c.sent);
        ASSERT_FALSE(g_received.empty());
        EXPECT_EQ(g_received[0].wParam, c.firstParameter);
        EXPECT_EQ(window->active(), c.active);
        EXPECT_EQ(window->minimized(), c.minimized);
    }
}

// Inside the window the default hit test answers HTCLIENT, which the demo's
// procedure turns into HTCAPTION; outside it answers HTNOWHERE.
TEST_F(WindowApi, HitTestMakesClientAreaDraggable)
{
    const struct
    {
        int x;
        int y;
        LRESULT byDefault;
        LRESULT byDemo;
    } cases[] = {
        {50, 50, HTCLIENT, HTCAPTION},
        {1329, 769, HTCLIENT, HTCAPTION},
        {1330, 100, HTNOWHERE, HTNOWHERE},
        {49, 100, HTNOWHERE, HTNOWHERE},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        EXPECT_EQ(DefWindowProcA(m_window, WM_NCHITTEST, 0, MAKELPARAM(c.x, c.y)), c.byDefault);
        EXPECT_EQ(SendMessageA(m_window, WM_NCHITTEST, 0, MAKELPARAM(c.x, c.y)), c.byDemo);
    }
}

// Keys map to Win32's virtual-key codes; TranslateMessage's characters follow
// the shift state.
TEST(VirtualKeys, MapsScancodes)
{
    const struct
    {
        SDL_Scancode scancode;
        WPARAM virtualKey;
        char plain;
        char shifted;
    } cases[] = {
        {SDL_SCANCODE_ESCAPE, VK_ESCAPE, 0x1B, 0x1B},
        {SDL_SCANCODE_RETURN, VK_RETURN, '\r', '\r'},
        {SDL_SCANCODE_SPACE, VK_SPACE, ' ', ' '},
        {SDL_SCANCODE_A, 'A', 'a', 'A'},
        {SDL_SCANCODE_Z, 'Z', 'z', 'Z'},
        {SDL_SCANCODE_1, '1', '1', 0},
        {SDL_SCANCODE_0, '0', '0', 0},
        {SDL_SCANCODE_F1, VK_F1, 0, 0},
        {SDL_SCANCODE_F12, VK_F12, 0, 0},
        {SDL_SCANCODE_UP, VK_UP, 0, 0},
        {SDL_SCANCODE_LSHIFT, VK_SHIFT, 0, 0},
        {SDL_SCANCODE_KP_5, 0, 0, 0},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(SDL_GetScancodeName(c.scancode));
        EXPECT_EQ(VirtualKeys::fromScancode(c.scancode), c.virtualKey);
        EXPECT_EQ(VirtualKeys::character(c.virtualKey, false), c.plain);
        EXPECT_EQ(VirtualKeys::character(c.virtualKey, true), c.shifted);
    }
}

// The small services: a module and arrow cursor handle, the cursor's display
// counter, ticks that advance by at least the time slept.
TEST(SystemApi, ServicesAnswerAsWin32)
{
    EXPECT_NE(GetModuleHandleA(nullptr), nullptr);
    EXPECT_EQ(GetModuleHandleA("other.dll"), nullptr);
    EXPECT_NE(LoadCursorA(nullptr, IDC_ARROW), nullptr);
    for (int metric : {SM_CXFRAME, SM_CYFRAME, SM_CYSIZE, SM_CYBORDER})
        EXPECT_EQ(GetSystemMetrics(metric), 0) << metric;

    EXPECT_EQ(ShowCursor(FALSE), -1);
    EXPECT_EQ(ShowCursor(FALSE), -2);
    EXPECT_EQ(ShowCursor(TRUE), -1);
    EXPECT_EQ(ShowCursor(TRUE), 0);

    const DWORD before = GetTickCount();
    Sleep(20);
    EXPECT_GE(GetTickCount() - before, 20u);
}

// The offline renderer's seam: with sleeps skipped, an hour's Sleep returns
// (a fault would hang until the suite's deadline), and sleeping works again
// once the seam is off.
TEST(SystemApi, SleepsCanBeSkipped)
{
    Win32Offline::skipSleeps(true);
    Sleep(3600 * 1000);
    Win32Offline::skipSleeps(false);
    const DWORD before = GetTickCount();
    Sleep(20);
    EXPECT_GE(GetTickCount() - before, 20u);
}
