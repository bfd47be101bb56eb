// What the audio layer's entry points share: the open device and the
// capture selection.
#pragma once

#include "Device.h"

#include <stdint.h>

#include <memory>

namespace Layer
{
extern std::unique_ptr<Device> g_device;  // null until BASS_Init, again after BASS_Free
extern uint32_t g_captureNumerator;  // capture frames per second, as a fraction; 0: not selected
extern uint32_t g_captureDenominator;
}
