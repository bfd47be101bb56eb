// The WAV writer: the RIFF layout of 32-bit float stereo that other tools read.
#include "StereoBuffer.h"
#include "WavWriter.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <stdint.h>
#include <string.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace
{

uint32_t little(const std::vector<unsigned char>& a_bytes, size_t a_offset, int a_size)
{
    uint32_t value = 0;
    for (int i = a_size - 1; i >= 0; --i)
        value = value << 8 | a_bytes.at(a_offset + static_cast<size_t>(i));
    return value;
}

std::string tag(const std::vector<unsigned char>& a_bytes, size_t a_offset)
{
    return std::string(a_bytes.begin() + static_cast<long>(a_offset),
                       a_bytes.begin() + static_cast<long>(a_offset) + 4);
}

}

// The file follows Microsoft's layout for WAVE_FORMAT_IEEE_FLOAT: a RIFF header,
// an 18-byte "fmt " chunk (format 3, 2 channels, 44100 Hz, 8 bytes per frame,
// 32 bits), a "fact" chunk with the frame count, then the interleaved samples.
TEST(WavWriterTest, WritesInterleavedFloatStereo)
{
    StereoBuffer buffer(3);
    const float left[3] = {0.5f, -1.0f, 0.25f};
    const float right[3] = {-0.5f, 1.0f, 0.125f};
    for (size_t i = 0; i < 3; ++i)
        buffer.add(i, left[i], right[i]);

    TemporaryFolder folder;
    std::string error;
    ASSERT_TRUE(WavWriter::write(buffer, folder.file("song.wav"), error)) << error;
    std::ifstream file(folder.file("song.wav"), std::ios::binary);
    const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(file)),
                                           std::istreambuf_iterator<char>());

    ASSERT_EQ(bytes.size(), 12u + 26u + 12u + 8u + 24u);
    EXPECT_EQ(tag(bytes, 0), "RIFF");
    EXPECT_EQ(little(bytes, 4, 4), bytes.size() - 8);
    EXPECT_EQ(tag(bytes, 8), "WAVE");
    EXPECT_EQ(tag(bytes, 12), "fmt ");
    EXPECT_EQ(little(bytes, 16, 4), 18u);
    EXPECT_EQ(little(bytes, 20, 2), 3u);       // WAVE_FORMAT_IEEE_FLOAT
    EXPECT_EQ(little(bytes, 22, 2), 2u);       // channels
    EXPECT_EQ(little(bytes, 24, 4), 44100u);   // frames per second
    EXPECT_EQ(little(bytes, 28, 4), 352800u);  // bytes per second
    EXPECT_EQ(little(bytes, 32, 2), 8u);       // block align
    EXPECT_EQ(little(bytes, 34, 2), 32u);      // bits per sample
    EXPECT_EQ(little(bytes, 36, 2), 0u);       // no extension
    EXPECT_EQ(tag(bytes, 38), "fact");
    EXPECT_EQ(little(bytes, 42, 4), 4u);
    EXPECT_EQ(little(bytes, 46, 4), 3u);  // frames
    EXPECT_EQ(tag(bytes, 50), "data");
    EXPECT_EQ(little(bytes, 54, 4), 24u);
    for (size_t i = 0; i < 3; ++i)
    {
        float l = 0.0f;
        float r = 0.0f;
        memcpy(&l, &bytes[58 + 8 * i], 4);
        memcpy(&r, &bytes[62 + 8 * i], 4);
        EXPECT_EQ(l, left[i]) << "frame " << i;
        EXPECT_EQ(r, right[i]) << "frame " << i;
    }
}

// An output that cannot be created is reported, not crashed on.
TEST(WavWriterTest, ReportsAFileThatCannotBeCreated)
{
    TemporaryFolder folder;
    std::string error;
    EXPECT_FALSE(WavWriter::write(StereoBuffer(10), folder.file("missing/song.wav"), error));
    EXPECT_NE(error.find("missing/song.wav"), std::string::npos) << error;
}
