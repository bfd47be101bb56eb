// Drop-down lists drawn with ImGui's combo.
#include "ComboBoxControl.h"

#include "Window.h"

#include <imgui.h>
#include <strings.h>

LRESULT ComboBoxControl::handle(Window& a_window, UINT a_message, WPARAM a_wParam, LPARAM a_lParam)
{
    const int count = static_cast<int>(m_items.size());
    const int index = static_cast<int>(static_cast<INT_PTR>(a_wParam));
    const bool valid = index >= 0 && index < count;
    switch (a_message)
    {
    case CB_ADDSTRING:
    {
        const char* text = reinterpret_cast<const char*>(a_lParam);
        m_items.push_back(Item{text ? text : "", 0});
        return count;
    }
    case CB_GETCOUNT:
        return count;
    case CB_GETCURSEL:
        return m_selection;
    case CB_SETCURSEL:
        m_selection = valid ? index : CB_ERR;
        return m_selection;
    case CB_GETITEMDATA:
        return valid ? m_items[index].data : CB_ERR;
    case CB_SETITEMDATA:
        if (!valid)
            return CB_ERR;
        m_items[index].data = a_lParam;
        return TRUE;
    case CB_GETLBTEXTLEN:
        return valid ? static_cast<LRESULT>(m_items[index].text.size()) : CB_ERR;
    case CB_GETLBTEXT:
    {
        char* out = reinterpret_cast<char*>(a_lParam);
        if (!valid || !out)
            return CB_ERR;
        const std::string& text = m_items[index].text;
        text.copy(out, text.size());
        out[text.size()] = '\0';
        return static_cast<LRESULT>(text.size());
    }
    case CB_RESETCONTENT:
        m_items.clear();
        m_selection = CB_ERR;
        return 0;  // CB_OKAY
    case CB_FINDSTRING:
        return findPrefix(a_wParam, reinterpret_cast<const char*>(a_lParam));
    // The arrows are the list's, and an open list keeps Enter and Escape
    // from the dialog, as Win32's drop-down list does.
    case WM_GETDLGCODE:
    {
        const MSG* message = reinterpret_cast<const MSG*>(a_lParam);
        const bool closingKey = message && message->message == WM_KEYDOWN &&
                                (message->wParam == VK_RETURN || message->wParam == VK_ESCAPE);
        return DLGC_WANTARROWS | DLGC_WANTCHARS | (m_open && closingKey ? DLGC_WANTMESSAGE : 0);
    }
    case WM_KEYDOWN:
        if (a_wParam == VK_UP || a_wParam == VK_DOWN)
            step(a_window, a_wParam == VK_UP ? -1 : +1);
        else if (m_open && (a_wParam == VK_RETURN || a_wParam == VK_ESCAPE))
            m_closing = true;
        return 0;
    case WM_LBUTTONDOWN:
        // ImGui drops the list down from the same click.
        SetFocus(a_window.handle());
        return 0;
    // Unlike a button, a combo box always tells the dialog of its focus;
    // losing it ends a choice without taking it, as Win32's list does.
    case WM_SETFOCUS:
        notify(a_window, CBN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        notify(a_window, CBN_SELENDCANCEL);
        notify(a_window, CBN_KILLFOCUS);
        return 0;
    default:
        return 0;
    }
}

// Win32 searches from the entry after a_after (from the start for -1),
// wrapping around, for an entry that begins with a_prefix in any letter case.
int ComboBoxControl::findPrefix(WPARAM a_after, const char* a_prefix) const
{
    const int count = static_cast<int>(m_items.size());
    if (!a_prefix || count == 0)
        return CB_ERR;
    const int after = static_cast<int>(static_cast<INT_PTR>(a_after));
    const int start = after >= 0 && after < count ? after + 1 : 0;
    const size_t length = strlen(a_prefix);
    for (int step = 0; step < count; ++step)
    {
        const int index = (start + step) % count;
        if (strncasecmp(m_items[index].text.c_str(), a_prefix, length) == 0)
            return index;
    }
    return CB_ERR;
}

void ComboBoxControl::choose(Window& a_window, int a_index)
{
    if (a_index < 0 || a_index >= static_cast<int>(m_items.size()) || a_index == m_selection)
        return;
    m_selection = a_index;
    notify(a_window, CBN_SELCHANGE);
}

void ComboBoxControl::step(Window& a_window, int a_delta)
{
    if (m_items.empty())
        return;
    const int last = static_cast<int>(m_items.size()) - 1;
    const int from = m_selection < 0 ? (a_delta > 0 ? -1 : last + 1) : m_selection;
    const int to = from + a_delta;
    const int index = to < 0 ? 0 : (to > last ? last : to);
    // A step on the closed list is a choice made and taken at once.
    if (index != m_selection)
        notify(a_window, CBN_SELENDOK);
    choose(a_window, index);
}

void ComboBoxControl::draw(Window& a_window, DialogCanvas&)
{
    const RECT& rect = a_window.rect();
    ImGui::SetCursorPos(ImVec2(static_cast<float>(rect.left), static_cast<float>(rect.top)));
    ImGui::SetNextItemWidth(static_cast<float>(rect.right - rect.left));
    ImGui::SetNextWindowSizeConstraints(ImVec2(0.0f, 0.0f),
                                        ImVec2(FLT_MAX, static_cast<float>(m_listHeight)));
    const char* current = m_selection >= 0 ? m_items[m_selection].text.c_str() : "";
    m_open = ImGui::BeginCombo("##list", current);
    if (!m_open)
    {
        m_closing = false;
        return;
    }
    if (m_closing)
    {
        ImGui::CloseCurrentPopup();
        m_closing = false;
    }
    for (int index = 0; index < static_cast<int>(m_items.size()); ++index)
    {
        const bool selected = index == m_selection;
        ImGui::PushID(index);
        if (ImGui::Selectable(m_items[index].text.c_str(), selected))
            choose(a_window, index);
        if (selected)
            ImGui::SetItemDefaultFocus();
        ImGui::PopID();
    }
    ImGui::EndCombo();
}
