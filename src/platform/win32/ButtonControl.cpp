// Buttons drawn with ImGui.
#include "ButtonControl.h"

#include "DialogCanvas.h"
#include "Window.h"

#include <imgui.h>

// As Win32's buttons: Space or the left button goes down on the button and
// comes up on it again to press it; a click takes the focus.
LRESULT ButtonControl::handle(Window& a_window, UINT a_message, WPARAM a_wParam, LPARAM a_lParam)
{
    switch (a_message)
    {
    case BM_GETCHECK:
        return static_cast<LRESULT>(m_check);
    case BM_SETCHECK:
        m_check = a_wParam == BST_CHECKED ? BST_CHECKED : BST_UNCHECKED;
        return 0;
    case WM_GETDLGCODE:
        if (isCheckBox())
            return DLGC_BUTTON;
        return DLGC_BUTTON | ((m_style & BS_TYPEMASK) == BS_DEFPUSHBUTTON ? DLGC_DEFPUSHBUTTON
                                                                          : DLGC_UNDEFPUSHBUTTON);
    case WM_KEYDOWN:
        if (a_wParam == VK_SPACE)
            m_pressed = true;
        return 0;
    case WM_LBUTTONDOWN:
        SetFocus(a_window.handle());
        m_pressed = true;
        return 0;
    case WM_KEYUP:
    case WM_LBUTTONUP:
    {
        if (!m_pressed || (a_message == WM_KEYUP && a_wParam != VK_SPACE))
            return 0;
        m_pressed = false;
        // A release away from the button takes the press back.
        RECT client = {};
        GetClientRect(a_window.handle(), &client);
        const LONG x = GET_X_LPARAM(a_lParam);
        const LONG y = GET_Y_LPARAM(a_lParam);
        if (a_message == WM_KEYUP || (x >= 0 && y >= 0 && x < client.right && y < client.bottom))
            click(a_window);
        return 0;
    }
    default:
        return 0;
    }
}

void ButtonControl::click(Window& a_window)
{
    if (isCheckBox())
        m_check = m_check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
    notify(a_window, BN_CLICKED);
}

void ButtonControl::draw(Window& a_window, DialogCanvas& a_canvas)
{
    const RECT& rect = a_window.rect();
    ImGui::SetCursorPos(ImVec2(static_cast<float>(rect.left), static_cast<float>(rect.top)));
    const ImVec2 size(static_cast<float>(rect.right - rect.left),
                      static_cast<float>(rect.bottom - rect.top));
    // ImGui draws; the press comes from the messages the mouse and the keys
    // post to the button (handle).
    if (isCheckBox())
    {
        bool checked = m_check == BST_CHECKED;
        ImGui::Checkbox(m_text.c_str(), &checked);
        return;
    }
    // The default push button wears the heavier frame Win32 gives it.
    const bool isDefault = a_window.id() == a_canvas.defaultButton();
    if (isDefault)
        ImGui::PushStyleVar(ImGuiStyleVar_FrameBorderSize, 2.0f);
    ImGui::Button(m_text.c_str(), size);
    if (isDefault)
        ImGui::PopStyleVar();
}
