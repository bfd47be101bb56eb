// The spot image: a disc with a soft rim, crossed by the window's bars.
#include "SpotImage.h"

#include <math.h>

#include <algorithm>

namespace
{

double smoothstep(double a_edge0, double a_edge1, double a_x)
{
    const double t = std::clamp((a_x - a_edge0) / (a_edge1 - a_edge0), 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

// The disc fades from full at 0.36 of the side to nothing at 0.48.
constexpr double kInnerRadius = 0.36;
constexpr double kOuterRadius = 0.48;
// The window's bars: a cross through the centre and a frame ring, each with
// soft edges about a texel and a half wide.
constexpr double kBarHalfWidth = 0.022;
constexpr double kRingRadius = 0.3;
constexpr double kSoftness = 0.006;

}  // namespace

double SpotImage::intensity(double a_u, double a_v)
{
    const double x = a_u - 0.5;
    const double y = a_v - 0.5;
    const double radius = sqrt(x * x + y * y);
    const double disc = 1.0 - smoothstep(kInnerRadius, kOuterRadius, radius);
    const double crossX = smoothstep(kBarHalfWidth - kSoftness, kBarHalfWidth + kSoftness, fabs(x));
    const double crossY = smoothstep(kBarHalfWidth - kSoftness, kBarHalfWidth + kSoftness, fabs(y));
    const double ring = smoothstep(kBarHalfWidth * 0.6 - kSoftness, kBarHalfWidth * 0.6 + kSoftness,
                                   fabs(radius - kRingRadius));
    // A faint glow stays in the bars' shadow, as light scattered in the air.
    const double window = 0.12 + 0.88 * crossX * crossY * ring;
    // Brighter toward the middle, like a lamp's hot spot.
    const double hotSpot = 0.75 + 0.25 * (1.0 - smoothstep(0.0, kInnerRadius, radius));
    return disc * window * hotSpot;
}

std::vector<uint8_t> SpotImage::picture()
{
    std::vector<uint8_t> rgb;
    rgb.reserve(size_t(kSide) * kSide * 3);
    for (uint32_t row = 0; row < kSide; ++row)
    {
        for (uint32_t column = 0; column < kSide; ++column)
        {
            const double u = (column + 0.5) / kSide;
            const double v = (row + 0.5) / kSide;
            const double light = intensity(u, v);
            const double x = u - 0.5, y = v - 0.5;
            const double rim = std::clamp(sqrt(x * x + y * y) / kOuterRadius, 0.0, 1.0);
            // Warm white in the middle, a paler cool white at the rim.
            const double colour[3] = {1.0 - 0.12 * rim, 0.93 - 0.02 * rim, 0.8 + 0.15 * rim};
            for (double channel : colour)
                rgb.push_back(uint8_t(lround(std::clamp(light * channel, 0.0, 1.0) * 255.0)));
        }
    }
    return rgb;
}
