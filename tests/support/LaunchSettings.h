// The process-wide settings the launcher and the fatal error box leave, put
// as a test needs them and back as a fresh process has them, in one place:
// a fixture that changes them calls these, and no setting outlives its test.
#pragma once

#include "core/LauncherSettings.h"

#include <d3d9.h>

#include <stdint.h>

#include <vector>

namespace LaunchSettings
{

// As the launcher leaves them for a window in mode a_mode of a_modes (by
// default the demo's frame at 60 Hz), with Loop off and a 16:9 monitor; no
// fatal error shown yet.
void launchWindowed(const std::vector<D3DDISPLAYMODE>& a_modes = {{kFrameWidth, kFrameHeight, 60,
                                                                   D3DFMT_X8R8G8B8}},
                    int32_t a_mode = 0);

// As a fresh process has them before Launch, with the adapter's modes the
// display's own again.
void reset();

}
