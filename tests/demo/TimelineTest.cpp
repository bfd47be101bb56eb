// The demo's timeline without a device: the part of every beat, the beat
// grid and envelopes, each part's flashes, cameras and times at the moments
// that matter, what a frame hands on to the next, the overlays and the
// Break brightness, all read from the frames it describes.
#include "app/Tarvo.h"
#include "demo/DemoState.h"
#include "demo/Timeline.h"
#include "scene/Camera.h"
#include "scene/Scene.h"
#include "sound/Soundtrack.h"

#include "core/LauncherSettings.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

// 60 / 170 seconds, as the demo rounds it to a float.
constexpr float kSecondsPerBeat = 0.35294118f;

// The demo's record holding what the timeline reads: the soundtrack's tempo
// and the five scenes with their cameras by name (no meshes, no device).
class TimelineTest : public testing::Test
{
protected:
    void SetUp() override
    {
        g_loop = false;
        m_tarvo.m_soundtrack = new Soundtrack();
        m_tarvo.m_soundtrack->m_bpm = 170.0f;
        m_demo.m_tarvo = &m_tarvo;
        const struct
        {
            Scene* scene;
            Scene** slot;
            int cameras;
        } scenes[] = {{&m_hog, &m_demo.m_hogScene, 3},
                      {&m_test, &m_demo.m_testScene, 3},
                      {&m_balls, &m_demo.m_ballsScene, 1},
                      {&m_blob, &m_demo.m_blobScene, 1},
                      {&m_satellite, &m_demo.m_satelliteScene, 1}};
        for (const auto& entry : scenes)
        {
            *entry.slot = entry.scene;
            for (int i = 1; i <= entry.cameras; ++i)
                entry.scene->m_cameras.add(("Camera0" + std::to_string(i)).c_str(), new Camera());
        }
    }
    void TearDown() override { g_loop = false; }

    // The next frame, at a_beat beats.
    FrameDescription at(float a_beat) { return describeFrame(&m_demo, beats(a_beat)); }
    // Demo time at a_beats, from the tempo's documented figure rather than
    // the timeline's own helpers.
    static float beats(float a_beats) { return a_beats * kSecondsPerBeat; }

    DemoState m_demo = {};
    Tarvo m_tarvo{&m_demo};
    Scene m_hog{nullptr};
    Scene m_test{nullptr};
    Scene m_balls{nullptr};
    Scene m_blob{nullptr};
    Scene m_satellite{nullptr};
};

}  // namespace

// Each range holds its start and not its end; with Loop on, the test part
// plays on past the last beat.
TEST_F(TimelineTest, PartOfEveryBeat)
{
    const struct
    {
        float beat;
        const char* before;
        const char* from;
    } boundaries[] = {
        {64, "hog", "test"},        {128, "test", "balls"},      {144, "balls", "test"},
        {160, "test", "balls"},     {192, "balls", "satellite"}, {256, "satellite", "test"},
        {272, "test", "satellite"}, {288, "satellite", "hog"},   {321, "hog", "blob"},
        {352, "blob", "test"},      {385, "test", "blob"},       {416, "blob", "balls"},
        {432, "balls", "test"},
    };
    EXPECT_STREQ(at(0.0f).part, "hog");
    for (const auto& boundary : boundaries)
    {
        SCOPED_TRACE(boundary.beat);
        EXPECT_STREQ(at(boundary.beat - 0.01f).part, boundary.before);
        EXPECT_STREQ(at(boundary.beat).part, boundary.from);
    }
    g_loop = true;
    EXPECT_STREQ(at(460.0f).part, "test");
}

// With Loop off the last beat ends the demo: that frame is described as
// ended, the one before it is not; with Loop on the demo goes on.
TEST_F(TimelineTest, LastBeatEndsTheDemo)
{
    EXPECT_FALSE(at(Timeline::kLastBeat - 0.01f).ended);
    const FrameDescription last = at(Timeline::kLastBeat);
    EXPECT_TRUE(last.ended);
    EXPECT_EQ(last.part, nullptr);
    EXPECT_EQ(m_demo.m_memory.finishedFrames, 1u) << "an ended frame hands nothing on";
    g_loop = true;
    EXPECT_FALSE(at(Timeline::kLastBeat).ended);
}

