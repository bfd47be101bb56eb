// The demo on a small application: its content loaded once, described
// frames drawn (the scene posed as described, the Break filter's overlay and
// input), and the loading bar read back.
//
// Untested ideas: a second run of loadContent on the same state.
#include "demo/DemoApplication.h"

#include "core/LauncherSettings.h"
#include "demo/ContentLoading.h"
#include "demo/Timeline.h"
#include "filters/FilterBreak.h"
#include "filters/FilterDof.h"
#include "lights/Light.h"
#include "render/DeferredShading.h"
#include "render/RenderTarget.h"
#include "render/Renderer.h"
#include "render/RendererFixture.h"
#include "scene/Scene.h"
#include "sound/Soundtrack.h"

#include <gtest/gtest.h>

#include <string.h>

#include <algorithm>
#include <vector>

namespace
{

class FrameDrawingTest : public testing::Test
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

    static DemoApplication* s_application;
};

DemoApplication* FrameDrawingTest::s_application = nullptr;

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
TEST_F(FrameDrawingTest, ContentIsLoaded)
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

// Drawing puts the described times, camera, shake, field of view and
// flicker on the part's scene before its first pass.
TEST_F(FrameDrawingTest, DrawingPosesTheScene)
{
    for (float beat : {8.0f, 200.0f, 330.0f})
    {
        SCOPED_TRACE(beat);
        ASSERT_TRUE(s_application->frameAt(beat));
        const FrameDescription& frame = demo().m_frame;
        Scene* scene = frame.scene;
        ASSERT_NE(scene, nullptr);
        EXPECT_EQ(scene->m_camera, frame.camera);
        EXPECT_EQ(scene->m_time, frame.sceneTime);
        EXPECT_EQ(frame.camera->m_time, frame.cameraTime);
        EXPECT_EQ(frame.camera->m_positionShake, frame.positionShake);
        EXPECT_EQ(frame.camera->m_shakePhase, frame.shakePhase);
        EXPECT_EQ(frame.camera->m_fovScale, frame.fovScale);
        if (frame.flicker)
        {
            EXPECT_EQ(scene->m_lights.at(0)->m_intensity, frame.firstLightIntensity);
        }
    }
}

// Overlays stay assigned to the Break filter after their stretch; the
// credits' steady force lasts only while a frame is drawn.
TEST_F(FrameDrawingTest, OverlaysReachTheBreakFilter)
{
    FilterBreak* filter = demo().m_break;
    s_application->frameAt(128.5f);
    EXPECT_EQ(filter->m_overlay, demo().m_goImage);
    EXPECT_EQ(filter->m_overlayForce, 1.0f);
    s_application->frameAt(129.5f);
    EXPECT_EQ(filter->m_overlay, demo().m_goImage);
    EXPECT_EQ(filter->m_overlayForce, 0.0f);
    s_application->frameAt(230.0f);
    EXPECT_EQ(filter->m_overlay, demo().m_credits1Image);
    EXPECT_EQ(filter->m_overlayForce2, 0.0f);
    s_application->frameAt(297.0f);
    EXPECT_EQ(filter->m_overlay, demo().m_titleImages[1]);
}

// The Break filter draws into a spare target from the depth of field's
// output, which stays as the depth of field left it: applying the filter
// again from that output gives exactly the picture on the screen.
TEST_F(FrameDrawingTest, BreakReadsTheDepthOfFieldOutput)
{
    demo().m_memory.finishedFrames = 3;
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
TEST_F(FrameDrawingTest, LoadingBar)
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
