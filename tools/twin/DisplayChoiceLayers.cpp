// The display on our layers: the offline mode's one display mode.
#include "DisplayChoice.h"

#include "core/LauncherSettings.h"

#include <D3D9Offline.h>
#include <Win32Offline.h>

bool DisplayChoice::choose(uint32_t a_width, uint32_t a_height, uint32_t a_refreshRate,
                           std::string*)
{
    D3D9Offline::setDisplayMode(a_width, a_height, a_refreshRate);
    // The pause after the loading bar is for a viewer and changes no frame.
    Win32Offline::skipSleeps(true);
    g_displayMode = 0;
    return true;
}
