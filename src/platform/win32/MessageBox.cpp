// MessageBoxA. The on-screen box arrives with the window layer; until a
// display is available the box is written to standard error, caption first,
// and answered with its default button.
#include <windows.h>

#include "MessageBoxRecorder.h"

#include <stdio.h>

int WINAPI MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType)
{
    if (MessageBoxRecorder::record(hWnd, lpText, lpCaption, uType))
        return IDOK;

    // Win32 shows "Error" when no caption is given.
    fprintf(stderr, "%s: %s\n", lpCaption ? lpCaption : "Error", lpText ? lpText : "");
    fflush(stderr);
    return IDOK;
}
