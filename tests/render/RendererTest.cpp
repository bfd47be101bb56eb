// The renderer: the device for the launcher's choice, the capability checks
// and their messages, the frame, and the quiet exit on a lost device. Runs on
// SDL's offscreen driver with display modes given to the adapter.
//
// Untested: a second CreateDevice attempt after a first failure (the layer
// offers no way to fail exactly once).
#include "render/Renderer.h"

#include "app/FatalError.h"
#include "app/LauncherSettings.h"

#include <D3D9Testing.h>
#include <MessageBoxRecorder.h>

#include <SDL.h>
#include <gtest/gtest.h>

#include <stdlib.h>

#include <string>
#include <vector>

namespace
{

LRESULT CALLBACK plainProcedure(HWND a_window, UINT a_message, WPARAM a_wParam, LPARAM a_lParam)
{
    return DefWindowProcA(a_window, a_message, a_wParam, a_lParam);
}

// The main window as the entry point makes it, and the launcher's settings.
class RendererTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        WNDCLASSA windowClass = {};
        windowClass.style = CS_HREDRAW | CS_VREDRAW;
        windowClass.lpfnWndProc = plainProcedure;
        windowClass.lpszClassName = "tarvow";
        RegisterClassA(&windowClass);
    }

    void SetUp() override
    {
        D3D9Testing::setDisplayModes({{1280, 720, 60, D3DFMT_X8R8G8B8}, {1920, 1080, 60, D3DFMT_X8R8G8B8}});
        g_fatalErrorShown = false;
        g_windowed = true;
        g_fullScreen = false;
        g_displayMode = 1;
        g_aspect = 16.0f / 9.0f;
        createWindow(WS_OVERLAPPEDWINDOW, 50, 50);
    }

    void TearDown() override
    {
        delete m_renderer;
        DestroyWindow(m_window);
        D3D9Testing::clearCapsLimit();
        D3D9Testing::clearDisplayModes();
        g_fatalErrorShown = false;
    }

    void createWindow(DWORD a_style, int a_x, int a_y)
    {
        m_window = CreateWindowExA(0, "tarvow", "Tarvo2", a_style, a_x, a_y, 1280, 720, nullptr, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(m_window, nullptr);
    }

    bool init()
    {
        m_renderer = Renderer::create();
        ReturnCode result = m_renderer->init(1280, 720, m_window);
        return result.succeeded();
    }

    HWND m_window = nullptr;
    Renderer* m_renderer = nullptr;
    MessageBoxRecorder m_boxes;
};

}

// Hardware below Shader Model 3.0 or with fewer than four targets is
// refused with one message, the shader test first, and the renderer is shut
// down; none is shown when an earlier fatal error was.
TEST_F(RendererTest, CapabilityChecksRefuseTooLittle)
{
    const DWORD vs2 = D3DVS_VERSION(2, 0);
    const DWORD ps2 = D3DPS_VERSION(2, 0);
    const DWORD vs3 = D3DVS_VERSION(3, 0);
    const DWORD ps3 = D3DPS_VERSION(3, 0);
    const std::string shaderModel = "Shader Model 3.0 not supported.";
    const std::string targets = "Number of simultaneous render targets supported is too low.";
    const struct
    {
        const char* name;
        DWORD vertexShader;
        DWORD pixelShader;
        DWORD renderTargets;
        bool earlierError;
        const char* message;  // null: init succeeds
    } cases[] = {
        {"vertex shaders 2.0", vs2, ps3, 4, false, shaderModel.c_str()},
        {"pixel shaders 2.0", vs3, ps2, 4, false, shaderModel.c_str()},
        {"three targets", vs3, ps3, 3, false, targets.c_str()},
        {"both short: the shader test speaks", vs2, ps2, 3, false, shaderModel.c_str()},
        {"after an earlier error: silent", vs3, ps3, 3, true, ""},
        {"enough", vs3, ps3, 4, false, nullptr},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        D3D9Testing::limitCaps(c.vertexShader, c.pixelShader, c.renderTargets);
        g_fatalErrorShown = c.earlierError;
        const size_t shown = m_boxes.boxes().size();
        EXPECT_EQ(init(), c.message == nullptr);
        if (c.message && *c.message)
        {
            ASSERT_EQ(m_boxes.boxes().size(), shown + 1);
            EXPECT_EQ(m_boxes.boxes().back().text, c.message);
            EXPECT_EQ(m_boxes.boxes().back().caption, "Tarvo2 - Fatal error");
        }
        else
        {
            EXPECT_EQ(m_boxes.boxes().size(), shown);
        }
        if (c.message)
        {
            EXPECT_EQ(m_renderer->m_device, nullptr);
            EXPECT_EQ(m_renderer->m_d3d, nullptr);
        }
        ReturnCode again = m_renderer->shutdown();
        EXPECT_TRUE(again.m_checked);
        EXPECT_TRUE(again.succeeded());
        delete m_renderer;
        m_renderer = nullptr;
    }
}

