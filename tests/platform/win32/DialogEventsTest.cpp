// How our dialog manager turns SDL's mouse, keyboard and window events into
// Win32's dialog behaviour, and the layer's own choices (dialog units, icon
// handles): these need the SDL window behind a handle, so they are the Linux
// build's alone. Runs on SDL's offscreen video driver.
//
// Untested: choosing from an open drop-down list with the mouse (the list's
// rows are placed by ImGui, not by the template).
#include <windows.h>

#include "Dialog.h"
#include "Window.h"
#include "platform/win32/TestDialog.h"
#include "platform/win32/TestDialogResource.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <vector>

namespace
{

Uint32 windowId(HWND a_dialog)
{
    return SDL_GetWindowID(Window::fromHandle(a_dialog)->sdlWindow());
}

void pushClick(HWND a_dialog, int a_x, int a_y)
{
    SDL_Event event = {};
    event.type = SDL_MOUSEMOTION;
    event.motion.windowID = windowId(a_dialog);
    event.motion.x = a_x;
    event.motion.y = a_y;
    SDL_PushEvent(&event);
    for (Uint32 type : {SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP})
    {
        event = {};
        event.type = type;
        event.button.windowID = windowId(a_dialog);
        event.button.button = SDL_BUTTON_LEFT;
        event.button.x = a_x;
        event.button.y = a_y;
        SDL_PushEvent(&event);
    }
}

void pushKey(HWND a_dialog, SDL_Scancode a_scancode)
{
    for (Uint32 type : {SDL_KEYDOWN, SDL_KEYUP})
    {
        SDL_Event event = {};
        event.type = type;
        event.key.windowID = windowId(a_dialog);
        event.key.keysym.scancode = a_scancode;
        SDL_PushEvent(&event);
    }
}

// A template control's rectangle, in the dialog's client pixels.
RECT pixelsOf(int a_index)
{
    const DialogItemTemplate& item = TestDialog::kTemplate.items[static_cast<size_t>(a_index)];
    return Dialog::toPixels(item.x, item.y, item.cx, item.cy);
}

using DialogEvents = TestDialog;

}

// Dialog units follow the template font's base units, 6 x 13 pixels, with
// Win32's rounding.
TEST(DialogUnits, ConvertWithBaseUnits)
{
    const struct
    {
        short x, y, cx, cy;
        RECT pixels;
    } cases[] = {
        {0, 0, 266, 149, {0, 0, 399, 242}},
        {201, 104, 50, 14, {302, 169, 377, 192}},
        {0, -1, 267, 92, {0, -2, 401, 148}},
        {17, 131, 49, 10, {26, 213, 100, 229}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y << " " << c.cx << "x" << c.cy);
        const RECT rect = Dialog::toPixels(c.x, c.y, c.cx, c.cy);
        EXPECT_EQ(rect.left, c.pixels.left);
        EXPECT_EQ(rect.top, c.pixels.top);
        EXPECT_EQ(rect.right, c.pixels.right);
        EXPECT_EQ(rect.bottom, c.pixels.bottom);
    }
}

// A dialog with no procedure could never end: our layer refuses it with -1.
TEST_F(DialogEvents, DialogWithoutProcedureFails)
{
    EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(IDD_TEST), nullptr, nullptr, 0), -1);
}

