// A colour ramp through stops at increasing positions, eased between them: skies, chrome and glows.
#include "Gradient.h"

#include "core/Assert.h"

#include <algorithm>
#include <stddef.h>

Gradient::Gradient(std::initializer_list<Stop> a_stops) : m_stops(a_stops)
{
    TARVO_ASSERT(!m_stops.empty());
}

Colour Gradient::at(float a_position) const
{
    if (a_position <= m_stops.front().position)
        return Colour::fromHex(m_stops.front().rgb);
    for (size_t i = 1; i < m_stops.size(); ++i)
        if (a_position <= m_stops[i].position)
        {
            const Stop& from = m_stops[i - 1];
            const Stop& to = m_stops[i];
            const float t = (a_position - from.position) / (to.position - from.position);
            return Colour::lerp(Colour::fromHex(from.rgb), Colour::fromHex(to.rgb),
                                smoothstep(0.0f, 1.0f, t));
        }
    return Colour::fromHex(m_stops.back().rgb);
}

float Gradient::smoothstep(float a_edge0, float a_edge1, float a_value)
{
    const float t = std::clamp((a_value - a_edge0) / (a_edge1 - a_edge0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}
