// The spot lights' projected image "spot.jpg": a soft round pool of warm
// light seen through a four-pane window, so a viewer recognises the shape
// wherever the spot falls. Black outside the circle, so the wrapping the
// spot pass samples with never repeats it.
#pragma once

#include <stdint.h>

#include <vector>

class SpotImage
{
public:
    static constexpr uint32_t kSide = 256;

    // The brightness of the picture at (a_u, a_v), both 0 to 1 across it,
    // before colour: 0 to 1.
    static double intensity(double a_u, double a_v);

    // kSide x kSide RGB, top row first: the intensity, warm at the centre,
    // paler toward the rim.
    static std::vector<uint8_t> picture();
};
