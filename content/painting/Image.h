// A floating-point RGBA picture (premultiplied alpha), painted at a multiple of its final size and averaged down.
#pragma once

#include "Colour.h"

#include <stddef.h>
#include <vector>

class Image
{
public:
    // a_width x a_height pixels, all transparent black.
    Image(int a_width, int a_height);

    // Size in pixels.
    int width() const { return m_width; }
    int height() const { return m_height; }

    // The pixel in column a_x, row a_y (row 0 at the top).
    Colour& at(int a_x, int a_y);
    const Colour& at(int a_x, int a_y) const;

    // Each a_factor x a_factor block averaged into one pixel: the box filter that turns a
    // supersampled painting into an anti-aliased one. Both sizes must divide by a_factor.
    Image downsampled(int a_factor) const;

private:
    size_t index(int a_x, int a_y) const
    {
        return static_cast<size_t>(a_y) * static_cast<size_t>(m_width) + static_cast<size_t>(a_x);
    }

    int m_width;
    int m_height;
    std::vector<Colour> m_pixels;
};
