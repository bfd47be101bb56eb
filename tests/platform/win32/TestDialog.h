// A dialog like the launcher's, run modally with a procedure that records
// what it receives: ends on Launch (0) and on Exit or Cancel (-1). Written
// against the Win32 API and the program's resource table, so that the
// cases using it run on our layer and on Windows (TestDialog.rc).
#pragma once

#include <windows.h>

#include <Resources.h>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

class TestDialog : public testing::Test
{
public:
    // What the dialog procedure saw, and what it does on WM_INITDIALOG.
    struct Run
    {
        std::function<void(HWND)> onInit;
        std::vector<WPARAM> commands;  // WM_COMMAND's wParam, in order
        HWND focusAtInit = nullptr;
        LPARAM parameter = 0;
    };

    static const DialogTemplate kTemplate;

    static INT_PTR CALLBACK procedure(HWND a_dialog, UINT a_message, WPARAM a_wParam,
                                      LPARAM a_lParam);

protected:
    // Registers the dialog, its banner and the icon, from the pictures the
    // build painted.
    static void SetUpTestSuite();

    // Runs the dialog with parameter 77, calling a_onInit from WM_INITDIALOG.
    INT_PTR show(std::function<void(HWND)> a_onInit);

    Run m_run;
};
