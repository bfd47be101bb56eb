// Drop-down lists (class "ComboBox" with CBS_DROPDOWNLIST): strings with an
// item value each, and the current selection.
#pragma once

#include "Control.h"

#include <string>
#include <vector>

class ComboBoxControl : public Control
{
public:
    // a_listHeight: the height of the list dropped down, in pixels.
    explicit ComboBoxControl(int a_listHeight) : m_listHeight(a_listHeight) {}

    const char* className() const override { return "ComboBox"; }
    LRESULT handle(Window& a_window, UINT a_message, WPARAM a_wParam, LPARAM a_lParam) override;
    void draw(Window& a_window, DialogCanvas& a_canvas) override;
    bool holdsMouse() const override { return m_open; }

private:
    // Selects an entry as the user would, telling the dialog if it changed.
    void choose(Window& a_window, int a_index);
    // The arrow keys step the selection (-1 up, +1 down).
    void step(Window& a_window, int a_delta);

    struct Item
    {
        std::string text;
        LPARAM data;
    };

    int findPrefix(WPARAM a_after, const char* a_prefix) const;

    std::vector<Item> m_items;
    int m_listHeight;
    int m_selection = CB_ERR;
    bool m_open = false;     // the list is dropped down
    bool m_closing = false;  // Enter or Escape closes it at the next frame
};
