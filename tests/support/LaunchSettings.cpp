// The launcher's settings for tests.
#include "support/LaunchSettings.h"

#include "core/FatalError.h"

#include <D3D9Testing.h>

void LaunchSettings::launchWindowed(const std::vector<D3DDISPLAYMODE>& a_modes, int32_t a_mode)
{
    D3D9Testing::setDisplayModes(a_modes);
    g_displayMode = a_mode;
    g_windowed = true;
    g_fullScreen = false;
    g_loop = false;
    g_aspect = 16.0f / 9.0f;
    g_fatalErrorShown = false;
}

void LaunchSettings::reset()
{
    D3D9Testing::clearDisplayModes();
    g_displayMode = -1;
    g_windowed = false;
    g_fullScreen = true;
    g_loop = false;
    g_aspect = -1.0f;
    g_fatalErrorShown = false;
}
