// Soundtrack: the four user file procedures over its private copy of the
// MP3, creation with its failures and the no-sound fallback, and the
// spectrum's refresh rule and in-place smoothing.
//
// Untested: a stream whose creation fails after the file was read (the
// layer refuses only damaged files, covered as such).
#include "sound/Soundtrack.h"

#include "core/LauncherSettings.h"

#include "core/FatalError.h"
#include "archive/FileSystem.h"
#include "platform/bass/BassFixture.h"
#include "platform/bass/Mp3TestData.h"
#include "sound/Time.h"
#include "support/ArchiveBuilder.h"
#include "support/TemporaryFolder.h"

#include <MessageBoxRecorder.h>

#include <gtest/gtest.h>

#include <math.h>
#include <stdlib.h>
#include <string.h>

#include <chrono>
#include <functional>
#include <memory>
#include <thread>

namespace
{

// A soundtrack without a stream over a_size bytes 0, 1, 2, ... with its
// read cursor at a_position.
std::unique_ptr<Soundtrack> soundtrackOver(uint64_t a_size, uint64_t a_position)
{
    std::unique_ptr<Soundtrack> soundtrack(new Soundtrack);
    soundtrack->m_data = new uint8_t[a_size];
    for (uint64_t i = 0; i < a_size; ++i)
        soundtrack->m_data[i] = static_cast<uint8_t>(i);
    soundtrack->m_length = a_size;
    soundtrack->m_position = a_position;
    return soundtrack;
}

TEST(SoundtrackCallbacks, ReadCopiesWhatIsLeftAndAdvances)
{
    // A read returns min(asked, left) bytes from the cursor on and moves the
    // cursor past them; at the end it returns 0.
    const struct
    {
        const char* name;
        uint64_t position;
        DWORD asked;
        DWORD returned;
    } cases[] = {
        {"4096 asked, 100 left", 900, 4096, 100},
        {"then at the end", 1000, 4096, 0},
        {"from the start", 0, 10, 10},
        {"exactly what is left", 990, 10, 10},
        {"the last byte", 999, 1, 1},
        {"nothing asked", 5, 0, 0},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        std::unique_ptr<Soundtrack> soundtrack = soundtrackOver(1000, c.position);
        std::vector<uint8_t> buffer(c.asked + 16, 0xEE);
        EXPECT_EQ(soundtrackRead(buffer.data(), c.asked, soundtrack.get()), c.returned);
        EXPECT_EQ(soundtrack->m_position, c.position + c.returned);
        EXPECT_EQ(memcmp(buffer.data(), soundtrack->m_data + c.position, c.returned), 0);
        EXPECT_EQ(buffer[c.returned], 0xEE);
    }
}

TEST(SoundtrackCallbacks, SeekAcceptsOnlyOffsetsInsideTheData)
{
    // A seek below the length moves the cursor and returns TRUE; at or past
    // the length it returns FALSE and leaves the cursor.
    const struct
    {
        const char* name;
        QWORD offset;
        BOOL accepted;
    } cases[] = {
        {"the length", 1000, FALSE},
        {"the last byte", 999, TRUE},
        {"the start", 0, TRUE},
        {"far past the end", 5000, FALSE},
        {"the largest offset", ~QWORD(0), FALSE},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        std::unique_ptr<Soundtrack> soundtrack = soundtrackOver(1000, 500);
        EXPECT_EQ(soundtrackSeek(c.offset, soundtrack.get()), c.accepted);
        EXPECT_EQ(soundtrack->m_position, c.accepted ? c.offset : 500u);
    }
}

TEST(SoundtrackCallbacks, LengthIsTheCopysSizeAndCloseChangesNothing)
{
    // The length procedure reports the copy's size; closing leaves the copy.
    std::unique_ptr<Soundtrack> soundtrack = soundtrackOver(1234, 17);
    EXPECT_EQ(soundtrackLength(soundtrack.get()), 1234u);
    soundtrackClose(soundtrack.get());
    EXPECT_EQ(soundtrack->m_length, 1234u);
    EXPECT_EQ(soundtrack->m_position, 17u);
    EXPECT_EQ(soundtrack->m_data[1233], static_cast<uint8_t>(1233));
}

// The spectrum's refresh rule reads demo time, which a test may set.
class SoundtrackSpectrum : public testing::Test
{
protected:
    void SetUp() override { Time::g_time = 0.0f; }
    void TearDown() override { Time::g_time = 0.0f; }
};

TEST_F(SoundtrackSpectrum, OneSmoothingPassAveragesNeighboursInPlace)
{
    // Bin j becomes the mean of bins j - 1 (already smoothed) and j + 1
    // (not yet), wrapping at both ends; its own value does not count.
    const struct
    {
        const char* name;
        std::function<float(int)> input;
        std::function<double(int)> expected;
    } cases[] = {
        {"spike in bin 64", [](int a_bin) { return a_bin == 64 ? 1.0f : 0.0f; },
         [](int a_bin) {
             return a_bin < 63 ? 0.0 : pow(0.5, a_bin - 62);
         }},
        {"spike in bin 0 vanishes", [](int a_bin) { return a_bin == 0 ? 1.0f : 0.0f; },
         [](int) {
             return 0.0;
         }},
        // Bin 0 takes the spike from the left, bin 126 from the right.
        {"spike in bin 127 reaches both ends", [](int a_bin) { return a_bin == 127 ? 1.0f : 0.0f; },
         [](int a_bin) {
             const double bin126 = 0.5 * (pow(0.5, 126) + 1.0);
             return a_bin < 126    ? pow(0.5, a_bin + 1)
                    : a_bin == 126 ? bin126
                                   : 0.5 * (bin126 + 0.5);
         }},
        {"constant stays", [](int) { return 1.0f; },
         [](int) {
             return 1.0;
         }},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        float spectrum[Soundtrack::kSpectrumBins];
        for (int j = 0; j < Soundtrack::kSpectrumBins; ++j)
            spectrum[j] = c.input(j);
        Soundtrack::smoothSpectrum(spectrum);
        for (int j = 0; j < Soundtrack::kSpectrumBins; ++j)
            EXPECT_FLOAT_EQ(spectrum[j], static_cast<float>(c.expected(j))) << "bin " << j;
    }
}

TEST_F(SoundtrackSpectrum, RefreshesAfterMoreThanFiftyMillisecondsOrWhenTimeRunsBackwards)
{
    // Without a stream the data read fails and leaves the bins, so a refresh
    // shows as two smoothing passes over a spike in bin 127 and the refresh
    // time moving to demo time. The first pass gives bins 0..3 = 0.5, 0.25,
    // 0.125, 0.0625 and bin 127 = 0.5 (to float precision); the second gives
    // bins 0..2 = 0.375, 0.25, 0.15625.
    const struct
    {
        const char* name;
        float last;
        float now;
        bool refreshes;
    } cases[] = {
        {"0.03 s later", 1.0f, 1.03f, false},
        {"0.06 s later", 1.0f, 1.06f, true},
        {"exactly the float 0.05 later", 0.0f, 0.05f, false},
        {"just above the float 0.05", 0.0f, nextafterf(0.05f, 1.0f), true},
        {"no time", 2.0f, 2.0f, false},
        {"time ran back to the start", 5.0f, 0.01f, true},
        {"time ran back a little", 1.0f, nextafterf(1.0f, 0.0f), true},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        Soundtrack soundtrack;
        soundtrack.m_spectrum[127] = 1.0f;
        soundtrack.m_spectrumTime = c.last;
        Time::g_time = c.now;
        const float* spectrum = soundtrack.getSpectrum();
        EXPECT_EQ(spectrum, soundtrack.m_spectrum);
        if (c.refreshes)
        {
            EXPECT_FLOAT_EQ(spectrum[0], 0.375f);
            EXPECT_FLOAT_EQ(spectrum[1], 0.25f);
            EXPECT_FLOAT_EQ(spectrum[2], 0.15625f);
            EXPECT_EQ(soundtrack.m_spectrumTime, c.now);
        }
        else
        {
            EXPECT_EQ(spectrum[0], 0.0f);
            EXPECT_EQ(spectrum[127], 1.0f);
            EXPECT_EQ(soundtrack.m_spectrumTime, c.last);
        }
    }
}

// Creation runs in a fresh working directory with no archive, on SDL's
// dummy audio driver. Tests named "RealTime" play against the wall clock;
// CTest runs them under the audio lock.
class SoundtrackCreateTest : public BassFixture
{
protected:
    void SetUp() override
    {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        g_fatalErrorShown = false;
        g_loop = false;
        resetClock();
    }
    void TearDown() override
    {
        delete m_soundtrack;
        FileSystem::close();
        g_fatalErrorShown = false;
        g_loop = false;
        resetClock();
        BassFixture::TearDown();
    }

