// The resampler: output frame d sounds the input at d * input rate / output
// rate, and hours of input give exactly their length at the output's rate.
#include "Resampler.h"

#include <gtest/gtest.h>

#include <stdlib.h>

#include <vector>

namespace
{

const struct
{
    uint32_t input;
    uint32_t output;
} kRates[] = {{8000, 44100},  {11025, 44100}, {22050, 44100}, {32000, 44100},
              {48000, 44100}, {44100, 48000}, {12000, 48000}};

// Converts a_input (mono) in chunks of a_chunk frames, asking a_space output
// frames at a time, as an output device would; returns the left channel.
std::vector<int16_t> convert(Resampler& a_resampler, const std::vector<int16_t>& a_input,
                             size_t a_chunk, size_t a_space)
{
    std::vector<int16_t> left;
    std::vector<int16_t> buffer(a_space * 2);
    size_t fed = 0;
    for (;;)
    {
        size_t got = a_resampler.convert(nullptr, 0, buffer.data(), a_space);
        if (got == 0 && fed < a_input.size())
        {
            const size_t chunk = std::min(a_chunk, a_input.size() - fed);
            got = a_resampler.convert(&a_input[fed], chunk, buffer.data(), a_space);
            fed += chunk;
        }
        else if (got == 0)
            return left;
        for (size_t i = 0; i < got; ++i)
            left.push_back(buffer[2 * i]);
    }
}

TEST(ResamplerTest, AnImpulseLandsWhereItsInputTimeFallsAtTheOutputRate)
{
    // A click at input frame 1000 is loudest at output frame 1000 * output /
    // input, give or take the one frame between.
    for (const auto& rates : kRates)
    {
        SCOPED_TRACE(testing::Message() << rates.input << " Hz to " << rates.output << " Hz");
        Resampler resampler;
        ASSERT_TRUE(resampler.open(rates.input, 1, rates.output));
        std::vector<int16_t> input(rates.input / 2, 0);
        input[1000] = 30000;
        const std::vector<int16_t> output = convert(resampler, input, 64, 1024);
        size_t loudest = 0;
        for (size_t i = 0; i < output.size(); ++i)
            if (abs(output[i]) > abs(output[loudest]))
                loudest = i;
        const double expected = 1000.0 * rates.output / rates.input;
        EXPECT_NEAR(static_cast<double>(loudest), expected, 1.0);
    }
}

TEST(ResamplerTest, AnHourOfInputGivesAnHourOfOutputToTheFilterLength)
{
    // No fraction of a frame is lost per chunk: after an hour at 8 kHz in odd
    // chunk sizes, the output held back is only the filter's few frames.
    Resampler resampler;
    ASSERT_TRUE(resampler.open(8000, 1, 44100));
    const std::vector<int16_t> chunk(61, 1000);
    std::vector<int16_t> buffer(1024 * 2);
    uint64_t output = 0;
    for (uint64_t fed = 0; fed < 8000ull * 3600; fed += chunk.size())
    {
        output += resampler.convert(chunk.data(), chunk.size(), buffer.data(), 1024);
        while (size_t got = resampler.convert(nullptr, 0, buffer.data(), 1024))
            output += got;
    }
    const uint64_t expected = 44100ull * 3600 + 44100ull * 61 / 8000;
    EXPECT_LE(output, expected);
    EXPECT_GE(output, expected - 200);
}

TEST(ResamplerTest, StereoKeepsItsSidesAndMonoPlaysOnBothAtFullLevel)
{
    // Channels map one to one, and a mono channel is copied to both sides
    // unattenuated.
    for (const uint32_t channels : {1u, 2u})
    {
        SCOPED_TRACE(testing::Message() << channels << " channels");
        Resampler resampler;
        ASSERT_TRUE(resampler.open(22050, channels, 44100));
        std::vector<int16_t> input(4096 * channels);
        for (size_t i = 0; i < 4096; ++i)
        {
            input[i * channels] = 20000;
            input[i * channels + channels - 1] = channels == 2 ? -10000 : 20000;
        }
        std::vector<int16_t> output(4096 * 2);
        const size_t got = resampler.convert(input.data(), 4096, output.data(), 4096);
        ASSERT_GT(got, 4000u);
        EXPECT_NEAR(output[2 * 4000], 20000, 2);
        EXPECT_NEAR(output[2 * 4000 + 1], channels == 2 ? -10000 : 20000, 2);
    }
}

TEST(ResamplerTest, RefusesWhatItCannotConvert)
{
    // Rates of 0 and channel counts other than 1 and 2 are refused.
    const struct
    {
        uint32_t input;
        uint32_t channels;
        uint32_t output;
    } cases[] = {{0, 2, 44100}, {44100, 2, 0}, {44100, 0, 44100}, {44100, 3, 44100}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message()
                     << c.input << " Hz, " << c.channels << " channels, to " << c.output << " Hz");
        Resampler resampler;
        EXPECT_FALSE(resampler.open(c.input, c.channels, c.output));
    }
}

}
