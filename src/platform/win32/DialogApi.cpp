// Dialog boxes, their controls' messages, icons and class icons of Win32.
#include <windows.h>
#include <commctrl.h>

#include "Dialog.h"
#include "Resources.h"
#include "Window.h"

#include <SDL.h>

#include <map>
#include <string>

namespace
{

struct ClassIcons
{
    LONG large = 0;
    LONG small = 0;
};

std::map<std::string, ClassIcons> g_classIcons;

// SDL shows one icon per window; Win32's large one when there is one.
void applyIcon(Window& a_window, const ClassIcons& a_icons)
{
    const LONG chosen = a_icons.large ? a_icons.large : a_icons.small;
    const std::vector<uint8_t>* bmp =
        Resources::iconFromHandle(reinterpret_cast<HICON>(static_cast<UINT_PTR>(chosen)));
    if (!bmp || !a_window.sdlWindow())
        return;
    SDL_Surface* icon =
        SDL_LoadBMP_RW(SDL_RWFromConstMem(bmp->data(), static_cast<int>(bmp->size())), 1);
    if (!icon)
        return;
    SDL_SetWindowIcon(a_window.sdlWindow(), icon);
    SDL_FreeSurface(icon);
}

}

INT_PTR WINAPI DialogBoxParamA(HINSTANCE, LPCSTR lpTemplateName, HWND, DLGPROC lpDialogFunc,
                               LPARAM dwInitParam)
{
    const DialogTemplate* dialog = Resources::dialog(lpTemplateName);
    if (!dialog)
        return -1;
    return Dialog::run(*dialog, lpDialogFunc, dwInitParam);
}

BOOL WINAPI EndDialog(HWND hDlg, INT_PTR nResult)
{
    Dialog* dialog = Dialog::fromHandle(hDlg);
    if (!dialog)
        return FALSE;
    dialog->end(nResult);
    return TRUE;
}

BOOL WINAPI IsDialogMessageA(HWND hDlg, LPMSG lpMsg)
{
    Dialog* dialog = Dialog::fromHandle(hDlg);
    return dialog && lpMsg && dialog->takeMessage(*lpMsg) ? TRUE : FALSE;
}

HWND WINAPI GetDlgItem(HWND hDlg, int nIDDlgItem)
{
    Window* dialog = Window::fromHandle(hDlg);
    if (!dialog)
        return nullptr;
    for (Window* child : dialog->children())
    {
        if (child->id() == nIDDlgItem)
            return child->handle();
    }
    return nullptr;
}

LRESULT WINAPI SendDlgItemMessageA(HWND hDlg, int nIDDlgItem, UINT Msg, WPARAM wParam,
                                   LPARAM lParam)
{
    return SendMessageA(GetDlgItem(hDlg, nIDDlgItem), Msg, wParam, lParam);
}

// The controls are always available; nothing to register.
void WINAPI InitCommonControls(void) {}

HICON WINAPI LoadIconA(HINSTANCE, LPCSTR lpIconName)
{
    return Resources::iconHandle(lpIconName);
}

DWORD WINAPI SetClassLongA(HWND hWnd, int nIndex, LONG dwNewLong)
{
    Window* window = Window::fromHandle(hWnd);
    if (!window || (nIndex != GCL_HICON && nIndex != GCL_HICONSM))
        return 0;
    ClassIcons& icons = g_classIcons[window->className()];
    LONG& slot = nIndex == GCL_HICON ? icons.large : icons.small;
    const LONG previous = slot;
    slot = dwNewLong;
    applyIcon(*window, icons);
    return static_cast<DWORD>(previous);
}
