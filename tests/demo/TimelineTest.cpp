// The demo sequence on a small application: content loading, the part of
// every beat, the beat grid and envelopes, each part's flashes, cameras and
// times at the moments that matter, the overlays and the Break brightness,
// and the loading bar read back.
//
// Untested ideas: a second run of loadContent on the same state.
#include "demo/DemoApplication.h"

#include "core/LauncherSettings.h"
#include "demo/ContentLoading.h"
#include "demo/Timeline.h"
#include "filters/FilterBreak.h"
#include "filters/FilterDof.h"
#include "render/DeferredShading.h"
#include "render/RenderTarget.h"
#include "render/Renderer.h"
#include "render/RendererFixture.h"
#include "scene/Scene.h"
#include "sound/Soundtrack.h"
#include "sound/Time.h"

#include <gtest/gtest.h>

#include <string.h>

#include <algorithm>
#include <string>

namespace
{

// 60 / 170 seconds, as the demo rounds it to a float.
constexpr float kSecondsPerBeat = 0.35294118f;

class TimelineTest : public testing::Test
{
protected:
    static void SetUpTestSuite() { s_application = new DemoApplication(4.0); }
    static void TearDownTestSuite()
    {
        delete s_application;
        s_application = nullptr;
    }

    void SetUp() override
    {
        ASSERT_TRUE(s_application->m_ready);
        g_loop = false;
    }

    static DemoState& demo() { return s_application->m_demo; }
    static const TimelineTrace& trace() { return s_application->m_demo.m_trace; }
    // Demo time at a_beats, from the tempo's documented figure rather than
    // the timeline's own helpers.
    static float beats(float a_beats) { return a_beats * kSecondsPerBeat; }

    static DemoApplication* s_application;
};

DemoApplication* TimelineTest::s_application = nullptr;

// The heights of the lit runs of pixel column a_x of the back buffer.
std::vector<DWORD> column(Renderer* a_renderer, int a_x)
{
    const std::vector<DWORD> pixels = RendererFixture::readArgb(a_renderer->m_backBuffer);
    std::vector<DWORD> values;
    for (int y = 0; y < 720; ++y)
        values.push_back(pixels[size_t(y) * 1280 + size_t(a_x)] & 0xFFFFFF);
    return values;
}

}  // namespace

// Everything is loaded once: five scenes under their file names (a name
// already registered is not loaded again), the filters with the depth of
// field reading G-buffer 2, four targets of the renderer's size, "smnoise".
TEST_F(TimelineTest, ContentIsLoaded)
{
    Tarvo& tarvo = s_application->m_tarvo;
    EXPECT_EQ(tarvo.m_scenes.count(), 5u);
    EXPECT_EQ(loadScene(&demo(), "hog.qor"), demo().m_hogScene);
    EXPECT_EQ(tarvo.m_scenes.count(), 5u);
    EXPECT_EQ(tarvo.m_scenes.find("satellite.qor"), demo().m_satelliteScene);
    EXPECT_NE(tarvo.m_textures.find("smnoise"), nullptr);
    ASSERT_NE(demo().m_dof, nullptr);
    EXPECT_EQ(demo().m_dof->m_gbufferTarget, tarvo.m_deferred->m_gbuffer[2]);
    for (RenderTarget* target : demo().m_targets)
    {
        ASSERT_NE(target, nullptr);
        EXPECT_EQ(target->m_width, DemoApplication::kWidth);
        EXPECT_EQ(target->m_height, DemoApplication::kHeight);
    }
    EXPECT_NE(demo().m_credits2Image, nullptr);
    EXPECT_NE(demo().m_titleImages[2], nullptr);
    EXPECT_EQ(tarvo.m_soundtrack->m_bpm, 170.0f);
    for (const auto& box : s_application->m_boxes.boxes())
        ADD_FAILURE() << box.text;
}

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
    s_application->frameAt(0.0f);
    EXPECT_STREQ(trace().part, "hog");
    for (const auto& boundary : boundaries)
    {
        SCOPED_TRACE(boundary.beat);
        s_application->frameAt(boundary.beat - 0.01f);
        EXPECT_STREQ(trace().part, boundary.before);
        s_application->frameAt(boundary.beat);
        EXPECT_STREQ(trace().part, boundary.from);
    }
    g_loop = true;
    s_application->frameAt(460.0f);
    EXPECT_STREQ(trace().part, "test");
}

