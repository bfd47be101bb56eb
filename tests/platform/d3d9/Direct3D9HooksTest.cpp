// The Direct3D object through our layer's test seams: the adapter's modes
// as the seam gives them, full-screen devices for those modes and their
// loss with the window's focus, and the window's pixels after Present.
#include "Direct3D9Test.h"
#include "TestDevice.h"

#include "D3D9Testing.h"
#include "Window.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{

class Direct3D9Hooks : public Direct3D9Test
{
protected:
    void TearDown() override
    {
        D3D9Testing::clearDisplayModes();
        Direct3D9Test::TearDown();
    }
};

const std::vector<D3DDISPLAYMODE> g_modes = {{1024, 768, 60, D3DFMT_X8R8G8B8},
                                             {1280, 720, 60, D3DFMT_X8R8G8B8},
                                             {1920, 1080, 60, D3DFMT_X8R8G8B8}};

// The adapter lists exactly the modes the seam gives, in order, for
// D3DFMT_X8R8G8B8 only, and refuses an index past the end.
TEST_F(Direct3D9Hooks, AdapterModesComeFromTheSeam)
{
    D3D9Testing::setDisplayModes(g_modes);
    ASSERT_EQ(m_d3d->GetAdapterModeCount(D3DADAPTER_DEFAULT, D3DFMT_X8R8G8B8), 3u);
    for (UINT i = 0; i < 3; ++i)
    {
        SCOPED_TRACE(i);
        D3DDISPLAYMODE mode = {};
        ASSERT_EQ(m_d3d->EnumAdapterModes(D3DADAPTER_DEFAULT, D3DFMT_X8R8G8B8, i, &mode), D3D_OK);
        EXPECT_EQ(mode.Width, g_modes[i].Width);
        EXPECT_EQ(mode.Height, g_modes[i].Height);
        EXPECT_EQ(mode.RefreshRate, g_modes[i].RefreshRate);
        EXPECT_EQ(mode.Format, D3DFMT_X8R8G8B8);
    }
    D3DDISPLAYMODE mode = {};
    EXPECT_EQ(m_d3d->EnumAdapterModes(D3DADAPTER_DEFAULT, D3DFMT_X8R8G8B8, 3, &mode),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(m_d3d->GetAdapterModeCount(D3DADAPTER_DEFAULT, D3DFMT_A8R8G8B8), 0u);
    EXPECT_EQ(m_d3d->GetAdapterModeCount(1, D3DFMT_X8R8G8B8), 0u);
    D3D9Testing::setDisplayModes({});
    EXPECT_EQ(m_d3d->GetAdapterModeCount(D3DADAPTER_DEFAULT, D3DFMT_X8R8G8B8), 0u);
}

// Present parameters D3D9 refuses, and a full-screen size that is not one
// of the adapter's modes.
TEST_F(Direct3D9Hooks, CreateDeviceRefusesParametersD3D9Refuses)
{
    D3D9Testing::setDisplayModes(g_modes);
    const HWND window = TestDevice::createWindow(64, 64);
    struct Case
    {
        const char* name;
        void (*change)(D3DPRESENT_PARAMETERS&);
    };
    const Case cases[] = {
        {"mode not offered",
         [](D3DPRESENT_PARAMETERS& a) {
             a.BackBufferWidth = 1000;
         }},
        {"full screen without a format",
         [](D3DPRESENT_PARAMETERS& a) {
             a.BackBufferFormat = D3DFMT_UNKNOWN;
         }},
        {"depth format other than D24X8",
         [](D3DPRESENT_PARAMETERS& a) {
             a.AutoDepthStencilFormat = D3DFMT_A8R8G8B8;
         }},
        {"multisampling",
         [](D3DPRESENT_PARAMETERS& a) {
             a.MultiSampleType = D3DMULTISAMPLE_4_SAMPLES;
         }},
        {"unknown swap effect",
         [](D3DPRESENT_PARAMETERS& a) {
             a.SwapEffect = D3DSWAPEFFECT_FORCE_DWORD;
         }},
        {"unknown interval",
         [](D3DPRESENT_PARAMETERS& a) {
             a.PresentationInterval = 7;
         }},
        {"no window",
         [](D3DPRESENT_PARAMETERS& a) {
             a.hDeviceWindow = nullptr;
         }},
    };
    for (const Case& test : cases)
    {
        SCOPED_TRACE(test.name);
        D3DPRESENT_PARAMETERS parameters = fullScreen(window, 1280, 720);
        test.change(parameters);
        IDirect3DDevice9* device = reinterpret_cast<IDirect3DDevice9*>(&parameters);
        EXPECT_EQ(m_d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, parameters.hDeviceWindow,
                                      D3DCREATE_HARDWARE_VERTEXPROCESSING, &parameters, &device),
                  D3DERR_INVALIDCALL);
        EXPECT_EQ(device, nullptr);
    }
    TestDevice::destroyWindow(window);
}

