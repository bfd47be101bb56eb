// The dialog manager as a program sees it through the API: dialogs from the
// resources, WM_INITDIALOG, the controls' messages, closing and class icons.
// Built for our layer (on SDL's offscreen video driver) and for Windows;
// the mouse and keyboard working the dialog through SDL's events, and dialog
// units, are in DialogEventsTest.cpp.
#include <windows.h>
#include <commctrl.h>

#include "platform/win32/TestDialog.h"
#include "platform/win32/TestDialogResource.h"

#include <gtest/gtest.h>

#include <stdint.h>

#include <vector>

using DialogTest = TestDialog;

// A dialog that is not in the resources fails with -1.
TEST_F(DialogTest, MissingDialogFails)
{
    EXPECT_EQ(
        DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(999), nullptr, procedure, 0),
        -1);
}

// WM_INITDIALOG carries the parameter and the first tab stop; the controls
// answer their messages by id; EndDialog there ends the dialog with its value.
TEST_F(DialogTest, InitDialogReachesControls)
{
    HWND launch = nullptr;
    const INT_PTR result = show([&launch](HWND a_dialog) {
        InitCommonControls();
        launch = GetDlgItem(a_dialog, IDC_TEST_LAUNCH);
        EXPECT_EQ(SendDlgItemMessageA(a_dialog, IDC_TEST_LOOP, BM_GETCHECK, 0, 0), BST_UNCHECKED);
        SendDlgItemMessageA(a_dialog, IDC_TEST_LOOP, BM_SETCHECK, BST_CHECKED, 0);
        EXPECT_EQ(SendDlgItemMessageA(a_dialog, IDC_TEST_LOOP, BM_GETCHECK, 0, 0), BST_CHECKED);
        EXPECT_EQ(GetDlgItem(a_dialog, 4242), nullptr);
        EndDialog(a_dialog, 42);
    });
    EXPECT_EQ(result, 42);
    EXPECT_EQ(m_run.parameter, 77);
    EXPECT_NE(launch, nullptr);
    EXPECT_EQ(m_run.focusAtInit, launch);
    EXPECT_TRUE(m_run.commands.empty());
}

// A drop-down list keeps strings with item data and a selection, and finds
// entries by prefix in any case, from after a given entry, wrapping.
TEST_F(DialogTest, ComboBoxAnswersListMessages)
{
    show([](HWND a_dialog) {
        const auto send = [a_dialog](UINT a_message, WPARAM a_wParam, LPARAM a_lParam) {
            return SendDlgItemMessageA(a_dialog, IDC_TEST_MODES, a_message, a_wParam, a_lParam);
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
        EXPECT_EQ(send(CB_SETCURSEL, static_cast<WPARAM>(-1), 0), CB_ERR);
        EXPECT_EQ(send(CB_GETCURSEL, 0, 0), CB_ERR) << "-1 clears the selection";
        EndDialog(a_dialog, 0);
    });
    EXPECT_TRUE(m_run.commands.empty()) << "messages from the program notify nobody";
}

// CB_SETCURSEL past the last entry fails and clears the selection, as -1
// does.
TEST_F(DialogTest, ComboBoxSelectionPastTheEndIsCleared)
{
    show([](HWND a_dialog) {
        const auto send = [a_dialog](UINT a_message, WPARAM a_wParam, LPARAM a_lParam) {
            return SendDlgItemMessageA(a_dialog, IDC_TEST_MODES, a_message, a_wParam, a_lParam);
        };
        for (const char* text : {"1280x720", "1920x1080"})
            send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        EXPECT_EQ(send(CB_SETCURSEL, 1, 0), 1);
        EXPECT_EQ(send(CB_SETCURSEL, 5, 0), CB_ERR);
        EXPECT_EQ(send(CB_GETCURSEL, 0, 0), CB_ERR);
        EndDialog(a_dialog, 0);
    });
}

// WM_CLOSE that the procedure leaves alone becomes IDCANCEL, as the close
// box's does; the modal loop takes what was posted to the dialog.
TEST_F(DialogTest, CloseBecomesCancel)
{
    const INT_PTR result =
        show([](HWND a_dialog) { ASSERT_TRUE(PostMessageA(a_dialog, WM_CLOSE, 0, 0)); });
    EXPECT_EQ(result, -1);
    EXPECT_EQ(m_run.commands, std::vector<WPARAM>{MAKEWPARAM(IDCANCEL, BN_CLICKED)});
}

// Icon handles survive SetClassLongA's 32-bit values. The values belong to
// the dialog class, shared by every dialog of the process, so the test gives
// the class its empty icons back.
TEST_F(DialogTest, IconsFitClassValues)
{
    const HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_TEST));
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(icon) >> 16 >> 16, 0u);
    EXPECT_EQ(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(999)), nullptr);
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

