// The application object and its window: the window each mode gets, the
// procedure's answers, the pump that stops at the quit, and the frame with
// its first-frame clock, with or without a soundtrack.
#include "app/Tarvo.h"

#include "core/FatalError.h"
#include "core/LauncherSettings.h"
#include "app/MainWindow.h"
#include "platform/bass/Mp3TestData.h"
#include "render/Renderer.h"
#include "render/TestJpeg.h"
#include "render/TestPrograms.h"
#include "sound/Soundtrack.h"
#include "sound/Time.h"
#include "support/ArchiveBuilder.h"
#include "support/SceneFiles.h"
#include "support/TemporaryFolder.h"
#include "support/LaunchSettings.h"

#include <BassCapture.h>
#include <MessageBoxRecorder.h>
#include <Window.h>

#include <SDL.h>
#include <gtest/gtest.h>

#include <stdio.h>
#include <stdlib.h>

#include <vector>

namespace
{

class TarvoTest : public testing::Test
{
protected:
    void SetUp() override
    {
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        LaunchSettings::launchWindowed();
        resetClock();
        writeSharedFiles();

        // A window of an earlier test may have left its quit behind.
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        {
        }
    }

    // The loose files init reads: programs, null textures and the primitives.
    static void writeSharedFiles()
    {
        const struct
        {
            const char* file;
            uint32_t colour;
        } kNullTextures[] = {{"null_white.jpg", 0xFFFFFF},
                             {"null_grey.jpg", 0x808080},
                             {"null_black.jpg", 0x000000}};
        for (const auto& texture : kNullTextures)
            writeJpeg(texture.file, blockPicture(1, 1, {texture.colour}), JpegKind::Grey);
        TestPrograms::writeQuadPrograms();
        TestPrograms::writeDeferredPrograms();
        TestPrograms::writeScenePrograms();
        writeBytes("primitives.qor", SceneFiles::bytes(SceneFiles::primitives()));
    }

    // The demo clock as the program starts with it.
    static void resetClock()
    {
        Time::g_time = 0.0f;
        Time::g_previousTime = 0.0f;
        Time::g_delta = 0.0f;
        Time::g_soundtrack = nullptr;
    }

    void TearDown() override
    {
        if (m_window)
            DestroyWindow(m_window);
        BassCapture::deselect();
        LaunchSettings::reset();
        resetClock();
    }

    HWND m_window = nullptr;
    TemporaryFolder m_folder{true};
    MessageBoxRecorder m_boxes;
};

}

// Windowed: an overlapped 1280 x 720 window at (50, 50); full screen: a
// frameless one at (0, 0); both hidden until init shows them.
TEST_F(TarvoTest, MainWindowForEachMode)
{
    const struct
    {
        bool fullScreen;
        RECT rect;
        bool borderless;
    } cases[] = {
        {false, {50, 50, 1330, 770}, false},
        {true, {0, 0, 1280, 720}, true},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.fullScreen ? "full screen" : "windowed");
        g_fullScreen = c.fullScreen;
        HWND window = createMainWindow(GetModuleHandleA(nullptr));
        ASSERT_NE(window, nullptr);
        RECT rect;
        ASSERT_TRUE(GetWindowRect(window, &rect));
        EXPECT_EQ(rect.left, c.rect.left);
        EXPECT_EQ(rect.top, c.rect.top);
        EXPECT_EQ(rect.right, c.rect.right);
        EXPECT_EQ(rect.bottom, c.rect.bottom);
        const Uint32 flags = SDL_GetWindowFlags(Window::fromHandle(window)->sdlWindow());
        EXPECT_TRUE(flags & SDL_WINDOW_HIDDEN);
        EXPECT_EQ((flags & SDL_WINDOW_BORDERLESS) != 0, c.borderless);
        EXPECT_EQ(Window::fromHandle(window)->className(), "tarvow");
        DestroyWindow(window);
    }
}

