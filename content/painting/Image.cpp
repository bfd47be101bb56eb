// A floating-point RGBA picture (premultiplied alpha), painted at a multiple of its final size and averaged down.
#include "Image.h"

#include "core/Assert.h"

#include <stddef.h>

Image::Image(int a_width, int a_height) : m_width(a_width), m_height(a_height)
{
    TARVO_ASSERT(a_width > 0 && a_height > 0);
    m_pixels.resize(static_cast<size_t>(a_width) * static_cast<size_t>(a_height));
}

Colour& Image::at(int a_x, int a_y)
{
    TARVO_ASSERT(a_x >= 0 && a_x < m_width && a_y >= 0 && a_y < m_height);
    return m_pixels[index(a_x, a_y)];
}

const Colour& Image::at(int a_x, int a_y) const
{
    TARVO_ASSERT(a_x >= 0 && a_x < m_width && a_y >= 0 && a_y < m_height);
    return m_pixels[index(a_x, a_y)];
}

Image Image::downsampled(int a_factor) const
{
    TARVO_ASSERT(a_factor > 0 && m_width % a_factor == 0 && m_height % a_factor == 0);
    Image result(m_width / a_factor, m_height / a_factor);
    const float weight = 1.0f / static_cast<float>(a_factor * a_factor);
    for (int y = 0; y < result.m_height; ++y)
        for (int x = 0; x < result.m_width; ++x)
        {
            Colour sum;
            for (int sy = 0; sy < a_factor; ++sy)
                for (int sx = 0; sx < a_factor; ++sx)
                    sum += at(x * a_factor + sx, y * a_factor + sy);
            result.at(x, y) = sum * weight;
        }
    return result;
}
