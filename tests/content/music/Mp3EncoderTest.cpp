// The MP3 writer: what a gapless decoder gets back from the files it writes.
#include "DecodedSong.h"

#include "Mp3Encoder.h"
#include "StereoBuffer.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <math.h>

#include <algorithm>
#include <string>

namespace
{

// A 1 kHz tone on the left and 1.5 kHz on the right, with a 10 ms fade at both ends.
StereoBuffer tones(size_t a_frames, float a_amplitude)
{
    StereoBuffer buffer(a_frames);
    for (size_t i = 0; i < a_frames; ++i)
    {
        const double t = static_cast<double>(i) / 44100.0;
        const double edge =
            std::min(1.0, std::min(t, static_cast<double>(a_frames - i) / 44100.0) / 0.01);
        buffer.left()[i] = static_cast<float>(a_amplitude * edge * sin(2.0 * M_PI * 1000.0 * t));
        buffer.right()[i] = static_cast<float>(a_amplitude * edge * sin(2.0 * M_PI * 1500.0 * t));
    }
    return buffer;
}

}

// The Info frame records LAME's delay and padding, so a gapless decoder returns
// exactly the frames that were encoded, in time with the original: a soundtrack
// that drives a clock must not start late by the encoder's delay.
TEST(Mp3EncoderTest, GaplessDecodingReturnsTheOriginalFramesInTime)
{
    const size_t lengths[] = {44100, 44100 + 1153, 3 * 1152};
    for (size_t frames : lengths)
    {
        SCOPED_TRACE(std::to_string(frames) + " frames");
        TemporaryFolder folder;
        const StereoBuffer original = tones(frames, 0.5f);
        std::string error;
        ASSERT_TRUE(Mp3Encoder::write(original, 224, folder.file("tone.mp3"), error)) << error;

        DecodedSong decoded;
        ASSERT_TRUE(decoded.load(folder.file("tone.mp3"), error)) << error;
        EXPECT_EQ(decoded.sampleRate(), 44100);
        EXPECT_EQ(decoded.channels(), 2);
        ASSERT_EQ(decoded.frames(), frames);

        // Lag of best match between original and decoded left channel, within 5 ms.
        long bestLag = 0;
        double best = -1.0e30;
        for (long lag = -220; lag <= 220; ++lag)
        {
            double sum = 0.0;
            for (size_t i = 300; i + 300 < frames; ++i)
                sum += static_cast<double>(original.left()[i]) *
                       decoded.left()[static_cast<size_t>(static_cast<long>(i) + lag)];
            if (sum > best)
            {
                best = sum;
                bestLag = lag;
            }
        }
        EXPECT_EQ(bestLag, 0);

        // At 224 kbit/s the tones come back within a fraction of a dB, each on its side.
        double left = 0.0;
        double right = 0.0;
        for (size_t i = 0; i < frames; ++i)
        {
            left += static_cast<double>(original.left()[i] - decoded.left()[i]) *
                    (original.left()[i] - decoded.left()[i]);
            right += static_cast<double>(original.right()[i] - decoded.right()[i]) *
                     (original.right()[i] - decoded.right()[i]);
        }
        const double signal = 0.125 * static_cast<double>(frames);  // mean square of a 0.5 sine
        EXPECT_LT(10.0 * log10(left / signal), -30.0);
        EXPECT_LT(10.0 * log10(right / signal), -30.0);
    }
}

// An output that cannot be created is reported, not crashed on.
TEST(Mp3EncoderTest, ReportsAFileThatCannotBeCreated)
{
    TemporaryFolder folder;
    std::string error;
    EXPECT_FALSE(Mp3Encoder::write(tones(4410, 0.5f), 224, folder.file("missing/tone.mp3"), error));
    EXPECT_NE(error.find("missing/tone.mp3"), std::string::npos) << error;
}
