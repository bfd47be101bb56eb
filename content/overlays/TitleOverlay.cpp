// The title cards that present the production one after another, and the finale's logo.
#include "TitleOverlay.h"

#include "Gradient.h"
#include "Lettering.h"
#include "OverlayCanvas.h"
#include "Palette.h"

#include <algorithm>
#include <math.h>
#include <string>

namespace
{

constexpr float kWidth = OverlayCanvas::kWidth;
constexpr float kMiddleX = 0.5f * kWidth;

// The sun of the launcher's banner setting on a_horizon: a disc from yellow to pink, its lower
// half cut into widening bands, in a soft halo of the glow colour.
void paintSun(OverlayCanvas& a_canvas, float a_x, float a_y, float a_radius, float a_horizon)
{
    const Gradient sun = Palette::sun();
    Image& image = a_canvas.image();
    for (int y = 0; y < OverlayCanvas::kHeight; ++y)
        for (int x = 0; x < OverlayCanvas::kWidth; ++x)
        {
            const float px = static_cast<float>(x) + 0.5f;
            const float py = static_cast<float>(y) + 0.5f;
            const float coverage =
                std::clamp(a_radius - hypot(px - a_x, py - a_y) + 0.5f, 0.0f, 1.0f) *
                std::clamp(a_horizon - py + 0.5f, 0.0f, 1.0f);
            if (coverage > 0.0f)
                image.at(x, y) = Colour::lerp(
                    image.at(x, y), sun.at((py - (a_y - a_radius)) / (2.0f * a_radius)), coverage);
        }
    a_canvas.stripes(a_x - a_radius - 1.0f, a_y - 0.05f * a_radius, a_x + a_radius + 1.0f,
                     a_horizon);
    a_canvas.addLight(Palette::glow(), [&](float a_px, float a_py) {
        const float distance = hypot(a_px - a_x, a_py - a_y) - a_radius;
        return distance > 0.0f && a_py < a_horizon ? 0.5f * exp(-distance / (0.2f * a_radius))
                                                   : 0.0f;
    });
}

}

void TitleOverlay::paintName(OverlayCanvas& a_canvas)
{
    const int size = a_canvas.fit("TARVO", 300, 0.72f * kWidth);
    const float capHeight = OverlayCanvas::kCapRatio * static_cast<float>(size);
    const float middle = 330.0f;
    const float horizon = middle + 0.5f * capHeight + 0.3f * capHeight;
    a_canvas.neonLine(0.08f * kWidth, 0.92f * kWidth, horizon, 3.0f, 0.3f * kWidth, 0.3f * kWidth,
                      Palette::glow());
    a_canvas.chromeLine("TARVO", size, kMiddleX, middle);
}

void TitleOverlay::paintNumber(OverlayCanvas& a_canvas)
{
    constexpr int kSize = 600;
    constexpr float kCapHeight = OverlayCanvas::kCapRatio * kSize;
    const float top = 0.5f * (OverlayCanvas::kHeight - kCapHeight);
    Lettering lettering(OverlayCanvas::kWidth, OverlayCanvas::kHeight);
    lettering.add(a_canvas.text("2", true, kSize, kMiddleX, top + kCapHeight), Palette::sun(), top,
                  kCapHeight);
    lettering.paint(a_canvas.image(), OverlayCanvas::style(kSize), 1);
    a_canvas.stripes(0.0f, top + 0.5f * kCapHeight, OverlayCanvas::kWidth,
                     top + kCapHeight + 40.0f);
}

void TitleOverlay::paintSubtitle(OverlayCanvas& a_canvas)
{
    const std::string lead = "A SELF-RUNNING AUDIOVISUAL PRODUCTION";
    constexpr int kLeadSize = 30;
    constexpr float kLeadTracking = 7.0f;
    constexpr float kLeadBaseline = 262.0f;
    const float leadHalf = 0.5f * a_canvas.measure(lead, true, kLeadSize, kLeadTracking);
    const float leadMiddle = kLeadBaseline - 0.5f * OverlayCanvas::kCapRatio * kLeadSize;
    a_canvas.neonLine(kMiddleX - leadHalf - 230.0f, kMiddleX - leadHalf - 30.0f, leadMiddle, 2.0f,
                      180.0f, 4.0f, Palette::rim());
    a_canvas.neonLine(kMiddleX + leadHalf + 30.0f, kMiddleX + leadHalf + 230.0f, leadMiddle, 2.0f,
                      4.0f, 180.0f, Palette::rim());
    a_canvas.plainLine(lead, true, kLeadSize, kMiddleX, kLeadBaseline, Palette::rim(),
                       kLeadTracking);

    const int size = a_canvas.fit("IN REAL TIME", 170, 0.8f * kWidth, 4.0f);
    a_canvas.chromeLine("IN REAL TIME", size, kMiddleX, 400.0f, 4.0f);
}

void TitleOverlay::paintLogo(OverlayCanvas& a_canvas)
{
    constexpr float kHorizon = 500.0f;
    constexpr float kSunRadius = 190.0f;
    paintSun(a_canvas, kMiddleX, kHorizon - 0.5f * kSunRadius, kSunRadius, kHorizon);
    a_canvas.neonLine(0.04f * kWidth, 0.96f * kWidth, kHorizon, 3.0f, 0.35f * kWidth,
                      0.35f * kWidth, Palette::glow());

    // As on the banner: the "2" a superscript whose top is level with the capitals'.
    constexpr int kTitleSize = 210;
    constexpr int kNumberSize = 105;
    constexpr float kCapHeight = OverlayCanvas::kCapRatio * kTitleSize;
    constexpr float kNumberHeight = OverlayCanvas::kCapRatio * kNumberSize;
    const float titleWidth = a_canvas.measure("TARVO", true, kTitleSize);
    const float numberWidth = a_canvas.measure("2", true, kNumberSize);
    const float gap = 10.0f;
    const float left = kMiddleX - 0.5f * (titleWidth + gap + numberWidth);
    const float baseline = kHorizon - 40.0f;
    const float top = baseline - kCapHeight;
    Lettering lettering(OverlayCanvas::kWidth, OverlayCanvas::kHeight);
    lettering.add(a_canvas.text("TARVO", true, kTitleSize, left + 0.5f * titleWidth, baseline),
                  Palette::chrome(), top, kCapHeight);
    lettering.add(a_canvas.text("2", true, kNumberSize,
                                left + titleWidth + gap + 0.5f * numberWidth, top + kNumberHeight),
                  Palette::hot(), top, kNumberHeight);
    lettering.paint(a_canvas.image(), OverlayCanvas::style(kTitleSize), 1);

    // The horizon's reflection: the sun's colour fading below the line.
    a_canvas.addLight(Palette::glow(), [&](float, float a_y) {
        return a_y > kHorizon ? 0.25f * exp(-(a_y - kHorizon) / 18.0f) : 0.0f;
    });
}