// The client area drags the window; Escape quits within the same pump.
TEST_F(TarvoTest, ProcedureDragsAndQuits)
{
    m_window = createMainWindow(GetModuleHandleA(nullptr));
    EXPECT_EQ(SendMessageA(m_window, WM_NCHITTEST, 0, MAKELPARAM(400, 300)), HTCAPTION);
    EXPECT_EQ(SendMessageA(m_window, WM_NCHITTEST, 0, MAKELPARAM(10, 10)), HTNOWHERE);

    EXPECT_TRUE(pumpMessages());
    PostMessageA(m_window, WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_TRUE(pumpMessages());
    PostMessageA(m_window, WM_KEYDOWN, VK_ESCAPE, 0);
    PostMessageA(m_window, WM_USER, 0, 0);
    EXPECT_FALSE(pumpMessages());
    EXPECT_TRUE(pumpMessages()) << "the quit is taken once";
}

// Without a soundtrack the first frame resets the clock and demo time runs
// on the wall clock; frames are counted; shutdown may run twice.
TEST_F(TarvoTest, FramesRunOnTheSilentClockWithoutASoundtrack)
{
    m_window = createMainWindow(GetModuleHandleA(nullptr));
    Tarvo tarvo;
    ReturnCode initialised = tarvo.init(m_window);
    ASSERT_TRUE(initialised.succeeded());
    EXPECT_TRUE(Window::fromHandle(m_window)->visible());
    EXPECT_EQ(tarvo.m_renderer->m_width, 1280);
    EXPECT_EQ(tarvo.m_textures.count(), 3u);
    EXPECT_NE(tarvo.m_deferred, nullptr);
    EXPECT_NE(tarvo.m_textures.find("null_grey"), nullptr);
    ASSERT_NE(tarvo.m_primitives, nullptr);
    EXPECT_EQ(tarvo.m_primitives->m_meshes.count(), 1u);
    const char* const kShaders[] = {"selfillum.vsh", "selfillum.psh", "cubemap.vsh",
                                    "cubemap.psh",   "depth.vsh",     "depth.psh"};
    ASSERT_EQ(tarvo.m_shaders.count(), 6u);
    for (uint32_t i = 0; i < 6; ++i)
    {
        SCOPED_TRACE(kShaders[i]);
        Shader* shader = tarvo.m_shaders.find(kShaders[i]);
        EXPECT_EQ(shader, tarvo.m_shaders.at(i)) << "registered in order";
        ASSERT_NE(shader, nullptr);
        EXPECT_EQ(shader->m_kind, i % 2 == 0 ? ShaderKind::Vertex : ShaderKind::Pixel);
    }

    Time::g_time = 99.0f;
    ReturnCode first = tarvo.update();
    EXPECT_TRUE(first.m_checked);
    EXPECT_TRUE(first.succeeded());
    EXPECT_LT(Time::g_time, 1.0f);
    EXPECT_EQ(Time::g_soundtrack, nullptr);
    Sleep(60);
    ReturnCode second = tarvo.update();
    EXPECT_TRUE(second.succeeded());
    EXPECT_GE(Time::g_time, 0.06f);
    EXPECT_GE(Time::g_delta, 0.06f);
    EXPECT_EQ(tarvo.m_frame, 2u);

    ReturnCode once = tarvo.shutdown();
    EXPECT_TRUE(once.m_checked);
    EXPECT_EQ(tarvo.m_renderer, nullptr);
    ReturnCode twice = tarvo.shutdown();
    EXPECT_TRUE(twice.succeeded());
}

// A missing null texture, scene program or primitives scene fails init
// cleanly with the file system's message, before the window is shown.
TEST_F(TarvoTest, MissingSharedFileFailsInit)
{
    for (const char* file : {"null_grey.jpg", "cubemap.vsh", "depth.psh", "primitives.qor"})
    {
        SCOPED_TRACE(file);
        writeSharedFiles();
        remove(file);
        MessageBoxRecorder boxes;
        g_fatalErrorShown = false;
        HWND window = createMainWindow(GetModuleHandleA(nullptr));
        Tarvo tarvo;
        ReturnCode initialised = tarvo.init(window);
        EXPECT_TRUE(initialised.failed());
        EXPECT_EQ(tarvo.m_renderer, nullptr);
        EXPECT_FALSE(Window::fromHandle(window)->visible());
        ASSERT_EQ(boxes.boxes().size(), 1u);
        EXPECT_EQ(boxes.boxes()[0].text, std::string(file) + ": File not found.");
        DestroyWindow(window);
    }
}

// A damaged primitives scene fails init with the loader's message, which
// names the file, the record and the fault; nothing is left behind.
TEST_F(TarvoTest, DamagedPrimitivesFailInit)
{
    std::vector<uint8_t> bytes = SceneFiles::bytes(SceneFiles::primitives());
    bytes.resize(100);
    writeBytes("primitives.qor", bytes);
    m_window = createMainWindow(GetModuleHandleA(nullptr));
    Tarvo tarvo;
    ReturnCode initialised = tarvo.init(m_window);
    EXPECT_TRUE(initialised.failed());
    EXPECT_EQ(tarvo.m_renderer, nullptr);
    EXPECT_EQ(tarvo.m_primitives, nullptr);
    EXPECT_FALSE(Window::fromHandle(m_window)->visible());
    ASSERT_EQ(m_boxes.boxes().size(), 1u);
    EXPECT_EQ(
        m_boxes.boxes()[0].text,
        "primitives.qor: Damaged scene file: mesh record \"lightVolume\" at byte 4: 9792 bytes "
        "for vertices, but 61 remain (byte 39).");
}

// Without a deferred pipeline init fails before any texture loads; the file
// system's message is the only one shown, the application's own
// "Failed to initialize deferred shading." falling to the once-only rule.
TEST_F(TarvoTest, MissingDeferredProgramFailsInit)
{
    remove("combine.psh");
    m_window = createMainWindow(GetModuleHandleA(nullptr));
    Tarvo tarvo;
    ReturnCode initialised = tarvo.init(m_window);
    EXPECT_TRUE(initialised.failed());
    EXPECT_EQ(tarvo.m_renderer, nullptr);
    EXPECT_EQ(tarvo.m_deferred, nullptr);
    EXPECT_EQ(tarvo.m_textures.count(), 0u);
    EXPECT_FALSE(Window::fromHandle(m_window)->visible());
    ASSERT_EQ(m_boxes.boxes().size(), 1u);
    EXPECT_EQ(m_boxes.boxes()[0].text, "combine.psh: File not found.");
}

// The soundtrack comes from the file "KUV-2.mp3": created (checked) and
// started by the first frame, which makes it the clock; a missing file is a
// checked failure with the file system's message. It plays on the capture
// device, so demo time moves by exactly the frames stepped.
TEST_F(TarvoTest, FirstFrameStartsTheSoundtrack)
{
    ASSERT_TRUE(BassCapture::select(60));
    m_window = createMainWindow(GetModuleHandleA(nullptr));
    Tarvo tarvo;
    ReturnCode initialised = tarvo.init(m_window);
    ASSERT_TRUE(initialised.succeeded());

    ReturnCode missing = tarvo.createSoundtrack(170.0f);
    EXPECT_TRUE(missing.m_checked);
    EXPECT_TRUE(missing.failed());
    ASSERT_EQ(m_boxes.boxes().size(), 1u);
    EXPECT_EQ(m_boxes.boxes()[0].text, "KUV-2.mp3: File not found.");

    writeBytes("KUV-2.mp3", Mp3TestData::encode(Mp3TestData::tone(440.0, 2.0, 0.3, 2), 2));
    ReturnCode created = tarvo.createSoundtrack(170.0f);
    EXPECT_TRUE(created.m_checked);
    ASSERT_TRUE(created.succeeded());
    EXPECT_EQ(tarvo.m_soundtrack->m_bpm, 170.0f);

    Time::g_time = 99.0f;
    ReturnCode first = tarvo.update();
    EXPECT_TRUE(first.succeeded());
    EXPECT_EQ(Time::g_soundtrack, tarvo.m_soundtrack);
    EXPECT_EQ(Time::g_time, 0.0f);
    std::vector<int16_t> heard;
    BassCapture::step(heard);
    ReturnCode second = tarvo.update();
    EXPECT_TRUE(second.succeeded());
    EXPECT_FLOAT_EQ(Time::g_time, 735.0f / 44100.0f);
    EXPECT_FLOAT_EQ(Time::g_delta, 735.0f / 44100.0f);
    ReturnCode done = tarvo.shutdown();
    EXPECT_EQ(Time::g_soundtrack, nullptr);
    EXPECT_EQ(tarvo.m_soundtrack, nullptr);
}
