// The audio layer's mirrored API: errors, streams over user files, play and
// position on the real output, no sound and the capture device, and the
// 256-sample spectrum.
//
// Untested here: a sound server's latency (tests/e2e/av_offset.sh measures
// it on a PulseAudio null sink) and real hardware.
#include "platform/bass/BassFixture.h"
#include "platform/bass/Mp3TestData.h"
#include "support/Deadline.h"
#include "support/TemporaryFolder.h"

#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <thread>

namespace
{

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point a_start)
{
    return std::chrono::duration<double>(Clock::now() - a_start).count();
}

// Every test plays through SDL's dummy driver, so it needs no sound card.
class BassTest : public BassFixture
{
protected:
    void SetUp() override { setenv("SDL_AUDIODRIVER", "dummy", 1); }

    double seconds(HSTREAM a_stream)
    {
        return BASS_ChannelBytes2Seconds(a_stream,
                                         BASS_ChannelGetPosition(a_stream, BASS_POS_BYTE));
    }

    // Polls a stream played at a_played until its position first moves. The
    // buffer it moves into began to be heard after the last poll that still
    // read 0, so the position can be no further on than the time since then.
    void expectFirstMoveFromZero(HSTREAM a_stream, Clock::time_point a_played)
    {
        Clock::time_point lastZero = a_played;
        const Clock::time_point limit = a_played + Deadline::event();
        while (Clock::now() < limit)
        {
            const Clock::time_point before = Clock::now();
            const double position = seconds(a_stream);
            if (position > 0.0)
            {
                EXPECT_LE(position, secondsSince(lastZero) + 0.001);
                return;
            }
            lastZero = before;
            std::this_thread::sleep_for(std::chrono::microseconds(500));
        }
        ADD_FAILURE() << "the position never moved";
    }
};

// Streams played against the wall clock, on the dummy driver or without
// sound: CTest runs these under the audio lock, one at a time.
using BassRealTimeTest = BassTest;

TEST_F(BassTest, ReportsTheRealLibrarysErrorCodes)
{
    // Each failing call returns its documented failure value and sets the
    // documented error code.
    MemoryFile& notMp3 = keep(std::vector<uint8_t>(4000, 'x'));
    MemoryFile& silence = keep(Mp3TestData::encode(Mp3TestData::tone(0, 0.2, 0, 2), 2));
    struct Case
    {
        const char* name;
        bool initialise;
        std::function<bool()> failed;
        int error;
    };
    const Case cases[] = {
        // Nothing initialised.
        {"free", false, [] { return BASS_Free() == FALSE; }, BASS_ERROR_INIT},
        {"create", false, [&] { return create(silence) == 0; }, BASS_ERROR_INIT},
        {"play", false, [] { return BASS_ChannelPlay(1, FALSE) == FALSE; }, BASS_ERROR_HANDLE},
        {"bad device", false, [] { return BASS_Init(7, 44100, 0, nullptr, nullptr) == FALSE; },
         BASS_ERROR_DEVICE},
        // Initialised (no sound).
        {"init twice", true, [] { return BASS_Init(0, 44100, 0, nullptr, nullptr) == FALSE; },
         BASS_ERROR_ALREADY},
        {"not an MP3", true, [&] { return create(notMp3) == 0; }, BASS_ERROR_FILEFORM},
        {"no procedures", true,
         [] { return BASS_StreamCreateFileUser(STREAMFILE_NOBUFFER, 0, nullptr, nullptr) == 0; },
         BASS_ERROR_ILLPARAM},
        {"buffered file system", true,
         [&] { return BASS_StreamCreateFileUser(1, 0, &MemoryFile::s_procs, &silence) == 0; },
         BASS_ERROR_ILLPARAM},
        {"play unknown", true, [] { return BASS_ChannelPlay(12345, TRUE) == FALSE; },
         BASS_ERROR_HANDLE},
        {"position unknown", true,
         [] { return BASS_ChannelGetPosition(12345, BASS_POS_BYTE) == QWORD(-1); },
         BASS_ERROR_HANDLE},
        {"position in orders", true,
         [&] { return BASS_ChannelGetPosition(create(silence), 1) == QWORD(-1); },
         BASS_ERROR_NOTAVAIL},
        {"seconds unknown", true, [] { return BASS_ChannelBytes2Seconds(12345, 0) < 0.0; },
         BASS_ERROR_HANDLE},
        {"data unknown", true,
         [] {
             float fft[128];
             return BASS_ChannelGetData(12345, fft, BASS_DATA_FFT256) == DWORD(-1);
         },
         BASS_ERROR_HANDLE},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        if (c.initialise)
        {
            ASSERT_TRUE(BASS_Init(0, 44100, 0, nullptr, nullptr));
        }
        EXPECT_TRUE(c.failed());
        EXPECT_EQ(BASS_ErrorGetCode(), c.error);
        BASS_Free();
    }
}

