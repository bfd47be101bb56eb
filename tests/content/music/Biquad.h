// Second-order filters with the coefficients of R. Bristow-Johnson's "Audio EQ Cookbook", for splitting the song into bands.
#pragma once

#include <vector>

class Biquad
{
public:
    // Butterworth-like sections (Q 0.7071) at a_hertz for a signal sampled at a_rate.
    static Biquad lowPass(double a_hertz, double a_rate);
    static Biquad highPass(double a_hertz, double a_rate);

    // Filters a whole signal, in place, from a cleared state.
    void process(std::vector<float>& a_signal) const;

    // The band between a_low and a_high Hz: two high-pass and two low-pass sections.
    static std::vector<float> band(const std::vector<float>& a_signal, double a_low, double a_high,
                                   double a_rate);

private:
    Biquad(double a_b0, double a_b1, double a_b2, double a_a0, double a_a1, double a_a2);

    double m_b0;
    double m_b1;
    double m_b2;
    double m_a1;
    double m_a2;
};
