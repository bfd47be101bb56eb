// The launcher settings' initial values.
#include "core/LauncherSettings.h"

int32_t g_displayMode = -1;
bool g_windowed = false;
bool g_loop = false;
float g_aspect = -1.0f;
bool g_fullScreen = true;
