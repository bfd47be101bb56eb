// A dialog like the launcher's, run modally with a procedure that records
// what it receives: ends on Launch (0) and on Exit or Cancel (-1). Written
// against the Win32 API and the program's resource table, so that the
// cases using it run on our layer and on Windows (TestDialog.rc).
#pragma once

#include <windows.h>

#include <Resources.h>

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <vector>

class TestDialog : public testing::Test
{
public:
    // One message of what the user does, posted as real input is: to the
    // control that has the focus at the time (control 0) or to the one
    // named. Message 0 is the program moving the focus to the control.
    struct Input
    {
        int control;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;  // kCentre: the middle of the control
    };
    static constexpr LPARAM kCentre = -1;
    // What the dialog ends with when the inputs ran out before it ended.
    static constexpr INT_PTR kInputsRanOut = 99;

    // What the dialog procedure saw, and what it does on WM_INITDIALOG.
    struct Run
    {
        std::function<void(HWND)> onInit;
        std::vector<Input> inputs;          // played one by one once the dialog runs
        std::vector<WPARAM> commands;       // WM_COMMAND's wParam, in order
        std::vector<int> focusAtCommand;    // the focused control's id then (0: none)
        std::vector<WPARAM> loopAtCommand;  // the Loop check box's state then
        HWND focusAtInit = nullptr;
        LPARAM parameter = 0;
    };

    // The messages a key's press and release post: WM_KEYDOWN and WM_KEYUP
    // with its scan code, to the focus.
    static std::vector<Input> keys(std::initializer_list<WPARAM> a_virtualKeys);
    // The left button pressed and released over a control, at its middle or
    // released at a_release (client coordinates).
    static std::vector<Input> click(int a_control, LPARAM a_release = kCentre);

    static const DialogTemplate kTemplate;

    // What the mode list tells the dialog (WM_COMMAND's wParam) when it
    // takes the focus, ends a choice untaken, and loses the focus.
    static const WPARAM kListFocus;
    static const WPARAM kListUntaken;
    static const WPARAM kListBlur;

    static INT_PTR CALLBACK procedure(HWND a_dialog, UINT a_message, WPARAM a_wParam,
                                      LPARAM a_lParam);

protected:
    // Registers the dialog, its banner and the icon, from the pictures the
    // build painted.
    static void SetUpTestSuite();

    // Runs the dialog with parameter 77, calling a_onInit from WM_INITDIALOG.
    INT_PTR show(std::function<void(HWND)> a_onInit);
    // Runs the dialog and plays a_inputs to it, one posted message at a time
    // behind the ones before, after a_onInit.
    INT_PTR play(std::vector<Input> a_inputs, std::function<void(HWND)> a_onInit = nullptr);

    Run m_run;
};
