// A single-channel coverage picture (0..1): rendered text, and the outlines and glows made from it.
#include "Mask.h"

#include "core/Assert.h"

#include <algorithm>
#include <math.h>

Mask::Mask(int a_width, int a_height) : m_width(a_width), m_height(a_height)
{
    TARVO_ASSERT(a_width > 0 && a_height > 0);
    m_values.resize(static_cast<size_t>(a_width) * static_cast<size_t>(a_height), 0.0f);
}

float Mask::value(int a_x, int a_y) const
{
    if (a_x < 0 || a_x >= m_width || a_y < 0 || a_y >= m_height)
        return 0.0f;
    return m_values[index(a_x, a_y)];
}

void Mask::cover(int a_x, int a_y, float a_coverage)
{
    if (a_x < 0 || a_x >= m_width || a_y < 0 || a_y >= m_height)
        return;
    float& value = m_values[index(a_x, a_y)];
    value = std::max(value, a_coverage);
}

Mask Mask::blurred(float a_sigma) const
{
    TARVO_ASSERT(a_sigma > 0.0f);
    const int radius = static_cast<int>(ceil(3.0f * a_sigma));
    std::vector<float> kernel(static_cast<size_t>(2 * radius + 1));
    float total = 0.0f;
    for (int i = -radius; i <= radius; ++i)
    {
        const float weight = exp(-static_cast<float>(i * i) / (2.0f * a_sigma * a_sigma));
        kernel[static_cast<size_t>(i + radius)] = weight;
        total += weight;
    }
    for (float& weight : kernel)
        weight /= total;

    // Separable: rows into a scratch mask, then its columns into the result.
    Mask rows(m_width, m_height);
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x)
        {
            float sum = 0.0f;
            for (int i = -radius; i <= radius; ++i)
                sum += kernel[static_cast<size_t>(i + radius)] * value(x + i, y);
            rows.cover(x, y, sum);
        }
    Mask result(m_width, m_height);
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x)
        {
            float sum = 0.0f;
            for (int i = -radius; i <= radius; ++i)
                sum += kernel[static_cast<size_t>(i + radius)] * rows.value(x, y + i);
            result.cover(x, y, sum);
        }
    return result;
}

Mask Mask::dilated(float a_radius) const
{
    TARVO_ASSERT(a_radius > 0.0f);
    const int reach = static_cast<int>(floor(a_radius));
    std::vector<int> halfWidths;  // of the disc, per row offset -reach..reach
    for (int dy = -reach; dy <= reach; ++dy)
        halfWidths.push_back(
            static_cast<int>(floor(sqrt(a_radius * a_radius - static_cast<float>(dy * dy)))));

    Mask result(m_width, m_height);
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x)
        {
            float best = 0.0f;
            for (int dy = -reach; dy <= reach && best < 1.0f; ++dy)
            {
                const int halfWidth = halfWidths[static_cast<size_t>(dy + reach)];
                for (int dx = -halfWidth; dx <= halfWidth; ++dx)
                    best = std::max(best, value(x + dx, y + dy));
            }
            result.cover(x, y, best);
        }
    return result;
}
