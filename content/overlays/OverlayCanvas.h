// A 1280 x 720 overlay being painted: black, with chrome lettering and lines of light added on it.
#pragma once

#include "Colour.h"
#include "Image.h"
#include "Lettering.h"
#include "Mask.h"

#include "core/LauncherSettings.h"

#include <stdint.h>
#include <string>
#include <vector>

class FontRenderer;

class OverlayCanvas
{
public:
    // The overlays are stretched over the whole frame, so they share its default size.
    static constexpr int kWidth = kFrameWidth;
    static constexpr int kHeight = kFrameHeight;
    // DejaVu's capitals stand 0.73 em above the baseline.
    static constexpr float kCapRatio = 0.73f;

    // A black canvas; text is set in a_bold (headings) and a_regular (running text), both open.
    OverlayCanvas(const FontRenderer& a_bold, const FontRenderer& a_regular);

    // Lettering sizes for a_size pixels per em: rim and outline grow with the letters.
    static Lettering::Style style(int a_size);

    // A mask of a_text centred on a_centreX with its baseline at a_baseline, in the bold or the
    // regular face, with a_tracking pixels between letters.
    Mask text(const std::string& a_text, bool a_bold, int a_size, float a_centreX, float a_baseline,
              float a_tracking = 0.0f) const;
    // The largest size, at most a_maxSize, at which a_text in bold is at most a_maxWidth wide.
    int fit(const std::string& a_text, int a_maxSize, float a_maxWidth,
            float a_tracking = 0.0f) const;
    float measure(const std::string& a_text, bool a_bold, int a_size,
                  float a_tracking = 0.0f) const;

    // Chrome lettering: a_text in bold centred on a_centreX, its capitals centred on a_middleY.
    // Returns the capitals' top.
    float chromeLine(const std::string& a_text, int a_size, float a_centreX, float a_middleY,
                     float a_tracking = 0.0f);
    // Flat lettering in a_colour with a faint glow of itself, for text read over a picture.
    void plainLine(const std::string& a_text, bool a_bold, int a_size, float a_centreX,
                   float a_baseline, const Colour& a_colour, float a_tracking = 0.0f);

    // Light added over the canvas: a_colour times a_intensity(x, y) at each pixel centre.
    template <typename Intensity>
    void addLight(const Colour& a_colour, Intensity a_intensity)
    {
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
            {
                const float value =
                    a_intensity(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f);
                if (value > 0.0f)
                    m_image.at(x, y) += a_colour * value;
            }
    }
    // A horizontal line of light from a_left to a_right at a_y: a white-hot core a_width wide
    // in a_colour's halo, its ends fading out over a_fadeLeft and a_fadeRight pixels.
    void neonLine(float a_left, float a_right, float a_y, float a_width, float a_fadeLeft,
                  float a_fadeRight, const Colour& a_colour);

    // The bands of a striped sun: between a_top and a_bottom, and from a_left to a_right, dark
    // gaps cut across everything painted so far, thin at a_top and widening towards a_bottom.
    void stripes(float a_left, float a_top, float a_right, float a_bottom);

    // The picture, 3 bytes a pixel, top row first, each channel clamped to 0..255.
    std::vector<uint8_t> rgb() const;
    Image& image() { return m_image; }
    const Image& image() const { return m_image; }

private:
    const FontRenderer& m_bold;
    const FontRenderer& m_regular;
    Image m_image;
};
