// Reading what the device drew through Direct3D 9's own calls: the back
// buffer, render-target textures and cube faces copied by GetRenderTargetData
// into system-memory surfaces and locked, for every colour format; and the
// clear and scissor rules that decide which pixels a frame touches.
//
// Untested: locking a rectangle of a system-memory surface (the lock code is
// the textures', tested in ResourceTest.cpp).
#include "TestDevice.h"

#include <gtest/gtest.h>

#include <math.h>
#include <string.h>

#include <vector>

namespace
{

const char g_colourShader[] = "ps_3_0\n"
                              "const float4 colour : c0\n"
                              "mov oC0, c0\n";

// Releases what a test made, last made first.
class Keeper
{
public:
    ~Keeper()
    {
        for (auto object = m_objects.rbegin(); object != m_objects.rend(); ++object)
            (*object)->Release();
    }
    template <typename T>
    T* operator()(T* a_object)
    {
        EXPECT_NE(a_object, nullptr);
        if (a_object)
            m_objects.push_back(a_object);
        return a_object;
    }

private:
    std::vector<IUnknown*> m_objects;
};

class ReadBack : public testing::Test
{
protected:
    // The system's full-screen quad drawn with colour c0 into whatever is bound.
    void drawColour(const float a_colour[4])
    {
        if (!m_vertices)
        {
            m_vertices = m_keep(m_device.bindVertices(
                TestDevice::g_quad, sizeof(TestDevice::g_quad), 20, D3DFVF_XYZ | D3DFVF_TEX1));
            m_device->SetVertexShader(
                m_keep(m_device.vertexShader(TestDevice::g_passVertexShader)));
            m_device->SetPixelShader(m_keep(m_device.pixelShader(g_colourShader)));
            m_device->SetRenderState(D3DRS_ZENABLE, FALSE);
        }
        m_device->SetPixelShaderConstantF(0, a_colour, 1);
        EXPECT_EQ(m_device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3D_OK);
    }

    // A new system-memory surface of a_target's size and format.
    IDirect3DSurface9* plainCopy(IDirect3DSurface9* a_target)
    {
        D3DSURFACE_DESC desc = {};
        EXPECT_EQ(a_target->GetDesc(&desc), D3D_OK);
        IDirect3DSurface9* copy = nullptr;
        EXPECT_EQ(m_device->CreateOffscreenPlainSurface(desc.Width, desc.Height, desc.Format,
                                                        D3DPOOL_SYSTEMMEM, &copy, nullptr),
                  D3D_OK);
        return m_keep(copy);
    }

    // Every pixel of a system-memory surface, read through LockRect.
    std::vector<Rgba> lockPixels(IDirect3DSurface9* a_copy, DWORD a_flags = D3DLOCK_READONLY)
    {
        std::vector<Rgba> pixels;
        D3DSURFACE_DESC desc = {};
        D3DLOCKED_RECT locked = {};
        EXPECT_EQ(a_copy->GetDesc(&desc), D3D_OK);
        EXPECT_EQ(a_copy->LockRect(&locked, nullptr, a_flags), D3D_OK);
        if (!locked.pBits)
            return pixels;
        const bool eightBit = desc.Format == D3DFMT_A8R8G8B8 || desc.Format == D3DFMT_X8R8G8B8;
        const size_t size = eightBit ? 4 : 8;
        for (UINT y = 0; y < desc.Height; ++y)
            for (UINT x = 0; x < desc.Width; ++x)
                pixels.push_back(TestDevice::decode(
                    desc.Format, static_cast<const unsigned char*>(locked.pBits) +
                                     size_t(y) * size_t(locked.Pitch) + x * size));
        EXPECT_EQ(a_copy->UnlockRect(), D3D_OK);
        return pixels;
    }

    // Copies a render target into a new system-memory surface and reads
    // every pixel through LockRect.
    std::vector<Rgba> copyAndLock(IDirect3DSurface9* a_target)
    {
        IDirect3DSurface9* copy = plainCopy(a_target);
        if (!copy)
            return {};
        EXPECT_EQ(m_device->GetRenderTargetData(a_target, copy), D3D_OK);
        return lockPixels(copy);
    }

