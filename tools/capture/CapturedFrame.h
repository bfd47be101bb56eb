// One rendered frame on its way from the render thread to the encoder
// thread: its pixels as read back and the soundtrack's samples it covers.
#pragma once

#include <stdint.h>

#include <vector>

struct CapturedFrame
{
    uint32_t index = 0;            // frame number in the whole demo
    std::vector<uint8_t> pixels;   // X8R8G8B8 (blue byte first), top row first, rows packed
    std::vector<int16_t> samples;  // interleaved stereo, from index / fps to (index + 1) / fps
};
