// The fine-grained tiling noise "smnoise.jpg": grey grain of one to two texels, seamless both ways.
#include "GrainNoise.h"

#include "TilingNoise.h"

#include <algorithm>
#include <math.h>
#include <stddef.h>

std::vector<uint8_t> GrainNoise::picture()
{
    static_assert(kSide == TilingNoise::kSide, "the white noise wraps at the grain's tile");
    const TilingNoise noise(0x6A41u);
    // The binomial 3 x 3 kernel, 1 2 1 by 1 2 1 over 16.
    constexpr double kWeights[3] = {0.25, 0.5, 0.25};
    std::vector<double> values(static_cast<size_t>(kSide) * kSide);
    double sum = 0.0;
    double squares = 0.0;
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x)
        {
            double soft = 0.0;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    soft += kWeights[dx + 1] * kWeights[dy + 1] * noise.white(x + dx, y + dy);
            const double value = 0.5 * noise.white(x, y) + 0.5 * soft;
            values[static_cast<size_t>(y) * kSide + static_cast<size_t>(x)] = value;
            sum += value;
            squares += value * value;
        }
    // Two and a half standard deviations either side of the mean span 0 to 255: the grain
    // keeps its contrast, and the few values beyond clip.
    const double mean = sum / static_cast<double>(values.size());
    const double deviation = sqrt(squares / static_cast<double>(values.size()) - mean * mean);
    std::vector<uint8_t> bytes;
    bytes.reserve(values.size() * 3);
    for (const double value : values)
    {
        const double level =
            std::clamp(127.5 + (value - mean) / (2.5 * deviation) * 127.5, 0.0, 255.0);
        bytes.insert(bytes.end(), 3, static_cast<uint8_t>(lround(level)));
    }
    return bytes;
}