TEST_F(BassTest, SuccessClearsTheLastError)
{
    // A successful call resets the error code to BASS_OK.
    EXPECT_FALSE(BASS_Free());
    ASSERT_EQ(BASS_ErrorGetCode(), BASS_ERROR_INIT);
    EXPECT_TRUE(BASS_Init(0, 44100, 0, nullptr, nullptr));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_OK);
}

TEST_F(BassTest, DefaultOutputThatCannotOpenFailsWithTheDriverError)
{
    // With no usable audio driver device -1 fails, and device 0 still opens.
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    EXPECT_FALSE(BASS_Init(-1, 44100, 0, nullptr, nullptr));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_DRIVER);
    EXPECT_TRUE(BASS_Init(0, 44100, 0, nullptr, nullptr));
}

// Every kind of MP3 a user may put in: the MPEG versions by their rates,
// mono and stereo, constant and variable bit rate, and ID3v2 tags with a
// picture before the audio. Each carries a tone at rate / 16 Hz, the centre
// of spectrum bin 16 in the stream's own terms.
struct Mp3Kind
{
    const char* name;
    Mp3TestData::Encoding encoding;
};
const Mp3Kind kMp3Kinds[] = {
    {"MPEG-1 48 kHz stereo CBR", {48000, 2, false, 0}},
    {"MPEG-1 32 kHz mono VBR", {32000, 1, true, 0}},
    {"MPEG-2 24 kHz stereo VBR", {24000, 2, true, 0}},
    {"MPEG-2 22.05 kHz mono CBR", {22050, 1, false, 0}},
    {"MPEG-2 16 kHz stereo CBR", {16000, 2, false, 0}},
    {"MPEG-2.5 12 kHz mono VBR", {12000, 1, true, 0}},
    {"MPEG-2.5 11.025 kHz stereo CBR", {11025, 2, false, 0}},
    {"MPEG-2.5 8 kHz mono CBR", {8000, 1, false, 0}},
    {"MPEG-1 44.1 kHz stereo, ID3v2 with a 300 KB picture", {44100, 2, false, 300000}},
    {"MPEG-1 48 kHz mono VBR, ID3v2 with a 100 KB picture", {48000, 1, true, 100000}},
};

std::vector<uint8_t> encodeKind(const Mp3Kind& a_kind, double a_seconds)
{
    const Mp3TestData::Encoding& encoding = a_kind.encoding;
    return Mp3TestData::encode(Mp3TestData::tone(encoding.m_rate / 16.0, a_seconds, 0.5,
                                                 encoding.m_channels, encoding.m_rate),
                               encoding);
}

// The frequency of a_channel of interleaved stereo over frames [a_begin,
// a_end) at a_rate, from the rising zero crossings there.
double frequency(const std::vector<int16_t>& a_stereo, int a_channel, size_t a_begin, size_t a_end,
                 double a_rate)
{
    size_t first = 0;
    size_t last = 0;
    int crossings = 0;
    for (size_t i = a_begin + 1; i < a_end; ++i)
        if (a_stereo[2 * (i - 1) + a_channel] < 0 && a_stereo[2 * i + a_channel] >= 0)
        {
            if (crossings++ == 0)
                first = i;
            last = i;
        }
    return crossings < 2 ? 0.0 : (crossings - 1) * a_rate / static_cast<double>(last - first);
}