    IDirect3DSurface9* backBuffer()
    {
        IDirect3DSurface9* surface = nullptr;
        EXPECT_EQ(m_device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &surface), D3D_OK);
        return m_keep(surface);
    }

    TestDevice m_device{16, 8};
    Keeper m_keep;
    IDirect3DVertexBuffer9* m_vertices = nullptr;
};

const float g_byte = 1.5f / 255.0f;

// A render-target texture of each format reads back what a shader wrote, in
// D3D9's memory layout; float formats keep values outside 0..1, 8-bit ones
// clamp them, and channels a format lacks are not stored.
TEST_F(ReadBack, EveryFormatReadsBackWhatWasDrawn)
{
    struct Case
    {
        D3DFORMAT format;
        float written[4];
        Rgba stored;
        float tolerance;
    };
    const Case cases[] = {
        {D3DFMT_A8R8G8B8, {0.25f, 0.5f, 0.75f, 0.125f}, {0.25f, 0.5f, 0.75f, 0.125f}, g_byte},
        {D3DFMT_A8R8G8B8, {2.0f, -1.0f, 0.5f, 3.0f}, {1.0f, 0.0f, 0.5f, 1.0f}, g_byte},
        {D3DFMT_X8R8G8B8, {0.25f, 0.5f, 0.75f, 0.125f}, {0.25f, 0.5f, 0.75f, NAN}, g_byte},
        {D3DFMT_A16B16G16R16F, {2.5f, -1.0f, 100.0f, -0.25f}, {2.5f, -1.0f, 100.0f, -0.25f}, 0},
        {D3DFMT_G32R32F, {1.0e6f, -3.25f, 0.5f, 0.5f}, {1.0e6f, -3.25f, 0.0f, 0.0f}, 0},
    };
    for (const Case& test : cases)
    {
        SCOPED_TRACE(testing::Message() << "format " << test.format << ", red " << test.written[0]);
        IDirect3DSurface9* surface = nullptr;
        m_keep(m_device.target(4, 2, test.format, &surface));
        m_keep(surface);
        ASSERT_EQ(m_device->SetRenderTarget(0, surface), D3D_OK);
        drawColour(test.written);
        const std::vector<Rgba> pixels = copyAndLock(surface);
        ASSERT_EQ(pixels.size(), 8u);
        expectNear(pixels[0], test.stored, test.tolerance);
        expectNear(pixels[7], test.stored, test.tolerance);
    }
}

// The surfaces of a read-back describe themselves as created: the plain
// surface in system memory, the target in the default pool.
TEST_F(ReadBack, SurfacesDescribeTheirPoolAndUsage)
{
    IDirect3DSurface9* target = nullptr;
    m_keep(m_device.target(8, 4, D3DFMT_A16B16G16R16F, &target));
    m_keep(target);
    IDirect3DSurface9* plain = nullptr;
    ASSERT_EQ(m_device->CreateOffscreenPlainSurface(8, 4, D3DFMT_A16B16G16R16F, D3DPOOL_SYSTEMMEM,
                                                    &plain, nullptr),
              D3D_OK);
    m_keep(plain);
    struct Case
    {
        const char* name;
        IDirect3DSurface9* surface;
        DWORD usage;
        D3DPOOL pool;
    };
    for (const Case& test : {Case{"target", target, D3DUSAGE_RENDERTARGET, D3DPOOL_DEFAULT},
                             Case{"plain", plain, 0, D3DPOOL_SYSTEMMEM}})
    {
        SCOPED_TRACE(test.name);
        D3DSURFACE_DESC desc = {};
        ASSERT_EQ(test.surface->GetDesc(&desc), D3D_OK);
        EXPECT_EQ(desc.Format, D3DFMT_A16B16G16R16F);
        EXPECT_EQ(desc.Type, D3DRTYPE_SURFACE);
        EXPECT_EQ(desc.Usage, test.usage);
        EXPECT_EQ(desc.Pool, test.pool);
        EXPECT_EQ(desc.Width, 8u);
        EXPECT_EQ(desc.Height, 4u);
        EXPECT_EQ(test.surface->GetType(), D3DRTYPE_SURFACE);
    }
    D3DLOCKED_RECT locked = {};
    ASSERT_EQ(plain->LockRect(&locked, nullptr, 0), D3D_OK);
    EXPECT_EQ(locked.Pitch, 8 * 8);
    EXPECT_EQ(plain->UnlockRect(), D3D_OK);
    EXPECT_EQ(plain->UnlockRect(), D3DERR_INVALIDCALL) << "not locked any more";
}

