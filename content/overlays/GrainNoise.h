// The fine-grained tiling noise "smnoise.jpg": grey grain of one to two texels, seamless both ways.
#pragma once

#include <stdint.h>
#include <vector>

class GrainNoise
{
public:
    static constexpr int kSide = 256;

    // kSide x kSide RGB (grey), top row first: white noise half mixed with itself softened
    // over its 3 x 3 neighbourhood (wrapping at the edges), so grains are one or two texels
    // across and the texture repeats without a seam. Mid-grey on average, spread over the
    // whole range.
    static std::vector<uint8_t> picture();
};
