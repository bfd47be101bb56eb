// The generated soundtrack, decoded as a player decodes it, against the demo's timeline.
//
// Untested ideas: a loudness measure weighted like the ear (ITU-R BS.1770) instead of
// plain RMS; the spectrum exactly as the Break filter reads it (a 256-point FFT).
#include "Biquad.h"
#include "DecodedSong.h"
#include "OnsetEnvelope.h"

#include <gtest/gtest.h>

#include <math.h>

#include <algorithm>
#include <string>
#include <vector>

namespace
{

// The demo's clock: 170 beats per minute, 456 beats until it ends.
constexpr double kSecondsPerBeat = 60.0 / 170.0;
constexpr double kDemoBeats = 456.0;
constexpr double kRate = 44100.0;

// The demo's parts, as its timeline plays them (start and end beat).
struct Part
{
    const char* name;
    double from;
    double to;
};

const Part kParts[] = {
    {"hog", 0, 64},      {"test", 64, 128},       {"balls", 128, 144}, {"test", 144, 160},
    {"balls", 160, 192}, {"satellite", 192, 256}, {"test", 256, 272},  {"satellite", 272, 288},
    {"hog", 288, 321},   {"blob", 321, 352},      {"test", 352, 385},  {"blob", 385, 416},
    {"balls", 416, 432}, {"test", 432, 456},
};

// Everything the tests measure, computed once per process.
struct Analysis
{
    DecodedSong song;
    std::string error;
    bool loaded = false;
    std::vector<float> mono;
    std::vector<float> crack;  // 3.4 to 6.9 kHz: where the Break filter reads the spectrum
};

const Analysis& analysis()
{
    static Analysis* result = [] {
        Analysis* a = new Analysis;
        a->loaded = a->song.load(TARVO_MUSIC_FILE, a->error);
        if (a->loaded)
        {
            a->mono = a->song.mono();
            a->crack = Biquad::band(a->mono, 3400.0, 6900.0, kRate);
        }
        return a;
    }();
    return *result;
}

double rmsDb(const std::vector<float>& a_signal, double a_fromBeat, double a_toBeat)
{
    const size_t from = static_cast<size_t>(a_fromBeat * kSecondsPerBeat * kRate);
    const size_t to =
        std::min(a_signal.size(), static_cast<size_t>(a_toBeat * kSecondsPerBeat * kRate));
    double sum = 0.0;
    for (size_t i = from; i < to; ++i)
        sum += static_cast<double>(a_signal[i]) * a_signal[i];
    return 10.0 * log10(sum / static_cast<double>(to - from) + 1.0e-20);
}

std::vector<double> range(double a_first, double a_last, double a_step)
{
    std::vector<double> beats;
    for (double beat = a_first; beat <= a_last; beat += a_step)
        beats.push_back(beat);
    return beats;
}

class SongTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(analysis().loaded) << TARVO_MUSIC_FILE << ": " << analysis().error;
    }
};

}

// The song is 44.1 kHz stereo and lasts the demo's 456 beats plus a short ring-out.
TEST_F(SongTest, LastsTheDemosBeatsAt44100HzStereo)
{
    const DecodedSong& song = analysis().song;
    EXPECT_EQ(song.sampleRate(), 44100);
    EXPECT_EQ(song.channels(), 2);
    EXPECT_GE(song.seconds(), kDemoBeats * kSecondsPerBeat);  // 160.94 s
    EXPECT_LE(song.seconds(), kDemoBeats * kSecondsPerBeat + 8.0);
}

// No decoded sample reaches full scale, so nothing clips on the way to the speakers.
TEST_F(SongTest, PeakStaysBelowFullScale)
{
    const DecodedSong& song = analysis().song;
    float peak = 0.0f;
    for (size_t i = 0; i < song.frames(); ++i)
        peak = std::max({peak, fabsf(song.left()[i]), fabsf(song.right()[i])});
    EXPECT_LT(peak, 1.0f);
    EXPECT_GT(peak, 0.5f) << "a mastered track uses most of the range";
}

// The level is that of a mastered track: loud overall, each part of the demo
// audible, and no beat dropping out.
TEST_F(SongTest, LoudnessIsThatOfAMasteredTrackWithNothingSilent)
{
    const std::vector<float>& mono = analysis().mono;
    const double overall = rmsDb(mono, 0.0, kDemoBeats);
    EXPECT_GE(overall, -16.0);
    EXPECT_LE(overall, -9.0);
    for (const Part& part : kParts)
    {
        SCOPED_TRACE(std::string(part.name) + " from beat " + std::to_string(part.from));
        EXPECT_GE(rmsDb(mono, part.from, part.to), -20.0);
    }
    for (double beat = 0.0; beat < kDemoBeats; beat += 1.0)
    {
        SCOPED_TRACE("beat " + std::to_string(beat));
        EXPECT_GE(rmsDb(mono, beat, beat + 1.0), -40.0);
    }
}

