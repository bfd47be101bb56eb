// The Direct3D object and the device's life: adapter modes (through the test
// seam), capabilities, device creation for windowed and full-screen present
// parameters, presentation, lost devices and reference counting.
//
// Untested: waiting for vertical retrace (the offscreen driver has no
// display to wait for).
#include "TestDevice.h"

#include "D3D9Testing.h"
#include "Window.h"

#include <gtest/gtest.h>

#include <functional>

#include <vector>

namespace
{

class Direct3D9Test : public testing::Test
{
protected:
    void SetUp() override
    {
        m_d3d = Direct3DCreate9(D3D_SDK_VERSION);
        ASSERT_NE(m_d3d, nullptr);
    }

    void TearDown() override
    {
        D3D9Testing::clearDisplayModes();
        m_d3d->Release();
    }

    IDirect3D9* m_d3d = nullptr;
};

// The full-screen parameters the renderer fills for a display mode.
D3DPRESENT_PARAMETERS fullScreen(HWND a_window, UINT a_width, UINT a_height)
{
    D3DPRESENT_PARAMETERS parameters = {};
    parameters.BackBufferWidth = a_width;
    parameters.BackBufferHeight = a_height;
    parameters.BackBufferFormat = D3DFMT_X8R8G8B8;
    parameters.BackBufferCount = 1;
    parameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
    parameters.hDeviceWindow = a_window;
    parameters.Windowed = FALSE;
    parameters.EnableAutoDepthStencil = TRUE;
    parameters.AutoDepthStencilFormat = D3DFMT_D24X8;
    parameters.PresentationInterval = D3DPRESENT_INTERVAL_ONE;
    return parameters;
}

const std::vector<D3DDISPLAYMODE> g_modes = {{1024, 768, 60, D3DFMT_X8R8G8B8},
                                             {1280, 720, 60, D3DFMT_X8R8G8B8},
                                             {1920, 1080, 60, D3DFMT_X8R8G8B8}};

// Direct3DCreate9 answers only the SDK version its header names.
TEST_F(Direct3D9Test, CreateChecksTheSdkVersion)
{
    EXPECT_EQ(Direct3DCreate9(D3D_SDK_VERSION + 1), nullptr);
    EXPECT_EQ(m_d3d->GetAdapterCount(), 1u);
}

// The adapter lists exactly the modes the seam gives, in order, for
// D3DFMT_X8R8G8B8 only, and refuses an index past the end.
TEST_F(Direct3D9Test, AdapterModesComeFromTheSeam)
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

// The capabilities the renderer checks: shader model 3.0 and four
// simultaneous render targets (Mesa offers eight draw buffers; D3D9 stops
// at four).
TEST_F(Direct3D9Test, CapabilitiesReportShaderModel3AndFourTargets)
{
    TestDevice device(64, 64);
    D3DCAPS9 caps = {};
    ASSERT_EQ(device->GetDeviceCaps(&caps), D3D_OK);
    EXPECT_GE(caps.PixelShaderVersion, D3DPS_VERSION(3, 0));
    EXPECT_GE(caps.VertexShaderVersion, D3DVS_VERSION(3, 0));
    EXPECT_EQ(caps.NumSimultaneousRTs, 4u);
    D3DCAPS9 adapterCaps = {};
    ASSERT_EQ(m_d3d->GetDeviceCaps(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, &adapterCaps), D3D_OK);
    EXPECT_EQ(adapterCaps.NumSimultaneousRTs, caps.NumSimultaneousRTs);
}

// The capability bits a program tests before it relies on a feature agree
// with what the device then does: no power-of-two rule for textures or cube
// maps (POW2, NONPOW2CONDITIONAL and CUBEMAP_POW2 clear), mipmaps, cube maps,
// automatic mipmaps, dynamic textures, blending after the pixel shader on
// every target, the scissor test.
TEST_F(Direct3D9Test, CapabilityBitsAgreeWithTheDevice)
{
    TestDevice device(64, 64);
    D3DCAPS9 caps = {};
    ASSERT_EQ(device->GetDeviceCaps(&caps), D3D_OK);
    IDirect3DTexture9* texture = nullptr;
    IDirect3DCubeTexture9* cube = nullptr;
    struct Case
    {
        const char* name;
        bool claimed;
        std::function<HRESULT()> attempt;
    };
    const Case cases[] = {
        {"textures of any size with mipmaps",
         (caps.TextureCaps & (D3DPTEXTURECAPS_POW2 | D3DPTEXTURECAPS_NONPOW2CONDITIONAL)) == 0 &&
             (caps.TextureCaps & D3DPTEXTURECAPS_MIPMAP) != 0,
         [&] {
             return device->CreateTexture(24, 10, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture,
                                          nullptr);
         }},
        {"cube maps of any size with mipmaps",
         (caps.TextureCaps & D3DPTEXTURECAPS_CUBEMAP) != 0 &&
             (caps.TextureCaps & (D3DPTEXTURECAPS_CUBEMAP_POW2 | D3DPTEXTURECAPS_MIPCUBEMAP)) ==
                 D3DPTEXTURECAPS_MIPCUBEMAP,
         [&] {
             return device->CreateCubeTexture(6, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &cube,
                                              nullptr);
         }},
        {"automatic mipmaps", (caps.Caps2 & D3DCAPS2_CANAUTOGENMIPMAP) != 0,
         [&] {
             return device->CreateTexture(8, 8, 1, D3DUSAGE_AUTOGENMIPMAP, D3DFMT_A8R8G8B8,
                                          D3DPOOL_DEFAULT, &texture, nullptr);
         }},
        {"dynamic textures", (caps.Caps2 & D3DCAPS2_DYNAMICTEXTURES) != 0,
         [&] {
             return device->CreateTexture(8, 8, 1, D3DUSAGE_DYNAMIC, D3DFMT_A8R8G8B8,
                                          D3DPOOL_DEFAULT, &texture, nullptr);
         }},
        {"blending after the pixel shader on float targets",
         (caps.PrimitiveMiscCaps & D3DPMISCCAPS_MRTPOSTPIXELSHADERBLENDING) != 0,
         [&] {
             return m_d3d->CheckDeviceFormat(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8,
                                             D3DUSAGE_RENDERTARGET |
                                                 D3DUSAGE_QUERY_POSTPIXELSHADER_BLENDING,
                                             D3DRTYPE_TEXTURE, D3DFMT_A16B16G16R16F);
         }},
        {"the scissor test", (caps.RasterCaps & D3DPRASTERCAPS_SCISSORTEST) != 0,
         [&] {
             const RECT rect = {1, 2, 30, 40};
             return device->SetScissorRect(&rect);
         }},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(c.claimed);
        EXPECT_EQ(c.attempt(), D3D_OK);
        for (IUnknown** made :
             {reinterpret_cast<IUnknown**>(&texture), reinterpret_cast<IUnknown**>(&cube)})
            if (*made)
            {
                (*made)->Release();
                *made = nullptr;
            }
    }
    // Depth formats do not blend.
    EXPECT_EQ(
        m_d3d->CheckDeviceFormat(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8,
                                 D3DUSAGE_DEPTHSTENCIL | D3DUSAGE_QUERY_POSTPIXELSHADER_BLENDING,
                                 D3DRTYPE_SURFACE, D3DFMT_D24S8),
        D3DERR_NOTAVAILABLE);
    EXPECT_EQ(caps.MaxStreams, 1u);
    EXPECT_EQ(caps.DeviceType, D3DDEVTYPE_HAL);
}

// The adapter's capabilities are known before any device exists (the
// renderer's own check comes after CreateDevice, but the answer is the same).
TEST_F(Direct3D9Test, AdapterCapabilitiesNeedNoDevice)
{
    const HWND window = TestDevice::createWindow(16, 16);  // starts SDL's video
    D3DCAPS9 caps = {};
    ASSERT_EQ(m_d3d->GetDeviceCaps(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, &caps), D3D_OK);
    EXPECT_EQ(caps.PixelShaderVersion, DWORD(D3DPS_VERSION(3, 0)));
    EXPECT_EQ(caps.VertexShaderVersion, DWORD(D3DVS_VERSION(3, 0)));
    EXPECT_EQ(caps.NumSimultaneousRTs, 4u);
    EXPECT_EQ(m_d3d->GetDeviceCaps(D3DADAPTER_DEFAULT, D3DDEVTYPE_REF, &caps), D3DERR_INVALIDCALL);
    TestDevice::destroyWindow(window);
}

// A windowed device: the back buffer has the requested size and format
// X8R8G8B8, the automatic depth buffer the same size, and the viewport
// covers the back buffer.
TEST_F(Direct3D9Test, WindowedDeviceHasBackBufferAndDepthBuffer)
{
    TestDevice device(320, 200);
    IDirect3DSurface9* backBuffer = nullptr;
    ASSERT_EQ(device->GetRenderTarget(0, &backBuffer), D3D_OK);
    D3DSURFACE_DESC desc = {};
    ASSERT_EQ(backBuffer->GetDesc(&desc), D3D_OK);
    EXPECT_EQ(desc.Width, 320u);
    EXPECT_EQ(desc.Height, 200u);
    EXPECT_EQ(desc.Format, D3DFMT_X8R8G8B8);
    EXPECT_EQ(desc.Usage, DWORD(D3DUSAGE_RENDERTARGET));
    IDirect3DSurface9* depth = nullptr;
    ASSERT_EQ(device->GetDepthStencilSurface(&depth), D3D_OK);
    ASSERT_EQ(depth->GetDesc(&desc), D3D_OK);
    EXPECT_EQ(desc.Format, D3DFMT_D24X8);
    EXPECT_EQ(desc.Width, 320u);
    D3DVIEWPORT9 viewport = {};
    ASSERT_EQ(device->GetViewport(&viewport), D3D_OK);
    EXPECT_EQ(viewport.Width, 320u);
    EXPECT_EQ(viewport.Height, 200u);
    IDirect3DSurface9* none = backBuffer;
    EXPECT_EQ(device->GetRenderTarget(1, &none), D3DERR_NOTFOUND);
    EXPECT_EQ(none, nullptr);
    depth->Release();
    backBuffer->Release();
}

// D3D9 fills in what a windowed device leaves open: the format, and the
// size from the window's client area.
TEST_F(Direct3D9Test, WindowedDeviceFillsInZeroSizeAndUnknownFormat)
{
    const HWND window = TestDevice::createWindow(96, 80);
    RECT client = {};
    GetClientRect(window, &client);
    D3DPRESENT_PARAMETERS parameters = fullScreen(window, 0, 0);
    parameters.Windowed = TRUE;
    parameters.BackBufferFormat = D3DFMT_UNKNOWN;
    parameters.SwapEffect = D3DSWAPEFFECT_COPY;
    IDirect3DDevice9* device = nullptr;
    ASSERT_EQ(m_d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                  D3DCREATE_HARDWARE_VERTEXPROCESSING, &parameters, &device),
              D3D_OK);
    EXPECT_EQ(parameters.BackBufferFormat, D3DFMT_X8R8G8B8);
    EXPECT_EQ(LONG(parameters.BackBufferWidth), client.right - client.left);
    EXPECT_EQ(LONG(parameters.BackBufferHeight), client.bottom - client.top);
    device->Release();
    TestDevice::destroyWindow(window);
}

