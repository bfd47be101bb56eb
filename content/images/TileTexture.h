// "tiles.jpg", "tiles_height.jpg" and "tiles_occlusion.jpg": a floor of
// large dark stone tiles, four by four per image, with sunken grout and a
// lit strip inlaid in every fourth joint; the occlusion map darkens the
// grout and the tiles' edges. All three tile seamlessly.
#pragma once

#include "Picture.h"

class TileTexture
{
public:
    static constexpr int32_t kSide = 512;
    static constexpr int32_t kTile = 128;

    static Picture colour();
    static Picture height();
    static Picture occlusion();

    // Texels from (a_x, a_y) to the nearest joint.
    static float jointDistance(int32_t a_x, int32_t a_y);
};
