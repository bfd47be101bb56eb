// The display the frame twin draws on, chosen the way each platform allows:
// our layers report the one display mode of the picture's size and skip the
// demo's pauses for a viewer; on Windows the adapter's own list must hold a
// mode of that size.
#pragma once

#include <stdint.h>

#include <string>

namespace DisplayChoice
{

// Makes a display mode of a_width x a_height the launcher's choice
// (g_displayMode). False, with a_error set, when there is none.
bool choose(uint32_t a_width, uint32_t a_height, uint32_t a_refreshRate, std::string* a_error);

}
