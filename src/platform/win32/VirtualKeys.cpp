// Scancode to virtual-key translation, one row per scancode SDL defines
// below SDL_SCANCODE_KP_DIVIDE; rows not listed have no virtual key.
#include "VirtualKeys.h"

#include <SDL_scancode.h>

namespace
{

struct Row
{
    SDL_Scancode scancode;
    WPARAM virtualKey;
};

const Row kRows[] = {
    {SDL_SCANCODE_RETURN, VK_RETURN},  {SDL_SCANCODE_ESCAPE, VK_ESCAPE},
    {SDL_SCANCODE_BACKSPACE, VK_BACK}, {SDL_SCANCODE_TAB, VK_TAB},
    {SDL_SCANCODE_SPACE, VK_SPACE},    {SDL_SCANCODE_PAUSE, VK_PAUSE},
    {SDL_SCANCODE_INSERT, VK_INSERT},  {SDL_SCANCODE_HOME, VK_HOME},
    {SDL_SCANCODE_PAGEUP, VK_PRIOR},   {SDL_SCANCODE_DELETE, VK_DELETE},
    {SDL_SCANCODE_END, VK_END},        {SDL_SCANCODE_PAGEDOWN, VK_NEXT},
    {SDL_SCANCODE_RIGHT, VK_RIGHT},    {SDL_SCANCODE_LEFT, VK_LEFT},
    {SDL_SCANCODE_DOWN, VK_DOWN},      {SDL_SCANCODE_UP, VK_UP},
    {SDL_SCANCODE_LCTRL, VK_CONTROL},  {SDL_SCANCODE_RCTRL, VK_CONTROL},
    {SDL_SCANCODE_LSHIFT, VK_SHIFT},   {SDL_SCANCODE_RSHIFT, VK_SHIFT},
    {SDL_SCANCODE_LALT, VK_MENU},      {SDL_SCANCODE_RALT, VK_MENU},
};

}

WPARAM VirtualKeys::fromScancode(int a_scancode)
{
    // Letters, digits and function keys run in blocks in both code sets.
    if (a_scancode >= SDL_SCANCODE_A && a_scancode <= SDL_SCANCODE_Z)
        return static_cast<WPARAM>('A' + (a_scancode - SDL_SCANCODE_A));
    if (a_scancode >= SDL_SCANCODE_1 && a_scancode <= SDL_SCANCODE_9)
        return static_cast<WPARAM>('1' + (a_scancode - SDL_SCANCODE_1));
    if (a_scancode == SDL_SCANCODE_0)
        return '0';
    if (a_scancode >= SDL_SCANCODE_F1 && a_scancode <= SDL_SCANCODE_F12)
        return static_cast<WPARAM>(VK_F1 + (a_scancode - SDL_SCANCODE_F1));
    for (const Row& row : kRows)
    {
        if (row.scancode == a_scancode)
            return row.virtualKey;
    }
    return 0;
}

char VirtualKeys::character(WPARAM a_virtualKey, bool a_shift)
{
    if (a_virtualKey >= 'A' && a_virtualKey <= 'Z')
        return static_cast<char>(a_shift ? a_virtualKey : a_virtualKey - 'A' + 'a');
    if (a_virtualKey >= '0' && a_virtualKey <= '9' && !a_shift)
        return static_cast<char>(a_virtualKey);
    switch (a_virtualKey)
    {
    case VK_BACK:
    case VK_TAB:
    case VK_RETURN:
    case VK_ESCAPE:
    case VK_SPACE:
        return static_cast<char>(a_virtualKey);
    default:
        return 0;
    }
}