// The hits fall on a 170 BPM grid whose beats start at the song's first sample.
TEST_F(SongTest, OnsetsFollowThe170BpmGrid)
{
    const std::vector<float> mid = Biquad::band(analysis().mono, 1500.0, 0.0, kRate);
    const OnsetEnvelope onsets(mid, 128, kRate);
    const double end = kDemoBeats * kSecondsPerBeat;
    EXPECT_NEAR(onsets.tempo(100.0, 220.0, 0.0, end), 170.0, 0.5);
    const double phase = onsets.phase(kSecondsPerBeat, 0.0, end);
    EXPECT_LT(std::min(phase, kSecondsPerBeat - phase), 0.012) << "grid offset " << phase << " s";
}

// Every beat on which the picture flashes, shows a title or cuts to a new part is
// an audible hit: the level jumps by 6 dB or more within a few milliseconds of
// it, in the highs (snare, crash) or the lows (kick, boom).
TEST_F(SongTest, HitsLandOnTheBeatsWhereThePictureFlashes)
{
    const std::vector<float>& mono = analysis().mono;
    const OnsetEnvelope highs(Biquad::band(mono, 1500.0, 0.0, kRate), 128, kRate);
    const OnsetEnvelope lows(Biquad::band(mono, 0.0, 150.0, kRate), 128, kRate);

    struct Group
    {
        const char* name;
        std::vector<double> beats;
    };
    const Group groups[] = {
        {"hog flashes", {0, 16, 32, 48}},
        {"test flashes", {64, 80, 96, 112, 144}},
        {"balls backbeats", range(129, 143, 2)},
        {"balls backbeats", range(161, 191, 2)},
        {"satellite drop", {192}},
        {"satellite half-time", range(197, 253, 4)},
        {"title cards", {288, 296, 304, 312}},
        {"blob backbeats", range(321, 351, 2)},
        {"test backbeats", range(353, 383, 2)},
        {"blob backbeats", range(385, 415, 2)},
        {"balls backbeats", range(417, 431, 2)},
        {"logo hits", {433, 435, 437, 439}},
    };
    for (const Group& group : groups)
    {
        for (double beat : group.beats)
        {
            SCOPED_TRACE(std::string(group.name) + ", beat " + std::to_string(beat));
            const double t = beat * kSecondsPerBeat;
            const double rise =
                std::max(highs.strongestRise(t, 0.010, 0.025), lows.strongestRise(t, 0.010, 0.025));
            EXPECT_GE(rise, 6.0);
        }
    }
}

// The flashes on the sixteen-beat marks, the drop into the satellite part, the
// title cards and the last chord are impacts with a crash: for 300 ms after the
// beat the 3.4-6.9 kHz band rings 5 dB or more above the same moment one bar later.
TEST_F(SongTest, ImpactsRingOutOnTheBigFlashes)
{
    const std::vector<float>& crack = analysis().crack;
    const double ring = 0.05 / kSecondsPerBeat;   // the window starts 50 ms after the beat
    const double length = 0.3 / kSecondsPerBeat;  // and lasts 300 ms
    const double beats[] = {0, 16, 32, 48, 64, 80, 96, 112, 144, 192, 288, 296, 304, 448};
    for (double beat : beats)
    {
        SCOPED_TRACE("beat " + std::to_string(beat));
        const double after = rmsDb(crack, beat + ring, beat + ring + length);
        const double barLater = rmsDb(crack, beat + 4.0 + ring, beat + 4.0 + ring + length);
        EXPECT_GE(after - barLater, 5.0);
    }
}

// Hats and snares put energy between 3.4 and 6.9 kHz in every part of the demo,
// and every backbeat snare of the drops makes that band jump: that is what the
// Break filter shows.
TEST_F(SongTest, HatsAndSnaresCarryTheBandTheBreakFilterReads)
{
    const std::vector<float>& crack = analysis().crack;
    for (const Part& part : kParts)
    {
        SCOPED_TRACE(std::string(part.name) + " from beat " + std::to_string(part.from));
        EXPECT_GE(rmsDb(crack, part.from, part.to), -40.0);
    }
    const OnsetEnvelope onsets(crack, 128, kRate);
    for (const Part& part : kParts)
    {
        if (std::string(part.name) != "balls" && std::string(part.name) != "blob")
            continue;
        // The backbeats are the odd beats.
        for (double beat = 2.0 * floor(part.from / 2.0) + 1.0; beat < part.to; beat += 2.0)
        {
            SCOPED_TRACE(std::string(part.name) + ", beat " + std::to_string(beat));
            EXPECT_GE(onsets.strongestRise(beat * kSecondsPerBeat, 0.010, 0.025), 6.0);
        }
    }
}