    static void resetClock()
    {
        Time::g_time = 0.0f;
        Time::g_previousTime = 0.0f;
        Time::g_delta = 0.0f;
        Time::g_soundtrack = nullptr;
    }

    void writeSong(const std::vector<uint8_t>& a_bytes)
    {
        writeBytes(m_folder.file("KUV-2.mp3"), a_bytes);
    }

    double seconds() const
    {
        return BASS_ChannelBytes2Seconds(
            m_soundtrack->m_stream, BASS_ChannelGetPosition(m_soundtrack->m_stream, BASS_POS_BYTE));
    }

    TemporaryFolder m_folder{true};
    MessageBoxRecorder m_boxes;
    Soundtrack* m_soundtrack = nullptr;
};

TEST_F(SoundtrackCreateTest, CreatesAStoppedStreamOverAPrivateCopy)
{
    // The soundtrack keeps its own copy of the file, the tempo, a zero
    // spectrum, and a stream that has not started: on the capture device,
    // frames stepped leave its position at 0.
    const std::vector<uint8_t> mp3 = Mp3TestData::encode(Mp3TestData::tone(440, 0.5, 0.5, 2), 2);
    writeSong(mp3);
    ASSERT_TRUE(BassCapture::select(60));
    m_soundtrack = Soundtrack::create(170.0f);
    ASSERT_NE(m_soundtrack, nullptr);
    EXPECT_NE(m_soundtrack->m_stream, 0u);
    EXPECT_EQ(m_soundtrack->m_bpm, 170.0f);
    EXPECT_EQ(m_soundtrack->m_spectrumTime, 0.0f);
    EXPECT_EQ(m_soundtrack->m_spectrum[0], 0.0f);
    ASSERT_EQ(m_soundtrack->m_length, mp3.size());
    EXPECT_EQ(memcmp(m_soundtrack->m_data, mp3.data(), mp3.size()), 0);
    step(6);
    EXPECT_EQ(seconds(), 0.0);
    EXPECT_TRUE(m_boxes.boxes().empty());
}

TEST_F(SoundtrackCreateTest, PlaysTheSongAfterTheArchiveIsReleased)
{
    // Once the archive is closed, the stream still decodes the whole song
    // from the soundtrack's copy.
    const std::vector<uint8_t> mp3 = Mp3TestData::encode(Mp3TestData::tone(660, 0.6, 0.5, 2), 2);
    const std::vector<int16_t> reference = Mp3TestData::decode(mp3);
    ArchiveBuilder()
        .add("KUV-2.mp3", std::string(mp3.begin(), mp3.end()))
        .write(m_folder.file("tarvo.fs"), true);
    ReturnCode opened = FileSystem::open();
    ASSERT_TRUE(opened.succeeded());
    ASSERT_TRUE(BassCapture::select(60));
    m_soundtrack = Soundtrack::create(170.0f);
    ASSERT_NE(m_soundtrack, nullptr);
    FileSystem::close();

    ASSERT_TRUE(BASS_ChannelPlay(m_soundtrack->m_stream, TRUE));
    const std::vector<int16_t> samples = step(60);
    ASSERT_GE(samples.size(), reference.size());
    EXPECT_TRUE(std::equal(reference.begin(), reference.end(), samples.begin()));
}

TEST_F(SoundtrackCreateTest, FailuresReturnNullAndFreeTheAudioLibrary)
{
    // A missing file fails with the reader's message, a damaged one without
    // any; either way the audio library is free to be initialised again.
    const struct
    {
        const char* name;
        bool write;
        const char* message;
    } cases[] = {{"missing", false, "KUV-2.mp3: File not found."}, {"damaged", true, nullptr}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        MessageBoxRecorder boxes;
        g_fatalErrorShown = false;
        if (c.write)
            writeSong(std::vector<uint8_t>(5000, 'x'));
        EXPECT_EQ(Soundtrack::create(170.0f), nullptr);
        ASSERT_EQ(boxes.boxes().size(), c.message ? 1u : 0u);
        if (c.message)
        {
            EXPECT_EQ(boxes.boxes()[0].text, c.message);
        }
        EXPECT_TRUE(BASS_Init(0, 44100, 0, nullptr, nullptr));
        EXPECT_TRUE(BASS_Free());
    }
}

TEST_F(SoundtrackCreateTest, WithoutAnOutputDevicePlaysSilentlyInRealTime)
{
    // When the default output cannot be opened the soundtrack still exists
    // and its position follows the wall clock.
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    writeSong(Mp3TestData::encode(Mp3TestData::tone(440, 2.0, 0.5, 2), 2));
    m_soundtrack = Soundtrack::create(170.0f);
    ASSERT_NE(m_soundtrack, nullptr);
    const auto before = std::chrono::steady_clock::now();
    ASSERT_TRUE(BASS_ChannelPlay(m_soundtrack->m_stream, TRUE));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const double position = seconds();
    EXPECT_GE(position, 0.299);
    EXPECT_LE(position,
              std::chrono::duration<double>(std::chrono::steady_clock::now() - before).count() +
                  0.001);
}

TEST_F(SoundtrackCreateTest, TheLoopSettingDecidesWhetherTheStreamWraps)
{
    // With Loop ticked the position runs on from the start; without it, it
    // stops at the song's end.
    const std::vector<uint8_t> mp3 = Mp3TestData::encode(Mp3TestData::tone(440, 0.3, 0.5, 2), 2);
    const uint64_t frames = Mp3TestData::decode(mp3).size() / 2;
    writeSong(mp3);
    for (const bool loop : {true, false})
    {
        SCOPED_TRACE(loop ? "loop" : "once");
        g_loop = loop;
        ASSERT_TRUE(BassCapture::select(60));
        m_soundtrack = Soundtrack::create(170.0f);
        ASSERT_NE(m_soundtrack, nullptr);
        ASSERT_TRUE(BASS_ChannelPlay(m_soundtrack->m_stream, TRUE));
        step(30);
        const uint64_t stepped = 30 * 735;
        EXPECT_EQ(BASS_ChannelGetPosition(m_soundtrack->m_stream, BASS_POS_BYTE),
                  (loop ? stepped % frames : frames) * 4);
        delete m_soundtrack;
        m_soundtrack = nullptr;
    }
}

TEST_F(SoundtrackCreateTest, SpectrumIsTheMusicAtTheHeardPosition)
{
    // Over a song of one second of silence and one of a 5 kHz tone, the
    // spectrum is zero in the first second and shows the tone (bins 26..31
    // after smoothing) in the second.
    std::vector<int16_t> song = Mp3TestData::tone(0, 1.0, 0.0, 2);
    const std::vector<int16_t> tone = Mp3TestData::tone(5000, 1.0, 0.5, 2);
    song.insert(song.end(), tone.begin(), tone.end());
    writeSong(Mp3TestData::encode(song, 2));
    ASSERT_TRUE(BassCapture::select(50));
    m_soundtrack = Soundtrack::create(170.0f);
    ASSERT_NE(m_soundtrack, nullptr);
    ASSERT_TRUE(BASS_ChannelPlay(m_soundtrack->m_stream, TRUE));

    step(25);
    Time::g_time = 0.5f;
    const float* spectrum = m_soundtrack->getSpectrum();
    EXPECT_EQ(*std::max_element(spectrum, spectrum + 128), 0.0f);

    step(50);
    Time::g_time = 1.5f;
    spectrum = m_soundtrack->getSpectrum();
    const int peak = static_cast<int>(std::max_element(spectrum, spectrum + 128) - spectrum);
    EXPECT_GE(peak, 26);
    EXPECT_LE(peak, 31);
    EXPECT_GT(spectrum[peak], 0.05f);
    EXPECT_LT(spectrum[80], spectrum[peak] / 100);
}

}
