// "flesh.jpg" and "flesh_height.jpg": living tissue for the blob: pink and
// red skin, darker in the folds, with a net of raised purple veins and pale
// mottling. Both tile seamlessly.
#pragma once

#include "Picture.h"

class FleshTexture
{
public:
    static constexpr int32_t kSide = 512;

    static Picture colour();
    static Picture height();

private:
    // 1 on a vein's ridge, falling to 0 off it.
    static float vein(int32_t a_x, int32_t a_y);
};
