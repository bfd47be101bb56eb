// A single-channel coverage picture (0..1): rendered text, and the outlines and glows made from it.
#pragma once

#include <stddef.h>
#include <vector>

class Mask
{
public:
    // a_width x a_height values, all 0.
    Mask(int a_width, int a_height);

    // Size in values.
    int width() const { return m_width; }
    int height() const { return m_height; }

    // The value in column a_x, row a_y; reads outside the mask give 0.
    float value(int a_x, int a_y) const;
    // Raises the value in column a_x, row a_y to at least a_coverage; writes outside are dropped.
    void cover(int a_x, int a_y, float a_coverage);

    // Filters: a Gaussian blur of standard deviation a_sigma (for glows), and the maximum over a
    // disc of radius a_radius (for outlines; anti-aliased edges stay anti-aliased).
    Mask blurred(float a_sigma) const;
    Mask dilated(float a_radius) const;

private:
    size_t index(int a_x, int a_y) const
    {
        return static_cast<size_t>(a_y) * static_cast<size_t>(m_width) + static_cast<size_t>(a_x);
    }

    int m_width;
    int m_height;
    std::vector<float> m_values;
};