TEST_F(BassTest, EveryKindOfMp3PlaysAtItsOwnRateOnTheCaptureDevice)
{
    // On a 44.1 kHz capture device each file is heard at its own pitch on
    // both sides at full level; the position and length count the file's own
    // 16-bit frames at its own rate, and the spectrum's bins its own rate /
    // 256 Hz.
    for (const Mp3Kind& kind : kMp3Kinds)
    {
        SCOPED_TRACE(kind.name);
        const int rate = kind.encoding.m_rate;
        const uint32_t channels = static_cast<uint32_t>(kind.encoding.m_channels);
        MemoryFile& file = keep(encodeKind(kind, 1.0));
        long decodedRate = 0;
        const uint64_t frames = Mp3TestData::decode(file.m_bytes, &decodedRate).size() / channels;
        ASSERT_EQ(decodedRate, rate);

        const HSTREAM stream = playCaptured(file, BASS_STREAM_PRESCAN, 60);
        ASSERT_NE(stream, 0u);
        // Half a second: 22050 output frames hold the file's frame rate / 2,
        // the frame under way not counted.
        const std::vector<int16_t> heard = step(30);
        const QWORD bytes = BASS_ChannelGetPosition(stream, BASS_POS_BYTE);
        EXPECT_EQ(bytes, static_cast<QWORD>(rate / 2) * channels * 2);
        EXPECT_NEAR(BASS_ChannelBytes2Seconds(stream, bytes), 0.5, 1.0 / rate);

        float fft[128];
        EXPECT_EQ(BASS_ChannelGetData(stream, fft, BASS_DATA_FFT256), 256u * 2 * channels);
        EXPECT_EQ(std::max_element(fft, fft + 128) - fft, 16);

        const double expected = rate / 16.0;
        for (int side = 0; side < 2; ++side)
        {
            SCOPED_TRACE(side == 0 ? "left" : "right");
            EXPECT_NEAR(frequency(heard, side, 4410, 22050, 44100.0), expected, expected / 200);
            int16_t peak = 0;
            for (size_t i = 4410; i < 22050; ++i)
                peak = std::max(peak, heard[2 * i + side]);
            EXPECT_GT(peak, 0.45 * 32767);
        }

        step(70);
        const QWORD end = BASS_ChannelGetPosition(stream, BASS_POS_BYTE);
        EXPECT_EQ(end, frames * channels * 2);
        EXPECT_DOUBLE_EQ(BASS_ChannelBytes2Seconds(stream, end),
                         static_cast<double>(frames) / rate);
        BASS_Free();
    }
}

TEST_F(BassTest, StreamReadsOnlyThroughTheUserFileAndClosesItOnFree)
{
    // The MP3 exists only behind the procedures; freeing closes it once.
    MemoryFile& file = keep(Mp3TestData::encode(Mp3TestData::tone(440, 0.5, 0.5, 2), 2));
    ASSERT_TRUE(BASS_Init(0, 44100, 0, nullptr, nullptr));
    const HSTREAM stream = create(file);
    ASSERT_NE(stream, 0u);
    EXPECT_GT(file.m_reads, 0);
    EXPECT_EQ(file.m_closes, 0);
    EXPECT_TRUE(BASS_Free());
    EXPECT_EQ(file.m_closes, 1);
}

TEST_F(BassTest, LengthInBytesAndSecondsIsThePcmMpg123Yields)
{
    // Played to its end, a stream without loop stops at exactly the decoded
    // PCM's length: 16-bit frames of the file's channels at its rate.
    const struct
    {
        const char* name;
        int channels;
        double seconds;
    } cases[] = {{"stereo", 2, 1.3}, {"mono", 1, 0.7}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        MemoryFile& file = keep(
            Mp3TestData::encode(Mp3TestData::tone(440, c.seconds, 0.5, c.channels), c.channels));
        const std::vector<int16_t> reference = Mp3TestData::decode(file.m_bytes);
        const uint64_t frames = reference.size() / c.channels;

        const HSTREAM stream = playCaptured(file, BASS_STREAM_PRESCAN, 60);
        ASSERT_NE(stream, 0u);
        step(static_cast<int>(frames / 735 + 3));

        const QWORD bytes = BASS_ChannelGetPosition(stream, BASS_POS_BYTE);
        EXPECT_EQ(bytes, frames * c.channels * 2);
        EXPECT_DOUBLE_EQ(BASS_ChannelBytes2Seconds(stream, bytes),
                         static_cast<double>(frames) / 44100.0);
        BASS_Free();
    }
}

