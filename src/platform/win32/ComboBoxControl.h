// Drop-down lists (class "ComboBox" with CBS_DROPDOWNLIST): strings with an
// item value each, and the current selection.
#pragma once

#include "Control.h"

#include <string>
#include <vector>

class ComboBoxControl : public Control
{
public:
    const char* className() const override { return "ComboBox"; }
    LRESULT handle(Window& a_window, UINT a_message, WPARAM a_wParam, LPARAM a_lParam) override;
    void draw(Window& a_window, DialogCanvas& a_canvas) override;
    bool capturesEnter() const override { return m_open; }
    // A closed drop-down list steps its selection with the arrow keys.
    void step(Window& a_window, int a_delta) override;

    // Selects an entry as the user would, telling the dialog if it changed.
    void choose(Window& a_window, int a_index);

private:
    struct Item
    {
        std::string text;
        LPARAM data;
    };

    int findPrefix(WPARAM a_after, const char* a_prefix) const;

    std::vector<Item> m_items;
    int m_selection = CB_ERR;
    bool m_open = false;  // the list is dropped down
};
