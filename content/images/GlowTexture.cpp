// Glows, lines, streaks and holes.
#include "GlowTexture.h"

#include "TilingNoise.h"

#include <math.h>

Picture GlowTexture::spark()
{
    const int32_t side = 128;
    Picture picture(side, side);
    for (int32_t y = 0; y < side; ++y)
    {
        for (int32_t x = 0; x < side; ++x)
        {
            const float dx = (float(x) + 0.5f) / float(side) * 2.0f - 1.0f;
            const float dy = (float(y) + 0.5f) / float(side) * 2.0f - 1.0f;
            const float r = sqrtf(dx * dx + dy * dy);
            const float core = expf(-r * r * 9.0f);
            const float halo = 1.0f - smoothStep(0.0f, 0.95f, r);
            const float level = 0.7f * core + 0.45f * halo * halo;
            picture.at(x, y) = Rgb{level, level * 0.97f, level * 0.94f};
        }
    }
    return picture;
}

Picture GlowTexture::lines()
{
    const int32_t side = 256;
    Picture picture(side, side);
    for (int32_t y = 0; y < side; ++y)
    {
        // Eight bands across v, each with one bright line and a dim one.
        const int32_t band = y % 32;
        float level = 0.12f;
        if (band >= 6 && band < 10)
            level = 1.0f;
        else if (band >= 20 && band < 22)
            level = 0.55f;
        for (int32_t x = 0; x < side; ++x)
        {
            float value = level;
            // Dashes in the dim lines, moving along u.
            if (band >= 20 && band < 22 && (x + 4 * (y / 32)) % 24 < 8)
                value = 0.9f;
            picture.at(x, y) = grey(value);
        }
    }
    return picture;
}

Picture GlowTexture::streaks()
{
    const int32_t side = 256;
    Picture picture(side, side);
    const TilingNoise brush(41u);
    for (int32_t y = 0; y < side; ++y)
    {
        for (int32_t x = 0; x < side; ++x)
        {
            // Stretched along u: fine across, long along.
            const float n = float(brush.smooth(x * 0.0625, y * 4.0));
            picture.at(x, y) = grey(0.65f + 0.3f * n);
        }
    }
    return picture;
}

Picture GlowTexture::grille()
{
    const int32_t side = 256;
    const int32_t pitch = 32;
    Picture picture(side, side);
    for (int32_t y = 0; y < side; ++y)
    {
        for (int32_t x = 0; x < side; ++x)
        {
            // Staggered rows of holes.
            const int32_t row = y / pitch;
            const float cx =
                float((x + (row % 2) * pitch / 2) % pitch) - float(pitch) * 0.5f + 0.5f;
            const float cy = float(y % pitch) - float(pitch) * 0.5f + 0.5f;
            const float r = sqrtf(cx * cx + cy * cy);
            picture.at(x, y) = grey(r < 10.0f ? 0.0f : 1.0f);
        }
    }
    return picture;
}
