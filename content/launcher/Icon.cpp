// Paints the program's icon: a white-to-cyan "T" on a rounded tile in the banner's night-to-magenta colours.
#include "Icon.h"

#include "Image.h"

#include <algorithm>
#include <math.h>

namespace
{

// Painted at kScale x kScale samples per pixel; positions are in pixels of the finished icon.
// The letter's edges sit on whole pixels so that it stays sharp at 16 x 16.
constexpr int kScale = 8;
constexpr float kCornerRadius = 3.5f;

bool inside(float a_x, float a_y, float a_left, float a_top, float a_right, float a_bottom)
{
    return a_x >= a_left && a_x < a_right && a_y >= a_top && a_y < a_bottom;
}

// The letter: a bar across the top and a stem, in whole pixels.
bool letter(float a_x, float a_y)
{
    return inside(a_x, a_y, 3.0f, 3.0f, 13.0f, 6.0f) || inside(a_x, a_y, 6.0f, 6.0f, 10.0f, 13.0f);
}

// Signed distance to the tile's outline (negative inside): a 16 x 16 square with rounded corners.
float tileDistance(float a_x, float a_y)
{
    const float half = Icon::kSize * 0.5f;
    const float qx = abs(a_x - half) - (half - kCornerRadius);
    const float qy = abs(a_y - half) - (half - kCornerRadius);
    const float outside = hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
    return outside + std::min(std::max(qx, qy), 0.0f) - kCornerRadius;
}

}

Image Icon::paint()
{
    const Colour top = Colour::fromHex(0x23106a);
    const Colour bottom = Colour::fromHex(0xe0308c);
    const Colour border = Colour::fromHex(0x0a0322);
    const Colour shadow = Colour::fromHex(0x0a0322) * 0.7f;
    const Colour letterTop = Colour::fromHex(0xffffff);
    const Colour letterBottom = Colour::fromHex(0x7ff0ff);

    Image image(kSize * kScale, kSize * kScale);
    for (int sy = 0; sy < image.height(); ++sy)
        for (int sx = 0; sx < image.width(); ++sx)
        {
            const float x = (static_cast<float>(sx) + 0.5f) / kScale;
            const float y = (static_cast<float>(sy) + 0.5f) / kScale;
            const float distance = tileDistance(x, y);
            if (distance > 0.0f)
                continue;
            Colour colour = Colour::lerp(top, bottom, y / kSize);
            if (distance > -1.0f)
                colour = border;
            else if (letter(x, y))
                colour = Colour::lerp(letterTop, letterBottom, (y - 3.0f) / 10.0f);
            else if (letter(x - 1.0f, y - 1.0f))
                colour = colour.over(shadow);
            image.at(sx, sy) = colour;
        }
    return image.downsampled(kScale);
}
