// Push buttons and automatic check boxes (class "Button").
#pragma once

#include "Control.h"

#include <string>

class ButtonControl : public Control
{
public:
    ButtonControl(const char* a_text, DWORD a_style)
        : m_text(a_text ? a_text : ""), m_style(a_style)
    {
    }

    const char* className() const override { return "Button"; }
    LRESULT handle(Window& a_window, UINT a_message, WPARAM a_wParam, LPARAM a_lParam) override;
    void draw(Window& a_window, DialogCanvas& a_canvas) override;

private:
    bool isCheckBox() const { return (m_style & BS_TYPEMASK) == BS_AUTOCHECKBOX; }
    // Presses the button as a click would: toggles a check box, then tells
    // the dialog.
    void click(Window& a_window);

    std::string m_text;
    DWORD m_style;
    WPARAM m_check = BST_UNCHECKED;
    bool m_pressed = false;  // Space or the left button went down on it
};
