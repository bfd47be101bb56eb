// The user's settings from the launcher dialog, process-wide: read by the
// window, the renderer, the screen quad, the soundtrack and the timeline.
#pragma once

#include <stdint.h>

// The frame the demo is drawn at: the window's client area in both modes,
// the internal image that the renderer letterboxes onto any display mode, and
// the smallest display mode the launcher offers.
constexpr int32_t kFrameWidth = 1280;
constexpr int32_t kFrameHeight = 720;

extern int32_t g_displayMode;  // adapter mode index in D3DFMT_X8R8G8B8; -1 before Launch
extern bool g_windowed;
extern bool g_loop;
extern float g_aspect;     // width / height of the monitor; -1 before Launch
extern bool g_fullScreen;  // !g_windowed, set by the entry point after the dialog