TEST_F(BassRealTimeTest, PositionFollowsPlayAndRestartOnTheDefaultOutput)
{
    // On the default output the heard position starts at 0 on play and on
    // restart, moves on while playing, and never runs ahead of the sound: not
    // by the buffer SDL holds, nor faster than the wall clock. (SDL's dummy
    // driver waits 23 ms per 1024-frame buffer of 23.2 ms, which the slack
    // allows for; a loaded machine only makes the position lag, so the test
    // waits for it rather than for a time.)
    MemoryFile& file = keep(Mp3TestData::encode(Mp3TestData::tone(440, 3.0, 0.5, 2), 2));
    ASSERT_TRUE(BASS_Init(-1, 44100, 0, nullptr, nullptr));
    const HSTREAM stream = create(file);
    ASSERT_NE(stream, 0u);
    EXPECT_EQ(BASS_ChannelGetPosition(stream, BASS_POS_BYTE), 0u);

    const Clock::time_point started = Clock::now();
    ASSERT_TRUE(BASS_ChannelPlay(stream, TRUE));
    expectFirstMoveFromZero(stream, started);
    double played = 0.0;
    EXPECT_TRUE(Deadline::waitFor([&] { return (played = seconds(stream)) >= 0.2; }))
        << "the position stopped at " << played << " s";
    EXPECT_LE(played, secondsSince(started) + 0.012);

    const Clock::time_point restarted = Clock::now();
    ASSERT_TRUE(BASS_ChannelPlay(stream, TRUE));
    expectFirstMoveFromZero(stream, restarted);
}

TEST_F(BassRealTimeTest, NoSoundDevicePlaysAtWallClockPace)
{
    // Device 0 outputs nothing, yet the position moves with the wall clock.
    MemoryFile& file = keep(Mp3TestData::encode(Mp3TestData::tone(440, 3.0, 0.5, 2), 2));
    ASSERT_TRUE(BASS_Init(0, 44100, 0, nullptr, nullptr));
    const HSTREAM stream = create(file);
    ASSERT_NE(stream, 0u);

    const Clock::time_point before = Clock::now();
    ASSERT_TRUE(BASS_ChannelPlay(stream, FALSE));
    const double slept = 0.4;
    std::this_thread::sleep_for(std::chrono::duration<double>(slept));
    const double position = seconds(stream);
    const double elapsed = secondsSince(before);
    EXPECT_GE(position, slept - 0.001);
    EXPECT_LE(position, elapsed + 0.001);
}

TEST_F(BassRealTimeTest, SongsAtOtherRatesKeepWallClockPaceOnTheDefaultOutput)
{
    // On SDL's dummy output at 44.1 kHz, files at 48, 22.05 and 8 kHz move
    // on one second of song per second: never ahead of the wall clock (a
    // song played at the output's rate unconverted would run 8.8 % to 5.5
    // times too fast), and on to the end.
    for (const size_t index : {size_t(0), size_t(3), size_t(7)})
    {
        const Mp3Kind& kind = kMp3Kinds[index];
        SCOPED_TRACE(kind.name);
        MemoryFile& file = keep(encodeKind(kind, 1.5));
        ASSERT_TRUE(BASS_Init(-1, 44100, 0, nullptr, nullptr));
        const HSTREAM stream = create(file);
        ASSERT_NE(stream, 0u);
        const Clock::time_point started = Clock::now();
        ASSERT_TRUE(BASS_ChannelPlay(stream, TRUE));
        double played = 0.0;
        bool neverAhead = true;
        EXPECT_TRUE(Deadline::waitFor([&] {
            const double elapsed = secondsSince(started);
            played = seconds(stream);
            neverAhead &= played <= elapsed + 0.012;
            return played >= 1.0;
        })) << "the position stopped at "
            << played << " s";
        EXPECT_TRUE(neverAhead);
        EXPECT_LE(played, secondsSince(started) + 0.012);
        BASS_Free();
    }
}

