// The renderer: the device for the launcher's choice, the capability checks
// and their messages, the screen quad and scratch targets, the frame, the
// letterboxed copy to the screen, and the quiet exit on a lost device. Runs
// on SDL's offscreen driver with display modes given to the adapter.
//
// Untested: a second CreateDevice attempt after a first failure (the layer
// offers no way to fail exactly once).
#include "render/Renderer.h"

#include "core/FatalError.h"
#include "core/LauncherSettings.h"
#include "render/RenderTarget.h"
#include "render/TestPrograms.h"
#include "support/TemporaryFolder.h"
#include "support/LaunchSettings.h"

#include <D3D9Testing.h>
#include <MessageBoxRecorder.h>

#include <SDL.h>
#include <gtest/gtest.h>

#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

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
        LaunchSettings::launchWindowed(
            {{1280, 720, 60, D3DFMT_X8R8G8B8}, {1920, 1080, 60, D3DFMT_X8R8G8B8}}, 1);
        TestPrograms::writeQuadPrograms();
        createWindow(WS_OVERLAPPEDWINDOW, 50, 50);
    }

    void TearDown() override
    {
        delete m_renderer;
        DestroyWindow(m_window);
        D3D9Testing::clearCapsLimit();
        LaunchSettings::reset();
    }

    void createWindow(DWORD a_style, int a_x, int a_y)
    {
        m_window = CreateWindowExA(0, "tarvow", "Tarvo2", a_style, a_x, a_y, 1280, 720, nullptr,
                                   nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(m_window, nullptr);
    }

    bool init()
    {
        m_renderer = Renderer::create();
        ReturnCode result = m_renderer->init(1280, 720, m_window);
        return result.succeeded();
    }

    TemporaryFolder m_folder{true};
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

// Init makes the screen quad and three scratch targets of the internal size
// in A16B16G16R16F, even on a larger back buffer; getTarget hands them out,
// and shutdown destroys them.
TEST_F(RendererTest, InitMakesTheQuadAndScratchTargets)
{
    ASSERT_TRUE(init());
    EXPECT_NE(m_renderer->m_quad, nullptr);
    for (uint32_t index = 0; index < 3; ++index)
    {
        SCOPED_TRACE("target " + std::to_string(index));
        RenderTarget* target = m_renderer->getTarget(index);
        ASSERT_NE(target, nullptr);
        EXPECT_EQ(target, m_renderer->m_targets[index]);
        for (uint32_t other = 0; other < index; ++other)
            EXPECT_NE(target, m_renderer->m_targets[other]);
        EXPECT_FALSE(target->m_cubemap);
        D3DSURFACE_DESC description = {};
        ASSERT_EQ(target->m_texture->GetLevelDesc(0, &description), D3D_OK);
        EXPECT_EQ(description.Width, 1280u);
        EXPECT_EQ(description.Height, 720u);
        EXPECT_EQ(description.Format, D3DFMT_A16B16G16R16F);
    }
    for (DWORD stage = 0; stage < 4; ++stage)
    {
        DWORD filter = 0;
        m_renderer->device()->GetSamplerState(stage, D3DSAMP_MIPFILTER, &filter);
        EXPECT_EQ(filter, DWORD(D3DTEXF_LINEAR)) << "sampler " << stage;
    }
    ReturnCode result = m_renderer->shutdown();
    EXPECT_TRUE(result.succeeded());
    EXPECT_EQ(m_renderer->m_quad, nullptr);
    for (RenderTarget* target : m_renderer->m_targets)
        EXPECT_EQ(target, nullptr);
}

// Without a quad program, or when the device refuses the scratch targets,
// init fails with the renderer shut down; a missing file's message is the
// only one.
TEST_F(RendererTest, InitFailsWithoutQuadOrScratchTargets)
{
    const struct
    {
        const char* name;
        const char* missing;  // null: both programs present
        int32_t width;        // internal width
        const char* message;  // null: none
    } cases[] = {
        {"no quad.vsh", "quad.vsh", 1280, "quad.vsh: File not found."},
        {"no quad.psh", "quad.psh", 1280, "quad.psh: File not found."},
        {"targets wider than any texture", nullptr, 16385, nullptr},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        TestPrograms::writeQuadPrograms();
        if (c.missing)
        {
            ASSERT_EQ(remove(c.missing), 0);
        }
        g_fatalErrorShown = false;
        const size_t shown = m_boxes.boxes().size();
        m_renderer = Renderer::create();
        ReturnCode result = m_renderer->init(c.width, 720, m_window);
        EXPECT_FALSE(result.succeeded());
        EXPECT_EQ(m_renderer->m_device, nullptr);
        EXPECT_EQ(m_renderer->m_d3d, nullptr);
        EXPECT_EQ(m_renderer->m_quad, nullptr);
        for (RenderTarget* target : m_renderer->m_targets)
            EXPECT_EQ(target, nullptr);
        if (c.message)
        {
            ASSERT_EQ(m_boxes.boxes().size(), shown + 1);
            EXPECT_EQ(m_boxes.boxes().back().text, c.message);
        }
        else
        {
            EXPECT_EQ(m_boxes.boxes().size(), shown);
        }
        delete m_renderer;
        m_renderer = nullptr;
    }
}

namespace
{

// The four quadrants of the internal image, as 8-bit RGB.
const DWORD g_quadrants[2][2] = {{0xFF0000, 0x00FF00}, {0x0000FF, 0xFFFF00}};

int channel(DWORD a_color, int a_shift)
{
    return int((a_color >> a_shift) & 0xFF);
}

// Fills the 1280 x 720 target with the four quadrant colours.
void fillQuadrants(IDirect3DDevice9* a_device, RenderTarget* a_target)
{
    a_target->bind(0);
    for (LONG row = 0; row < 2; ++row)
        for (LONG column = 0; column < 2; ++column)
        {
            const D3DRECT rect = {column * 640, row * 360, column * 640 + 640, row * 360 + 360};
            a_device->Clear(1, &rect, D3DCLEAR_TARGET, 0xFF000000 | g_quadrants[row][column], 1.0f,
                            0);
        }
}

// Where the picture's rows lie on a back buffer a_height high. D3D9 puts row
// y's centre at y and maps clip y to (1 - y) x height / 2, so the quad scaled
// by yscale spans [height (1 - s) / 2, height (1 + s) / 2); the top-left rule
// draws a centre on the top edge and none on the bottom one.
void pictureRows(int a_height, double a_yscale, int* a_first, int* a_last)
{
    *a_first = int(ceil(a_height * (1.0 - a_yscale) / 2.0));
    *a_last = int(ceil(a_height * (1.0 + a_yscale) / 2.0)) - 1;
}

// Within the picture each pixel samples the image at u = x / width and
// v = 1/2 + (y / height - 1/2) / yscale, with linear filtering: the quadrant
// colours meet only in the middle column and row, which sample the boundary
// between texels 639 and 640 (359 and 360) and show their average.
int pictureChannel(int a_x, int a_y, int a_width, int a_height, int a_shift)
{
    const double right = a_x < a_width / 2 ? 0.0 : a_x > a_width / 2 ? 1.0 : 0.5;
    const double bottom = a_y < a_height / 2 ? 0.0 : a_y > a_height / 2 ? 1.0 : 0.5;
    double value = 0.0;
    for (int row = 0; row < 2; ++row)
        for (int column = 0; column < 2; ++column)
            value += (row ? bottom : 1.0 - bottom) * (column ? right : 1.0 - right) *
                     channel(g_quadrants[row][column], a_shift);
    return int(lround(value));
}

}

// drawToScreen scales the 16:9 internal image onto the back buffer: full
// width, its height scaled by aspect / (16/9) about the centre, black bars
// above and below; whatever was bound or set before.
TEST_F(RendererTest, DrawToScreenLetterboxesForTheAspect)
{
    const struct
    {
        const char* name;
        float aspect;
        double yscale;  // the documented factor
    } aspects[] = {
        {"4:3", 4.0f / 3.0f, 0.75},
        {"5:4", 1.25f, 0.703125},
        {"16:9", 16.0f / 9.0f, 1.0},
        {"16:10", 1.6f, 0.9},
    };
    const struct
    {
        int32_t mode;
        int width;
        int height;
    } modes[] = {{0, 1280, 720}, {1, 1920, 1080}};
    for (const auto& mode : modes)
    {
        g_displayMode = mode.mode;
        ASSERT_TRUE(init());
        IDirect3DDevice9* device = m_renderer->device();
        RenderTarget* image = m_renderer->getTarget(0);
        for (const auto& aspect : aspects)
        {
            SCOPED_TRACE(std::to_string(mode.width) + " x " + std::to_string(mode.height) + ", " +
                         aspect.name);
            g_aspect = aspect.aspect;

            // Grey where the bars go, point filtering everywhere, the image
            // still bound at index 0 and another target at index 1.
            m_renderer->restoreBackBuffer();
            device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF808080, 1.0f, 0);
            for (DWORD stage = 0; stage < 5; ++stage)
                for (D3DSAMPLERSTATETYPE type :
                     {D3DSAMP_MINFILTER, D3DSAMP_MAGFILTER, D3DSAMP_MIPFILTER})
                    device->SetSamplerState(stage, type, D3DTEXF_POINT);
            fillQuadrants(device, image);
            m_renderer->getTarget(1)->bind(1);

            m_renderer->drawToScreen(image);

            EXPECT_EQ(m_renderer->m_width, mode.width);
            EXPECT_EQ(m_renderer->m_height, mode.height);
            IDirect3DSurface9* bound = nullptr;
            device->GetRenderTarget(1, &bound);
            EXPECT_EQ(bound, nullptr);
            for (DWORD stage = 0; stage < 5; ++stage)
                for (D3DSAMPLERSTATETYPE type :
                     {D3DSAMP_MINFILTER, D3DSAMP_MAGFILTER, D3DSAMP_MIPFILTER})
                {
                    DWORD filter = 0;
                    device->GetSamplerState(stage, type, &filter);
                    EXPECT_EQ(filter, DWORD(D3DTEXF_LINEAR)) << "sampler " << stage;
                }
            IDirect3DBaseTexture9* texture = nullptr;
            device->GetTexture(0, &texture);
            EXPECT_EQ(texture, image->m_texture);
            if (texture)
                texture->Release();

            std::vector<unsigned char> bytes;
            ASSERT_EQ(D3D9Testing::readSurface(m_renderer->m_backBuffer, &bytes), D3D_OK);
            ASSERT_EQ(bytes.size(), size_t(mode.width) * mode.height * 4);
            int first = 0;
            int last = 0;
            pictureRows(mode.height, aspect.yscale, &first, &last);
            // Bars of equal height, give or take the row the top-left rule decides.
            EXPECT_LE(abs(first - (mode.height - 1 - last)), 1);
            int worst = 0;
            int worstX = 0;
            int worstY = 0;
            for (int y = 0; y < mode.height; ++y)
                for (int x = 0; x < mode.width; ++x)
                {
                    DWORD pixel;
                    memcpy(&pixel, &bytes[(size_t(y) * mode.width + x) * 4], 4);
                    for (int shift : {0, 8, 16})
                    {
                        const bool inPicture = y >= first && y <= last;
                        const int want =
                            inPicture ? pictureChannel(x, y, mode.width, mode.height, shift) : 0;
                        // The layer samples a 1024th of a pixel off centre
                        // (see its PixelCentre): one more step where colours meet.
                        const bool meeting = x == mode.width / 2 || y == mode.height / 2;
                        const int error = abs(channel(pixel, shift) - want) - (meeting ? 1 : 0);
                        if (error > worst)
                        {
                            worst = error;
                            worstX = x;
                            worstY = y;
                        }
                    }
                }
            EXPECT_LE(worst, 1) << "at pixel (" << worstX << ", " << worstY << "), picture rows "
                                << first << " to " << last;
        }
        delete m_renderer;
        m_renderer = nullptr;
    }
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

// Only three scratch targets exist.
TEST(RendererDeathTest, FourthScratchTargetFailsAssertion)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    Renderer* renderer = Renderer::create();
    EXPECT_DEATH(renderer->getTarget(3), "a_index < 3, file Renderer\\.cpp");
    delete renderer;
}