// The musical grid: (bar, pattern, beat) to beats.
TEST_F(TimelineTest, BeatTimes)
{
    const struct
    {
        int bar, pattern, beat;
        float beats;
    } cases[] = {{1, 3, 1, 48},   {1, 16, 1, 256}, {1, 17, 1, 272}, {1, 18, 1, 288},
                 {1, 19, 1, 304}, {1, 19, 3, 306}, {1, 20, 2, 321}, {1, 22, 1, 352},
                 {1, 22, 2, 353}, {1, 24, 2, 385}, {1, 26, 1, 416}, {1, 26, 2, 417},
                 {1, 27, 1, 432}, {3, 18, 1, 296}, {3, 19, 1, 312}};
    EXPECT_EQ(secondsPerBeat(&m_demo), kSecondsPerBeat);
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.beats);
        EXPECT_EQ(beatTime(&m_demo, c.bar, c.pattern, c.beat), beats(c.beats));
    }
}

// pulse is 1 at its centre and 0 from its width on; decay is 0 at its
// start, full just after it and 0 at its width.
TEST_F(TimelineTest, PulseAndDecayEdges)
{
    const struct
    {
        float time;
        float pulse, decay, decaySquared;
    } cases[] = {
        {8.0f, 0.0f, 0.0f, 0.0f},    {9.0f, 0.5f, 0.0f, 0.0f},        {10.0f, 1.0f, 0.0f, 0.0f},
        {10.5f, 0.75f, 0.5f, 0.75f}, {11.0f, 0.5f, 0.0f, 0.0f},       {11.5f, 0.25f, 0.0f, 0.0f},
        {12.0f, 0.0f, 0.0f, 0.0f},   {10.0001f, 1.0f, 0.9999f, 1.0f},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.time);
        EXPECT_NEAR(pulse(c.time, 10.0f, 2.0f, 1.0f), c.pulse, 1e-3f);
        EXPECT_NEAR(decay(c.time, 10.0f, 1.0f, 1.0f), c.decay, 1e-3f);
        EXPECT_NEAR(decay(c.time, 10.0f, 1.0f, 2.0f), c.decaySquared, 1e-3f);
    }
}

// The brightness envelope of each part on its flashes and between them;
// overlapping flashes take it below 0.
TEST_F(TimelineTest, FlashesOfEachPart)
{
    const float spb = kSecondsPerBeat;
    const struct
    {
        const char* part;
        float beat;
        float seconds;  // after the beat
        float envelope;
    } cases[] = {
        {"hog", 8, 0, 1.0f},
        {"hog", 16, 0.25f, 0.25f},
        {"test", 100, 0, 1.0f},
        {"test", 80, 0.5f, 0.5f},
        {"test", 353, 0.3f, 1.0f - 0.7f / 1.5f},
        {"balls", 128.5f, 0, 1.0f},
        {"balls", 129, 0.5f, 0.5f},
        {"balls", 130, 0, 1.0f - (1.0f - spb)},
        {"balls", 191, 0.9f * spb, 1.0f - (1.0f - 0.9f * spb) - 3.6f * (1.0f - 0.1f * spb / 4.0f)},
        {"blob", 321, 0, 1.0f},
        {"blob", 321, 0.5f, 0.5f},
        {"blob", 385, 0.5f, 1.0f - 0.5f / 1.3f},
        {"satellite", 195, 0, 1.0f},
        {"satellite", 192, 0.5f, 0.0f},
        {"satellite", 197, 0.5f, 0.5f},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(std::string(c.part) + " " + std::to_string(c.beat));
        const FrameDescription frame = at(c.beat + c.seconds / spb);
        EXPECT_STREQ(frame.part, c.part);
        EXPECT_NEAR(frame.envelope, c.envelope, 1e-3f);
    }
}

