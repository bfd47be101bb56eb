// Seamless tiling noise.
#include "TilingNoise.h"

#include <math.h>

#include <algorithm>

namespace
{

constexpr uint32_t kOctaves = 5;
constexpr int32_t kCoarsestCells = 4;
constexpr int kChannels = 3;

// A 32-bit integer hash (the finaliser of MurmurHash3): every input bit
// reaches every output bit, so neighbouring lattice points are unrelated.
uint32_t mix(uint32_t a_value)
{
    a_value ^= a_value >> 16;
    a_value *= 0x85EBCA6Bu;
    a_value ^= a_value >> 13;
    a_value *= 0xC2B2AE35u;
    a_value ^= a_value >> 16;
    return a_value;
}

uint32_t wrap(int32_t a_value, int32_t a_period)
{
    return static_cast<uint32_t>(((a_value % a_period) + a_period) % a_period);
}

// 6t^5 - 15t^4 + 10t^3: flat at both ends, so no crease at the cell edges.
double fade(double a_t)
{
    return a_t * a_t * a_t * (a_t * (a_t * 6.0 - 15.0) + 10.0);
}

}

double TilingNoise::lattice(int32_t a_x, int32_t a_y, uint32_t a_octave) const
{
    const uint32_t hash =
        mix(mix(mix(m_seed ^ (a_octave * 0x9E3779B9u)) ^ static_cast<uint32_t>(a_x)) ^
            (static_cast<uint32_t>(a_y) * 0x632BE5ABu));
    return static_cast<double>(hash) / 4294967296.0;
}

// Cells are powers of two texels wide, so (a_x + kSide) / cell is exactly
// a_x / cell plus a whole number of cells: the same fraction, and lattice
// indices that wrap to the same points.
double TilingNoise::smooth(double a_x, double a_y) const
{
    double sum = 0.0;
    double amplitude = 1.0;
    int32_t cells = kCoarsestCells;
    for (uint32_t octave = 0; octave < kOctaves; ++octave)
    {
        const double cell = static_cast<double>(kSide) / cells;
        const double x = a_x / cell;
        const double y = a_y / cell;
        const double fx = floor(x);
        const double fy = floor(y);
        const int32_t x0 = static_cast<int32_t>(wrap(static_cast<int32_t>(fx), cells));
        const int32_t y0 = static_cast<int32_t>(wrap(static_cast<int32_t>(fy), cells));
        const int32_t x1 = static_cast<int32_t>(wrap(x0 + 1, cells));
        const int32_t y1 = static_cast<int32_t>(wrap(y0 + 1, cells));
        const double tx = fade(x - fx);
        const double ty = fade(y - fy);
        const double top =
            lattice(x0, y0, octave) + (lattice(x1, y0, octave) - lattice(x0, y0, octave)) * tx;
        const double bottom =
            lattice(x0, y1, octave) + (lattice(x1, y1, octave) - lattice(x0, y1, octave)) * tx;
        sum += (top + (bottom - top) * ty) * 2.0 * amplitude - amplitude;
        amplitude *= 0.5;
        cells *= 2;
    }
    return sum;
}

double TilingNoise::white(int32_t a_x, int32_t a_y) const
{
    return lattice(static_cast<int32_t>(wrap(a_x, kSide)), static_cast<int32_t>(wrap(a_y, kSide)),
                   kOctaves);
}

// The smooth channels are stretched so that their lowest texel is 0 and
// their highest 255: the filter reads them as offsets about 0.5.
std::vector<uint8_t> TilingNoise::breakNoiseImage()
{
    const size_t texels = static_cast<size_t>(kSide) * kSide;
    const TilingNoise smoothNoise[2] = {TilingNoise(0x5EED0001u), TilingNoise(0x5EED0002u)};
    const TilingNoise whiteNoise(0x5EED0003u);
    std::vector<uint8_t> image(texels * kChannels);
    for (int channel = 0; channel < 2; ++channel)
    {
        std::vector<double> values(texels);
        for (int32_t y = 0; y < kSide; ++y)
            for (int32_t x = 0; x < kSide; ++x)
                values[static_cast<size_t>(y) * kSide + static_cast<size_t>(x)] =
                    smoothNoise[channel].smooth(x, y);
        const auto [low, high] = std::minmax_element(values.begin(), values.end());
        const double lowest = *low;
        const double range = *high - *low;
        for (size_t i = 0; i < texels; ++i)
            image[i * kChannels + static_cast<size_t>(channel)] =
                static_cast<uint8_t>(lround((values[i] - lowest) / range * 255.0));
    }
    for (int32_t y = 0; y < kSide; ++y)
        for (int32_t x = 0; x < kSide; ++x)
            image[(static_cast<size_t>(y) * kSide + static_cast<size_t>(x)) * kChannels + 2] =
                static_cast<uint8_t>(whiteNoise.white(x, y) * 256.0);
    return image;
}
