// Lettering in the program's chrome style: letters filled with vertical gradients, ringed by a dark outline, a cyan rim and a magenta glow.
#include "Lettering.h"

#include "Image.h"
#include "Palette.h"
#include "core/Assert.h"

Lettering::Lettering(int a_width, int a_height) : m_all(a_width, a_height) {}

void Lettering::add(const Mask& a_letters, const Gradient& a_fill, float a_top, float a_height)
{
    TARVO_ASSERT(a_letters.width() == m_all.width() && a_letters.height() == m_all.height() &&
                 a_height > 0.0f);
    for (int y = 0; y < m_all.height(); ++y)
        for (int x = 0; x < m_all.width(); ++x)
            m_all.cover(x, y, a_letters.value(x, y));
    m_layers.push_back({a_letters, a_fill, a_top, a_height});
}

void Lettering::paint(Image& a_image, const Style& a_style, int a_scale) const
{
    TARVO_ASSERT(a_image.width() == m_all.width() && a_image.height() == m_all.height() &&
                 a_scale > 0);
    const Mask rim = m_all.dilated(a_style.rim);
    const Mask outline = m_all.dilated(a_style.outline);
    const Mask glow = rim.blurred(a_style.glow);
    const Colour glowColour = Palette::glow();
    const Colour rimColour = Palette::rim();
    const Colour outlineColour = Palette::outline();
    for (int sy = 0; sy < a_image.height(); ++sy)
        for (int sx = 0; sx < a_image.width(); ++sx)
        {
            const float y = (static_cast<float>(sy) + 0.5f) / static_cast<float>(a_scale);
            Colour& pixel = a_image.at(sx, sy);
            pixel += glowColour * (a_style.glowStrength * glow.value(sx, sy));
            pixel = Colour::lerp(pixel, rimColour, rim.value(sx, sy));
            pixel = Colour::lerp(pixel, outlineColour, outline.value(sx, sy));
            for (const Layer& layer : m_layers)
                pixel = Colour::lerp(pixel, layer.fill.at((y - layer.top) / layer.height),
                                     layer.letters.value(sx, sy));
            pixel.a = 1.0f;
        }
}
