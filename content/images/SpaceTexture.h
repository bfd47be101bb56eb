// The satellite's surfaces:
// - "solar.jpg" and "solar_height.jpg": a solar array of deep blue cells,
//   eight by four, with fine silver fingers and busbars between them;
// - "foil.jpg" and "foil_height.jpg": crinkled gold insulation foil;
// - "planet.jpg": the planet below, 1024 x 512 for a sphere's u and v:
//   oceans, continents with deserts and forests, ice at the poles and
//   swirling cloud bands.
#pragma once

#include "Picture.h"

class SpaceTexture
{
public:
    static Picture solar();
    static Picture solarHeight();
    static Picture foil();
    static Picture foilHeight();
    static Picture planet();

private:
    // 0 on a cell, 1 on a busbar between cells, 0.5 on a finger line.
    static float solarWiring(int32_t a_x, int32_t a_y);
    static float crinkle(int32_t a_x, int32_t a_y);
};
