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
