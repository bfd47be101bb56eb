// A colour ramp through stops at increasing positions, eased between them: skies, chrome and glows.
#pragma once

#include "Colour.h"

#include <stdint.h>
#include <initializer_list>
#include <vector>

class Gradient
{
public:
    struct Stop
    {
        float position;
        uint32_t rgb;  // 0xRRGGBB, opaque
    };

    // At least one stop, positions increasing.
    Gradient(std::initializer_list<Stop> a_stops);

    // The colour at a_position: the first stop's before it, the last stop's after it.
    Colour at(float a_position) const;

    // Hermite easing of a_value from 0 at a_edge0 to 1 at a_edge1: soft edges without kinks.
    static float smoothstep(float a_edge0, float a_edge1, float a_value);

private:
    std::vector<Stop> m_stops;
};
