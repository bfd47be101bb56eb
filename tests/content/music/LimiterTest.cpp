// The master limiter: the ceiling holds for any input, and quiet material passes untouched.
#include "Limiter.h"
#include "StereoBuffer.h"

#include <gtest/gtest.h>

#include <math.h>

#include <string>

namespace
{

constexpr float kCeiling = 0.841f;  // -1.5 dBFS

StereoBuffer sine(float a_amplitude, double a_hertz, size_t a_frames)
{
    StereoBuffer buffer(a_frames);
    for (size_t i = 0; i < a_frames; ++i)
    {
        buffer.left()[i] =
            a_amplitude *
            static_cast<float>(sin(2.0 * M_PI * a_hertz * static_cast<double>(i) / 44100.0));
        buffer.right()[i] = 0.5f * buffer.left()[i];
    }
    return buffer;
}

}

// Whatever comes in, nothing leaves above the ceiling: steady overload, lone
// spikes (one on the very first frame, before any look-ahead could start), and
// a spike on one channel only.
TEST(LimiterTest, NoSampleExceedsTheCeiling)
{
    struct Case
    {
        const char* name;
        StereoBuffer input;
    };
    StereoBuffer spikes = sine(0.3f, 220.0, 44100);
    for (size_t i = 0; i < spikes.frames(); i += 4410)
        spikes.left()[i] = (i / 4410) % 2 == 0 ? 3.0f : -3.0f;
    StereoBuffer rightOnly(1000);
    rightOnly.right()[500] = 1.5f;
    Case cases[] = {
        {"sine 6 dB over full scale", sine(2.0f, 1000.0, 44100)},
        {"sine 20 dB over the ceiling", sine(8.41f, 60.0, 44100)},
        {"spikes over a quiet sine", spikes},
        {"spike on the right channel", rightOnly},
    };
    for (Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Limiter(kCeiling, 0.004f, 0.1f).process(c.input);
        EXPECT_LE(c.input.peak(), kCeiling);
        EXPECT_GT(c.input.peak(), 0.9f * kCeiling) << "the limiter turns down, not off";
    }
}

// A steady overload is turned down by a smooth gain, not clipped: once settled,
// every sample of a +6 dBFS sine is the input scaled by the same gain, which
// brings its crest to the ceiling.
TEST(LimiterTest, TurnsASteadyOverloadDownWithoutClipping)
{
    const StereoBuffer input = sine(2.0f, 1000.0, 44100);
    StereoBuffer output = input;
    Limiter(kCeiling, 0.004f, 0.1f).process(output);
    for (size_t i = 22050; i < input.frames(); ++i)
    {
        if (fabsf(input.left()[i]) < 0.1f)
            continue;
        ASSERT_NEAR(output.left()[i] / input.left()[i], kCeiling / 2.0f, 0.002f) << "frame " << i;
    }
}

// Material whose peaks stay at or below the ceiling comes out bit for bit.
TEST(LimiterTest, LeavesQuietMaterialUnchanged)
{
    const float amplitudes[] = {0.1f, 0.5f, kCeiling};
    for (float amplitude : amplitudes)
    {
        SCOPED_TRACE("amplitude " + std::to_string(amplitude));
        const StereoBuffer input = sine(amplitude, 440.0, 10000);
        StereoBuffer output = input;
        Limiter(kCeiling, 0.004f, 0.1f).process(output);
        for (size_t i = 0; i < input.frames(); ++i)
        {
            ASSERT_EQ(output.left()[i], input.left()[i]) << "frame " << i;
            ASSERT_EQ(output.right()[i], input.right()[i]) << "frame " << i;
        }
    }
}
