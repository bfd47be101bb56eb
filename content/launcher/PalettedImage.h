// A picture of palette indices with its palette of up to 256 colours: what an 8-bit BMP holds.
#pragma once

#include <array>
#include <stdint.h>
#include <vector>

struct PalettedImage
{
    int width = 0;
    int height = 0;
    std::vector<std::array<uint8_t, 3>> palette;  // red, green, blue
    std::vector<uint8_t> indices;                 // width x height, top row first
};