// The back buffer is render target 0 of a new device and reads back what was
// drawn into it; an A8R8G8B8 back buffer keeps its alpha.
TEST_F(ReadBack, BackBufferReadsBack)
{
    IDirect3DSurface9* back = backBuffer();
    IDirect3DSurface9* target0 = nullptr;
    ASSERT_EQ(m_device->GetRenderTarget(0, &target0), D3D_OK);
    EXPECT_EQ(target0, back);
    target0->Release();
    ASSERT_EQ(m_device->Clear(0, nullptr, D3DCLEAR_TARGET, 0x40102030, 1.0f, 0), D3D_OK);
    std::vector<Rgba> pixels = copyAndLock(back);
    expectNear(pixels[5], Rgba{0x10 / 255.0f, 0x20 / 255.0f, 0x30 / 255.0f, NAN}, g_byte);

    TestDevice alphaDevice(8, 8, D3DFMT_A8R8G8B8);
    IDirect3DSurface9* alphaBack = nullptr;
    ASSERT_EQ(alphaDevice->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &alphaBack), D3D_OK);
    m_keep(alphaBack);
    D3DSURFACE_DESC desc = {};
    alphaBack->GetDesc(&desc);
    EXPECT_EQ(desc.Format, D3DFMT_A8R8G8B8);
    ASSERT_EQ(alphaDevice->Clear(0, nullptr, D3DCLEAR_TARGET, 0x40102030, 1.0f, 0), D3D_OK);
    pixels = alphaDevice.readRgba(alphaBack);
    expectNear(pixels[9], argb(0x40102030), g_byte);

    IDirect3DSurface9* none = back;
    EXPECT_EQ(m_device->GetBackBuffer(0, 1, D3DBACKBUFFER_TYPE_MONO, &none), D3DERR_INVALIDCALL);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(m_device->GetBackBuffer(1, 0, D3DBACKBUFFER_TYPE_MONO, &none), D3DERR_INVALIDCALL);
}

// GetRenderTargetData returns before its copy is made and the lock waits for
// it: copies asked for one after another, with drawing between and after
// them, each hold what was drawn when they were asked for, whichever is
// read first and however; a copy asked for again holds the new picture, and
// what a lock writes into a copy is what the copy holds after it.
TEST_F(ReadBack, QueuedCopiesHoldWhatWasDrawnWhenAskedFor)
{
    IDirect3DSurface9* back = backBuffer();
    const float colours[][4] = {{1, 0, 0, 1}, {0, 1, 0, 1}, {0, 0, 1, 1}, {1, 1, 0, 1}};
    IDirect3DSurface9* copies[3] = {plainCopy(back), plainCopy(back), plainCopy(back)};
    for (int i = 0; i < 3; ++i)
    {
        drawColour(colours[i]);
        ASSERT_EQ(m_device->GetRenderTargetData(back, copies[i]), D3D_OK);
    }
    drawColour(colours[3]);
    auto expectColour = [](const std::vector<Rgba>& a_pixels, const float a_colour[4]) {
        ASSERT_EQ(a_pixels.size(), 16u * 8u);
        for (size_t i : {size_t(0), a_pixels.size() - 1})
            expectNear(a_pixels[i], Rgba{a_colour[0], a_colour[1], a_colour[2], NAN}, g_byte);
    };
    {
        SCOPED_TRACE("the last copy, locked first");
        expectColour(lockPixels(copies[2]), colours[2]);
    }
    {
        SCOPED_TRACE("the first copy");
        expectColour(lockPixels(copies[0]), colours[0]);
    }
    {
        SCOPED_TRACE("the middle copy, locked to be written");
        expectColour(lockPixels(copies[1], 0), colours[1]);
    }
    {
        SCOPED_TRACE("the first copy asked for again");
        ASSERT_EQ(m_device->GetRenderTargetData(back, copies[0]), D3D_OK);
        drawColour(colours[0]);
        expectColour(lockPixels(copies[0]), colours[3]);
    }
    {
        SCOPED_TRACE("a copy written through a lock");
        D3DLOCKED_RECT locked = {};
        ASSERT_EQ(copies[2]->LockRect(&locked, nullptr, 0), D3D_OK);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 16; ++x)
                memcpy(static_cast<unsigned char*>(locked.pBits) + y * locked.Pitch + x * 4,
                       "\x00\x00\xff\xff", 4);
        ASSERT_EQ(copies[2]->UnlockRect(), D3D_OK);
        expectColour(lockPixels(copies[2]), colours[0]);
    }
}

