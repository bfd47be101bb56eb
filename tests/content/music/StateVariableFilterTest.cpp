// The state-variable filter against its analog prototype.
#include "StateVariableFilter.h"
#include "Tempo.h"

#include <gtest/gtest.h>

#include <math.h>

#include <string>

namespace
{

enum class Output
{
    Low,
    Band,
    High,
};

// The steady-state gain (dB) of one output for a sine of a_hertz.
double measuredGain(StateVariableFilter a_filter, Output a_output, double a_hertz)
{
    const int settle = Tempo::kSampleRate / 2;
    const int measure = Tempo::kSampleRate / 2;
    double sum = 0.0;
    for (int i = 0; i < settle + measure; ++i)
    {
        const double phase = 2.0 * M_PI * a_hertz * i / Tempo::kSampleRate;
        const StateVariableFilter::Output out = a_filter.process(static_cast<float>(sin(phase)));
        const float value = a_output == Output::Low    ? out.low
                            : a_output == Output::Band ? out.band
                                                       : out.high;
        if (i >= settle)
            sum += static_cast<double>(value) * value;
    }
    return 10.0 * log10(2.0 * sum / measure);
}

// The analog second-order sections s^0, s, s^2 over s^2 + s/Q + 1 at the frequency
// the bilinear transform maps a_hertz to, when prewarped at the cutoff.
double prototypeGain(Output a_output, double a_cutoff, double a_q, double a_hertz)
{
    const double w =
        tan(M_PI * a_hertz / Tempo::kSampleRate) / tan(M_PI * a_cutoff / Tempo::kSampleRate);
    const double denominator = sqrt((1.0 - w * w) * (1.0 - w * w) + (w / a_q) * (w / a_q));
    const double numerator = a_output == Output::Low ? 1.0 : a_output == Output::Band ? w : w * w;
    return 20.0 * log10(numerator / denominator);
}

}

// Each output follows the analog prototype: Butterworth low- and high-pass are
// 3.01 dB down at the cutoff, the band-pass peaks at Q there, and far from the
// cutoff the slopes are 12 dB per octave.
TEST(StateVariableFilterTest, OutputsFollowTheAnalogPrototype)
{
    struct Case
    {
        Output output;
        float cutoff;
        float q;
        double hertz;
        double expected;  // dB, from the prototype at the prewarped cutoff
    };
    const Case cases[] = {
        // At the cutoff.
        {Output::Low, 1000.0f, 0.7071f, 1000.0, -3.0103},
        {Output::High, 1000.0f, 0.7071f, 1000.0, -3.0103},
        {Output::Band, 5000.0f, 2.0f, 5000.0, 6.0206},
        {Output::Band, 5000.0f, 0.5f, 5000.0, -6.0206},
        // Pass band and stop band.
        {Output::Low, 1000.0f, 0.7071f, 100.0, prototypeGain(Output::Low, 1000.0, 0.7071, 100.0)},
        {Output::Low, 1000.0f, 0.7071f, 8000.0, prototypeGain(Output::Low, 1000.0, 0.7071, 8000.0)},
        {Output::High, 9000.0f, 0.7071f, 2250.0,
         prototypeGain(Output::High, 9000.0, 0.7071, 2250.0)},
        {Output::Band, 300.0f, 2.5f, 1200.0, prototypeGain(Output::Band, 300.0, 2.5, 1200.0)},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE("cutoff " + std::to_string(c.cutoff) + " Q " + std::to_string(c.q) + " at " +
                     std::to_string(c.hertz) + " Hz, output " +
                     std::to_string(static_cast<int>(c.output)));
        EXPECT_NEAR(measuredGain(StateVariableFilter(c.cutoff, c.q), c.output, c.hertz), c.expected,
                    0.05);
    }
}

// Far below its cutoff a Butterworth low-pass loses no level, and two octaves
// above it the high-pass is down by about 24 dB: the slopes are second order.
TEST(StateVariableFilterTest, SlopesAreTwelveDecibelsPerOctave)
{
    EXPECT_NEAR(measuredGain(StateVariableFilter(4000.0f, 0.7071f), Output::Low, 100.0), 0.0, 0.01);
    EXPECT_NEAR(measuredGain(StateVariableFilter(400.0f, 0.7071f), Output::High, 100.0), -24.1,
                0.2);
}
