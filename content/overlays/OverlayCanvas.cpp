// A 1280 x 720 overlay being painted: black, with chrome lettering and lines of light added on it.
#include "OverlayCanvas.h"

#include "FontRenderer.h"
#include "Gradient.h"
#include "Palette.h"

#include <algorithm>
#include <math.h>

OverlayCanvas::OverlayCanvas(const FontRenderer& a_bold, const FontRenderer& a_regular)
    : m_bold(a_bold), m_regular(a_regular), m_image(kWidth, kHeight)
{
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            m_image.at(x, y).a = 1.0f;
}

Lettering::Style OverlayCanvas::style(int a_size)
{
    const float size = static_cast<float>(a_size);
    return {std::max(2.0f, size * 0.03f), std::max(1.2f, size * 0.018f),
            std::max(4.0f, size * 0.07f), 0.85f};
}

Mask OverlayCanvas::text(const std::string& a_text, bool a_bold, int a_size, float a_centreX,
                         float a_baseline, float a_tracking) const
{
    Mask mask(kWidth, kHeight);
    const FontRenderer& font = a_bold ? m_bold : m_regular;
    font.draw(mask, a_text, a_size, a_centreX - 0.5f * font.measure(a_text, a_size, a_tracking),
              a_baseline, a_tracking);
    return mask;
}

int OverlayCanvas::fit(const std::string& a_text, int a_maxSize, float a_maxWidth,
                       float a_tracking) const
{
    int size = a_maxSize;
    while (size > 8 && m_bold.measure(a_text, size, a_tracking) > a_maxWidth)
        --size;
    return size;
}

float OverlayCanvas::measure(const std::string& a_text, bool a_bold, int a_size,
                             float a_tracking) const
{
    return (a_bold ? m_bold : m_regular).measure(a_text, a_size, a_tracking);
}

float OverlayCanvas::chromeLine(const std::string& a_text, int a_size, float a_centreX,
                                float a_middleY, float a_tracking)
{
    const float capHeight = kCapRatio * static_cast<float>(a_size);
    const float top = a_middleY - 0.5f * capHeight;
    Lettering lettering(kWidth, kHeight);
    lettering.add(text(a_text, true, a_size, a_centreX, top + capHeight, a_tracking),
                  Palette::chrome(), top, capHeight);
    lettering.paint(m_image, style(a_size), 1);
    return top;
}

void OverlayCanvas::plainLine(const std::string& a_text, bool a_bold, int a_size, float a_centreX,
                              float a_baseline, const Colour& a_colour, float a_tracking)
{
    const Mask letters = text(a_text, a_bold, a_size, a_centreX, a_baseline, a_tracking);
    const Mask glow = letters.blurred(std::max(2.0f, 0.12f * static_cast<float>(a_size)));
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
        {
            Colour& pixel = m_image.at(x, y);
            pixel += a_colour * (0.45f * glow.value(x, y));
            pixel = Colour::lerp(pixel, a_colour, letters.value(x, y));
            pixel.a = 1.0f;
        }
}

void OverlayCanvas::neonLine(float a_left, float a_right, float a_y, float a_width,
                             float a_fadeLeft, float a_fadeRight, const Colour& a_colour)
{
    const Colour white = Colour::fromHex(0xffffff);
    const float core = 0.5f * a_width;
    const float halo = 3.0f * a_width;
    const auto along = [&](float a_x) {
        return Gradient::smoothstep(a_left, a_left + a_fadeLeft, a_x) *
               (1.0f - Gradient::smoothstep(a_right - a_fadeRight, a_right, a_x));
    };
    addLight(white, [&](float a_x, float a_yy) {
        const float across = (a_yy - a_y) / core;
        return along(a_x) * exp(-across * across);
    });
    addLight(a_colour, [&](float a_x, float a_yy) {
        const float across = (a_yy - a_y) / halo;
        return 0.8f * along(a_x) * exp(-across * across);
    });
}

void OverlayCanvas::stripes(float a_left, float a_top, float a_right, float a_bottom)
{
    // As on the launcher's sun: a fixed period, the gap growing from 1 to about 4 pixels in
    // every 7 of a 42-pixel-high band, here scaled to the band's height.
    const float period = std::max(8.0f, (a_bottom - a_top) / 6.0f);
    for (int y = 0; y < kHeight; ++y)
    {
        const float centre = static_cast<float>(y) + 0.5f;
        if (centre <= a_top || centre >= a_bottom)
            continue;
        const float depth = (centre - a_top) / (a_bottom - a_top);
        const float gap = period * (0.12f + 0.45f * depth);
        const float phase = fmod(centre - a_top, period);
        // Distance into the gap, anti-aliased over one pixel at both of its edges.
        const float inside = std::min(phase - (period - gap), period - phase);
        const float keep = 1.0f - std::clamp(inside + 0.5f, 0.0f, 1.0f);
        for (int x = std::max(0, static_cast<int>(a_left));
             x < std::min(kWidth, static_cast<int>(ceil(a_right))); ++x)
        {
            Colour& pixel = m_image.at(x, y);
            pixel = pixel * keep;
            pixel.a = 1.0f;
        }
    }
}

std::vector<uint8_t> OverlayCanvas::rgb() const
{
    std::vector<uint8_t> bytes;
    bytes.reserve(static_cast<size_t>(kWidth) * kHeight * 3);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
        {
            const Colour& pixel = m_image.at(x, y);
            bytes.push_back(Colour::level(pixel.r));
            bytes.push_back(Colour::level(pixel.g));
            bytes.push_back(Colour::level(pixel.b));
        }
    return bytes;
}