// Windowed 1920 x 1080: the window moves to (50, 50) with a client of the
// mode's size; the internal size stays the window's at init; the back
// buffer has the mode's size.
TEST_F(RendererTest, WindowedInitFitsTheWindowToTheMode)
{
    ASSERT_TRUE(init());
    RECT rect;
    ASSERT_TRUE(GetWindowRect(m_window, &rect));
    EXPECT_EQ(rect.left, 50);
    EXPECT_EQ(rect.top, 50);
    EXPECT_EQ(rect.right - rect.left, 1920);
    EXPECT_EQ(rect.bottom - rect.top, 1080);
    EXPECT_EQ(m_renderer->m_width, 1280);
    EXPECT_EQ(m_renderer->m_height, 720);
    EXPECT_EQ(m_renderer->m_backBufferWidth, 1920);
    EXPECT_EQ(m_renderer->m_backBufferHeight, 1080);
    EXPECT_EQ(m_renderer->m_cullMode, D3DCULL_CW);
    ASSERT_NE(m_renderer->m_backBuffer, nullptr);
    D3DSURFACE_DESC description = {};
    m_renderer->m_backBuffer->GetDesc(&description);
    EXPECT_EQ(description.Width, 1920u);
    EXPECT_EQ(description.Height, 1080u);

    // Frames: begin and end answer already examined successes.
    for (int frame = 0; frame < 2; ++frame)
    {
        ReturnCode begun = m_renderer->beginFrame();
        EXPECT_TRUE(begun.m_checked);
        m_renderer->restoreBackBuffer();
        EXPECT_EQ(m_renderer->m_width, 1920);
        EXPECT_EQ(m_renderer->m_height, 1080);
        ReturnCode ended = m_renderer->endFrame();
        EXPECT_TRUE(ended.m_checked);
    }

    ReturnCode first = m_renderer->shutdown();
    EXPECT_TRUE(first.succeeded());
    EXPECT_EQ(m_renderer->m_backBuffer, nullptr);
    ReturnCode second = m_renderer->shutdown();
    EXPECT_TRUE(second.succeeded());
}

// Full screen: the window keeps its place and size, the device takes the
// mode; a window that is minimised loses the device, and the next frame's
// end leaves the process with exit code 0.
TEST_F(RendererTest, LostDeviceEndsTheProcessQuietly)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    DestroyWindow(m_window);
    g_windowed = false;
    g_fullScreen = true;
    g_displayMode = 0;
    createWindow(WS_POPUP | 0x8, 0, 0);
    ASSERT_TRUE(init());
    RECT rect;
    ASSERT_TRUE(GetWindowRect(m_window, &rect));
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.right, 1280);

    EXPECT_EXIT(
        {
            SDL_Event event = {};
            event.type = SDL_WINDOWEVENT;
            event.window.windowID = SDL_GetWindowID(SDL_GL_GetCurrentWindow());
            event.window.event = SDL_WINDOWEVENT_MINIMIZED;
            SDL_PushEvent(&event);
            MSG message;
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageA(&message);
            ReturnCode begun = m_renderer->beginFrame();
            ReturnCode ended = m_renderer->endFrame();
            fprintf(stderr, "still running\n");
            exit(3);
        },
        testing::ExitedWithCode(0), "");
}

// A frame without a device is a programming error.
TEST(RendererDeathTest, FrameWithoutDeviceFailsAssertion)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            Renderer* renderer = Renderer::create();
            ReturnCode begun = renderer->beginFrame();
        },
        "m_d3d && m_device, file Renderer\\.cpp");
}
