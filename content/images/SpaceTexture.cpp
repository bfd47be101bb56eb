// Solar cells, foil and a planet.
#include "SpaceTexture.h"

#include "TilingNoise.h"

#include <math.h>

#include <algorithm>

namespace
{

constexpr int32_t kSide = 512;

}  // namespace

float SpaceTexture::solarWiring(int32_t a_x, int32_t a_y)
{
    const int32_t cellWidth = kSide / 8, cellHeight = kSide / 4;
    const int32_t x = a_x % cellWidth, y = a_y % cellHeight;
    if (x < 3 || y < 3)
        return 1.0f;
    if (x % 16 == 9)
        return 0.5f;
    return 0.0f;
}

Picture SpaceTexture::solar()
{
    Picture picture(kSide, kSide);
    const TilingNoise sheen(21u);
    for (int32_t y = 0; y < kSide; ++y)
    {
        for (int32_t x = 0; x < kSide; ++x)
        {
            const float wiring = solarWiring(x, y);
            const float n = float(sheen.smooth(x * 0.5, y * 0.5));
            Rgb cell{0.5f + 0.04f * n, 0.58f + 0.04f * n, 0.8f + 0.06f * n};
            if (wiring >= 1.0f)
                cell = Rgb{0.85f, 0.86f, 0.88f};
            else if (wiring > 0.0f)
                cell = mixed(cell, Rgb{0.78f, 0.8f, 0.84f}, 0.6f);
            picture.at(x, y) = cell;
        }
    }
    return picture;
}

Picture SpaceTexture::solarHeight()
{
    Picture picture(kSide, kSide);
    for (int32_t y = 0; y < kSide; ++y)
    {
        for (int32_t x = 0; x < kSide; ++x)
            picture.at(x, y) = grey(solarWiring(x, y) >= 1.0f ? 0.53f : 0.5f);
    }
    return picture;
}

// Facets of crumpled foil: the sum of a few ridged noises.
float SpaceTexture::crinkle(int32_t a_x, int32_t a_y)
{
    static const TilingNoise folds(31u), creases(32u);
    const float a = 1.0f - fabsf(float(folds.smooth(a_x * 0.5, a_y * 0.5)));
    const float b = 1.0f - fabsf(float(creases.smooth(a_x, a_y)));
    return 0.6f * a * a + 0.4f * b * b;
}

Picture SpaceTexture::foil()
{
    Picture picture(kSide, kSide);
    for (int32_t y = 0; y < kSide; ++y)
    {
        for (int32_t x = 0; x < kSide; ++x)
        {
            // The facet's tilt catches or loses the light: brightness from
            // the crinkle's slope.
            const float slope = crinkle(x + 1, y) - crinkle(x - 1, y) +
                                0.5f * (crinkle(x, y + 1) - crinkle(x, y - 1));
            const float light = std::clamp(0.86f + 2.0f * slope, 0.6f, 1.0f);
            picture.at(x, y) = Rgb{0.97f * light, 0.86f * light, 0.64f * light};
        }
    }
    return picture;
}

Picture SpaceTexture::foilHeight()
{
    Picture picture(kSide, kSide);
    for (int32_t y = 0; y < kSide; ++y)
    {
        for (int32_t x = 0; x < kSide; ++x)
            picture.at(x, y) = grey(0.45f + 0.1f * crinkle(x, y));
    }
    return picture;
}

Picture SpaceTexture::planet()
{
    const int32_t width = 1024, height = 512;
    Picture picture(width, height);
    const TilingNoise land(51u), detail(52u), clouds(53u), swirl(54u);
    for (int32_t y = 0; y < height; ++y)
    {
        const float latitude =
            (float(y) + 0.5f) / float(height) * 2.0f - 1.0f;  // -1 north .. 1 south
        for (int32_t x = 0; x < width; ++x)
        {
            const double u = x * 0.25, v = y * 0.25;
            const float elevation =
                float(land.smooth(u, v)) + 0.35f * float(detail.smooth(x * 0.5, y * 0.5));
            Rgb c;
            if (elevation < 0.08f)
            {
                // Ocean, shallower toward the coasts.
                const float shallow = smoothStep(-0.4f, 0.08f, elevation);
                c = mixed(Rgb{0.38f, 0.46f, 0.66f}, Rgb{0.45f, 0.6f, 0.7f}, shallow);
            }
            else
            {
                const float dry = smoothStep(0.15f, 0.6f,
                                             float(detail.smooth(x * 0.25 + 70.0, y * 0.25)) +
                                                 0.3f - fabsf(latitude) * 0.6f);
                c = mixed(Rgb{0.5f, 0.6f, 0.44f}, Rgb{0.78f, 0.7f, 0.56f}, dry);
                c = mixed(c, Rgb{0.66f, 0.63f, 0.6f}, smoothStep(0.5f, 0.9f, elevation));
            }
            // Ice caps.
            const float ice = smoothStep(0.72f, 0.8f, fabsf(latitude) + 0.05f * elevation);
            c = mixed(c, Rgb{0.92f, 0.94f, 0.97f}, ice);
            // Cloud bands, pulled along by latitude.
            const double shift = 40.0 * sin(double(latitude) * 9.0) + 25.0 * swirl.smooth(u, v);
            const float cloud =
                smoothStep(0.05f, 0.55f,
                           float(clouds.smooth(u + shift, v * 1.6)) +
                               0.2f * float(detail.smooth(x * 1.0 + shift, y * 1.0)));
            c = mixed(c, Rgb{0.95f, 0.96f, 0.98f}, 0.85f * cloud);
            picture.at(x, y) = c;
        }
    }
    return picture;
}
