// Buttons drawn with ImGui.
#include "ButtonControl.h"

#include "DialogCanvas.h"
#include "Window.h"

#include <imgui.h>

LRESULT ButtonControl::handle(Window&, UINT a_message, WPARAM a_wParam, LPARAM)
{
    switch (a_message)
    {
    case BM_GETCHECK:
        return static_cast<LRESULT>(m_check);
    case BM_SETCHECK:
        m_check = a_wParam == BST_CHECKED ? BST_CHECKED : BST_UNCHECKED;
        return 0;
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
    bool pressed = false;
    if (isCheckBox())
    {
        bool checked = m_check == BST_CHECKED;
        // ImGui toggles its copy; the click below toggles ours once.
        pressed = ImGui::Checkbox(m_text.c_str(), &checked);
    }
    else
    {
        // The default push button wears the heavier frame Win32 gives it.
        const bool isDefault = a_window.id() == a_canvas.defaultButton();
        if (isDefault)
            ImGui::PushStyleVar(ImGuiStyleVar_FrameBorderSize, 2.0f);
        pressed = ImGui::Button(m_text.c_str(), size);
        if (isDefault)
            ImGui::PopStyleVar();
    }
    if (pressed)
        click(a_window);
}
