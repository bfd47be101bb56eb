// The WAV writer: 32-bit float stereo in the RIFF layout that other tools read.
#include "StereoBuffer.h"
#include "WavWriter.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <stdint.h>
#include <string.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
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

// A WAV file read by walking its chunks as the RIFF layout gives them, whatever their order
// and whichever others a writer adds.
struct WavFile
{
    std::vector<unsigned char> bytes;
    std::map<std::string, std::pair<size_t, size_t>> chunks;  // tag: offset of the body, size

    explicit WavFile(const std::string& a_path)
    {
        std::ifstream file(a_path, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
        if (bytes.size() < 12)
            return;
        for (size_t at = 12; at + 8 <= bytes.size();)
        {
            const size_t size = little(bytes, at + 4, 4);
            chunks[tag(bytes, at)] = {at + 8, size};
            at += 8 + size + (size & 1);
        }
    }

    uint32_t field(const std::string& a_chunk, size_t a_offset, int a_size) const
    {
        return little(bytes, chunks.at(a_chunk).first + a_offset, a_size);
    }

    // Sample a_channel of frame a_frame of the "data" chunk.
    float sample(size_t a_frame, int a_channel) const
    {
        float value = 0.0f;
        memcpy(
            &value,
            &bytes.at(chunks.at("data").first + 8 * a_frame + 4 * static_cast<size_t>(a_channel)),
            4);
        return value;
    }
};

}

// The file is a RIFF WAVE with a "fmt " chunk of WAVE_FORMAT_IEEE_FLOAT (format 3, 2 channels,
// 44100 Hz, 8 bytes a frame, 32 bits), the "fact" chunk Microsoft's layout asks of non-PCM
// formats, and the interleaved samples as they were, past full scale included; a buffer longer
// than the writer's blocks arrives whole, the frames at the block's seam in order.
TEST(WavWriterTest, WritesInterleavedFloatStereo)
{
    const size_t lengths[] = {3, 65536 + 3};
    for (const size_t frames : lengths)
    {
        SCOPED_TRACE(std::to_string(frames) + " frames");
        StereoBuffer buffer(frames);
        for (size_t i = 0; i < frames; ++i)
            buffer.add(i, 0.5f - static_cast<float>(i % 7) * 0.25f,
                       static_cast<float>(i) / 65536.0f);

        TemporaryFolder folder;
        std::string error;
        ASSERT_TRUE(WavWriter::write(buffer, folder.file("song.wav"), error)) << error;
        const WavFile wav(folder.file("song.wav"));

        ASSERT_GE(wav.bytes.size(), 12u);
        EXPECT_EQ(tag(wav.bytes, 0), "RIFF");
        EXPECT_EQ(little(wav.bytes, 4, 4), wav.bytes.size() - 8);
        EXPECT_EQ(tag(wav.bytes, 8), "WAVE");
        ASSERT_EQ(wav.chunks.count("fmt "), 1u);
        ASSERT_EQ(wav.chunks.count("fact"), 1u);
        ASSERT_EQ(wav.chunks.count("data"), 1u);
        EXPECT_EQ(wav.field("fmt ", 0, 2), 3u);       // WAVE_FORMAT_IEEE_FLOAT
        EXPECT_EQ(wav.field("fmt ", 2, 2), 2u);       // channels
        EXPECT_EQ(wav.field("fmt ", 4, 4), 44100u);   // frames per second
        EXPECT_EQ(wav.field("fmt ", 8, 4), 352800u);  // bytes per second
        EXPECT_EQ(wav.field("fmt ", 12, 2), 8u);      // block align
        EXPECT_EQ(wav.field("fmt ", 14, 2), 32u);     // bits per sample
        EXPECT_EQ(wav.field("fact", 0, 4), frames);
        ASSERT_EQ(wav.chunks.at("data").second, frames * 8);
        ASSERT_LE(wav.chunks.at("data").first + frames * 8, wav.bytes.size());
        for (size_t i = 0; i < frames; ++i)
        {
            ASSERT_EQ(wav.sample(i, 0), buffer.left()[i]) << "frame " << i;
            ASSERT_EQ(wav.sample(i, 1), buffer.right()[i]) << "frame " << i;
        }
    }
}

// An output that cannot be created is reported with its name, not crashed on, and leaves
// nothing behind.
TEST(WavWriterTest, ReportsAFileThatCannotBeCreated)
{
    TemporaryFolder folder;
    std::string error;
    EXPECT_FALSE(WavWriter::write(StereoBuffer(10), folder.file("missing/song.wav"), error));
    EXPECT_NE(error.find("missing/song.wav"), std::string::npos) << error;
    EXPECT_FALSE(std::filesystem::exists(folder.file("missing")));
}
