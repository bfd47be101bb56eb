// The dialog manager: dialogs from the resource table, their controls'
// messages, and the mouse and keyboard working them as in Win32. Runs on
// SDL's offscreen video driver, feeding the dialog SDL events.
//
// Untested: choosing from an open drop-down list with the mouse (the list's
// rows are placed by ImGui, not by the template).
#include <windows.h>
#include <commctrl.h>

#include "Dialog.h"
#include "Resources.h"
#include "Window.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <stdlib.h>

#include <functional>
#include <vector>

namespace
{

enum
{
    kDialog = 201,
    kBitmap = 202,
    kIcon = 203,
    kLaunch = 1000,
    kExit = 1001,
    kModes = 1002,
    kLoop = 1003,
};

const DialogTemplate kTemplate = {
    WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER,
    0,
    0,
    0,
    266,
    149,
    "Test",
    "MS Shell Dlg 2",
    8,
    {
        {"Button", "Launch", kLaunch, 201, 104, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
        {"Button", "Exit", kExit, 201, 123, 50, 14, BS_PUSHBUTTON | WS_TABSTOP},
        {"ComboBox", "", kModes, 17, 112, 104, 200,
         CBS_DROPDOWNLIST | CBS_HASSTRINGS | WS_VSCROLL | WS_TABSTOP},
        {"Static", "Display mode:", -1, 17, 99, 80, 8, SS_LEFT | WS_GROUP},
        {"Static", MAKEINTRESOURCEA(kBitmap), -1, 0, -1, 267, 92, SS_BITMAP},
        {"Button", "Loop", kLoop, 82, 131, 39, 10, BS_AUTOCHECKBOX | WS_TABSTOP},
    },
};

// A small .bmp file made by SDL, as the build makes the real ones.
std::vector<uint8_t> makeBmp(int a_width, int a_height)
{
    SDL_Surface* surface =
        SDL_CreateRGBSurfaceWithFormat(0, a_width, a_height, 32, SDL_PIXELFORMAT_ARGB8888);
    SDL_FillRect(surface, nullptr, SDL_MapRGBA(surface->format, 200, 40, 90, 255));
    std::vector<uint8_t> bytes(64 + static_cast<size_t>(a_width * a_height) * 4 + 256);
    SDL_RWops* out = SDL_RWFromMem(bytes.data(), static_cast<int>(bytes.size()));
    SDL_SaveBMP_RW(surface, out, 0);
    bytes.resize(static_cast<size_t>(SDL_RWtell(out)));
    SDL_RWclose(out);
    SDL_FreeSurface(surface);
    return bytes;
}

// What the dialog procedure saw, and what it does on WM_INITDIALOG.
struct DialogRun
{
    std::function<void(HWND)> onInit;
    std::vector<WPARAM> commands;  // WM_COMMAND's wParam, in order
    HWND focusAtInit = nullptr;
    LPARAM parameter = 0;
};

DialogRun* g_run = nullptr;

// Ends on Launch (0) and Exit (-1), like the demo's launcher; records the rest.
INT_PTR CALLBACK testProcedure(HWND a_dialog, UINT a_message, WPARAM a_wParam, LPARAM a_lParam)
{
    switch (a_message)
    {
    case WM_INITDIALOG:
        g_run->focusAtInit = reinterpret_cast<HWND>(a_wParam);
        g_run->parameter = a_lParam;
        if (g_run->onInit)
            g_run->onInit(a_dialog);
        return TRUE;
    case WM_COMMAND:
        g_run->commands.push_back(a_wParam);
        if (LOWORD(a_wParam) == kLaunch)
            EndDialog(a_dialog, 0);
        else if (LOWORD(a_wParam) == kExit || LOWORD(a_wParam) == IDCANCEL)
            EndDialog(a_dialog, -1);
        return TRUE;
    default:
        return FALSE;
    }
}

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

// The centre of a template control, in the dialog's client pixels.
void centreOf(int a_index, int& a_x, int& a_y)
{
    const DialogItemTemplate& item = kTemplate.items[static_cast<size_t>(a_index)];
    const RECT rect = Dialog::toPixels(item.x, item.y, item.cx, item.cy);
    a_x = (rect.left + rect.right) / 2;
    a_y = (rect.top + rect.bottom) / 2;
}

class DialogTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        static const std::vector<uint8_t> bitmap = makeBmp(400, 150);
        static const std::vector<uint8_t> icon = makeBmp(16, 16);
        Resources::addDialog(kDialog, &kTemplate);
        Resources::addBitmap(kBitmap, bitmap.data(), bitmap.size());
        Resources::addIcon(kIcon, icon.data(), icon.size());
    }