// Clicking a push button sends its id; clicking the check box toggles it
// and tells the dialog.
TEST_F(DialogEvents, MouseClicksControls)
{
    HWND loop = nullptr;
    const INT_PTR result = show([&loop](HWND a_dialog) {
        loop = GetDlgItem(a_dialog, IDC_TEST_LOOP);
        const RECT box = pixelsOf(5);
        pushClick(a_dialog, box.left + 5, box.top + 5);
        const RECT launch = pixelsOf(0);
        pushClick(a_dialog, (launch.left + launch.right) / 2, (launch.top + launch.bottom) / 2);
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(m_run.commands, (std::vector<WPARAM>{MAKEWPARAM(IDC_TEST_LOOP, BN_CLICKED),
                                                   MAKEWPARAM(IDC_TEST_LAUNCH, BN_CLICKED)}));
}

// Tab walks the tab stops in template order and Space presses the focused
// control; arrows step a focused list; Enter presses the default button.
TEST_F(DialogEvents, KeyboardWorksTheDialog)
{
    const struct
    {
        const char* name;
        std::vector<SDL_Scancode> keys;
        INT_PTR result;
        std::vector<WPARAM> commands;
    } cases[] = {
        {"Enter presses the default button",
         {SDL_SCANCODE_RETURN},
         0,
         {MAKEWPARAM(IDC_TEST_LAUNCH, BN_CLICKED)}},
        {"Space presses the first tab stop",
         {SDL_SCANCODE_SPACE},
         0,
         {MAKEWPARAM(IDC_TEST_LAUNCH, BN_CLICKED)}},
        {"Tab, Space presses Exit",
         {SDL_SCANCODE_TAB, SDL_SCANCODE_SPACE},
         -1,
         {MAKEWPARAM(IDC_TEST_EXIT, BN_CLICKED)}},
        {"Enter on a focused push button presses it",
         {SDL_SCANCODE_TAB, SDL_SCANCODE_RETURN},
         -1,
         {MAKEWPARAM(IDC_TEST_EXIT, BN_CLICKED)}},
        {"Tab skips what is no tab stop, to Loop",
         {SDL_SCANCODE_TAB, SDL_SCANCODE_TAB, SDL_SCANCODE_TAB, SDL_SCANCODE_SPACE,
          SDL_SCANCODE_ESCAPE},
         -1,
         {kListFocus, kListUntaken, kListBlur, MAKEWPARAM(IDC_TEST_LOOP, BN_CLICKED),
          MAKEWPARAM(IDCANCEL, BN_CLICKED)}},
        {"Tab wraps back to Launch",
         {SDL_SCANCODE_TAB, SDL_SCANCODE_TAB, SDL_SCANCODE_TAB, SDL_SCANCODE_TAB,
          SDL_SCANCODE_SPACE},
         0,
         {kListFocus, kListUntaken, kListBlur, MAKEWPARAM(IDC_TEST_LAUNCH, BN_CLICKED)}},
        {"Down steps the focused list",
         {SDL_SCANCODE_TAB, SDL_SCANCODE_TAB, SDL_SCANCODE_DOWN, SDL_SCANCODE_ESCAPE},
         -1,
         {kListFocus, MAKEWPARAM(IDC_TEST_MODES, CBN_SELENDOK),
          MAKEWPARAM(IDC_TEST_MODES, CBN_SELCHANGE), MAKEWPARAM(IDCANCEL, BN_CLICKED), kListUntaken,
          kListBlur}},
        {"Escape cancels", {SDL_SCANCODE_ESCAPE}, -1, {MAKEWPARAM(IDCANCEL, BN_CLICKED)}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        m_run = Run();
        const INT_PTR result = show([&](HWND a_dialog) {
            SendDlgItemMessageA(a_dialog, IDC_TEST_MODES, CB_ADDSTRING, 0,
                                reinterpret_cast<LPARAM>("1280x720"));
            SendDlgItemMessageA(a_dialog, IDC_TEST_MODES, CB_ADDSTRING, 0,
                                reinterpret_cast<LPARAM>("1920x1080"));
            SendDlgItemMessageA(a_dialog, IDC_TEST_MODES, CB_SETCURSEL, 0, 0);
            for (SDL_Scancode key : c.keys)
                pushKey(a_dialog, key);
        });
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(m_run.commands, c.commands);
    }
}

// The close box sends WM_CLOSE; a procedure that leaves it alone gets
// IDCANCEL, as from Win32's dialog manager.
TEST_F(DialogEvents, CloseBoxBecomesCancel)
{
    const INT_PTR result = show([](HWND a_dialog) {
        SDL_Event event = {};
        event.type = SDL_WINDOWEVENT;
        event.window.windowID = windowId(a_dialog);
        event.window.event = SDL_WINDOWEVENT_CLOSE;
        SDL_PushEvent(&event);
    });
    EXPECT_EQ(result, -1);
    EXPECT_EQ(m_run.commands, std::vector<WPARAM>{MAKEWPARAM(IDCANCEL, BN_CLICKED)});
}

// Our icon handles are the resource tables' small numbers.
TEST_F(DialogEvents, IconHandlesAreSmallNumbers)
{
    const HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_TEST));
    ASSERT_NE(icon, nullptr);
    EXPECT_LE(reinterpret_cast<UINT_PTR>(icon), 0xFFFFu);
}
