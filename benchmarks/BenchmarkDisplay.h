// The display every drawing benchmark runs on: SDL's offscreen driver (unless
// the environment names another), one adapter mode of a_width x a_height,
// and the launcher's choices made as for a window of that mode.
#pragma once

#include "core/LauncherSettings.h"

#include <D3D9Testing.h>

#include <stdlib.h>

inline void useBenchmarkDisplay(UINT a_width, UINT a_height)
{
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    D3D9Testing::setDisplayModes({{a_width, a_height, 60, D3DFMT_X8R8G8B8}});
    g_displayMode = 0;
    g_windowed = true;
    g_fullScreen = false;
    g_aspect = 16.0f / 9.0f;
}