// With Loop off the last beat ends the demo: that frame is not drawn, the
// one before it is; with Loop on the demo goes on.
TEST_F(TimelineTest, LastBeatEndsTheDemo)
{
    EXPECT_TRUE(s_application->frameAt(Timeline::kLastBeat - 0.01f));
    EXPECT_FALSE(s_application->frameAt(Timeline::kLastBeat));
    g_loop = true;
    EXPECT_TRUE(s_application->frameAt(Timeline::kLastBeat));
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
    EXPECT_EQ(secondsPerBeat(&demo()), kSecondsPerBeat);
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.beats);
        EXPECT_EQ(beatTime(&demo(), c.bar, c.pattern, c.beat), beats(c.beats));
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
        Time::g_time = c.time;
        EXPECT_NEAR(pulse(10.0f, 2.0f, 1.0f), c.pulse, 1e-3f);
        EXPECT_NEAR(decay(10.0f, 1.0f, 1.0f), c.decay, 1e-3f);
        EXPECT_NEAR(decay(10.0f, 1.0f, 2.0f), c.decaySquared, 1e-3f);
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
        s_application->frameAt(c.beat + c.seconds / spb);
        EXPECT_STREQ(trace().part, c.part);
        EXPECT_NEAR(trace().envelope, c.envelope, 1e-3f);
    }
}

// The hog cycles its cameras every 16 beats; past 64 beats its camera's
// frame time is left where it was.
TEST_F(TimelineTest, HogCameras)
{
    const struct
    {
        float beat;
        uint32_t camera;
    } cases[] = {{15.9f, 0}, {16, 1}, {32, 2}, {48, 0}, {300, 0}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.beat);
        const float before = demo().m_hogScene->m_cameras.at(c.camera)->m_time;
        s_application->frameAt(c.beat);
        EXPECT_EQ(trace().cameraIndex, c.camera);
        if (c.beat >= 64)
        {
            EXPECT_EQ(trace().cameraTime, before);
        }
        else
        {
            const float start = beats(16.0f * float(int(c.beat / 16.0f)));
            EXPECT_EQ(trace().cameraTime, 15.0f * (beats(c.beat) - start));
        }
    }
}

// The test part's cameras by name, and their times at 353 beats; the blob's
// shake phase cuts every second beat.
TEST_F(TimelineTest, CamerasAndTimesOfTheOtherParts)
{
    s_application->frameAt(353.0f);
    EXPECT_STREQ(trace().camera, "Camera02");
    const float expected = -30.0f * (beats(353.0f) - beats(352.0f)) - 100.0f;
    EXPECT_EQ(trace().cameraTime, expected);
    EXPECT_EQ(trace().sceneTime, expected);
    s_application->frameAt(260.0f);
    EXPECT_STREQ(trace().camera, "Camera03");
    s_application->frameAt(100.0f);
    EXPECT_STREQ(trace().camera, "Camera01");
    EXPECT_EQ(trace().shakePhase, 2000.0f);

    s_application->frameAt(390.0f);
    EXPECT_STREQ(trace().part, "blob");
    EXPECT_EQ(trace().shakePhase, 33750.0f);
    EXPECT_EQ(trace().fovScale, 1.5f);
    s_application->frameAt(200.0f);
    EXPECT_GE(trace().fovScale, 0.5f);
    EXPECT_LE(trace().fovScale, 1.5f);
}

