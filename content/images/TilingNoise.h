// Seamless tiling noise for the "Break" filter's "noise2.jpg": smooth fractal
// value noise and white noise, both periodic over kSide texels in x and y, so
// the image wraps without a seam.
#pragma once

#include <stdint.h>

#include <vector>

class TilingNoise
{
public:
    static constexpr int32_t kSide = 256;

    explicit TilingNoise(uint32_t a_seed) : m_seed(a_seed) {}

    // Fractal value noise at (a_x, a_y) texels: five octaves of 4 to 64
    // lattice cells per tile, each half the amplitude of the one before,
    // blended with the quintic fade; period kSide in x and y. Roughly within
    // [-1, 1].
    double smooth(double a_x, double a_y) const;
    // One independent value in [0, 1) per texel, wrapping at kSide.
    double white(int32_t a_x, int32_t a_y) const;

    // The picture of "noise2.jpg", kSide x kSide RGB, top row first: red and
    // green are smooth noise of two seeds stretched to the full 0 to 255
    // range, blue is white noise.
    static std::vector<uint8_t> breakNoiseImage();

private:
    // A value in [0, 1) for lattice point (a_x, a_y) of octave a_octave.
    double lattice(int32_t a_x, int32_t a_y, uint32_t a_octave) const;

    uint32_t m_seed;
};
