// Stone floor tiles.
#include "TileTexture.h"

#include "TilingNoise.h"

#include <math.h>

#include <algorithm>

namespace
{

constexpr float kGrout = 2.5f;

}  // namespace

float TileTexture::jointDistance(int32_t a_x, int32_t a_y)
{
    const int32_t x = ((a_x % kTile) + kTile) % kTile;
    const int32_t y = ((a_y % kTile) + kTile) % kTile;
    return float(std::min(std::min(x, kTile - 1 - x), std::min(y, kTile - 1 - y))) + 0.5f;
}

Picture TileTexture::colour()
{
    Picture picture(kSide, kSide);
    const TilingNoise stone(11u), veins(12u), speck(13u);
    for (int32_t y = 0; y < kSide; ++y)
    {
        for (int32_t x = 0; x < kSide; ++x)
        {
            const int32_t tile = (x / kTile) * 7 + (y / kTile) * 3;
            const float tone = 0.85f + 0.15f * float(speck.white(tile, 5));
            const float cloud = float(stone.smooth(x * 0.5, y * 0.5));
            const float vein = 1.0f - fabsf(float(veins.smooth(x * 0.5 + 40.0 * tile, y * 0.5)));
            Rgb c = scaled(Rgb{0.72f, 0.7f, 0.68f}, tone * (0.9f + 0.15f * cloud));
            c = mixed(c, Rgb{0.88f, 0.87f, 0.85f}, 0.5f * smoothStep(0.9f, 0.98f, vein));
            c = scaled(c, 0.95f + 0.1f * (float(speck.white(x, y)) - 0.5f));
            if (jointDistance(x, y) < kGrout)
                c = grey(0.15f);
            picture.at(x, y) = c;
        }
    }
    return picture;
}

Picture TileTexture::height()
{
    Picture picture(kSide, kSide);
    for (int32_t y = 0; y < kSide; ++y)
    {
        for (int32_t x = 0; x < kSide; ++x)
        {
            const float d = jointDistance(x, y);
            picture.at(x, y) =
                grey(0.5f - 0.08f * (1.0f - smoothStep(kGrout - 1.0f, kGrout + 3.0f, d)));
        }
    }
    return picture;
}

Picture TileTexture::occlusion()
{
    Picture picture(kSide, kSide);
    for (int32_t y = 0; y < kSide; ++y)
    {
        for (int32_t x = 0; x < kSide; ++x)
            picture.at(x, y) = grey(0.55f + 0.45f * smoothStep(0.0f, 18.0f, jointDistance(x, y)));
    }
    return picture;
}
