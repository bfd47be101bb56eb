// Living tissue.
#include "FleshTexture.h"

#include "TilingNoise.h"

#include <math.h>

float FleshTexture::vein(int32_t a_x, int32_t a_y)
{
    static const TilingNoise large(61u), fine(62u);
    const float a = 1.0f - fabsf(float(large.smooth(a_x * 0.5, a_y * 0.5)));
    const float b = 1.0f - fabsf(float(fine.smooth(a_x, a_y)));
    return fmaxf(smoothStep(0.9f, 0.985f, a), 0.7f * smoothStep(0.93f, 0.99f, b));
}

Picture FleshTexture::colour()
{
    Picture picture(kSide, kSide);
    const TilingNoise mottle(63u), folds(64u);
    for (int32_t y = 0; y < kSide; ++y)
    {
        for (int32_t x = 0; x < kSide; ++x)
        {
            const float m = float(mottle.smooth(x, y));
            const float f = float(folds.smooth(x * 0.5, y * 0.5));
            Rgb c = mixed(Rgb{0.8f, 0.6f, 0.58f}, Rgb{0.93f, 0.78f, 0.72f}, 0.5f + 0.5f * m);
            c = scaled(c, 0.8f + 0.25f * f);
            c = mixed(c, Rgb{0.55f, 0.38f, 0.5f}, 0.85f * vein(x, y));
            picture.at(x, y) = c;
        }
    }
    return picture;
}

Picture FleshTexture::height()
{
    Picture picture(kSide, kSide);
    const TilingNoise folds(64u);
    for (int32_t y = 0; y < kSide; ++y)
    {
        for (int32_t x = 0; x < kSide; ++x)
            picture.at(x, y) =
                grey(0.48f + 0.015f * float(folds.smooth(x * 0.5, y * 0.5)) + 0.03f * vein(x, y));
    }
    return picture;
}
