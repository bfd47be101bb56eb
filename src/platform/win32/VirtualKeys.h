// Win32 virtual-key codes for SDL's scancodes.
#pragma once

#include <windows.h>

class VirtualKeys
{
public:
    // 0 for keys that have no virtual-key code here.
    static WPARAM fromScancode(int a_scancode);
    // The character TranslateMessage makes of a key, or 0 for none.
    static char character(WPARAM a_virtualKey, bool a_shift);
};
