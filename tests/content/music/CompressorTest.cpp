// The compressor's static curve and its detector's high-pass.
#include "Compressor.h"
#include "StereoBuffer.h"

#include <gtest/gtest.h>

#include <math.h>

#include <string>

namespace
{

// A square wave of a_level dBFS: its magnitude is the same on every sample, so a
// peak detector reads the level exactly.
StereoBuffer square(double a_level, size_t a_frames)
{
    StereoBuffer buffer(a_frames);
    const float amplitude = static_cast<float>(pow(10.0, a_level / 20.0));
    for (size_t i = 0; i < a_frames; ++i)
    {
        const float value = (i / 50) % 2 == 0 ? amplitude : -amplitude;
        buffer.left()[i] = value;
        buffer.right()[i] = value;
    }
    return buffer;
}

double levelAtEnd(const StereoBuffer& a_buffer)
{
    return 20.0 * log10(fabs(a_buffer.left()[a_buffer.frames() - 1]));
}

}

// Once settled, the output level follows the textbook curve: unchanged up to the
// threshold, then 1/ratio dB per dB above it, plus the make-up gain.
TEST(CompressorTest, SettlesOnTheStaticCurve)
{
    struct Case
    {
        float threshold;
        float ratio;
        float makeup;
        double input;
        double expected;  // threshold + (input - threshold) / ratio + makeup above threshold
    };
    const Case cases[] = {
        {-20.0f, 2.0f, 0.0f, -30.0, -30.0},  // below the threshold: untouched
        {-20.0f, 2.0f, 0.0f, -20.0, -20.0},  // at the threshold
        {-20.0f, 2.0f, 0.0f, -8.0, -14.0},  {-20.0f, 4.0f, 0.0f, -4.0, -16.0},
        {-12.0f, 1.0f, 0.0f, -3.0, -3.0},  // ratio 1: no compression at all
        {-20.0f, 2.0f, 3.0f, -8.0, -11.0},  {-20.0f, 2.0f, 3.0f, -26.0, -23.0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE("threshold " + std::to_string(c.threshold) + " ratio " +
                     std::to_string(c.ratio) + " makeup " + std::to_string(c.makeup) + " input " +
                     std::to_string(c.input));
        StereoBuffer buffer = square(c.input, 44100);
        Compressor(c.threshold, c.ratio, 0.005f, 0.05f, c.makeup).process(buffer);
        EXPECT_NEAR(levelAtEnd(buffer), c.expected, 0.01);
    }
}

// With a high-pass in the detector a loud sub bass passes untouched, while the
// same compressor without it turns the bass down.
TEST(CompressorTest, DetectorHighPassIgnoresTheSubBass)
{
    auto bass = [] {
        StereoBuffer buffer(44100);
        for (size_t i = 0; i < buffer.frames(); ++i)
            buffer.left()[i] = buffer.right()[i] =
                0.5f *
                static_cast<float>(sin(2.0 * M_PI * 40.0 * static_cast<double>(i) / 44100.0));
        return buffer;
    };
    StereoBuffer filtered = bass();
    Compressor(-20.0f, 2.0f, 0.005f, 0.05f, 0.0f, 150.0f).process(filtered);
    StereoBuffer plain = bass();
    Compressor(-20.0f, 2.0f, 0.005f, 0.05f, 0.0f).process(plain);

    // The second half, after the detector has settled.
    float filteredPeak = 0.0f;
    float plainPeak = 0.0f;
    for (size_t i = 22050; i < 44100; ++i)
    {
        filteredPeak = fmaxf(filteredPeak, fabsf(filtered.left()[i]));
        plainPeak = fmaxf(plainPeak, fabsf(plain.left()[i]));
    }
    EXPECT_NEAR(filteredPeak, 0.5f, 0.005f);
    EXPECT_LT(plainPeak, 0.5f * 0.6f);  // 14 dB over at ratio 2: about 7 dB down
}