// A level below the top of a render-target texture and each face of a
// render-target cube texture are render targets of their own size, and read
// back into system-memory textures' levels as well as into plain surfaces.
TEST_F(ReadBack, TextureLevelsAndCubeFacesAreTargets)
{
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(m_device->CreateTexture(8, 8, 2, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8,
                                      D3DPOOL_DEFAULT, &texture, nullptr),
              D3D_OK);
    m_keep(texture);
    IDirect3DSurface9* level1 = nullptr;
    ASSERT_EQ(texture->GetSurfaceLevel(1, &level1), D3D_OK);
    m_keep(level1);
    ASSERT_EQ(m_device->SetRenderTarget(0, level1), D3D_OK);
    D3DVIEWPORT9 viewport = {};
    m_device->GetViewport(&viewport);
    EXPECT_EQ(viewport.Width, 4u);
    const float green[4] = {0, 1, 0, 1};
    drawColour(green);
    IDirect3DTexture9* memory = nullptr;
    ASSERT_EQ(
        m_device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM, &memory, nullptr),
        D3D_OK);
    m_keep(memory);
    IDirect3DSurface9* memoryLevel = nullptr;
    ASSERT_EQ(memory->GetSurfaceLevel(0, &memoryLevel), D3D_OK);
    m_keep(memoryLevel);
    ASSERT_EQ(m_device->GetRenderTargetData(level1, memoryLevel), D3D_OK);
    D3DLOCKED_RECT locked = {};
    ASSERT_EQ(memory->LockRect(0, &locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    EXPECT_EQ(static_cast<const DWORD*>(locked.pBits)[15], 0xFF00FF00u);
    memory->UnlockRect(0);

    IDirect3DCubeTexture9* cube = nullptr;
    ASSERT_EQ(m_device->CreateCubeTexture(4, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A16B16G16R16F,
                                          D3DPOOL_DEFAULT, &cube, nullptr),
              D3D_OK);
    m_keep(cube);
    for (UINT face = 0; face < 6; ++face)
    {
        IDirect3DSurface9* surface = nullptr;
        ASSERT_EQ(cube->GetCubeMapSurface(D3DCUBEMAP_FACES(face), 0, &surface), D3D_OK);
        m_keep(surface);
        ASSERT_EQ(m_device->SetRenderTarget(0, surface), D3D_OK);
        const float colour[4] = {float(face), -float(face), 0.5f, 1.0f};
        drawColour(colour);
    }
    for (UINT face = 0; face < 6; ++face)
    {
        SCOPED_TRACE(face);
        IDirect3DSurface9* surface = nullptr;
        ASSERT_EQ(cube->GetCubeMapSurface(D3DCUBEMAP_FACES(face), 0, &surface), D3D_OK);
        m_keep(surface);
        const std::vector<Rgba> pixels = copyAndLock(surface);
        ASSERT_EQ(pixels.size(), 16u);
        expectNear(pixels[6], Rgba{float(face), -float(face), 0.5f, 1.0f}, 0.0f);
    }
    m_device->SetRenderTarget(0, backBuffer());
}

// GetRenderTargetData refuses what D3D9 documents it refuses: a source that
// is no default-pool render target, a destination outside system memory, and
// sizes or formats that differ.
TEST_F(ReadBack, GetRenderTargetDataRefusesMismatches)
{
    IDirect3DSurface9* target = nullptr;
    m_keep(m_device.target(4, 4, D3DFMT_A8R8G8B8, &target));
    m_keep(target);
    auto plain = [&](UINT a_size, D3DFORMAT a_format, D3DPOOL a_pool) {
        IDirect3DSurface9* surface = nullptr;
        EXPECT_EQ(m_device->CreateOffscreenPlainSurface(a_size, a_size, a_format, a_pool, &surface,
                                                        nullptr),
                  D3D_OK);
        return m_keep(surface);
    };
    IDirect3DSurface9* memory = plain(4, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM);
    struct Case
    {
        const char* name;
        IDirect3DSurface9* source;
        IDirect3DSurface9* destination;
    };
    const Case cases[] = {
        {"destination of another size", target, plain(8, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM)},
        {"destination of another format", target, plain(4, D3DFMT_X8R8G8B8, D3DPOOL_SYSTEMMEM)},
        {"destination in the default pool", target, plain(4, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT)},
        {"destination in scratch memory", target, plain(4, D3DFMT_A8R8G8B8, D3DPOOL_SCRATCH)},
        {"source that is no render target", plain(4, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT), memory},
        {"source in system memory", memory, plain(4, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM)},
        {"no source", nullptr, memory},
        {"no destination", target, nullptr},
    };
    for (const Case& test : cases)
    {
        SCOPED_TRACE(test.name);
        EXPECT_EQ(m_device->GetRenderTargetData(test.source, test.destination), D3DERR_INVALIDCALL);
    }
    IDirect3DSurface9* surface = nullptr;
    EXPECT_EQ(m_device->CreateOffscreenPlainSurface(4, 4, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED,
                                                    &surface, nullptr),
              D3DERR_INVALIDCALL)
        << "D3D9 has no managed plain surfaces";
    EXPECT_EQ(m_device->CreateOffscreenPlainSurface(4, 4, D3DFMT_D24X8, D3DPOOL_SYSTEMMEM, &surface,
                                                    nullptr),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(surface, nullptr);
}

// A destination that is locked is refused: the copy would land under the
// pointer the program holds. Unlocked, the same surface takes the copy. The
// documentation names no code for this case: our layer answers
// D3DERR_INVALIDCALL, Wine DDERR_SURFACEBUSY (src/platform/QUIRKS.md).
TEST_F(ReadBack, GetRenderTargetDataRefusesALockedDestination)
{
    IDirect3DSurface9* back = backBuffer();
    IDirect3DSurface9* copy = plainCopy(back);
    ASSERT_NE(copy, nullptr);
    D3DLOCKED_RECT locked = {};
    ASSERT_EQ(copy->LockRect(&locked, nullptr, 0), D3D_OK);
    EXPECT_TRUE(FAILED(m_device->GetRenderTargetData(back, copy)));
    EXPECT_EQ(copy->UnlockRect(), D3D_OK);
    EXPECT_EQ(m_device->GetRenderTargetData(back, copy), D3D_OK);
}

// Clear fills the viewport's pixels of every bound target and no others,
// whatever D3DRS_COLORWRITEENABLE says; with the scissor test on it also
// stays inside the scissor rectangle, and with it off ignores the rectangle.
TEST_F(ReadBack, ClearFollowsViewportAndScissorButNotWriteMask)
{
    struct Case
    {
        const char* name;
        D3DVIEWPORT9 viewport;
        RECT scissor;
        BOOL scissorTest;
        DWORD writeMask;
        RECT filled;  // what the clear reaches
    };
    const Case cases[] = {
        {"whole target", {0, 0, 16, 8, 0, 1}, {0, 0, 16, 8}, FALSE, 0xF, {0, 0, 16, 8}},
        {"viewport only", {2, 1, 5, 3, 0, 1}, {0, 0, 16, 8}, FALSE, 0xF, {2, 1, 7, 4}},
        {"write mask off", {2, 1, 5, 3, 0, 1}, {0, 0, 16, 8}, FALSE, 0, {2, 1, 7, 4}},
        {"scissor off ignores the rectangle",
         {0, 0, 16, 8, 0, 1},
         {4, 4, 6, 6},
         FALSE,
         0xF,
         {0, 0, 16, 8}},
        {"scissor on", {0, 0, 16, 8, 0, 1}, {4, 4, 6, 6}, TRUE, 0xF, {4, 4, 6, 6}},
        {"scissor meets viewport", {2, 1, 5, 3, 0, 1}, {4, 0, 16, 8}, TRUE, 0xF, {4, 1, 7, 4}},
        {"scissor outside viewport", {0, 0, 4, 4, 0, 1}, {8, 4, 16, 8}, TRUE, 0xF, {0, 0, 0, 0}},
    };
    IDirect3DSurface9* back = backBuffer();
    for (const Case& test : cases)
    {
        SCOPED_TRACE(test.name);
        ASSERT_EQ(m_device->SetRenderTarget(0, back), D3D_OK);
        m_device->SetRenderState(D3DRS_SCISSORTESTENABLE, FALSE);
        m_device->SetRenderState(D3DRS_COLORWRITEENABLE, 0xF);
        ASSERT_EQ(m_device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0), D3D_OK);
        ASSERT_EQ(m_device->SetViewport(&test.viewport), D3D_OK);
        ASSERT_EQ(m_device->SetScissorRect(&test.scissor), D3D_OK);
        m_device->SetRenderState(D3DRS_SCISSORTESTENABLE, test.scissorTest);
        m_device->SetRenderState(D3DRS_COLORWRITEENABLE, test.writeMask);
        ASSERT_EQ(m_device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFFFFFFFF, 1.0f, 0), D3D_OK);
        const std::vector<DWORD> pixels = m_device.readArgb(back);
        for (LONG y = 0; y < 8; ++y)
            for (LONG x = 0; x < 16; ++x)
            {
                const bool inside = x >= test.filled.left && x < test.filled.right &&
                                    y >= test.filled.top && y < test.filled.bottom;
                EXPECT_EQ(pixels[size_t(y) * 16 + x] & 0xFFFFFF, inside ? 0xFFFFFFu : 0u)
                    << "pixel (" << x << ", " << y << ")";
            }
    }
    m_device->SetRenderState(D3DRS_SCISSORTESTENABLE, FALSE);
    m_device->SetRenderState(D3DRS_COLORWRITEENABLE, 0xF);
}

