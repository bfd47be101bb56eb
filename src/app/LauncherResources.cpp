// The launcher's resource script: dialog IDD_LAUNCHER and the generated
// pictures the build embeds.
#include "app/LauncherResources.h"

#include "app/resource.h"

#include <Resources.h>
#include <windows.h>

#include <stddef.h>

// Written by the build from the launcher artwork generator's output.
extern const unsigned char g_bannerBmp[];
extern const size_t g_bannerBmpSize;
extern const unsigned char g_iconBmp[];
extern const size_t g_iconBmpSize;

namespace
{

const DialogTemplate kLauncher = {
    WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_FIXEDSYS |
        DS_3DLOOK | DS_CENTER,
    WS_EX_TOPMOST,
    0,
    0,
    266,
    149,
    "Tarvo2",
    "Ms Shell Dlg 2",
    8,
    {
        {"Button", "Launch", IDC_LAUNCH, 201, 104, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
        {"Button", "Exit", IDC_EXIT, 201, 123, 50, 14, BS_PUSHBUTTON | WS_TABSTOP},
        {"ComboBox", "", IDC_DISPLAYMODE, 17, 112, 104, 200,
         CBS_DROPDOWNLIST | CBS_HASSTRINGS | WS_VSCROLL | CBS_DISABLENOSCROLL},
        {"Static", "Display mode:", -1, 17, 99, 80, 8, SS_LEFT | WS_GROUP},
        {"Static", MAKEINTRESOURCEA(IDB_BANNER), -1, 0, -1, 267, 92, SS_BITMAP},
        {"Button", "Loop", IDC_LOOP, 82, 131, 39, 10, BS_AUTOCHECKBOX | WS_TABSTOP},
        {"Button", "Windowed", IDC_WINDOWED, 17, 131, 49, 10, BS_AUTOCHECKBOX | WS_TABSTOP},
        {"ComboBox", "", IDC_ASPECT, 126, 112, 57, 100, CBS_DROPDOWNLIST | CBS_HASSTRINGS},
        {"Static", "Aspect:", -1, 126, 99, 26, 8, SS_LEFT | WS_GROUP},
    },
};

}

void registerLauncherResources()
{
    Resources::addDialog(IDD_LAUNCHER, &kLauncher);
    Resources::addBitmap(IDB_BANNER, g_bannerBmp, g_bannerBmpSize);
    Resources::addIcon(IDI_TARVO, g_iconBmp, g_iconBmpSize);
}
