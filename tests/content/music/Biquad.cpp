// Second-order filters with the coefficients of R. Bristow-Johnson's "Audio EQ Cookbook", for splitting the song into bands.
#include "Biquad.h"

#include <math.h>

namespace
{

constexpr double kQ = 0.70710678118654752;

}

Biquad::Biquad(double a_b0, double a_b1, double a_b2, double a_a0, double a_a1, double a_a2)
    : m_b0(a_b0 / a_a0), m_b1(a_b1 / a_a0), m_b2(a_b2 / a_a0), m_a1(a_a1 / a_a0), m_a2(a_a2 / a_a0)
{
}

Biquad Biquad::lowPass(double a_hertz, double a_rate)
{
    const double w0 = 2.0 * M_PI * a_hertz / a_rate;
    const double alpha = sin(w0) / (2.0 * kQ);
    const double c = cos(w0);
    return Biquad((1.0 - c) / 2.0, 1.0 - c, (1.0 - c) / 2.0, 1.0 + alpha, -2.0 * c, 1.0 - alpha);
}

Biquad Biquad::highPass(double a_hertz, double a_rate)
{
    const double w0 = 2.0 * M_PI * a_hertz / a_rate;
    const double alpha = sin(w0) / (2.0 * kQ);
    const double c = cos(w0);
    return Biquad((1.0 + c) / 2.0, -(1.0 + c), (1.0 + c) / 2.0, 1.0 + alpha, -2.0 * c, 1.0 - alpha);
}

void Biquad::process(std::vector<float>& a_signal) const
{
    // Direct form I.
    double x1 = 0.0, x2 = 0.0, y1 = 0.0, y2 = 0.0;
    for (float& sample : a_signal)
    {
        const double x = sample;
        const double y = m_b0 * x + m_b1 * x1 + m_b2 * x2 - m_a1 * y1 - m_a2 * y2;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        sample = static_cast<float>(y);
    }
}

std::vector<float> Biquad::band(const std::vector<float>& a_signal, double a_low, double a_high,
                                double a_rate)
{
    std::vector<float> result = a_signal;
    if (a_low > 0.0)
    {
        highPass(a_low, a_rate).process(result);
        highPass(a_low, a_rate).process(result);
    }
    if (a_high > 0.0)
    {
        lowPass(a_high, a_rate).process(result);
        lowPass(a_high, a_rate).process(result);
    }
    return result;
}