// With the scissor test on, a draw covers only the scissor rectangle; off,
// the whole viewport.
TEST_F(ReadBack, DrawsStayInsideTheScissorRectangle)
{
    IDirect3DSurface9* back = backBuffer();
    const RECT scissor = {3, 2, 9, 5};
    ASSERT_EQ(m_device->SetScissorRect(&scissor), D3D_OK);
    const float white[4] = {1, 1, 1, 1};
    for (BOOL test : {TRUE, FALSE})
    {
        SCOPED_TRACE(test ? "scissor on" : "scissor off");
        m_device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
        m_device->SetRenderState(D3DRS_SCISSORTESTENABLE, test);
        drawColour(white);
        const std::vector<DWORD> pixels = m_device.readArgb(back);
        for (LONG y = 0; y < 8; ++y)
            for (LONG x = 0; x < 16; ++x)
            {
                const bool inside = !test || (x >= scissor.left && x < scissor.right &&
                                              y >= scissor.top && y < scissor.bottom);
                EXPECT_EQ(pixels[size_t(y) * 16 + x] & 0xFFFFFF, inside ? 0xFFFFFFu : 0u)
                    << "pixel (" << x << ", " << y << ")";
            }
    }
    m_device->SetRenderState(D3DRS_SCISSORTESTENABLE, FALSE);
}

