// MessageBoxA as a modal SDL message box; where no display can show one, the
// box is written to standard error, caption first, and answered with its
// default button.
#include <windows.h>

#include "MessageBoxRecorder.h"

#include <SDL.h>
#include <stdio.h>

namespace
{

Uint32 iconFlags(UINT a_type)
{
    switch (a_type & 0xF0)
    {
    case MB_ICONERROR:
        return SDL_MESSAGEBOX_ERROR;
    case MB_ICONWARNING:
        return SDL_MESSAGEBOX_WARNING;
    default:
        return SDL_MESSAGEBOX_INFORMATION;
    }
}

bool showOnScreen(LPCSTR a_text, LPCSTR a_caption, UINT a_type, int& a_answer)
{
    const SDL_MessageBoxButtonData ok = {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT |
                                             SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT,
                                         IDOK, "OK"};
    const SDL_MessageBoxButtonData okCancel[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDOK, "OK"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDCANCEL, "Cancel"},
    };
    const bool withCancel = (a_type & 0x0F) == MB_OKCANCEL;
    SDL_MessageBoxData box = {};
    box.flags = iconFlags(a_type);
    box.title = a_caption;
    box.message = a_text;
    box.numbuttons = withCancel ? 2 : 1;
    box.buttons = withCancel ? okCancel : &ok;
    return SDL_ShowMessageBox(&box, &a_answer) == 0 && a_answer >= 0;
}

}

int WINAPI MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType)
{
    // Win32 shows "Error" when no caption is given.
    const char* caption = lpCaption ? lpCaption : "Error";
    const char* text = lpText ? lpText : "";
    if (MessageBoxRecorder::record(hWnd, text, caption, uType))
        return IDOK;

    int answer = IDOK;
    if (showOnScreen(text, caption, uType, answer))
        return answer;
    fprintf(stderr, "%s: %s\n", caption, text);
    fflush(stderr);
    return IDOK;
}
