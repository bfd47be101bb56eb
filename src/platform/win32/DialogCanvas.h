// What a control needs from the dialog while it draws: its place in pixels
// and the dialog's bitmaps as textures.
#pragma once

#include <windows.h>

class DialogCanvas
{
public:
    virtual ~DialogCanvas() = default;

    // A registered bitmap as an ImGui texture id with its size in pixels;
    // null when the bitmap is not in the resource table.
    virtual void* bitmapTexture(LPCSTR a_name, int& a_width, int& a_height) = 0;
    // The id of the default push button, which Enter presses.
    virtual int defaultButton() const = 0;
};
