// The words flashed on the beat ("GO", "JUMP", "STEP", "HOLD IT"): huge chrome letters between lines of light.
#include "WordOverlay.h"

#include "Gradient.h"
#include "OverlayCanvas.h"
#include "Palette.h"

#include <algorithm>
#include <math.h>

namespace
{

// Signed distance from (a_x, a_y) to the edge of a rectangle of half sizes a_halfWidth and
// a_halfHeight centred on the origin, its corners rounded by a_radius: negative inside.
float roundedBoxDistance(float a_x, float a_y, float a_halfWidth, float a_halfHeight,
                         float a_radius)
{
    const float qx = abs(a_x) - a_halfWidth + a_radius;
    const float qy = abs(a_y) - a_halfHeight + a_radius;
    return hypot(std::max(qx, 0.0f), std::max(qy, 0.0f)) + std::min(std::max(qx, qy), 0.0f) -
           a_radius;
}

}

void WordOverlay::paint(OverlayCanvas& a_canvas, const std::string& a_word, bool a_framed)
{
    constexpr float kWidth = OverlayCanvas::kWidth;
    constexpr float kMiddleX = 0.5f * kWidth;
    constexpr float kMiddleY = 0.5f * OverlayCanvas::kHeight;
    // A flash is read in a fraction of a second: as large as the frame allows with room for
    // the lines of light on either side.
    const int size = a_canvas.fit(a_word, 340, (a_framed ? 0.66f : 0.62f) * kWidth);
    const float capHeight = OverlayCanvas::kCapRatio * static_cast<float>(size);
    const float halfWord = 0.5f * a_canvas.measure(a_word, true, size);

    if (a_framed)
    {
        // The sign: a rounded frame of cyan light with a white-hot core, kept clear of the
        // letters' glow.
        const float halfWidth = halfWord + 0.28f * capHeight;
        const float halfHeight = 0.5f * capHeight + 0.36f * capHeight;
        const float radius = 0.18f * capHeight;
        const auto distance = [=](float a_x, float a_y) {
            return abs(
                roundedBoxDistance(a_x - kMiddleX, a_y - kMiddleY, halfWidth, halfHeight, radius));
        };
        a_canvas.addLight(Palette::glow(), [&](float a_x, float a_y) {
            return 0.7f * exp(-distance(a_x, a_y) / 14.0f);
        });
        a_canvas.addLight(Palette::rim(), [&](float a_x, float a_y) {
            const float d = distance(a_x, a_y) / 4.0f;
            return exp(-d * d);
        });
        a_canvas.addLight(Colour::fromHex(0xffffff), [&](float a_x, float a_y) {
            return 1.0f - Gradient::smoothstep(0.6f, 1.8f, distance(a_x, a_y));
        });
        // Ticks leading out of the sign's sides, level with the letters' waist.
        const float gapLeft = kMiddleX - halfWidth;
        a_canvas.neonLine(0.0f, gapLeft - 24.0f, kMiddleY, 3.0f, 0.8f * gapLeft, 4.0f,
                          Palette::rim());
        a_canvas.neonLine(kWidth - gapLeft + 24.0f, kWidth, kMiddleY, 3.0f, 4.0f, 0.8f * gapLeft,
                          Palette::rim());
    }
    else
    {
        // Speed lines: three on each side, the middle one level with the chrome's dark waist
        // line and longest, the outer ones shorter, all fading towards the frame's edges.
        const float inner = halfWord + 0.22f * capHeight;
        const struct
        {
            float offset;  // from the waist, in capital heights
            float length;  // of the room beside the word
            float width;   // of the hot core, pixels
        } lines[] = {{-0.3f, 0.55f, 2.5f}, {0.0f, 1.0f, 4.0f}, {0.3f, 0.55f, 2.5f}};
        const float room = kMiddleX - inner;
        for (const auto& line : lines)
        {
            const float y = kMiddleY + line.offset * capHeight;
            const float length = line.length * room;
            a_canvas.neonLine(kMiddleX - inner - length, kMiddleX - inner, y, line.width,
                              0.8f * length, 4.0f, Palette::rim());
            a_canvas.neonLine(kMiddleX + inner, kMiddleX + inner + length, y, line.width, 4.0f,
                              0.8f * length, Palette::rim());
        }
    }
    a_canvas.chromeLine(a_word, size, kMiddleX, kMiddleY);
}
