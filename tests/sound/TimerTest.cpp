// Timer: demo time is the soundtrack's heard position in seconds, the delta
// never negative, and nothing runs without a soundtrack.
#include "sound/Timer.h"

#include "platform/bass/BassFixture.h"
#include "platform/bass/Mp3TestData.h"
#include "sound/Soundtrack.h"
#include "sound/Time.h"
#include "support/ArchiveBuilder.h"
#include "support/TemporaryFolder.h"

extern bool g_loop;

namespace
{

// The soundtrack plays on the capture device at 60 frames per second, so
// demo time is exact: 735 sample frames a step.
class TimerTest : public BassFixture
{
protected:
    void SetUp() override
    {
        Time::g_time = Time::g_previousTime = Time::g_delta = 0.0f;
        ASSERT_TRUE(BassCapture::select(60));
    }
    void TearDown() override
    {
        Time::g_soundtrack = nullptr;
        Time::g_time = Time::g_previousTime = Time::g_delta = 0.0f;
        delete m_soundtrack;
        g_loop = false;
        BassFixture::TearDown();
    }

    void start(double a_seconds, const Mp3TestData::Encoding& a_encoding = {})
    {
        writeBytes(m_folder.file("KUV-2.mp3"),
                   Mp3TestData::encode(Mp3TestData::tone(440, a_seconds, 0.5, a_encoding.m_channels,
                                                         a_encoding.m_rate),
                                       a_encoding));
        m_soundtrack = Soundtrack::create(170.0f);
        ASSERT_NE(m_soundtrack, nullptr);
        ASSERT_TRUE(BASS_ChannelPlay(m_soundtrack->m_stream, TRUE));
        Time::g_soundtrack = m_soundtrack;
    }

    TemporaryFolder m_folder{true};
    Soundtrack* m_soundtrack = nullptr;
};

TEST(TimerDeathTest, UpdateWithoutASoundtrackFailsItsAssertion)
{
    // The clock needs the soundtrack that drives it.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    Time::g_soundtrack = nullptr;
    EXPECT_DEATH(Timer::update(), "Time::g_soundtrack, file Timer\\.cpp");
}

TEST_F(TimerTest, TimeIsTheHeardPositionInSeconds)
{
    // After k steps demo time is k * 735 / 44100 s, the previous time is the
    // last update's, and the delta their difference.
    start(3.0);
    const int steps[] = {0, 1, 2, 30, 61, 62, 120};
    int stepped = 0;
    float previous = 0.0f;
    for (const int k : steps)
    {
        SCOPED_TRACE(testing::Message() << k << " steps");
        step(k - stepped);
        stepped = k;
        Timer::update();
        const float expected = static_cast<float>(k * 735 / 44100.0);
        EXPECT_EQ(Time::g_time, expected);
        EXPECT_EQ(Time::g_previousTime, previous);
        EXPECT_EQ(Time::g_delta, expected - previous);
        previous = expected;
    }
}

TEST_F(TimerTest, TimeFollowsTheSongWhateverItsRate)
{
    // A song at another rate than the output's gives the same demo time
    // after k steps, to within the one sample frame under way, so the beat
    // grid stays on the music.
    const struct
    {
        const char* name;
        Mp3TestData::Encoding encoding;
    } cases[] = {{"48 kHz stereo", {48000, 2, false, 0}},
                 {"22.05 kHz mono", {22050, 1, false, 0}},
                 {"8 kHz mono VBR", {8000, 1, true, 0}}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        start(3.0, c.encoding);
        int stepped = 0;
        for (const int k : {1, 61, 170})
        {
            SCOPED_TRACE(testing::Message() << k << " steps");
            step(k - stepped);
            stepped = k;
            Timer::update();
            EXPECT_NEAR(Time::g_time, k * 735 / 44100.0, 1.0 / c.encoding.m_rate + 1e-6);
        }
        Time::g_soundtrack = nullptr;
        delete m_soundtrack;
        m_soundtrack = nullptr;
    }
}

TEST_F(TimerTest, LoopWrapReadsAsNoTimePassingAndRefreshesTheSpectrum)
{
    // When the looping soundtrack wraps, demo time drops to near 0, the
    // delta is 0 for that frame, and the next spectrum read refreshes at once.
    g_loop = true;
    start(0.5);
    step(27);
    Timer::update();
    const float beforeWrap = Time::g_time;
    ASSERT_GT(beforeWrap, 0.4f);
    m_soundtrack->getSpectrum();
    ASSERT_EQ(m_soundtrack->m_spectrumTime, beforeWrap);

    step(4);
    Timer::update();
    EXPECT_LT(Time::g_time, 0.1f);
    EXPECT_EQ(Time::g_previousTime, beforeWrap);
    EXPECT_EQ(Time::g_delta, 0.0f);
    m_soundtrack->getSpectrum();
    EXPECT_EQ(m_soundtrack->m_spectrumTime, Time::g_time);
}

}