// SetRenderTarget at index 0 sets the viewport and the scissor rectangle to
// the whole target, even when the surface is the one already bound; the
// scissor rectangle cannot reach past the target.
TEST_F(ReadBack, RenderTargetZeroResetsViewportAndScissor)
{
    IDirect3DSurface9* back = backBuffer();
    IDirect3DSurface9* small = nullptr;
    m_keep(m_device.target(6, 4, D3DFMT_A8R8G8B8, &small));
    m_keep(small);
    struct Case
    {
        const char* name;
        IDirect3DSurface9* target;
        UINT width;
        UINT height;
    };
    for (const Case& test :
         {Case{"the same surface", back, 16, 8}, Case{"a smaller surface", small, 6, 4},
          Case{"back again", back, 16, 8}})
    {
        SCOPED_TRACE(test.name);
        const D3DVIEWPORT9 part = {1, 1, 2, 2, 0.5f, 0.75f};
        const RECT scissor = {1, 1, 3, 2};
        ASSERT_EQ(m_device->SetViewport(&part), D3D_OK);
        ASSERT_EQ(m_device->SetScissorRect(&scissor), D3D_OK);
        ASSERT_EQ(m_device->SetRenderTarget(0, test.target), D3D_OK);
        D3DVIEWPORT9 viewport = {};
        ASSERT_EQ(m_device->GetViewport(&viewport), D3D_OK);
        EXPECT_EQ(viewport.X, 0u);
        EXPECT_EQ(viewport.Y, 0u);
        EXPECT_EQ(viewport.Width, test.width);
        EXPECT_EQ(viewport.Height, test.height);
        EXPECT_EQ(viewport.MinZ, 0.0f);
        EXPECT_EQ(viewport.MaxZ, 1.0f);
        RECT rect = {};
        ASSERT_EQ(m_device->GetScissorRect(&rect), D3D_OK);
        EXPECT_EQ(rect.left, 0);
        EXPECT_EQ(rect.top, 0);
        EXPECT_EQ(rect.right, LONG(test.width));
        EXPECT_EQ(rect.bottom, LONG(test.height));
    }
    const RECT tooWide = {0, 0, 17, 8};
    const RECT inverted = {4, 0, 2, 8};
    EXPECT_EQ(m_device->SetScissorRect(&tooWide), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->SetScissorRect(&inverted), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->SetScissorRect(nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->GetScissorRect(nullptr), D3DERR_INVALIDCALL);
}

// Blending reads destination alpha as 1 in an X8R8G8B8 target, which stores
// none, and as the stored alpha in an A8R8G8B8 target.
TEST_F(ReadBack, DestinationAlphaReadsOneWithoutAlpha)
{
    struct Case
    {
        D3DFORMAT format;
        DWORD expected;
    };
    const Case cases[] = {{D3DFMT_X8R8G8B8, 0xFFFFFF}, {D3DFMT_A8R8G8B8, 0x404040}};
    const float white[4] = {1, 1, 1, 1};
    for (const Case& test : cases)
    {
        SCOPED_TRACE(test.format);
        IDirect3DSurface9* surface = nullptr;
        m_keep(m_device.target(4, 4, test.format, &surface));
        m_keep(surface);
        ASSERT_EQ(m_device->SetRenderTarget(0, surface), D3D_OK);
        m_device->Clear(0, nullptr, D3DCLEAR_TARGET, 0x40000000, 1.0f, 0);
        m_device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
        m_device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_DESTALPHA);
        m_device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ZERO);
        drawColour(white);
        m_device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
        const std::vector<DWORD> pixels = m_device.readArgb(surface);
        EXPECT_NEAR(double(pixels[5] & 0xFF), double(test.expected & 0xFF), 1.0);
        EXPECT_NEAR(double((pixels[5] >> 16) & 0xFF), double((test.expected >> 16) & 0xFF), 1.0);
    }
    m_device->SetRenderTarget(0, backBuffer());
}

}  // namespace
