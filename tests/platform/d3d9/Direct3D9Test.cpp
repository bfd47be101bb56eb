// The Direct3D object and the device's life: capabilities, device creation
// for windowed and full-screen present parameters, scenes, render target 0
// and the viewport, and reference counting.
//
// Untested: waiting for vertical retrace (the offscreen driver has no
// display to wait for).
#include "Direct3D9Test.h"
#include "TestDevice.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace
{

// Direct3DCreate9 answers only the SDK version its header names: another
// means the program was built against headers that do not match.
TEST_F(Direct3D9Test, CreateChecksTheSdkVersion)
{
    EXPECT_EQ(Direct3DCreate9(D3D_SDK_VERSION + 1), nullptr);
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
    // Depth buffers are never filtered; the blending query is answered as
    // the depth usage alone is.
    for (D3DFORMAT depth : {D3DFMT_D24X8, D3DFMT_D24S8})
    {
        SCOPED_TRACE(depth);
        const auto check = [&](DWORD a_query) {
            return m_d3d->CheckDeviceFormat(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8,
                                            D3DUSAGE_DEPTHSTENCIL | a_query, D3DRTYPE_SURFACE,
                                            depth);
        };
        EXPECT_EQ(check(0), D3D_OK);
        EXPECT_EQ(check(D3DUSAGE_QUERY_POSTPIXELSHADER_BLENDING), D3D_OK);
        EXPECT_EQ(check(D3DUSAGE_QUERY_FILTER), D3DERR_NOTAVAILABLE);
    }
    // The streams the caps count are the streams SetStreamSource takes.
    ASSERT_GE(caps.MaxStreams, 1u);
    IDirect3DVertexBuffer9* buffer = device.bindVertices(
        TestDevice::g_quad, sizeof(TestDevice::g_quad), 20, D3DFVF_XYZ | D3DFVF_TEX1);
    EXPECT_EQ(device->SetStreamSource(caps.MaxStreams - 1, buffer, 0, 20), D3D_OK);
    EXPECT_EQ(device->SetStreamSource(caps.MaxStreams, buffer, 0, 20), D3DERR_INVALIDCALL);
    device->SetStreamSource(caps.MaxStreams - 1, nullptr, 0, 0);
    device->SetStreamSource(0, nullptr, 0, 0);
    buffer->Release();
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
    EXPECT_EQ(m_d3d->GetAdapterCount(), 1u);
    EXPECT_EQ(m_d3d->GetDeviceCaps(1, D3DDEVTYPE_HAL, &caps), D3DERR_INVALIDCALL);
    TestDevice::destroyWindow(window);
}

// The hardware device is the only one: no reference rasterizer (a debugging
// aid that only a developer's machine has), no software device (none was
// registered), and NULLREF, which every IDirect3D9 method refuses.
TEST_F(Direct3D9Test, OnlyTheHalDeviceIsOffered)
{
    const HWND window = TestDevice::createWindow(16, 16);
    for (D3DDEVTYPE type : {D3DDEVTYPE_REF, D3DDEVTYPE_SW, D3DDEVTYPE_NULLREF})
    {
        SCOPED_TRACE(type);
        D3DCAPS9 caps = {};
        EXPECT_EQ(m_d3d->GetDeviceCaps(D3DADAPTER_DEFAULT, type, &caps), D3DERR_INVALIDCALL);
        D3DPRESENT_PARAMETERS parameters = fullScreen(window, 16, 16);
        parameters.Windowed = TRUE;
        IDirect3DDevice9* device = nullptr;
        EXPECT_EQ(m_d3d->CreateDevice(D3DADAPTER_DEFAULT, type, window,
                                      D3DCREATE_HARDWARE_VERTEXPROCESSING, &parameters, &device),
                  D3DERR_INVALIDCALL);
        EXPECT_EQ(device, nullptr);
    }
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

// Frames nest as D3D9 allows: one scene at a time.
TEST_F(Direct3D9Test, ScenesDoNotNest)
{
    TestDevice device(16, 16);
    EXPECT_EQ(device->EndScene(), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->BeginScene(), D3D_OK);
    EXPECT_EQ(device->BeginScene(), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->EndScene(), D3D_OK);
    EXPECT_EQ(device->EndScene(), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
}

// Present inside a scene that draws to the back buffer is refused, and the
// scene goes on.
TEST_F(Direct3D9Test, PresentInsideASceneIsRefused)
{
    TestDevice device(16, 16);
    ASSERT_EQ(device->BeginScene(), D3D_OK);
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
}

// The count a program sees: AddRef then Release, leaving it as it was.
ULONG countOf(IUnknown* a_object)
{
    a_object->AddRef();
    return a_object->Release();
}

// The device's bindings (stages, targets) are not in the public count: a
// texture released while bound answers 0, yet stays where it is bound, and
// a Get call hands it out again with a count of 1. A texture's surface
// counts as its texture.
TEST_F(Direct3D9Test, BindingsAreNotCountedButKeepWhatIsBound)
{
    TestDevice device(16, 16);
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(
        device->CreateTexture(8, 8, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &texture, nullptr),
        D3D_OK);
    ASSERT_EQ(device->SetTexture(0, texture), D3D_OK);
    EXPECT_EQ(countOf(texture), 1u) << "the stage's binding is not counted";
    EXPECT_EQ(texture->Release(), 0u);
    IDirect3DBaseTexture9* bound = nullptr;
    ASSERT_EQ(device->GetTexture(0, &bound), D3D_OK);
    EXPECT_EQ(bound, texture) << "still on the stage";
    EXPECT_EQ(bound->Release(), 0u);
    EXPECT_EQ(device->SetTexture(0, nullptr), D3D_OK);

    IDirect3DSurface9* surface = nullptr;
    IDirect3DTexture9* target = device.target(8, 8, D3DFMT_A8R8G8B8, &surface);
    EXPECT_EQ(countOf(surface), 2u) << "the texture's count: the texture's and the surface's";
    ASSERT_EQ(device->SetRenderTarget(0, surface), D3D_OK);
    EXPECT_EQ(countOf(target), 2u);
    EXPECT_EQ(surface->Release(), 1u);
    EXPECT_EQ(target->Release(), 0u);
    IDirect3DSurface9* current = nullptr;
    ASSERT_EQ(device->GetRenderTarget(0, &current), D3D_OK);
    EXPECT_EQ(current, surface) << "still the target";
    const D3DRECT corner = {0, 0, 2, 2};
    EXPECT_EQ(device->Clear(1, &corner, D3DCLEAR_TARGET, 0xFF00FF00, 1.0f, 0), D3D_OK);
    EXPECT_EQ(device.readArgb(current)[0], 0xFF00FF00u);
    EXPECT_EQ(current->Release(), 0u);
    IDirect3DSurface9* backBuffer = nullptr;
    ASSERT_EQ(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer), D3D_OK);
    EXPECT_EQ(device->SetRenderTarget(0, backBuffer), D3D_OK);
    EXPECT_EQ(backBuffer->Release(), 0u) << "the device's own surface, bound, not counted";
}

// Each resource the program holds holds its device: the device's count
// rises with each one (and with GetDevice), a device released before its
// resources lives on for them, and the last resource released takes it.
TEST_F(Direct3D9Test, ResourcesKeepTheirDeviceAlive)
{
    TestDevice* device = new TestDevice(16, 16);
    IDirect3DDevice9* owner = device->device();
    EXPECT_EQ(countOf(owner), 1u) << "its own surfaces hold nothing";
    IDirect3DSurface9* surface = nullptr;
    IDirect3DTexture9* target = device->target(8, 8, D3DFMT_A8R8G8B8, &surface);
    EXPECT_EQ(countOf(owner), 2u) << "the texture, with its surface";
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(owner->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr),
              D3D_OK);
    IDirect3DVertexBuffer9* buffer = device->bindVertices(
        TestDevice::g_quad, sizeof(TestDevice::g_quad), 20, D3DFVF_XYZ | D3DFVF_TEX1);
    IDirect3DVertexShader9* shader = device->vertexShader(TestDevice::g_passVertexShader);
    EXPECT_EQ(countOf(owner), 5u);
    IDirect3DDevice9* asked = nullptr;
    ASSERT_EQ(texture->GetDevice(&asked), D3D_OK);
    EXPECT_EQ(asked, owner);
    EXPECT_EQ(asked->Release(), 5u);
    owner->SetRenderTarget(0, surface);
    owner->SetTexture(0, texture);
    owner->SetVertexShader(shader);
    EXPECT_EQ(countOf(owner), 5u) << "bindings take nothing on the device";

    delete device;  // releases the device (and destroys its window)
    EXPECT_EQ(countOf(owner), 4u) << "the resources' references";
    ASSERT_EQ(texture->GetDevice(&asked), D3D_OK);
    EXPECT_EQ(asked, owner);
    EXPECT_EQ(asked->Release(), 4u);
    D3DLOCKED_RECT locked = {};
    EXPECT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
    EXPECT_EQ(texture->UnlockRect(0), D3D_OK);
    EXPECT_EQ(surface->Release(), 1u);
    EXPECT_EQ(target->Release(), 0u);
    EXPECT_EQ(texture->Release(), 0u);
    EXPECT_EQ(buffer->Release(), 0u);
    EXPECT_EQ(countOf(owner), 1u) << "the shader's reference alone";
    EXPECT_EQ(shader->Release(), 0u);
}

// A device whose window was destroyed first (the demo's window goes before
// its renderer) presents nothing, without an error, and still releases
// cleanly, with its resources.
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
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    EXPECT_EQ(device->SetTexture(0, nullptr), D3D_OK);
    EXPECT_EQ(texture->Release(), 0u);
    EXPECT_EQ(device->Release(), 0u);
}

}  // namespace
