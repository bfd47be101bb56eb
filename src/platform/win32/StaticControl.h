// Static text and pictures (class "Static").
#pragma once

#include "Control.h"

#include <string>

class StaticControl : public Control
{
public:
    // a_text: the text, or MAKEINTRESOURCEA(id) of a bitmap for SS_BITMAP.
    StaticControl(const char* a_text, DWORD a_style);

    const char* className() const override { return "Static"; }
    LRESULT handle(Window&, UINT a_message, WPARAM, LPARAM) override
    {
        return a_message == WM_GETDLGCODE ? DLGC_STATIC : 0;
    }
    void draw(Window& a_window, DialogCanvas& a_canvas) override;

private:
    std::string m_text;
    LPCSTR m_bitmap = nullptr;  // resource id, for SS_BITMAP
};
