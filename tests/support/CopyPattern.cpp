// The copy tests' texture pattern.
#include "support/CopyPattern.h"

uint32_t CopyPattern::texel(uint32_t a_x, uint32_t a_y) const
{
    const uint32_t red = a_x * 255 / (m_width - 1);
    const uint32_t green = a_y * 255 / (m_height - 1);
    const uint32_t blue = ((a_x ^ a_y) & 1) ? 116 : 100;
    return 0xFF000000u | red << 16 | green << 8 | blue;
}

int CopyPattern::expected(uint32_t a_x, uint32_t a_y, int a_shift, bool a_linear) const
{
    if (!a_linear)
        return channel(texel(a_x, a_y), a_shift);
    const uint32_t left = a_x > 0 ? a_x - 1 : 0;
    const uint32_t top = a_y > 0 ? a_y - 1 : 0;
    const int sum = channel(texel(left, top), a_shift) + channel(texel(a_x, top), a_shift) +
                    channel(texel(left, a_y), a_shift) + channel(texel(a_x, a_y), a_shift);
    return (sum + 2) / 4;
}
