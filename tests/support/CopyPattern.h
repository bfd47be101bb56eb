// A texture pattern for copy tests: red and green ramps give every texel an
// address, and blue is a checkerboard of 100 and 116 that any mixing of
// neighbours moves towards 108. Knows what a full-screen copy shows under
// D3D9's pixel-centre convention.
#pragma once

#include <stdint.h>

class CopyPattern
{
public:
    CopyPattern(uint32_t a_width, uint32_t a_height) : m_width(a_width), m_height(a_height) {}

    // The texel at (x, y) as 0xAARRGGBB.
    uint32_t texel(uint32_t a_x, uint32_t a_y) const;

    // Channel a_shift (16 red, 8 green, 0 blue) of pixel (x, y) of a copy by
    // a quad from -1 to 1 without a half-pixel offset. D3D9 samples pixel
    // centres at integer coordinates, so pixel x samples u = x / width, on the
    // edge between texels x - 1 and x: point filtering picks texel x, linear
    // filtering averages texels x - 1 and x both ways (clamped at the first
    // row and column).
    int expected(uint32_t a_x, uint32_t a_y, int a_shift, bool a_linear) const;

    static int channel(uint32_t a_colour, int a_shift)
    {
        return static_cast<int>((a_colour >> a_shift) & 0xFF);
    }

private:
    uint32_t m_width;
    uint32_t m_height;
};