// A PulseAudio server of the test's own: a null sink, its own runtime
// folder and socket, no system service, no autospawn; clients of this
// process find it through the environment.
class SoundServer
{
public:
    SoundServer()
    {
        const std::string script = m_folder.file("server.pa");
        FILE* file = fopen(script.c_str(), "w");
        if (!file)
            return;
        fprintf(file,
                "load-module module-null-sink sink_name=probe rate=44100\n"
                "load-module module-native-protocol-unix socket=%s auth-anonymous=1\n"
                "set-default-sink probe\n",
                m_folder.file("native").c_str());
        fclose(file);
        writeText("client.conf", "autospawn = no\n");
        m_pid = fork();
        if (m_pid == 0)
        {
            const std::string home = m_folder.path().string();
            setenv("HOME", home.c_str(), 1);
            setenv("XDG_RUNTIME_DIR", home.c_str(), 1);
            setenv("PULSE_RUNTIME_PATH", m_folder.file("run").c_str(), 1);
            freopen(m_folder.file("server.log").c_str(), "w", stderr);
            execlp("pulseaudio", "pulseaudio", "-n", "-F", script.c_str(), "--daemonize=no",
                   "--exit-idle-time=-1", "--use-pid-file=no", "--system=no", "--log-target=stderr",
                   static_cast<char*>(nullptr));
            _exit(127);
        }
        setenv("PULSE_SERVER", ("unix:" + m_folder.file("native")).c_str(), 1);
        setenv("PULSE_CLIENTCONFIG", m_folder.file("client.conf").c_str(), 1);
    }

    ~SoundServer()
    {
        kill();
        unsetenv("PULSE_SERVER");
        unsetenv("PULSE_CLIENTCONFIG");
    }

    // Waits until the server takes clients; false if it never does.
    bool up()
    {
        return m_pid > 0 &&
               Deadline::waitFor([] { return system("pactl info >/dev/null 2>&1") == 0; });
    }

    void kill()
    {
        if (m_pid <= 0)
            return;
        ::kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
        m_pid = -1;
    }

private:
    void writeText(const char* a_name, const char* a_text)
    {
        if (FILE* file = fopen(m_folder.file(a_name).c_str(), "w"))
        {
            fputs(a_text, file);
            fclose(file);
        }
    }

    TemporaryFolder m_folder;
    pid_t m_pid = -1;
};

