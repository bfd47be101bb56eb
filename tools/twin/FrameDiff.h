// Two pictures of the same size compared pixel by pixel: how far apart the
// channels are, how many pixels differ by more than a step, and a picture of
// the differences amplified so that they can be seen.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <vector>

class FrameDiff
{
public:
    // a_first and a_second hold a_width x a_height RGB pixels (3 bytes
    // each, top row first). A pixel differs when one of its channels is more
    // than a_step apart from the same pixel of the other picture and from
    // every pixel within a_reach of it (0: the same pixel only), looked at
    // from either picture, so that an edge moved by less than a_reach pixels
    // does not count. a_gain multiplies the plain differences in m_picture.
    FrameDiff(const std::vector<uint8_t>& a_first, const std::vector<uint8_t>& a_second,
              uint32_t a_width, uint32_t a_height, uint32_t a_step, uint32_t a_reach,
              uint32_t a_gain);

    uint32_t m_largest = 0;    // the largest channel difference, 0 to 255
    double m_mean = 0.0;       // the mean channel difference
    uint64_t m_differing = 0;  // pixels with a channel more than a_step apart
    uint64_t m_pixels = 0;
    std::vector<uint8_t> m_picture;  // |first - second| x gain per channel, clamped
};
