// The launcher dialog, in which the user picks the only settings there are,
// before anything else runs.
#pragma once

#include "core/LauncherSettings.h"

#include <windows.h>

// The dialog procedure of dialog IDD_LAUNCHER: ends with 0 on Launch, -1 on
// Exit, on closing, or when no display mode qualifies.
INT_PTR CALLBACK launcherProc(HWND a_dialog, UINT a_message, WPARAM a_wParam, LPARAM a_lParam);

// Lists the adapter's display modes of at least 1280 x 720 and at most 16:9,
// one entry per resolution, selects the smallest, and fills the aspect list
// with the matching default. False (after the fatal error) when none qualifies.
bool fillDisplayModes(HWND a_dialog);
