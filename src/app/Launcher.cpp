// The launcher dialog's procedure and its display-mode list.
#include "app/Launcher.h"

#include "core/FatalError.h"
#include "app/resource.h"

#include <commctrl.h>
#include <d3d9.h>

#include <stdio.h>

namespace
{

struct Aspect
{
    const char* text;
    float value;
};

const Aspect kAspects[] = {
    {"4:3", 4.0f / 3.0f},
    {"5:4", 1.25f},
    {"16:9", 16.0f / 9.0f},
    {"16:10", 1.6f},
};
constexpr int kAspectCount = static_cast<int>(sizeof(kAspects) / sizeof(kAspects[0]));
constexpr int kDefaultAspect = 2;  // "16:9", for ratios that match none

constexpr float kWidestRatio = 1.78f;  // compared against the exact quotient

LRESULT sendItem(HWND a_dialog, int a_id, UINT a_message, WPARAM a_wParam, LPARAM a_lParam)
{
    return SendDlgItemMessageA(a_dialog, a_id, a_message, a_wParam, a_lParam);
}

// Read in this order when Launch is pressed; a full-screen run hides the
// cursor for good.
void readSettings(HWND a_dialog)
{
    const LRESULT mode = sendItem(a_dialog, IDC_DISPLAYMODE, CB_GETCURSEL, 0, 0);
    g_displayMode = static_cast<int32_t>(
        sendItem(a_dialog, IDC_DISPLAYMODE, CB_GETITEMDATA, static_cast<WPARAM>(mode), 0));
    g_windowed = sendItem(a_dialog, IDC_WINDOWED, BM_GETCHECK, 0, 0) != 0;
    if (!g_windowed)
        ShowCursor(FALSE);
    g_loop = sendItem(a_dialog, IDC_LOOP, BM_GETCHECK, 0, 0) != 0;
    const LRESULT aspect = sendItem(a_dialog, IDC_ASPECT, CB_GETCURSEL, 0, 0);
    if (aspect >= 0 && aspect < kAspectCount)
        g_aspect = kAspects[aspect].value;
}

}

INT_PTR CALLBACK launcherProc(HWND a_dialog, UINT a_message, WPARAM a_wParam, LPARAM)
{
    switch (a_message)
    {
    case WM_INITDIALOG:
    {
        InitCommonControls();
        if (!fillDisplayModes(a_dialog))
        {
            EndDialog(a_dialog, -1);
            return TRUE;
        }
        sendItem(a_dialog, IDC_WINDOWED, BM_SETCHECK, g_windowed ? BST_CHECKED : BST_UNCHECKED, 0);
        sendItem(a_dialog, IDC_LOOP, BM_SETCHECK, g_loop ? BST_CHECKED : BST_UNCHECKED, 0);
        const HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_TARVO));
        const LONG iconValue = static_cast<LONG>(reinterpret_cast<LONG_PTR>(icon));
        SetClassLongA(a_dialog, GCL_HICON, iconValue);
        SetClassLongA(a_dialog, GCL_HICONSM, iconValue);
        return TRUE;
    }
    case WM_COMMAND:
        switch (LOWORD(a_wParam))
        {
        case IDC_LAUNCH:
            readSettings(a_dialog);
            EndDialog(a_dialog, 0);
            return TRUE;
        case IDC_EXIT:
            EndDialog(a_dialog, -1);
            return TRUE;
        default:
            return TRUE;
        }
    case WM_CLOSE:
        EndDialog(a_dialog, -1);
        return TRUE;
    default:
        return FALSE;
    }
}

bool fillDisplayModes(HWND a_dialog)
{
    IDirect3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
    const UINT count = d3d->GetAdapterModeCount(D3DADAPTER_DEFAULT, D3DFMT_X8R8G8B8);

    UINT bestArea = 100000000;
    LRESULT bestItem = -1;
    float bestAspect = 0.0f;
    for (UINT index = 0; index < count; ++index)
    {
        D3DDISPLAYMODE mode;
        if (FAILED(d3d->EnumAdapterModes(D3DADAPTER_DEFAULT, D3DFMT_X8R8G8B8, index, &mode)))
            continue;
        if (mode.Width < UINT(kFrameWidth) || mode.Height < UINT(kFrameHeight))
            continue;
        if (static_cast<double>(mode.Width) / mode.Height > static_cast<double>(kWidestRatio))
            continue;

        // Each resolution once, with the index of its first mode: refresh
        // rates are not told apart.
        char text[32];
        snprintf(text, sizeof(text), "%ix%i", static_cast<int>(mode.Width),
                 static_cast<int>(mode.Height));
        if (sendItem(a_dialog, IDC_DISPLAYMODE, CB_FINDSTRING, static_cast<WPARAM>(-1),
                     reinterpret_cast<LPARAM>(text)) != CB_ERR)
            continue;
        const LRESULT item =
            sendItem(a_dialog, IDC_DISPLAYMODE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        sendItem(a_dialog, IDC_DISPLAYMODE, CB_SETITEMDATA, static_cast<WPARAM>(item),
                 static_cast<LPARAM>(index));

        const UINT area = mode.Width * mode.Height;
        if (area < bestArea)
        {
            bestArea = area;
            bestItem = item;
            bestAspect = static_cast<float>(mode.Width) / static_cast<float>(mode.Height);
        }
    }
    d3d->Release();

    if (bestItem == -1)
    {
        fatalError("None of the supported display modes found.");
        return false;
    }
    sendItem(a_dialog, IDC_DISPLAYMODE, CB_SETCURSEL, static_cast<WPARAM>(bestItem), 0);

    for (const Aspect& aspect : kAspects)
        sendItem(a_dialog, IDC_ASPECT, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(aspect.text));
    // The smallest mode's ratio picks its entry, when it is exactly one of
    // them; everything else is taken for 16:9.
    int selected = kDefaultAspect;
    for (int index = 0; index < kAspectCount; ++index)
    {
        if (kAspects[index].value == bestAspect)
            selected = index;
    }
    sendItem(a_dialog, IDC_ASPECT, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
    return true;
}