    INT_PTR show(std::function<void(HWND)> a_onInit)
    {
        m_run.onInit = std::move(a_onInit);
        g_run = &m_run;
        return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kDialog), nullptr,
                               testProcedure, 77);
    }

    DialogRun m_run;
};

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

// A dialog that is not in the table, or has no procedure, fails with -1.
TEST_F(DialogTest, MissingDialogFails)
{
    EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(999), nullptr, testProcedure, 0), -1);
    EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(kDialog), nullptr, nullptr, 0), -1);
}

// WM_INITDIALOG carries the parameter and the first tab stop; the controls
// answer their messages by id; EndDialog there ends the dialog with its value.
TEST_F(DialogTest, InitDialogReachesControls)
{
    const INT_PTR result = show([](HWND a_dialog) {
        InitCommonControls();
        EXPECT_EQ(SendDlgItemMessageA(a_dialog, kLoop, BM_GETCHECK, 0, 0), BST_UNCHECKED);
        SendDlgItemMessageA(a_dialog, kLoop, BM_SETCHECK, BST_CHECKED, 0);
        EXPECT_EQ(SendDlgItemMessageA(a_dialog, kLoop, BM_GETCHECK, 0, 0), BST_CHECKED);
        EXPECT_EQ(GetDlgItem(a_dialog, 4242), nullptr);
        EndDialog(a_dialog, 42);
    });
    EXPECT_EQ(result, 42);
    EXPECT_EQ(m_run.parameter, 77);
    EXPECT_NE(m_run.focusAtInit, nullptr);
    EXPECT_TRUE(m_run.commands.empty());
}

// A drop-down list keeps strings with item data and a selection, and finds
// entries by prefix in any case, from after a given entry, wrapping.
TEST_F(DialogTest, ComboBoxAnswersListMessages)
{
    show([](HWND a_dialog) {
        const auto send = [a_dialog](UINT a_message, WPARAM a_wParam, LPARAM a_lParam) {
            return SendDlgItemMessageA(a_dialog, kModes, a_message, a_wParam, a_lParam);
        };
        EXPECT_EQ(send(CB_GETCURSEL, 0, 0), CB_ERR);
        EXPECT_EQ(send(CB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("1280")),
                  CB_ERR);
        const char* texts[] = {"1280x720", "1280x1024", "1920x1080"};
        for (LRESULT index = 0; index < 3; ++index)
        {
            EXPECT_EQ(send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(texts[index])), index);
            EXPECT_EQ(send(CB_SETITEMDATA, static_cast<WPARAM>(index), 10 + index), TRUE);
        }
        const struct
        {
            WPARAM after;
            const char* prefix;
            LRESULT found;
        } finds[] = {
            {static_cast<WPARAM>(-1), "1280x720", 0},
            {static_cast<WPARAM>(-1), "1280x1024", 1},
            {static_cast<WPARAM>(-1), "1280", 0},
            {0, "1280", 1},
            {1, "1280", 0},                         // wraps to the start
            {static_cast<WPARAM>(-1), "1920X", 2},  // any letter case
            {static_cast<WPARAM>(-1), "800x600", CB_ERR},
        };
        for (const auto& f : finds)
        {
            SCOPED_TRACE(f.prefix);
            EXPECT_EQ(send(CB_FINDSTRING, f.after, reinterpret_cast<LPARAM>(f.prefix)), f.found);
        }
        EXPECT_EQ(send(CB_GETCOUNT, 0, 0), 3);
        EXPECT_EQ(send(CB_GETITEMDATA, 2, 0), 12);
        EXPECT_EQ(send(CB_GETITEMDATA, 3, 0), CB_ERR);
        EXPECT_EQ(send(CB_SETCURSEL, 1, 0), 1);
        EXPECT_EQ(send(CB_GETCURSEL, 0, 0), 1);
        char text[32] = {};
        EXPECT_EQ(send(CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(text)), 9);
        EXPECT_STREQ(text, "1280x1024");
        EXPECT_EQ(send(CB_SETCURSEL, 5, 0), CB_ERR);  // out of range clears the selection
        EXPECT_EQ(send(CB_GETCURSEL, 0, 0), CB_ERR);
        EndDialog(a_dialog, 0);
    });
    EXPECT_TRUE(m_run.commands.empty()) << "messages from the program notify nobody";
}

// Clicking a push button sends its id; clicking the check box toggles it
// and tells the dialog.
TEST_F(DialogTest, MouseClicksControls)
{
    const INT_PTR result = show([](HWND a_dialog) {
        const DialogItemTemplate& loop = kTemplate.items[5];
        const RECT box = Dialog::toPixels(loop.x, loop.y, loop.cx, loop.cy);
        pushClick(a_dialog, box.left + 5, box.top + 5);
        int x = 0;
        int y = 0;
        centreOf(0, x, y);
        pushClick(a_dialog, x, y);
    });
    EXPECT_EQ(result, 0);
    ASSERT_EQ(m_run.commands.size(), 2u);
    EXPECT_EQ(m_run.commands[0], MAKEWPARAM(kLoop, BN_CLICKED));
    EXPECT_EQ(m_run.commands[1], MAKEWPARAM(kLaunch, BN_CLICKED));
}

