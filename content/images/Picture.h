// An RGB picture in floats (0 to 1) that the texture recipes paint into,
// turned into the bytes the JPEG writer takes.
#pragma once

#include <stdint.h>

#include <vector>

struct Rgb
{
    float r, g, b;
};

class Picture
{
public:
    Picture(int32_t a_width, int32_t a_height);

    int32_t width() const { return m_width; }
    int32_t height() const { return m_height; }
    // Coordinates wrap, so recipes can paint across the edges of tiles.
    Rgb& at(int32_t a_x, int32_t a_y);
    const Rgb& at(int32_t a_x, int32_t a_y) const;
    void fill(const Rgb& a_colour);

    // Three bytes a pixel, top row first, each channel clamped to 0..1.
    std::vector<uint8_t> bytes() const;

private:
    int32_t m_width;
    int32_t m_height;
    std::vector<Rgb> m_pixels;
};

inline Rgb grey(float a_level)
{
    return Rgb{a_level, a_level, a_level};
}

inline Rgb scaled(const Rgb& a_colour, float a_factor)
{
    return Rgb{a_colour.r * a_factor, a_colour.g * a_factor, a_colour.b * a_factor};
}

inline Rgb mixed(const Rgb& a_from, const Rgb& a_to, float a_amount)
{
    return Rgb{a_from.r + (a_to.r - a_from.r) * a_amount, a_from.g + (a_to.g - a_from.g) * a_amount,
               a_from.b + (a_to.b - a_from.b) * a_amount};
}

// 0 below a_low, 1 above a_high, smooth in between.
float smoothStep(float a_low, float a_high, float a_value);