namespace
{

std::vector<TestDialog::Input> operator+(std::vector<TestDialog::Input> a_first,
                                         const std::vector<TestDialog::Input>& a_then)
{
    a_first.insert(a_first.end(), a_then.begin(), a_then.end());
    return a_first;
}

// The program moving the focus to a control.
std::vector<TestDialog::Input> focusOn(int a_control)
{
    return {TestDialog::Input{a_control, 0, 0, 0}};
}

}

// The keyboard, as its messages reach the focused control through the
// dialog's loop: Tab walks the tab stops in template order, wrapping; Space
// presses the focused button; Enter presses the focused push button, else
// the default one; Escape cancels; the arrows step a focused drop-down list.
TEST_F(DialogTest, KeysWorkTheDialog)
{
    const WPARAM launch = MAKEWPARAM(IDC_TEST_LAUNCH, BN_CLICKED);
    const WPARAM exit = MAKEWPARAM(IDC_TEST_EXIT, BN_CLICKED);
    const WPARAM loop = MAKEWPARAM(IDC_TEST_LOOP, BN_CLICKED);
    const WPARAM cancel = MAKEWPARAM(IDCANCEL, BN_CLICKED);
    const WPARAM chosen = MAKEWPARAM(IDC_TEST_MODES, CBN_SELENDOK);
    const WPARAM modes = MAKEWPARAM(IDC_TEST_MODES, CBN_SELCHANGE);
    const struct
    {
        const char* name;
        std::vector<Input> inputs;
        INT_PTR result;
        std::vector<WPARAM> commands;
        std::vector<int> focus;  // at each command
    } cases[] = {
        {"Enter presses the default button", keys({VK_RETURN}), 0, {launch}, {IDC_TEST_LAUNCH}},
        {"Space presses the first tab stop", keys({VK_SPACE}), 0, {launch}, {IDC_TEST_LAUNCH}},
        {"Tab, Space presses Exit", keys({VK_TAB, VK_SPACE}), -1, {exit}, {IDC_TEST_EXIT}},
        {"Enter on a focused push button presses it",
         keys({VK_TAB, VK_RETURN}),
         -1,
         {exit},
         {IDC_TEST_EXIT}},
        {"Enter on the list presses the default button",
         keys({VK_TAB, VK_TAB, VK_RETURN}),
         0,
         {kListFocus, launch, kListUntaken, kListBlur},
         {IDC_TEST_MODES, IDC_TEST_MODES, 0, 0}},
        {"Tab skips what is no tab stop, to Loop",
         keys({VK_TAB, VK_TAB, VK_TAB, VK_SPACE, VK_ESCAPE}),
         -1,
         {kListFocus, kListUntaken, kListBlur, loop, cancel},
         {IDC_TEST_MODES, IDC_TEST_LOOP, IDC_TEST_LOOP, IDC_TEST_LOOP, IDC_TEST_LOOP}},
        {"Tab wraps back to Launch",
         keys({VK_TAB, VK_TAB, VK_TAB, VK_TAB, VK_SPACE}),
         0,
         {kListFocus, kListUntaken, kListBlur, launch},
         {IDC_TEST_MODES, IDC_TEST_LOOP, IDC_TEST_LOOP, IDC_TEST_LAUNCH}},
        {"Down and Up step the focused list",
         keys({VK_TAB, VK_TAB, VK_DOWN, VK_UP, VK_ESCAPE}),
         -1,
         {kListFocus, chosen, modes, chosen, modes, cancel, kListUntaken, kListBlur},
         {IDC_TEST_MODES, IDC_TEST_MODES, IDC_TEST_MODES, IDC_TEST_MODES, IDC_TEST_MODES,
          IDC_TEST_MODES, 0, 0}},
        {"Space presses the control the program focused",
         focusOn(IDC_TEST_LOOP) + keys({VK_SPACE, VK_ESCAPE}),
         -1,
         {loop, cancel},
         {IDC_TEST_LOOP, IDC_TEST_LOOP}},
        {"Escape cancels", keys({VK_ESCAPE}), -1, {cancel}, {IDC_TEST_LAUNCH}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        m_run = Run();
        const INT_PTR result = play(c.inputs, [](HWND a_dialog) {
            for (const char* text : {"1280x720", "1920x1080"})
                SendDlgItemMessageA(a_dialog, IDC_TEST_MODES, CB_ADDSTRING, 0,
                                    reinterpret_cast<LPARAM>(text));
            SendDlgItemMessageA(a_dialog, IDC_TEST_MODES, CB_SETCURSEL, 0, 0);
        });
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(m_run.commands, c.commands);
        EXPECT_EQ(m_run.focusAtCommand, c.focus);
    }
}

// The left button's messages on the controls: a click presses a push button
// and toggles the check box, each telling the dialog, and takes the focus;
// a press released away from the button presses nothing, but the button
// keeps the focus it took.
TEST_F(DialogTest, ClicksPressButtonsAndCheckBoxes)
{
    const LPARAM away = MAKELPARAM(-5, -5);
    const INT_PTR result = play(click(IDC_TEST_LOOP) + click(IDC_TEST_LOOP) +
                                click(IDC_TEST_EXIT, away) + keys({VK_SPACE}));
    EXPECT_EQ(result, -1);
    EXPECT_EQ(m_run.commands, (std::vector<WPARAM>{MAKEWPARAM(IDC_TEST_LOOP, BN_CLICKED),
                                                   MAKEWPARAM(IDC_TEST_LOOP, BN_CLICKED),
                                                   MAKEWPARAM(IDC_TEST_EXIT, BN_CLICKED)}));
    EXPECT_EQ(m_run.loopAtCommand,
              (std::vector<WPARAM>{BST_CHECKED, BST_UNCHECKED, BST_UNCHECKED}));
    EXPECT_EQ(m_run.focusAtCommand,
              (std::vector<int>{IDC_TEST_LOOP, IDC_TEST_LOOP, IDC_TEST_EXIT}));

    m_run = Run();
    EXPECT_EQ(play(click(IDC_TEST_LAUNCH)), 0);
    EXPECT_EQ(m_run.commands, std::vector<WPARAM>{MAKEWPARAM(IDC_TEST_LAUNCH, BN_CLICKED)});
}

// IsDialogMessageA takes a message for the dialog or its controls and runs
// the dialog's keys on it; a message for another window is not its own.
TEST_F(DialogTest, IsDialogMessageTakesOnlyTheDialogsMessages)
{
    WNDCLASSA plain = {};
    plain.lpfnWndProc = DefWindowProcA;
    plain.hInstance = GetModuleHandleA(nullptr);
    plain.lpszClassName = "tarvoplain";
    ASSERT_NE(RegisterClassA(&plain), 0);
    const HWND other = CreateWindowExA(0, "tarvoplain", "", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                       nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(other, nullptr);
    BOOL forOther = TRUE;
    BOOL forDialog = FALSE;
    const INT_PTR result = show([&](HWND a_dialog) {
        MSG message = {};
        message.hwnd = other;
        message.message = WM_KEYDOWN;
        message.wParam = VK_ESCAPE;
        message.lParam = 1 | (0x01 << 16);
        forOther = IsDialogMessageA(a_dialog, &message);
        message.hwnd = GetDlgItem(a_dialog, IDC_TEST_EXIT);
        forDialog = IsDialogMessageA(a_dialog, &message);
    });
    EXPECT_FALSE(forOther);
    EXPECT_TRUE(forDialog);
    EXPECT_EQ(result, -1);
    EXPECT_EQ(m_run.commands, std::vector<WPARAM>{MAKEWPARAM(IDCANCEL, BN_CLICKED)});
    DestroyWindow(other);
    EXPECT_TRUE(UnregisterClassA("tarvoplain", GetModuleHandleA(nullptr)));
}
