// The pixel-by-pixel comparison.
#include "FrameDiff.h"

#include "core/Assert.h"

#include <stdlib.h>

namespace
{

// The largest channel difference between pixel a_one of a_first and pixel
// a_other of a_second.
uint32_t apart(const std::vector<uint8_t>& a_first, size_t a_one,
               const std::vector<uint8_t>& a_second, size_t a_other)
{
    uint32_t largest = 0;
    for (size_t channel = 0; channel < 3; ++channel)
    {
        const uint32_t difference =
            uint32_t(abs(int(a_first[a_one * 3 + channel]) - int(a_second[a_other * 3 + channel])));
        largest = difference > largest ? difference : largest;
    }
    return largest;
}

// True when pixel (a_x, a_y) of a_first has a match in a_second within
// a_reach pixels.
bool matched(const std::vector<uint8_t>& a_first, const std::vector<uint8_t>& a_second,
             uint32_t a_width, uint32_t a_height, uint32_t a_x, uint32_t a_y, uint32_t a_step,
             uint32_t a_reach)
{
    const size_t pixel = size_t(a_y) * a_width + a_x;
    const uint32_t top = a_y > a_reach ? a_y - a_reach : 0;
    const uint32_t left = a_x > a_reach ? a_x - a_reach : 0;
    for (uint32_t y = top; y <= a_y + a_reach && y < a_height; ++y)
        for (uint32_t x = left; x <= a_x + a_reach && x < a_width; ++x)
            if (apart(a_first, pixel, a_second, size_t(y) * a_width + x) <= a_step)
                return true;
    return false;
}

}  // namespace

FrameDiff::FrameDiff(const std::vector<uint8_t>& a_first, const std::vector<uint8_t>& a_second,
                     uint32_t a_width, uint32_t a_height, uint32_t a_step, uint32_t a_reach,
                     uint32_t a_gain)
{
    TARVO_ASSERT(a_first.size() == size_t(a_width) * a_height * 3 &&
                 a_second.size() == a_first.size());
    m_pixels = uint64_t(a_width) * a_height;
    m_picture.resize(a_first.size());
    uint64_t sum = 0;
    for (uint32_t y = 0; y < a_height; ++y)
        for (uint32_t x = 0; x < a_width; ++x)
        {
            const size_t pixel = size_t(y) * a_width + x;
            for (size_t channel = pixel * 3; channel < pixel * 3 + 3; ++channel)
            {
                const uint32_t difference =
                    uint32_t(abs(int(a_first[channel]) - int(a_second[channel])));
                sum += difference;
                m_largest = difference > m_largest ? difference : m_largest;
                const uint32_t shown = difference * a_gain;
                m_picture[channel] = uint8_t(shown > 255 ? 255 : shown);
            }
            if (apart(a_first, pixel, a_second, pixel) > a_step &&
                (!matched(a_first, a_second, a_width, a_height, x, y, a_step, a_reach) ||
                 !matched(a_second, a_first, a_width, a_height, x, y, a_step, a_reach)))
                ++m_differing;
        }
    m_mean = m_pixels ? double(sum) / double(m_pixels * 3) : 0.0;
}
