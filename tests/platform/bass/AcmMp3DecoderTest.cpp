// AcmMp3Decoder (Windows, run under Wine): the demo's soundtrack, as the
// build generated it, decodes through ACM's MP3 codec to the length its
// frames promise less the encoder's delay and padding, with sound in it, and again the same after a rewind; a
// file that is not MP3 is refused and still closed.
#include "AcmMp3Decoder.h"

#include "platform/bass/MemoryFile.h"

#include <gtest/gtest.h>

#include <stdio.h>

#include <algorithm>

namespace
{

std::vector<uint8_t> readFile(const char* a_path)
{
    std::vector<uint8_t> bytes;
    FILE* file = fopen(a_path, "rb");
    if (!file)
        return bytes;
    uint8_t buffer[65536];
    for (size_t got; (got = fread(buffer, 1, sizeof(buffer), file)) != 0;)
        bytes.insert(bytes.end(), buffer, buffer + got);
    fclose(file);
    return bytes;
}

}

TEST(AcmMp3Decoder, DecodesTheSoundtrackToItsFramesLength)
{
    MemoryFile file(readFile(TARVO_SOUNDTRACK));
    ASSERT_FALSE(file.m_bytes.empty()) << TARVO_SOUNDTRACK;
    {
        AcmMp3Decoder decoder(MemoryFile::s_procs, &file);
        ASSERT_EQ(decoder.open(true), BASS_OK);
        EXPECT_EQ(decoder.rate(), 44100u);
        EXPECT_EQ(decoder.channels(), 2u);
        ASSERT_GT(decoder.length(), 44100u);
        // The encoder's delay and padding are trimmed, as mpg123 trims them.
        Mp3Frames frames;
        ASSERT_TRUE(frames.scan(file.m_bytes.data(), file.m_bytes.size()));
        ASSERT_GT(frames.encoderDelay(), 0u);
        EXPECT_EQ(decoder.length(), frames.frames().size() * frames.samplesPerFrame() -
                                        frames.encoderDelay() - frames.encoderPadding());

        std::vector<int16_t> first(4096 * 2);
        ASSERT_EQ(decoder.read(first.data(), 4096), 4096u);
        uint64_t decoded = 4096;
        int peak = 0;
        std::vector<int16_t> chunk(65536 * 2);
        for (size_t got; (got = decoder.read(chunk.data(), 65536)) != 0;)
        {
            decoded += got;
            for (size_t i = 0; i < got * 2; ++i)
                peak = std::max(peak, std::abs(int(chunk[i])));
        }
        // The codec's own delay may hold back up to one frame at the end.
        EXPECT_LE(decoded, decoder.length());
        EXPECT_GE(decoded + 2 * 1152, decoder.length());
        EXPECT_GT(peak, 1000);

        ASSERT_TRUE(decoder.rewind());
        std::vector<int16_t> again(4096 * 2);
        ASSERT_EQ(decoder.read(again.data(), 4096), 4096u);
        EXPECT_EQ(again, first);
    }
    EXPECT_EQ(file.m_closes, 1);
}

TEST(AcmMp3Decoder, RefusesWhatIsNotMp3)
{
    MemoryFile file(std::vector<uint8_t>(5000, 0x42));
    {
        AcmMp3Decoder decoder(MemoryFile::s_procs, &file);
        EXPECT_EQ(decoder.open(true), BASS_ERROR_FILEFORM);
    }
    EXPECT_EQ(file.m_closes, 1);
}
