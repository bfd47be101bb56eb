// The capture device: playback moves only when stepped, by exactly one video
// frame of samples with the fractions carried over, and the samples stepped
// over are the stream's decoded PCM.
#include "platform/bass/BassFixture.h"
#include "platform/bass/Mp3TestData.h"

#include <math.h>

#include <algorithm>
#include <chrono>
#include <thread>

namespace
{

using BassCaptureTest = BassFixture;

TEST_F(BassCaptureTest, StepsCarryFractionsSoNothingDriftsOver456Beats)
{
    // Step k covers sample frames floor(k * 44100 / fps) up to floor((k + 1)
    // * 44100 / fps): after the 456 beats of a 170 BPM song, the frames
    // stepped equal the video's duration in samples, and a looping stream's
    // position agrees with them to the frame.
    MemoryFile& file = keep(Mp3TestData::encode(Mp3TestData::tone(440, 1.0, 0.5, 2), 2));
    const uint64_t length = Mp3TestData::decode(file.m_bytes).size() / 2;
    const double songSeconds = 456 * 60.0 / 170.0;
    const struct
    {
        uint32_t numerator;
        uint32_t denominator;
    } cases[] = {{60, 1}, {24, 1}, {30000, 1001}, {25, 1}, {144, 1}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.numerator << "/" << c.denominator << " fps");
        const HSTREAM stream =
            playCaptured(file, BASS_STREAM_PRESCAN | BASS_SAMPLE_LOOP, c.numerator, c.denominator);
        ASSERT_NE(stream, 0u);

        const uint64_t steps =
            static_cast<uint64_t>(ceil(songSeconds * c.numerator / c.denominator));
        const double perStep = 44100.0 * c.denominator / c.numerator;
        std::vector<int16_t> samples;
        uint64_t total = 0;
        bool everyStepWhole = true;
        for (uint64_t k = 0; k < steps; ++k)
        {
            const uint32_t frames = BassCapture::step(samples);
            everyStepWhole &= frames == static_cast<uint32_t>(floor(perStep)) ||
                              frames == static_cast<uint32_t>(ceil(perStep));
            total += frames;
        }
        EXPECT_TRUE(everyStepWhole);
        EXPECT_EQ(total, steps * 44100 * c.denominator / c.numerator);
        EXPECT_EQ(samples.size(), total * 2);
        EXPECT_EQ(BASS_ChannelGetPosition(stream, BASS_POS_BYTE), (total % length) * 4);
        BASS_Free();
    }
}

TEST_F(BassCaptureTest, SteppedSamplesAreTheDecodedPcm)
{
    // The stepped-over output is the stream's PCM as mpg123 decodes it (a
    // mono stream in both channels), then silence after its end.
    const struct
    {
        const char* name;
        int channels;
    } cases[] = {{"stereo", 2}, {"mono", 1}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        MemoryFile& file =
            keep(Mp3TestData::encode(Mp3TestData::tone(1000, 0.8, 0.7, c.channels), c.channels));
        const std::vector<int16_t> reference = Mp3TestData::decode(file.m_bytes);
        const size_t frames = reference.size() / c.channels;
        ASSERT_TRUE(BassCapture::select(30000, 1001));
        ASSERT_TRUE(BASS_Init(0, 44100, 0, nullptr, nullptr));
        const HSTREAM stream = create(file, BASS_STREAM_PRESCAN);
        ASSERT_TRUE(BASS_ChannelPlay(stream, FALSE));
        std::vector<int16_t> samples;
        while (samples.size() < (frames + 5000) * 2)
            BassCapture::step(samples);

        size_t mismatches = 0;
        for (size_t i = 0; i < frames; ++i)
            for (int side = 0; side < 2; ++side)
                mismatches += samples[i * 2 + side] !=
                              reference[i * c.channels + (c.channels == 2 ? side : 0)];
        EXPECT_EQ(mismatches, 0u);
        EXPECT_TRUE(std::all_of(samples.begin() + static_cast<ptrdiff_t>(frames * 2), samples.end(),
                                [](int16_t a_sample) { return a_sample == 0; }));
        BASS_Free();
    }
}

TEST_F(BassCaptureTest, PlaybackWaitsForTheNextStep)
{
    // On the capture device the wall clock moves nothing; only steps do.
    MemoryFile& file = keep(Mp3TestData::encode(Mp3TestData::tone(440, 1.0, 0.5, 2), 2));
    const HSTREAM stream = playCaptured(file, BASS_STREAM_PRESCAN, 50);
    ASSERT_NE(stream, 0u);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(BASS_ChannelGetPosition(stream, BASS_POS_BYTE), 0u);
    std::vector<int16_t> samples;
    EXPECT_EQ(BassCapture::step(samples), 882u);
    EXPECT_EQ(BASS_ChannelGetPosition(stream, BASS_POS_BYTE), 882u * 4);
}

TEST_F(BassCaptureTest, SelectionAndSteppingNeedTheirPreconditions)
{
    // A zero frame rate selects nothing; stepping without the capture device
    // steps nothing.
    const struct
    {
        uint32_t numerator;
        uint32_t denominator;
        bool selected;
    } cases[] = {{0, 1, false}, {60, 0, false}, {60, 1, true}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.numerator << "/" << c.denominator);
        EXPECT_EQ(BassCapture::select(c.numerator, c.denominator), c.selected);
        BassCapture::deselect();
    }
    std::vector<int16_t> samples;
    EXPECT_EQ(BassCapture::step(samples), 0u);
    ASSERT_TRUE(BASS_Init(0, 44100, 0, nullptr, nullptr));
    EXPECT_EQ(BassCapture::step(samples), 0u);
    EXPECT_TRUE(samples.empty());
}

}
