// A dialog control: a child window whose class procedure answers the control
// messages (BM_*, CB_*, WM_GETDLGCODE) and the input posted to it (keys while
// it has the focus, the mouse over it), and which the dialog manager draws
// with Dear ImGui at its template position, reporting the user's actions to
// the dialog as WM_COMMAND, as Win32's controls do.
#pragma once

#include <windows.h>

class Window;
class DialogCanvas;

class Control
{
public:
    virtual ~Control() = default;

    virtual const char* className() const = 0;
    // The control messages of its class; 0 for any other.
    virtual LRESULT handle(Window& a_window, UINT a_message, WPARAM a_wParam, LPARAM a_lParam) = 0;
    // Draws at the window's rectangle in the current ImGui window.
    virtual void draw(Window& a_window, DialogCanvas& a_canvas) = 0;
    // Whether the control shows something over the dialog that takes the
    // mouse itself (an open drop-down list's rows, placed by ImGui).
    virtual bool holdsMouse() const { return false; }

    // The class procedure of every control window.
    static LRESULT CALLBACK procedure(HWND a_window, UINT a_message, WPARAM a_wParam,
                                      LPARAM a_lParam);

protected:
    // WM_COMMAND to the dialog: the control's id and a_code, its handle.
    static void notify(Window& a_window, WORD a_code);
};