// A full-screen device for an offered mode has a back buffer of the mode's
// size, and is lost for good once its window loses the focus it had, or is
// minimised: Present answers D3DERR_DEVICELOST from then on.
TEST_F(Direct3D9Hooks, FullScreenDeviceIsLostWithFocusOrMinimised)
{
    D3D9Testing::setDisplayModes(g_modes);
    struct Case
    {
        const char* name;
        bool minimise;
        bool presentWhileActive;  // false: focus gained and lost between two presents
    };
    for (const Case& test : {Case{"focus lost", false, true}, Case{"minimised", true, true},
                             Case{"focus had only between presents", false, false}})
    {
        SCOPED_TRACE(test.name);
        const HWND window = TestDevice::createWindow(64, 64);
        Window* state = Window::fromHandle(window);
        D3DPRESENT_PARAMETERS parameters = fullScreen(window, 1024, 768);
        IDirect3DDevice9* device = nullptr;
        ASSERT_EQ(m_d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                      D3DCREATE_HARDWARE_VERTEXPROCESSING, &parameters, &device),
                  D3D_OK);
        IDirect3DSurface9* backBuffer = nullptr;
        ASSERT_EQ(device->GetRenderTarget(0, &backBuffer), D3D_OK);
        D3DSURFACE_DESC desc = {};
        backBuffer->GetDesc(&desc);
        EXPECT_EQ(desc.Width, 1024u);
        EXPECT_EQ(desc.Height, 768u);
        backBuffer->Release();

        EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
        state->setActive(true);
        if (test.presentWhileActive)
        {
            EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
        }
        if (test.minimise)
            state->setMinimized(true);
        else
            state->setActive(false);
        EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_DEVICELOST);
        state->setActive(true);
        state->setMinimized(false);
        EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_DEVICELOST);
        device->Release();
        TestDevice::destroyWindow(window);
    }
}

// A windowed device is never lost, whatever its window's focus.
TEST_F(Direct3D9Hooks, WindowedDeviceIsNotLost)
{
    TestDevice device(64, 64);
    Window* state = Window::fromHandle(device.window());
    state->setActive(true);
    state->setActive(false);
    state->setMinimized(true);
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
}

// Present copies the back buffer into the window upright: the top row of
// the back buffer is the top row of the window.
TEST_F(Direct3D9Hooks, PresentShowsTheFrameUpright)
{
    TestDevice device(64, 48);
    const D3DRECT top = {0, 0, 64, 24};
    const D3DRECT bottom = {0, 24, 64, 48};
    device->Clear(1, &top, D3DCLEAR_TARGET, 0xFFFF0000, 1.0f, 0);
    device->Clear(1, &bottom, D3DCLEAR_TARGET, 0xFF0000FF, 1.0f, 0);
    ASSERT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    std::vector<DWORD> pixels;
    UINT width = 0;
    UINT height = 0;
    ASSERT_EQ(D3D9Testing::readWindow(device.device(), &pixels, &width, &height), D3D_OK);
    ASSERT_GT(height, 2u);
    EXPECT_EQ(pixels[width / 2] & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(pixels[size_t(height - 1) * width + width / 2] & 0xFFFFFF, 0x0000FFu);
}

}  // namespace
