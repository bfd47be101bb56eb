// Float pictures for the texture recipes.
#include "Picture.h"

#include <algorithm>

Picture::Picture(int32_t a_width, int32_t a_height)
    : m_width(a_width), m_height(a_height),
      m_pixels(size_t(a_width) * size_t(a_height), Rgb{0, 0, 0})
{
}

Rgb& Picture::at(int32_t a_x, int32_t a_y)
{
    const int32_t x = ((a_x % m_width) + m_width) % m_width;
    const int32_t y = ((a_y % m_height) + m_height) % m_height;
    return m_pixels[size_t(y) * size_t(m_width) + size_t(x)];
}

const Rgb& Picture::at(int32_t a_x, int32_t a_y) const
{
    return const_cast<Picture*>(this)->at(a_x, a_y);
}

void Picture::fill(const Rgb& a_colour)
{
    std::fill(m_pixels.begin(), m_pixels.end(), a_colour);
}

std::vector<uint8_t> Picture::bytes() const
{
    std::vector<uint8_t> result;
    result.reserve(m_pixels.size() * 3);
    auto level = [](float a_value) {
        return uint8_t(std::clamp(a_value, 0.0f, 1.0f) * 255.0f + 0.5f);
    };
    for (const Rgb& pixel : m_pixels)
    {
        result.push_back(level(pixel.r));
        result.push_back(level(pixel.g));
        result.push_back(level(pixel.b));
    }
    return result;
}

float smoothStep(float a_low, float a_high, float a_value)
{
    const float t = std::clamp((a_value - a_low) / (a_high - a_low), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}