TEST_F(BassRealTimeTest, ServerThatGoesAwayLeavesTheClockRunningAtWallClockPace)
{
    // Played on a PulseAudio server that is then killed, the position goes
    // on at the wall clock's pace from where the sound stopped, never
    // standing still and never running back.
    SoundServer server;
    ASSERT_TRUE(server.up()) << "pulseaudio did not start";
    unsetenv("SDL_AUDIODRIVER");
    MemoryFile& file = keep(Mp3TestData::encode(Mp3TestData::tone(440, 5.0, 0.5, 2), 2));
    ASSERT_TRUE(BASS_Init(-1, 44100, 0, nullptr, nullptr));
    const HSTREAM stream = create(file);
    ASSERT_NE(stream, 0u);
    ASSERT_TRUE(BASS_ChannelPlay(stream, TRUE));
    double position = 0.0;
    ASSERT_TRUE(Deadline::waitFor([&] { return (position = seconds(stream)) >= 0.5; }))
        << "the position stopped at " << position << " s";

    server.kill();
    const Clock::time_point killed = Clock::now();
    const double atKill = seconds(stream);
    double last = atKill;
    bool neverBack = true;
    while (secondsSince(killed) < 1.0)
    {
        const double now = seconds(stream);
        neverBack &= now >= last;
        last = now;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_TRUE(neverBack);
    // The writer notices the loss within one block of sound.
    EXPECT_GE(last - atKill, 0.9);
    EXPECT_LE(last - atKill, secondsSince(killed) + 0.05);
}

TEST_F(BassTest, LoopFlagWrapsThePositionAndWithoutItThePositionStops)
{
    // With BASS_SAMPLE_LOOP the position runs on modulo the length; without
    // it the position stays at the length and the spectrum reports the end.
    MemoryFile& file = keep(Mp3TestData::encode(Mp3TestData::tone(440, 0.25, 0.5, 2), 2));
    const uint64_t length = Mp3TestData::decode(file.m_bytes).size() / 2;
    const struct
    {
        int steps;  // of 735 frames (60 fps)
    } cases[] = {{0}, {1}, {14}, {15}, {16}, {40}, {123}};
    for (const bool loop : {true, false})
    {
        const HSTREAM stream =
            playCaptured(file, BASS_STREAM_PRESCAN | (loop ? BASS_SAMPLE_LOOP : 0), 60);
        ASSERT_NE(stream, 0u);
        int stepped = 0;
        for (const auto& c : cases)
        {
            SCOPED_TRACE(testing::Message() << (loop ? "loop" : "once") << ", steps " << c.steps);
            step(c.steps - stepped);
            stepped = c.steps;
            const uint64_t frames = 735ull * c.steps;
            const uint64_t expected = loop ? frames % length : std::min(frames, length);
            EXPECT_EQ(BASS_ChannelGetPosition(stream, BASS_POS_BYTE), expected * 4);
            float fft[128];
            const bool ended = !loop && frames >= length;
            EXPECT_EQ(BASS_ChannelGetData(stream, fft, BASS_DATA_FFT256),
                      ended ? DWORD(-1) : 1024u);
            if (ended)
            {
                EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_ENDED);
            }
        }
        BASS_Free();
    }
}

TEST_F(BassTest, PlayingAnEndedStreamStartsItAgain)
{
    // A stream that played to its end starts from the beginning on play.
    MemoryFile& file = keep(Mp3TestData::encode(Mp3TestData::tone(440, 0.1, 0.5, 2), 2));
    const HSTREAM stream = playCaptured(file, BASS_STREAM_PRESCAN, 60);
    ASSERT_NE(stream, 0u);
    step(10);
    ASSERT_GT(BASS_ChannelGetPosition(stream, BASS_POS_BYTE), 0u);
    ASSERT_TRUE(BASS_ChannelPlay(stream, FALSE));
    EXPECT_EQ(BASS_ChannelGetPosition(stream, BASS_POS_BYTE), 0u);
    step(1);
    EXPECT_EQ(BASS_ChannelGetPosition(stream, BASS_POS_BYTE), 735u * 4);
}

TEST_F(BassTest, Fft256PeaksAtTheTonesBinAndIsZeroForSilence)
{
    // 128 Hann-windowed magnitudes: bin k holds k * 44100 / 256 Hz, so 5 kHz
    // lands in bin 29; a sine of amplitude a reads about a / 2 there (the
    // window's mean is 1/2 and a full-scale signal reads at most 1).
    const struct
    {
        const char* name;
        double frequency;
        double amplitude;
        int channels;
    } cases[] = {
        {"5 kHz stereo", 5000, 0.5, 2}, {"5 kHz mono", 5000, 0.5, 1}, {"silence", 0, 0, 2}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        MemoryFile& file = keep(Mp3TestData::encode(
            Mp3TestData::tone(c.frequency, 1.0, c.amplitude, c.channels), c.channels));
        const HSTREAM stream = playCaptured(file, BASS_STREAM_PRESCAN, 60);
        ASSERT_NE(stream, 0u);
        step(20);

        float fft[128];
        EXPECT_EQ(BASS_ChannelGetData(stream, fft, BASS_DATA_FFT256), 256u * 2 * c.channels);
        const float* peak = std::max_element(fft, fft + 128);
        if (c.amplitude == 0)
        {
            EXPECT_EQ(*peak, 0.0f);
            EXPECT_EQ(*std::min_element(fft, fft + 128), 0.0f);
        }
        else
        {
            EXPECT_EQ(peak - fft, 29);
            EXPECT_NEAR(*peak, c.amplitude / 2, 0.03);
            EXPECT_LT(fft[10], *peak / 100);
        }
        BASS_Free();
    }
}

}
