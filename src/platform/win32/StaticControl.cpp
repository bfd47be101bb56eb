// Static controls drawn with ImGui.
#include "StaticControl.h"

#include "DialogCanvas.h"
#include "Window.h"

#include <imgui.h>

StaticControl::StaticControl(const char* a_text, DWORD a_style)
{
    if ((a_style & SS_TYPEMASK) == SS_BITMAP)
        m_bitmap = a_text;
    else if (a_text && !IS_INTRESOURCE(a_text))
        m_text = a_text;
}

void StaticControl::draw(Window& a_window, DialogCanvas& a_canvas)
{
    const RECT& rect = a_window.rect();
    ImGui::SetCursorPos(ImVec2(static_cast<float>(rect.left), static_cast<float>(rect.top)));
    if (!m_bitmap)
    {
        ImGui::TextUnformatted(m_text.c_str());
        return;
    }
    // An SS_BITMAP control takes the size of its picture, as in Win32.
    int width = 0;
    int height = 0;
    if (void* texture = a_canvas.bitmapTexture(m_bitmap, width, height))
        ImGui::Image(texture, ImVec2(static_cast<float>(width), static_cast<float>(height)));
}
