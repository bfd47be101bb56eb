// "panels.jpg" and "panels_height.jpg": armour plating of riveted metal
// plates of several sizes, with seams, vents, grime and one hazard-striped
// plate; the height map sinks the seams and vents and raises the rivets.
// Both tile seamlessly.
#pragma once

#include "Picture.h"

class PanelTexture
{
public:
    static constexpr int32_t kSide = 512;

    static Picture colour();
    static Picture height();

private:
    struct Plate
    {
        int32_t x, y, width, height;
        float tone;
        int kind;  // 0 plain, 1 vents, 2 hazard stripes
    };
    static std::vector<Plate> plates();
    // Paints every plate with a_paint(plate, x, y, distance to its edge).
    template <typename Paint>
    static void eachTexel(Paint a_paint);
};