// Present parameters D3D9 refuses, and a full-screen size that is not one
// of the adapter's modes.
TEST_F(Direct3D9Test, CreateDeviceRefusesParametersD3D9Refuses)
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
TEST_F(Direct3D9Test, FullScreenDeviceIsLostWithFocusOrMinimised)
{
    D3D9Testing::setDisplayModes(g_modes);
    struct Case
    {
        const char* name;
        bool minimise;
    };
    for (const Case& test : {Case{"focus lost", false}, Case{"minimised", true}})
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

        state->setActive(true);
        EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
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
TEST_F(Direct3D9Test, WindowedDeviceIsNotLost)
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
TEST_F(Direct3D9Test, PresentShowsTheFrameUpright)
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

// Frames nest as D3D9 allows: one scene at a time, and no Present inside one.
TEST_F(Direct3D9Test, ScenesDoNotNest)
{
    TestDevice device(16, 16);
    EXPECT_EQ(device->EndScene(), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->BeginScene(), D3D_OK);
    EXPECT_EQ(device->BeginScene(), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->EndScene(), D3D_OK);
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
}

// SetRenderTarget at index 0 sets the viewport to the whole new target, as
// D3D9 does; other indices leave it alone.
TEST_F(Direct3D9Test, RenderTargetZeroResetsTheViewport)
{
    TestDevice device(64, 64);
    IDirect3DSurface9* small = nullptr;
    IDirect3DTexture9* smallTexture = device.target(20, 10, D3DFMT_A8R8G8B8, &small);
    IDirect3DSurface9* other = nullptr;
    IDirect3DTexture9* otherTexture = device.target(30, 30, D3DFMT_A16B16G16R16F, &other);
    const D3DVIEWPORT9 part = {4, 4, 8, 8, 0.25f, 0.5f};
    ASSERT_EQ(device->SetViewport(&part), D3D_OK);
    ASSERT_EQ(device->SetRenderTarget(1, other), D3D_OK);
    D3DVIEWPORT9 viewport = {};
    device->GetViewport(&viewport);
    EXPECT_EQ(viewport.Width, 8u);
    ASSERT_EQ(device->SetRenderTarget(0, small), D3D_OK);
    device->GetViewport(&viewport);
    EXPECT_EQ(viewport.X, 0u);
    EXPECT_EQ(viewport.Y, 0u);
    EXPECT_EQ(viewport.Width, 20u);
    EXPECT_EQ(viewport.Height, 10u);
    EXPECT_EQ(viewport.MinZ, 0.0f);
    EXPECT_EQ(viewport.MaxZ, 1.0f);
    IDirect3DSurface9* bound = nullptr;
    ASSERT_EQ(device->GetRenderTarget(1, &bound), D3D_OK);
    EXPECT_EQ(bound, other);
    bound->Release();
    device->SetRenderTarget(1, nullptr);
    small->Release();
    smallTexture->Release();
    other->Release();
    otherTexture->Release();
}

// COM counting: each AddRef and Get* takes a reference, Release gives one
// back and reports what is left; a texture's surfaces keep the texture alive.
TEST_F(Direct3D9Test, ReferencesCountAsInCom)
{
    TestDevice device(16, 16);
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(
        device->CreateTexture(8, 8, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr),
        D3D_OK);
    EXPECT_EQ(texture->AddRef(), 2u);
    EXPECT_EQ(texture->Release(), 1u);
    IDirect3DSurface9* surface = nullptr;
    ASSERT_EQ(texture->GetSurfaceLevel(0, &surface), D3D_OK);
    EXPECT_EQ(texture->Release(), 1u);  // the surface's reference keeps it
    D3DLOCKED_RECT locked = {};
    EXPECT_EQ(surface->LockRect(&locked, nullptr, 0), D3D_OK);
    EXPECT_EQ(surface->UnlockRect(), D3D_OK);
    EXPECT_EQ(surface->Release(), 0u);  // and the texture goes with it

    ASSERT_EQ(
        device->CreateTexture(8, 8, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &texture, nullptr),
        D3D_OK);
    ASSERT_EQ(device->SetTexture(0, texture), D3D_OK);
    EXPECT_EQ(texture->Release(), 1u) << "SetTexture holds a reference, as documented";
    IDirect3DBaseTexture9* bound = nullptr;
    ASSERT_EQ(device->GetTexture(0, &bound), D3D_OK);
    EXPECT_EQ(bound, texture);
    EXPECT_EQ(bound->Release(), 1u);
    EXPECT_EQ(texture->AddRef(), 2u);
    device->SetTexture(0, nullptr);
    EXPECT_EQ(texture->Release(), 0u);
}

// A device released before its resources (as the renderer releases it
// before its quad and targets) leaves them usable for Release.
TEST_F(Direct3D9Test, ResourcesOutliveTheirDevice)
{
    TestDevice* device = new TestDevice(16, 16);
    IDirect3DTexture9* texture = nullptr;
    IDirect3DSurface9* surface = nullptr;
    texture = device->target(8, 8, D3DFMT_A8R8G8B8, &surface);
    (*device)->SetRenderTarget(0, surface);
    IDirect3DVertexBuffer9* buffer = device->bindVertices(
        TestDevice::g_quad, sizeof(TestDevice::g_quad), 20, D3DFVF_XYZ | D3DFVF_TEX1);
    IDirect3DVertexShader9* shader = device->vertexShader(TestDevice::g_passVertexShader);
    (*device)->SetVertexShader(shader);
    delete device;
    IDirect3DDevice9* owner = nullptr;
    EXPECT_EQ(texture->GetDevice(&owner), D3DERR_INVALIDCALL);
    D3DLOCKED_RECT locked = {};
    EXPECT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(surface->Release(), 0u);
    EXPECT_EQ(texture->Release(), 0u);
    EXPECT_EQ(buffer->Release(), 0u);
    EXPECT_EQ(shader->Release(), 0u);
}

// A device whose window was destroyed first (the demo's window goes before
// its renderer) refuses to present and still releases cleanly, with its
// resources.
TEST_F(Direct3D9Test, DeviceOutlivesItsWindow)
{
    const HWND window = TestDevice::createWindow(32, 32);
    D3DPRESENT_PARAMETERS parameters = fullScreen(window, 32, 32);
    parameters.Windowed = TRUE;
    parameters.SwapEffect = D3DSWAPEFFECT_COPY;
    IDirect3DDevice9* device = nullptr;
    ASSERT_EQ(m_d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                  D3DCREATE_HARDWARE_VERTEXPROCESSING, &parameters, &device),
              D3D_OK);
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(
        device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &texture, nullptr),
        D3D_OK);
    device->SetTexture(0, texture);
    TestDevice::destroyWindow(window);
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->Release(), 0u);
    EXPECT_EQ(texture->Release(), 0u);
}

}  // namespace
