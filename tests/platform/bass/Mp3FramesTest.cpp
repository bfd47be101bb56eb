// Mp3Frames: the frame walk behind the Windows decoder finds exactly the
// audio frames of an MP3 in memory, whatever surrounds them.
//
// Untested: free-format streams (refused), MPEG 2.5 files from other encoders.
#include "Mp3Frames.h"

#include "platform/bass/Mp3TestData.h"

#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

namespace
{

// LAME writes an Info frame first; mpg123's gapless length lies between the
// audio frames' samples less one frame (the encoder's delay and padding
// together stay below 2 * 1152) and all of them.
void expectLengthFits(const Mp3Frames& a_frames, size_t a_samples)
{
    const size_t total = a_frames.frames().size() * a_frames.samplesPerFrame();
    EXPECT_GE(total, a_samples);
    EXPECT_LT(total, a_samples + 2 * a_frames.samplesPerFrame());
}

std::vector<uint8_t> bytes(const std::string& a_text)
{
    return std::vector<uint8_t>(a_text.begin(), a_text.end());
}

std::vector<uint8_t> joined(std::vector<uint8_t> a_first, const std::vector<uint8_t>& a_second)
{
    a_first.insert(a_first.end(), a_second.begin(), a_second.end());
    return a_first;
}

}

// The frames of a LAME file lie back to back to its end, the Info frame left
// out, and their samples are the decoded length within the encoder's margin.
TEST(Mp3Frames, FindsEveryAudioFrameOfAnEncodedFile)
{
    for (int channels : {1, 2})
    {
        SCOPED_TRACE(channels);
        const std::vector<int16_t> pcm = Mp3TestData::tone(440.0, 1.0, 0.5, channels);
        const std::vector<uint8_t> mp3 = Mp3TestData::encode(pcm, channels);
        const size_t decoded = Mp3TestData::decode(mp3).size() / size_t(channels);
        Mp3Frames frames;
        ASSERT_TRUE(frames.scan(mp3.data(), mp3.size()));
        EXPECT_EQ(frames.rate(), uint32_t(Mp3TestData::kRate));
        EXPECT_EQ(frames.channels(), uint32_t(channels));
        EXPECT_EQ(frames.samplesPerFrame(), 1152u);
        expectLengthFits(frames, decoded);
        const Mp3Frames::Frame& last = frames.frames().back();
        EXPECT_EQ(last.offset + last.size, mp3.size());
        EXPECT_GT(frames.frames().front().offset, 0u);  // after the Info frame
        for (size_t i = 1; i < frames.frames().size(); ++i)
            ASSERT_EQ(frames.frames()[i].offset,
                      frames.frames()[i - 1].offset + frames.frames()[i - 1].size);
    }
}

// What surrounds the frames changes neither their count nor the format; a
// frame cut short at the end is left out, and a file without frames is refused.
TEST(Mp3Frames, SkipsTagsAndDamageAroundTheFrames)
{
    const std::vector<uint8_t> mp3 = Mp3TestData::encode(Mp3TestData::tone(300.0, 0.5, 0.5, 2), 2);
    Mp3Frames plain;
    ASSERT_TRUE(plain.scan(mp3.data(), mp3.size()));
    const size_t count = plain.frames().size();

    // An ID3v2 tag of 20 bytes: header, size 10 in 7-bit bytes, ten bytes of
    // which one looks like a frame sync.
    const std::vector<uint8_t> id3 = {'I',  'D',  '3',  4,    0, 0, 0, 0, 0, 10,
                                      0xFF, 0xFB, 0x90, 0x00, 0, 0, 0, 0, 0, 0};
    std::vector<uint8_t> cut(mp3.begin(), mp3.end() - 10);

    const struct
    {
        const char* name;
        std::vector<uint8_t> file;
        size_t frames;
    } kCases[] = {
        {"ID3v2 tag first", joined(id3, mp3), count},
        {"garbage with a stray sync first", joined({0x00, 0xFF, 0xFB, 0x12, 0x34, 0x00}, mp3),
         count},
        {"ID3v1 tag last", joined(mp3, joined(bytes("TAG"), std::vector<uint8_t>(125, ' '))),
         count},
        {"last frame cut short", cut, count - 1},
        {"no frames", bytes("not an mp3 at all, only text"), 0},
        {"an ID3v2 tag alone", id3, 0},
    };
    for (const auto& test : kCases)
    {
        SCOPED_TRACE(test.name);
        Mp3Frames frames;
        EXPECT_EQ(frames.scan(test.file.data(), test.file.size()), test.frames != 0);
        EXPECT_EQ(frames.frames().size(), test.frames);
        if (test.frames != 0)
        {
            EXPECT_EQ(frames.rate(), plain.rate());
            EXPECT_EQ(frames.channels(), 2u);
        }
    }
}

// The LAME tag's delay and padding are what mpg123 trims: the frames'
// samples less both are its gapless length, to the sample, for every
// version, channel count and bit-rate mode; a tag whose encoder name is not
// one that writes them gives no trim.
TEST(Mp3Frames, ReadsTheEncodersDelayAndPaddingFromTheLameTag)
{
    const struct
    {
        const char* name;
        int rate;
        int channels;
        bool vbr;
    } kCases[] = {
        {"MPEG-1 stereo", 44100, 2, false},
        {"MPEG-1 mono, variable rate", 48000, 1, true},
        {"MPEG-2 stereo", 22050, 2, false},
    };
    for (const auto& test : kCases)
    {
        SCOPED_TRACE(test.name);
        Mp3TestData::Encoding encoding;
        encoding.m_rate = test.rate;
        encoding.m_channels = test.channels;
        encoding.m_vbr = test.vbr;
        const std::vector<uint8_t> mp3 = Mp3TestData::encode(
            Mp3TestData::tone(440.0, 0.7, 0.5, test.channels, test.rate), encoding);
        const size_t decoded = Mp3TestData::decode(mp3).size() / size_t(test.channels);
        Mp3Frames frames;
        ASSERT_TRUE(frames.scan(mp3.data(), mp3.size()));
        EXPECT_GT(frames.encoderDelay(), 0u);
        EXPECT_EQ(frames.frames().size() * frames.samplesPerFrame() - frames.encoderDelay() -
                      frames.encoderPadding(),
                  decoded);

        // The encoder's name is the first bytes after the Xing or Info header.
        std::vector<uint8_t> renamed = mp3;
        const size_t name = std::string(renamed.begin(), renamed.end()).find("LAME");
        ASSERT_NE(name, std::string::npos);
        ASSERT_LT(name, frames.frames().front().offset);  // inside the Info frame
        memcpy(renamed.data() + name, "ABCD", 4);
        Mp3Frames unnamed;
        ASSERT_TRUE(unnamed.scan(renamed.data(), renamed.size()));
        EXPECT_EQ(unnamed.encoderDelay(), 0u);
        EXPECT_EQ(unnamed.encoderPadding(), 0u);
        EXPECT_EQ(unnamed.frames().size(), frames.frames().size());
    }
}
