// Win32's classes, windows, message queue and small system services, as a
// program sees them through the API. Built for our layer (on SDL's offscreen
// driver, no display needed) and for Windows; what needs our layer's SDL
// events or its extensions is in WindowEventsTest.cpp.
#include <windows.h>

#include "platform/win32/DemoWindow.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace
{

using WindowApi = DemoWindow;

// The frame a window of the style adds around its client area.
RECT frameOf(DWORD a_style, DWORD a_exStyle)
{
    RECT frame = {0, 0, 0, 0};
    EXPECT_TRUE(AdjustWindowRectEx(&frame, a_style, FALSE, a_exStyle));
    return frame;
}

}

// A class name registers once; a class needs no procedure; a window needs a
// registered class.
TEST_F(WindowApi, ClassRegistersOnce)
{
    WNDCLASSA again = {};
    again.lpfnWndProc = DemoWindow::procedure;
    again.lpszClassName = kClass;
    EXPECT_EQ(RegisterClassA(&again), 0);

    WNDCLASSA noProcedure = {};
    noProcedure.hInstance = GetModuleHandleA(nullptr);
    noProcedure.lpszClassName = "other";
    EXPECT_NE(RegisterClassA(&noProcedure), 0);
    EXPECT_TRUE(UnregisterClassA("other", GetModuleHandleA(nullptr)));
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
    extended.lpfnWndProc = DemoWindow::procedure;
    extended.hInstance = GetModuleHandleA(nullptr);
    extended.lpszClassName = "tarvoex";
    struct Case
    {
        const char* name;
        UINT cbSize;
        WNDPROC procedure;
    };
    const Case refused[] = {
        {"cbSize 0", 0, DemoWindow::procedure},
        {"cbSize of WNDCLASSA", UINT(sizeof(WNDCLASSA)), DemoWindow::procedure},
        {"cbSize 0, no procedure", 0, nullptr},
    };
    for (const Case& test : refused)
    {
        SCOPED_TRACE(test.name);
        WNDCLASSEXA wrong = extended;
        wrong.cbSize = test.cbSize;
        wrong.lpfnWndProc = test.procedure;
        EXPECT_EQ(RegisterClassExA(&wrong), 0);
    }
    const ATOM atom = RegisterClassExA(&extended);
    ASSERT_NE(atom, 0);
    EXPECT_GE(atom, 0xC000) << "Win32 numbers registered classes from 0xC000";
    EXPECT_EQ(RegisterClassExA(&extended), 0) << "registered already";

    const HWND byName = CreateWindowA("tarvoex", "by name", WS_OVERLAPPEDWINDOW, 0, 0, 164, 148,
                                      nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(byName, nullptr);
    RECT rect = {};
    ASSERT_TRUE(GetWindowRect(byName, &rect));
    EXPECT_EQ(rect.right - rect.left, 164);
    EXPECT_EQ(rect.bottom - rect.top, 148);
    const HWND byAtom = CreateWindowA(MAKEINTATOM(atom), "by atom", WS_OVERLAPPEDWINDOW, 0, 0, 132,
                                      132, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(byAtom, nullptr);

    EXPECT_FALSE(UnregisterClassA("tarvoex", GetModuleHandleA(nullptr))) << "two windows live";
    DestroyWindow(byName);
    // The window made by the atom is of the class named by the string.
    EXPECT_FALSE(UnregisterClassA(MAKEINTATOM(atom), GetModuleHandleA(nullptr)))
        << "one window lives";
    DestroyWindow(byAtom);
    drain();
    EXPECT_TRUE(UnregisterClassA(MAKEINTATOM(atom), GetModuleHandleA(nullptr)));
    EXPECT_FALSE(UnregisterClassA("tarvoex", GetModuleHandleA(nullptr))) << "gone already";
    EXPECT_EQ(CreateWindowA("tarvoex", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr),
              nullptr);
    EXPECT_NE(RegisterClassExA(&extended), 0) << "the name is free again";
    EXPECT_TRUE(UnregisterClassA("tarvoex", GetModuleHandleA(nullptr)));
    EXPECT_FALSE(UnregisterClassA(nullptr, nullptr));
}

// A new window is hidden, has the outer rectangle it was created with, and
// its procedure saw WM_CREATE before CreateWindowExA returned; showing it
// sends WM_SHOWWINDOW once.
TEST_F(WindowApi, CreatesHiddenWindowOfGivenRectangle)
{
    EXPECT_TRUE(IsWindow(m_window));
    EXPECT_FALSE(IsWindowVisible(m_window));
    RECT rect;
    ASSERT_TRUE(GetWindowRect(m_window, &rect));
    EXPECT_EQ(rect.left, kLeft);
    EXPECT_EQ(rect.top, kTop);
    EXPECT_EQ(rect.right - rect.left, kWidth);
    EXPECT_EQ(rect.bottom - rect.top, kHeight);
    EXPECT_EQ(received({WM_CREATE}), std::vector<UINT>{WM_CREATE});

    log().clear();
    EXPECT_FALSE(ShowWindow(m_window, SW_SHOW)) << "was hidden";
    EXPECT_TRUE(IsWindowVisible(m_window));
    EXPECT_TRUE(ShowWindow(m_window, SW_SHOW)) << "was visible";
    EXPECT_EQ(received({WM_SHOWWINDOW}), std::vector<UINT>{WM_SHOWWINDOW});
    for (const Received& entry : log())
    {
        if (entry.message == WM_SHOWWINDOW)
        {
            EXPECT_EQ(entry.wParam, static_cast<WPARAM>(TRUE));
        }
    }
}

// MoveWindow sets the outer rectangle, the client area is what the frame
// leaves of it, and the procedure hears of the move, then of the size.
TEST_F(WindowApi, MoveWindowSetsRectangle)
{
    log().clear();
    ASSERT_TRUE(MoveWindow(m_window, 10, 20, 500, 300, TRUE));
    RECT rect;
    ASSERT_TRUE(GetWindowRect(m_window, &rect));
    EXPECT_EQ(rect.left, 10);
    EXPECT_EQ(rect.top, 20);
    EXPECT_EQ(rect.right, 510);
    EXPECT_EQ(rect.bottom, 320);
    const RECT frame = frameOf(WS_OVERLAPPEDWINDOW, 0);
    ASSERT_TRUE(GetClientRect(m_window, &rect));
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.right, 500 - (frame.right - frame.left));
    EXPECT_EQ(rect.bottom, 300 - (frame.bottom - frame.top));
    EXPECT_EQ(received({WM_MOVE, WM_SIZE}), (std::vector<UINT>{WM_MOVE, WM_SIZE}));
    EXPECT_FALSE(MoveWindow(nullptr, 0, 0, 10, 10, TRUE));
}

// A window of each style sized by AdjustWindowRect(Ex) gets the client area
// the program asked for; a null rectangle fails.
TEST_F(WindowApi, AdjustedWindowRectGivesTheAskedClientArea)
{
    struct Case
    {
        const char* name;
        DWORD style;
        DWORD exStyle;
    };
    const Case cases[] = {
        {"overlapped window", WS_OVERLAPPEDWINDOW, 0},
        {"caption and system menu", WS_CAPTION | WS_SYSMENU, 0},
        {"bordered popup", WS_POPUP | WS_BORDER, 0},
        {"popup", WS_POPUP, 0},
        {"topmost popup", WS_POPUP, WS_EX_TOPMOST},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        RECT rect = {100, 50, 100 + 641, 50 + 479};
        const BOOL adjusted = c.exStyle ? AdjustWindowRectEx(&rect, c.style, FALSE, c.exStyle)
                                        : AdjustWindowRect(&rect, c.style, FALSE);
        ASSERT_TRUE(adjusted);
        EXPECT_LE(rect.left, 100);
        EXPECT_LE(rect.top, 50);
        const HWND window = CreateWindowExA(c.exStyle, kClass, "", c.style, rect.left, rect.top,
                                            rect.right - rect.left, rect.bottom - rect.top, nullptr,
                                            nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(window, nullptr);
        RECT client;
        ASSERT_TRUE(GetClientRect(window, &client));
        EXPECT_EQ(client.right - client.left, 641);
        EXPECT_EQ(client.bottom - client.top, 479);
        DestroyWindow(window);
    }
    drain();
}

namespace
{

// A call given a null pointer where the API wants a structure or a name,
// and what it answers, turned into a number (0 is failure).
struct NullCall
{
    const char* name;
    LONG_PTR (*call)(HWND a_window);
};

// Names the case in the test's listing, rather than its bytes.
void PrintTo(const NullCall& a_call, std::ostream* a_out)
{
    *a_out << a_call.name;
}

class NullPointer : public DemoWindow, public testing::WithParamInterface<NullCall>
{
};

const NullCall kNullCalls[] = {
    {"RegisterClassA",
     [](HWND) -> LONG_PTR {
         return RegisterClassA(nullptr);
     }},
    {"RegisterClassExA",
     [](HWND) -> LONG_PTR {
         return RegisterClassExA(nullptr);
     }},
    {"UnregisterClassA",
     [](HWND) -> LONG_PTR {
         return UnregisterClassA(nullptr, GetModuleHandleA(nullptr));
     }},
    {"CreateWindowExA",
     [](HWND) -> LONG_PTR {
         return reinterpret_cast<LONG_PTR>(
             CreateWindowExA(0, nullptr, "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr));
     }},
    {"AdjustWindowRect",
     [](HWND) -> LONG_PTR {
         return AdjustWindowRect(nullptr, WS_OVERLAPPEDWINDOW, FALSE);
     }},
    {"AdjustWindowRectEx",
     [](HWND) -> LONG_PTR {
         return AdjustWindowRectEx(nullptr, WS_POPUP, FALSE, 0);
     }},
    {"GetWindowRect",
     [](HWND a_window) -> LONG_PTR {
         return GetWindowRect(a_window, nullptr);
     }},
    {"GetClientRect",
     [](HWND a_window) -> LONG_PTR {
         return GetClientRect(a_window, nullptr);
     }},
    {"PeekMessageA",
     [](HWND) -> LONG_PTR {
         return PeekMessageA(nullptr, nullptr, 0, 0, PM_REMOVE);
     }},
    {"TranslateMessage",
     [](HWND) -> LONG_PTR {
         return TranslateMessage(nullptr);
     }},
    {"DispatchMessageA",
     [](HWND) -> LONG_PTR {
         return DispatchMessageA(nullptr);
     }},
};

}

// Calls given a null pointer fail rather than read or write through it; the
// window they were given is left as it was.
TEST_P(NullPointer, IsRefused)
{
    EXPECT_EQ(GetParam().call(m_window), 0);
    EXPECT_TRUE(IsWindow(m_window));
}

INSTANTIATE_TEST_SUITE_P(WindowApi, NullPointer, testing::ValuesIn(kNullCalls),
                         [](const testing::TestParamInfo<NullCall>& a_info) {
                             return std::string(a_info.param.name);
                         });

// Input posted as the keyboard and the mouse post it reaches the procedure
// as it was posted; TranslateMessage puts the character of a key that makes
// one behind it, with the key's lParam (the scan code in bits 16-23).
TEST_F(WindowApi, InputReachesTheProcedure)
{
    constexpr int kNone = -1;
    const struct
    {
        const char* name;
        UINT message;
        WPARAM wParam;
        DWORD lParam;
        int character;
    } cases[] = {
        {"A", WM_KEYDOWN, 'A', 0x001E0001, 'a'},
        {"7", WM_KEYDOWN, '7', 0x00080001, '7'},
        {"Space", WM_KEYDOWN, VK_SPACE, 0x00390001, ' '},
        {"Enter", WM_KEYDOWN, VK_RETURN, 0x001C0001, '\r'},
        {"Backspace", WM_KEYDOWN, VK_BACK, 0x000E0001, 0x08},
        {"Tab", WM_KEYDOWN, VK_TAB, 0x000F0001, '\t'},
        {"F1", WM_KEYDOWN, VK_F1, 0x003B0001, kNone},
        {"Down, an extended key", WM_KEYDOWN, VK_DOWN, 0x01500001, kNone},
        {"A going up", WM_KEYUP, 'A', 0xC01E0001u, kNone},
        {"mouse move", WM_MOUSEMOVE, 0, 0x00140010, kNone},
        {"left button down", WM_LBUTTONDOWN, MK_LBUTTON, 0x00140010, kNone},
        {"left button up", WM_LBUTTONUP, 0, 0x00150011, kNone},
        {"right button down", WM_RBUTTONDOWN, MK_RBUTTON, 0x00C8012C, kNone},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        drain();
        log().clear();
        const LPARAM lParam = static_cast<LPARAM>(c.lParam);
        ASSERT_TRUE(PostMessageA(m_window, c.message, c.wParam, lParam));
        drain();
        std::vector<Received> input;
        for (const Received& entry : log())
        {
            if (entry.message == c.message || entry.message == WM_CHAR)
                input.push_back(entry);
        }
        ASSERT_EQ(input.size(), c.character == kNone ? 1u : 2u);
        EXPECT_EQ(input[0].window, m_window);
        EXPECT_EQ(input[0].message, c.message);
        EXPECT_EQ(input[0].wParam, c.wParam);
        EXPECT_EQ(input[0].lParam, lParam);
        if (c.character != kNone)
        {
            EXPECT_EQ(input[1].window, m_window);
            EXPECT_EQ(input[1].message, static_cast<UINT>(WM_CHAR));
            EXPECT_EQ(input[1].wParam, static_cast<WPARAM>(c.character));
            EXPECT_EQ(input[1].lParam, lParam);
        }
    }
}

namespace
{

// A second window of the class, shown with the test's own, so that the
// focus has somewhere to go.
HWND showTwoWindows(HWND a_window, const char* a_class)
{
    const HWND other = CreateWindowExA(0, a_class, "other", WS_OVERLAPPEDWINDOW, 70, 70, 640, 360,
                                       nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ShowWindow(a_window, SW_SHOW);
    if (other)
        ShowWindow(other, SW_SHOW);
    return other;
}

}

// SetFocus answers the window that had the focus before.
TEST_F(WindowApi, SetFocusAnswersThePreviousFocus)
{
    const HWND other = showTwoWindows(m_window, kClass);
    ASSERT_NE(other, nullptr);
    drain();
    SetFocus(m_window);
    EXPECT_EQ(SetFocus(other), m_window);
    EXPECT_EQ(SetFocus(m_window), other);
    DestroyWindow(other);
}

// SetFocus moves the keyboard focus: the window losing it hears
// WM_KILLFOCUS naming the one taking it, which hears WM_SETFOCUS naming the
// other. A handle that is no window leaves the focus where it is, NULL takes
// it away (answering where it was), and a destroyed window has it no more.
TEST_F(WindowApi, FocusMovesBetweenWindows)
{
    const HWND other = showTwoWindows(m_window, kClass);
    ASSERT_NE(other, nullptr);
    const HWND gone =
        CreateWindowExA(0, kClass, "gone", WS_OVERLAPPEDWINDOW, kLeft, kTop, kWidth, kHeight,
                        nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(gone, nullptr);
    DestroyWindow(gone);
    drain();
    SetFocus(m_window);
    EXPECT_EQ(GetFocus(), m_window);

    log().clear();
    SetFocus(other);
    EXPECT_EQ(GetFocus(), other);
    std::vector<Received> focus;
    for (const Received& entry : log())
    {
        if (entry.message == WM_KILLFOCUS || entry.message == WM_SETFOCUS)
            focus.push_back(entry);
    }
    ASSERT_EQ(focus.size(), 2u);
    EXPECT_EQ(focus[0].window, m_window);
    EXPECT_EQ(focus[0].message, static_cast<UINT>(WM_KILLFOCUS));
    EXPECT_EQ(focus[0].wParam, reinterpret_cast<WPARAM>(other));
    EXPECT_EQ(focus[1].window, other);
    EXPECT_EQ(focus[1].message, static_cast<UINT>(WM_SETFOCUS));
    EXPECT_EQ(focus[1].wParam, reinterpret_cast<WPARAM>(m_window));

    log().clear();
    EXPECT_EQ(SetFocus(other), other) << "has it already";
    EXPECT_TRUE(received({WM_KILLFOCUS, WM_SETFOCUS}).empty());
    EXPECT_EQ(SetFocus(gone), nullptr);
    EXPECT_EQ(GetFocus(), other);
    EXPECT_EQ(SetFocus(nullptr), other);
    EXPECT_EQ(GetFocus(), nullptr);

    SetFocus(other);
    DestroyWindow(other);
    drain();
    EXPECT_NE(GetFocus(), other);
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

// TranslateMessage posts the character of a key behind it, Escape's 0x1B
// too; the quit the demo posts on Escape while it is dispatched is taken in
// the same pump, behind the character.
TEST_F(WindowApi, EscapeQuitsWithinSamePump)
{
    drain();
    const LPARAM escapeScanCode = 0x00010001;  // repeat count 1, scan code 1
    ASSERT_TRUE(PostMessageA(m_window, WM_KEYDOWN, VK_ESCAPE, escapeScanCode));
    const std::vector<MSG> taken = drain();
    ASSERT_EQ(taken.size(), 3u);
    EXPECT_EQ(taken[0].message, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_EQ(taken[0].wParam, static_cast<WPARAM>(VK_ESCAPE));
    EXPECT_EQ(taken[1].message, static_cast<UINT>(WM_CHAR));
    EXPECT_EQ(taken[1].wParam, static_cast<WPARAM>(0x1B));
    EXPECT_EQ(taken[1].hwnd, m_window);
    EXPECT_EQ(taken[2].message, static_cast<UINT>(WM_QUIT));

    // Every key message counts as translated, with or without a character.
    MSG other = {};
    other.hwnd = m_window;
    other.message = WM_KEYUP;
    other.wParam = VK_ESCAPE;
    other.lParam = static_cast<LPARAM>(0xC0010001u);
    EXPECT_TRUE(TranslateMessage(&other)) << "Escape going up";
    other.message = WM_KEYDOWN;
    other.wParam = VK_F1;
    other.lParam = 0x003B0001;
    EXPECT_TRUE(TranslateMessage(&other)) << "F1";
    other.message = WM_USER;
    EXPECT_FALSE(TranslateMessage(&other)) << "no key message";
    EXPECT_TRUE(drain().empty()) << "none of them makes a character";
}

// The close box's command asks the window to close; the default answer
// destroys it, whose WM_DESTROY posts the quit; messages posted to it before
// are dropped with it, and the handle is then dead to every call.
TEST_F(WindowApi, CloseCommandDestroysWindowAndQuits)
{
    drain();
    log().clear();
    PostMessageA(m_window, WM_USER, 0, 0);
    SendMessageA(m_window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(received({WM_CLOSE, WM_DESTROY}), (std::vector<UINT>{WM_CLOSE, WM_DESTROY}));
    const std::vector<MSG> taken = drain();
    ASSERT_EQ(taken.size(), 1u);
    EXPECT_EQ(taken[0].message, static_cast<UINT>(WM_QUIT));

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

// Inside a frameless window the default hit test answers HTCLIENT, which the
// demo's procedure turns into HTCAPTION; outside it answers HTNOWHERE.
TEST_F(WindowApi, HitTestMakesClientAreaDraggable)
{
    const HWND popup = CreateWindowExA(0, kClass, "", WS_POPUP, kLeft, kTop, kWidth, kHeight,
                                       nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(popup, nullptr);
    const struct
    {
        int x;
        int y;
        LRESULT byDefault;
        LRESULT byDemo;
    } cases[] = {
        {kLeft, kTop, HTCLIENT, HTCAPTION},
        {kLeft + kWidth - 1, kTop + kHeight - 1, HTCLIENT, HTCAPTION},
        {kLeft + kWidth, kTop + 10, HTNOWHERE, HTNOWHERE},
        {kLeft + 10, kTop + kHeight, HTNOWHERE, HTNOWHERE},
        {kLeft - 1, kTop + 10, HTNOWHERE, HTNOWHERE},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        EXPECT_EQ(DefWindowProcA(popup, WM_NCHITTEST, 0, MAKELPARAM(c.x, c.y)), c.byDefault);
        EXPECT_EQ(SendMessageA(popup, WM_NCHITTEST, 0, MAKELPARAM(c.x, c.y)), c.byDemo);
    }
    DestroyWindow(popup);
}

// The small services: a module and arrow cursor handle, the cursor's display
// counter, ticks that advance by the time slept, within the system timer's
// resolution (up to 16 ms, GetTickCount's documentation says).
TEST(SystemApi, ServicesAnswerAsWin32)
{
    EXPECT_NE(GetModuleHandleA(nullptr), nullptr);
    EXPECT_EQ(GetModuleHandleA("other.dll"), nullptr);
    EXPECT_NE(LoadCursorA(nullptr, IDC_ARROW), nullptr);

    EXPECT_EQ(ShowCursor(FALSE), -1);
    EXPECT_EQ(ShowCursor(FALSE), -2);
    EXPECT_EQ(ShowCursor(TRUE), -1);
    EXPECT_EQ(ShowCursor(TRUE), 0);

    const DWORD before = GetTickCount();
    Sleep(50);
    EXPECT_GE(GetTickCount() - before, 50u - 16u);
}
