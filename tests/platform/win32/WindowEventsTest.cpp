// How our Win32 layer turns SDL's events into Win32's messages, and the
// layer's own choices and extensions: these need the SDL window behind a
// handle, so they are the Linux build's alone. Runs on SDL's offscreen video
// driver, so it needs no display.
//
// Untested: dragging by the client area through SDL's hit test (needs a
// window manager to call it).
#include <windows.h>

#include "VirtualKeys.h"
#include "Win32Offline.h"
#include "Window.h"
#include "platform/win32/DemoWindow.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <vector>

namespace
{

class WindowEvents : public DemoWindow
{
protected:
    SDL_Window* sdlWindow() const { return Window::fromHandle(m_window)->sdlWindow(); }

    void pushWindowEvent(Uint8 a_event)
    {
        SDL_Event event = {};
        event.type = SDL_WINDOWEVENT;
        event.window.windowID = SDL_GetWindowID(sdlWindow());
        event.window.event = a_event;
        SDL_PushEvent(&event);
    }

    void pushKey(SDL_Scancode a_scancode, bool a_down)
    {
        SDL_Event event = {};
        event.type = a_down ? SDL_KEYDOWN : SDL_KEYUP;
        event.key.windowID = SDL_GetWindowID(sdlWindow());
        event.key.keysym.scancode = a_scancode;
        event.key.state = a_down ? SDL_PRESSED : SDL_RELEASED;
        SDL_PushEvent(&event);
    }
};

}

// The SDL window follows the Win32 one: hidden until shown, and of the size
// MoveWindow gives (the window manager adds its frame outside it); the
// window made by a class's atom is of the class's name.
TEST_F(WindowEvents, SdlWindowFollowsTheWin32One)
{
    EXPECT_TRUE(SDL_GetWindowFlags(sdlWindow()) & SDL_WINDOW_HIDDEN);
    ShowWindow(m_window, SW_SHOW);
    EXPECT_FALSE(SDL_GetWindowFlags(sdlWindow()) & SDL_WINDOW_HIDDEN);
    ASSERT_TRUE(MoveWindow(m_window, 10, 20, 800, 600, TRUE));
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(sdlWindow(), &width, &height);
    EXPECT_EQ(width, 800);
    EXPECT_EQ(height, 600);
    EXPECT_EQ(Window::fromHandle(m_window)->className(), kClass);
}

// Escape arrives as WM_KEYDOWN with VK_ESCAPE and a repeat count of 1, and
// its quit is taken in the same pump; its release is WM_KEYUP with the
// previous-state and transition bits set.
TEST_F(WindowEvents, EscapeKeyBecomesKeyMessages)
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
    EXPECT_EQ(taken[2].message, static_cast<UINT>(WM_QUIT));

    pushKey(SDL_SCANCODE_ESCAPE, false);
    const std::vector<MSG> released = drain();
    ASSERT_EQ(released.size(), 1u);
    EXPECT_EQ(released[0].message, static_cast<UINT>(WM_KEYUP));
    EXPECT_EQ(static_cast<DWORD>(released[0].lParam) >> 30, 3u);  // was down, going up
}

// The close box sends WM_CLOSE; the default answer destroys the window,
// whose WM_DESTROY posts the quit; what was posted to it is dropped.
TEST_F(WindowEvents, CloseBoxDestroysWindowAndQuits)
{
    drain();
    log().clear();
    PostMessageA(m_window, WM_USER, 0, 0);
    pushWindowEvent(SDL_WINDOWEVENT_CLOSE);
    const std::vector<MSG> taken = drain();
    ASSERT_EQ(taken.size(), 1u);
    EXPECT_EQ(taken[0].message, static_cast<UINT>(WM_QUIT));
    ASSERT_EQ(log().size(), 2u);
    EXPECT_EQ(log()[0].message, static_cast<UINT>(WM_CLOSE));
    EXPECT_EQ(log()[1].message, static_cast<UINT>(WM_DESTROY));
    EXPECT_FALSE(IsWindow(m_window));
}

// Focus and minimisation reach the procedure at once, as sent messages, and
// stay readable for the device, which loses a full-screen device on them.
TEST_F(WindowEvents, FocusAndMinimiseAreSent)
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
        log().clear();
        pushWindowEvent(c.event);
        EXPECT_TRUE(drain().empty()) << "nothing is posted";
        std::vector<UINT> sent;
        for (const Received& entry : log())
            sent.push_back(entry.message);
        EXPECT_EQ(sent, c.sent);
        ASSERT_FALSE(log().empty());
        EXPECT_EQ(log()[0].wParam, c.firstParameter);
        EXPECT_EQ(window->active(), c.active);
        EXPECT_EQ(window->minimized(), c.minimized);
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

// The frame metrics are 0: the window manager draws the frame outside the
// size a program gives, so a window sized "mode plus frame" gets a client of
// exactly the mode.
TEST(SystemApi, FrameMetricsAreZero)
{
    for (int metric : {SM_CXFRAME, SM_CYFRAME, SM_CYSIZE, SM_CYBORDER})
        EXPECT_EQ(GetSystemMetrics(metric), 0) << metric;
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