// Overlays flash in their ranges and stay assigned after them; the
// credits' steady force lasts only while a frame is drawn.
TEST_F(TimelineTest, Overlays)
{
    FilterBreak* filter = demo().m_break;
    s_application->frameAt(128.5f);
    EXPECT_STREQ(trace().overlay, "go.jpg");
    EXPECT_EQ(filter->m_overlay, demo().m_goImage);
    EXPECT_EQ(trace().overlayForce, 1.0f);
    s_application->frameAt(129.5f);
    EXPECT_EQ(filter->m_overlay, demo().m_goImage);
    EXPECT_EQ(trace().overlayForce, 0.0f);

    s_application->frameAt(230.0f);
    EXPECT_EQ(filter->m_overlay, demo().m_credits1Image);
    EXPECT_EQ(trace().overlayForce2, 1.0f);
    EXPECT_EQ(filter->m_overlayForce2, 0.0f);
    s_application->frameAt(297.0f);
    EXPECT_EQ(filter->m_overlay, demo().m_titleImages[1]);
    s_application->frameAt(440.0f);
    EXPECT_STREQ(trace().overlay, "logo.jpg");
}

// The first three frames of a run show nothing through the Break filter.
TEST_F(TimelineTest, FirstFramesAreDark)
{
    Timeline::g_finishedFrames = 0;
    for (float brightness : {0.0f, 0.0f, 0.0f, 1.0f, 1.0f})
    {
        s_application->frameAt(8.0f);
        EXPECT_EQ(trace().breakBrightness, brightness);
    }
}

// The Break filter draws into a spare target from the depth of field's
// output, which stays as the depth of field left it: applying the filter
// again from that output gives exactly the picture on the screen.
TEST_F(TimelineTest, BreakReadsTheDepthOfFieldOutput)
{
    Timeline::g_finishedFrames = 3;
    s_application->frameAt(8.0f);
    RenderTarget** targets = demo().m_targets;
    const std::vector<Texel> shown = RendererFixture::readTexels(*targets[1], D3DFMT_A16B16G16R16F);
    demo().m_break->apply(targets[2], targets[0], nullptr, nullptr, nullptr);
    const std::vector<Texel> again = RendererFixture::readTexels(*targets[2], D3DFMT_A16B16G16R16F);
    ASSERT_EQ(again.size(), shown.size());
    size_t differing = 0;
    double light = 0.0;
    for (size_t i = 0; i < shown.size(); ++i)
    {
        differing += memcmp(shown[i].c, again[i].c, sizeof(shown[i].c)) != 0;
        light += std::max(shown[i].c[0], 0.0f);
    }
    EXPECT_EQ(differing, 0u);
    EXPECT_GT(light, 100.0) << "a lit picture";
}

// Progress 0 is a black frame; 1/11 draws nine segments, the last 72
// pixels tall around row 576; more progress keeps the first ones' sizes.
TEST_F(TimelineTest, LoadingBar)
{
    Renderer* renderer = s_application->m_tarvo.m_renderer;
    drawLoadingBar(&demo(), 0.0f);
    for (int x : {320, 380, 600})
    {
        for (DWORD pixel : column(renderer, x))
            ASSERT_EQ(pixel, 0u) << x;
    }

    const float eleventh = static_cast<float>(0.09090909361839294);
    drawLoadingBar(&demo(), eleventh);
    const std::vector<DWORD> head = column(renderer, 380);
    int lit = 0, first = -1;
    for (int y = 0; y < 720; ++y)
    {
        if (head[size_t(y)] != 0)
        {
            ++lit;
            first = first < 0 ? y : first;
        }
    }
    EXPECT_EQ(lit, 72);
    EXPECT_EQ(first, 540);
    EXPECT_EQ(column(renderer, 400), std::vector<DWORD>(720, 0u)) << "nothing past the ninth";

    std::vector<std::vector<DWORD>> columns;
    for (int i = 0; i < 8; ++i)
        columns.push_back(column(renderer, 316 + 6 * i));
    drawLoadingBar(&demo(), static_cast<float>(double(eleventh) + 0.09090909361839294));
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(column(renderer, 316 + 6 * i), columns[size_t(i)]) << "segment " << i;
}