// Tab walks the tab stops in template order and Space presses the focused
// control; arrows step a focused list; Enter presses the default button.
TEST_F(DialogTest, KeyboardWorksTheDialog)
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
         {MAKEWPARAM(kLaunch, BN_CLICKED)}},
        {"Space presses the first tab stop",
         {SDL_SCANCODE_SPACE},
         0,
         {MAKEWPARAM(kLaunch, BN_CLICKED)}},
        {"Tab, Space presses Exit",
         {SDL_SCANCODE_TAB, SDL_SCANCODE_SPACE},
         -1,
         {MAKEWPARAM(kExit, BN_CLICKED)}},
        {"Enter on a focused push button presses it",
         {SDL_SCANCODE_TAB, SDL_SCANCODE_RETURN},
         -1,
         {MAKEWPARAM(kExit, BN_CLICKED)}},
        {"Tab skips what is no tab stop, to Loop",
         {SDL_SCANCODE_TAB, SDL_SCANCODE_TAB, SDL_SCANCODE_TAB, SDL_SCANCODE_SPACE,
          SDL_SCANCODE_ESCAPE},
         -1,
         {MAKEWPARAM(kLoop, BN_CLICKED), MAKEWPARAM(IDCANCEL, BN_CLICKED)}},
        {"Tab wraps back to Launch",
         {SDL_SCANCODE_TAB, SDL_SCANCODE_TAB, SDL_SCANCODE_TAB, SDL_SCANCODE_TAB,
          SDL_SCANCODE_SPACE},
         0,
         {MAKEWPARAM(kLaunch, BN_CLICKED)}},
        {"Down steps the focused list",
         {SDL_SCANCODE_TAB, SDL_SCANCODE_TAB, SDL_SCANCODE_DOWN, SDL_SCANCODE_ESCAPE},
         -1,
         {MAKEWPARAM(kModes, CBN_SELCHANGE), MAKEWPARAM(IDCANCEL, BN_CLICKED)}},
        {"Escape cancels", {SDL_SCANCODE_ESCAPE}, -1, {MAKEWPARAM(IDCANCEL, BN_CLICKED)}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        m_run = DialogRun();
        const INT_PTR result = show([&](HWND a_dialog) {
            SendDlgItemMessageA(a_dialog, kModes, CB_ADDSTRING, 0,
                                reinterpret_cast<LPARAM>("1280x720"));
            SendDlgItemMessageA(a_dialog, kModes, CB_ADDSTRING, 0,
                                reinterpret_cast<LPARAM>("1920x1080"));
            SendDlgItemMessageA(a_dialog, kModes, CB_SETCURSEL, 0, 0);
            for (SDL_Scancode key : c.keys)
                pushKey(a_dialog, key);
        });
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(m_run.commands, c.commands);
    }
}

// The close box sends WM_CLOSE; a procedure that leaves it alone gets
// IDCANCEL, as from Win32's dialog manager.
TEST_F(DialogTest, CloseBoxBecomesCancel)
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

// Icons are small handles that survive SetClassLongA's 32-bit values. The
// values belong to the dialog class, shared by every dialog of the process,
// so the test gives the class its empty icons back.
TEST_F(DialogTest, IconsFitClassValues)
{
    const HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kIcon));
    ASSERT_NE(icon, nullptr);
    EXPECT_LE(reinterpret_cast<UINT_PTR>(icon), 0xFFFFu);
    EXPECT_EQ(LoadIconA(nullptr, MAKEINTRESOURCEA(999)), nullptr);
    show([icon](HWND a_dialog) {
        const LONG value = static_cast<LONG>(reinterpret_cast<LONG_PTR>(icon));
        EXPECT_EQ(SetClassLongA(a_dialog, GCL_HICON, value), 0u);
        EXPECT_EQ(SetClassLongA(a_dialog, GCL_HICONSM, value), 0u);
        EXPECT_EQ(SetClassLongA(a_dialog, GCL_HICON, value), static_cast<DWORD>(value));
        EXPECT_EQ(SetClassLongA(a_dialog, GCL_HICON, 0), static_cast<DWORD>(value));
        EXPECT_EQ(SetClassLongA(a_dialog, GCL_HICONSM, 0), static_cast<DWORD>(value));
        EndDialog(a_dialog, 0);
    });
}
