// The integer box filter of texture levels.
#include "render/BoxFilter.h"

#include "core/Assert.h"

#include <stddef.h>
#include <string.h>

#include <algorithm>

void boxFilter(const Image& a_colour, const Image* a_alpha, uint32_t a_level, uint8_t* a_bits,
               int32_t a_pitch, uint32_t a_width, uint32_t a_height)
{
    TARVO_ASSERT(!a_alpha ||
                 (a_alpha->width == a_colour.width && a_alpha->height == a_colour.height));
    // Image sides fit in 31 bits: from level 31 on every level is empty.
    if (a_level >= 31)
        return;
    const uint32_t n = 1u << a_level;
    const uint32_t columns = std::min(uint32_t(a_colour.width) / n, a_width);
    const uint32_t rows = std::min(uint32_t(a_colour.height) / n, a_height);
    // 64-bit sums: n·n pixels of 255 overflow 32 bits from n = 8192 on.
    const uint64_t area = uint64_t(n) * n;
    for (uint32_t y = 0; y < rows; ++y)
    {
        uint8_t* row = a_bits + ptrdiff_t(y) * a_pitch;
        for (uint32_t x = 0; x < columns; ++x)
        {
            uint64_t red = 0;
            uint64_t green = 0;
            uint64_t blue = 0;
            uint64_t alpha = 0;
            for (uint32_t sourceY = y * n; sourceY < y * n + n; ++sourceY)
            {
                for (uint32_t sourceX = x * n; sourceX < x * n + n; ++sourceX)
                {
                    const uint32_t colour = a_colour.pixel(int32_t(sourceX), int32_t(sourceY));
                    red += (colour >> 16) & 0xFF;
                    green += (colour >> 8) & 0xFF;
                    blue += colour & 0xFF;
                    alpha +=
                        a_alpha ? a_alpha->pixel(int32_t(sourceX), int32_t(sourceY)) & 0xFF : 255;
                }
            }
            const uint32_t texel = uint32_t(alpha / area) << 24 | uint32_t(red / area) << 16 |
                                   uint32_t(green / area) << 8 | uint32_t(blue / area);
            // An A8R8G8B8 texel is one 32-bit value in the machine's byte order.
            memcpy(row + size_t(x) * 4, &texel, sizeof(texel));
        }
    }
}