// The hog cycles its cameras every 16 beats; past 64 beats a camera's frame
// time stays where the opening's last frame with it left it (0 when the
// opening was never described).
TEST_F(TimelineTest, HogCamerasKeepTheOpeningsTimes)
{
    EXPECT_EQ(at(300.0f).cameraTime, 0.0f);
    const struct
    {
        float beat;
        uint32_t camera;
    } cases[] = {{15.9f, 0}, {16, 1}, {32, 2}, {48, 0}, {50, 0}};
    float last[3] = {};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.beat);
        const FrameDescription frame = at(c.beat);
        EXPECT_EQ(frame.cameraIndex, c.camera);
        EXPECT_EQ(frame.camera, m_hog.m_cameras.at(c.camera));
        const float start = beats(16.0f * float(int(c.beat / 16.0f)));
        EXPECT_EQ(frame.cameraTime, 15.0f * (beats(c.beat) - start));
        last[c.camera] = frame.cameraTime;
    }
    for (float beat : {300.0f, 306.0f, 310.0f})
    {
        SCOPED_TRACE(beat);
        const FrameDescription frame = at(beat);
        EXPECT_STREQ(frame.part, "hog");
        EXPECT_EQ(frame.cameraTime, last[frame.cameraIndex]);
    }
}

// The test part's cameras by name, and their times at 353 beats; the blob's
// shake phase cuts every second beat.
TEST_F(TimelineTest, CamerasAndTimesOfTheOtherParts)
{
    FrameDescription frame = at(353.0f);
    EXPECT_STREQ(frame.cameraName, "Camera02");
    EXPECT_EQ(frame.camera, m_test.m_cameras.find("Camera02"));
    const float expected = -30.0f * (beats(353.0f) - beats(352.0f)) - 100.0f;
    EXPECT_EQ(frame.cameraTime, expected);
    EXPECT_EQ(frame.sceneTime, expected);
    EXPECT_STREQ(at(260.0f).cameraName, "Camera03");
    frame = at(100.0f);
    EXPECT_STREQ(frame.cameraName, "Camera01");
    EXPECT_EQ(frame.cameraIndex, 0u);
    EXPECT_EQ(frame.shakePhase, 2000.0f);
    EXPECT_EQ(frame.fovScale, 1.0f);

    frame = at(390.0f);
    EXPECT_STREQ(frame.part, "blob");
    EXPECT_EQ(frame.scene, &m_blob);
    EXPECT_EQ(frame.shakePhase, 33750.0f);
    EXPECT_EQ(frame.fovScale, 1.5f);
    EXPECT_TRUE(frame.flicker);
    frame = at(200.0f);
    EXPECT_GE(frame.fovScale, 0.5f);
    EXPECT_LE(frame.fovScale, 1.5f);
    EXPECT_FALSE(frame.flicker) << "the satellite's lights keep their intensity";
}

// Overlays flash in their ranges, the credits steadily; after its range the
// overlay stays the one assigned, with no force.
TEST_F(TimelineTest, Overlays)
{
    EXPECT_EQ(at(8.0f).overlay, nullptr);
    const struct
    {
        float beat;
        const char* overlay;
        float force, force2;
    } cases[] = {
        {128.5f, "go.jpg", 1, 0},    {129.5f, "go.jpg", 0, 0},    {230, "credits1.jpg", 0, 1},
        {245, "credits2.jpg", 0, 1}, {253, "credits2.jpg", 0, 0}, {297, "title2.jpg", 1, 0},
        {316, "holdit.jpg", 1, 0},   {440, "logo.jpg", 1, 0},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.beat);
        const FrameDescription frame = at(c.beat);
        EXPECT_STREQ(frame.overlay, c.overlay);
        EXPECT_EQ(frame.overlayForce, c.force);
        EXPECT_EQ(frame.overlayForce2, c.force2);
    }
}

// The first three frames of a run show nothing through the Break filter.
TEST_F(TimelineTest, FirstFramesAreDark)
{
    for (float brightness : {0.0f, 0.0f, 0.0f, 1.0f, 1.0f})
        EXPECT_EQ(at(8.0f).breakBrightness, brightness);
}
