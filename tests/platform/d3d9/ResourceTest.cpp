// Textures, their levels and locks, automatic mip-maps, D3DXCreateTexture,
// vertex and index buffers, and indexed drawing from them.
#include "TestDevice.h"

#include <d3dx9.h>
#include <gtest/gtest.h>

#include <string.h>
#include <vector>

namespace
{

class Resources : public testing::Test
{
protected:
    TestDevice m_device{64, 64};
};

DWORD* row(const D3DLOCKED_RECT& a_locked, UINT a_y)
{
    return reinterpret_cast<DWORD*>(static_cast<unsigned char*>(a_locked.pBits) +
                                    size_t(a_y) * size_t(a_locked.Pitch));
}

// A texture asked for 0 levels has the whole chain, each level half the size
// of the one before (never below 1), and describes each.
TEST_F(Resources, TextureLevelsHalveDownToOnePixel)
{
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(m_device->CreateTexture(16, 4, 0, 0, D3DFMT_A16B16G16R16F, D3DPOOL_MANAGED, &texture,
                                      nullptr),
              D3D_OK);
    ASSERT_EQ(texture->GetLevelCount(), 5u);
    const UINT sizes[5][2] = {{16, 4}, {8, 2}, {4, 1}, {2, 1}, {1, 1}};
    for (UINT level = 0; level < 5; ++level)
    {
        SCOPED_TRACE(level);
        D3DSURFACE_DESC desc = {};
        ASSERT_EQ(texture->GetLevelDesc(level, &desc), D3D_OK);
        EXPECT_EQ(desc.Width, sizes[level][0]);
        EXPECT_EQ(desc.Height, sizes[level][1]);
        EXPECT_EQ(desc.Format, D3DFMT_A16B16G16R16F);
        D3DLOCKED_RECT locked = {};
        ASSERT_EQ(texture->LockRect(level, &locked, nullptr, 0), D3D_OK);
        EXPECT_EQ(locked.Pitch, INT(sizes[level][0] * 8));
        EXPECT_EQ(texture->UnlockRect(level), D3D_OK);
    }
    D3DSURFACE_DESC desc = {};
    EXPECT_EQ(texture->GetLevelDesc(5, &desc), D3DERR_INVALIDCALL);
    texture->Release();
}

// What a lock writes reaches the texture on unlock, and a later lock sees
// it; a lock of a rectangle points at the rectangle's first texel.
// A texture in the default pool locks only when it is dynamic: its levels,
// its surfaces and a cube's faces refuse otherwise. Plain surfaces lock in
// the default pool.
TEST_F(Resources, DefaultPoolTexturesLockOnlyWhenDynamic)
{
    for (DWORD usage : {DWORD(0), DWORD(D3DUSAGE_DYNAMIC)})
    {
        SCOPED_TRACE(usage ? "dynamic" : "static");
        const HRESULT expected = usage ? D3D_OK : D3DERR_INVALIDCALL;
        IDirect3DTexture9* texture = nullptr;
        ASSERT_EQ(m_device->CreateTexture(4, 4, 1, usage, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT,
                                          &texture, nullptr),
                  D3D_OK);
        D3DLOCKED_RECT locked = {};
        EXPECT_EQ(texture->LockRect(0, &locked, nullptr, 0), expected);
        if (expected == D3D_OK)
        {
            EXPECT_EQ(texture->UnlockRect(0), D3D_OK);
        }
        IDirect3DSurface9* surface = nullptr;
        ASSERT_EQ(texture->GetSurfaceLevel(0, &surface), D3D_OK);
        EXPECT_EQ(surface->LockRect(&locked, nullptr, 0), expected);
        if (expected == D3D_OK)
        {
            EXPECT_EQ(surface->UnlockRect(), D3D_OK);
        }
        surface->Release();
        texture->Release();
        IDirect3DCubeTexture9* cube = nullptr;
        ASSERT_EQ(m_device->CreateCubeTexture(4, 1, usage, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &cube,
                                              nullptr),
                  D3D_OK);
        EXPECT_EQ(cube->LockRect(D3DCUBEMAP_FACE_NEGATIVE_Z, 0, &locked, nullptr, 0), expected);
        if (expected == D3D_OK)
        {
            EXPECT_EQ(cube->UnlockRect(D3DCUBEMAP_FACE_NEGATIVE_Z, 0), D3D_OK);
        }
        cube->Release();
    }
    IDirect3DSurface9* plain = nullptr;
    ASSERT_EQ(m_device->CreateOffscreenPlainSurface(4, 4, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &plain,
                                                    nullptr),
              D3D_OK);
    D3DLOCKED_RECT locked = {};
    EXPECT_EQ(plain->LockRect(&locked, nullptr, 0), D3D_OK);
    EXPECT_EQ(plain->UnlockRect(), D3D_OK);
    plain->Release();
}

TEST_F(Resources, LockedTexelsReachTheTextureAndStay)
{
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(
        m_device->CreateTexture(4, 4, 2, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr),
        D3D_OK);
    D3DLOCKED_RECT locked = {};
    ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
    for (UINT y = 0; y < 4; ++y)
        for (UINT x = 0; x < 4; ++x)
            row(locked, y)[x] = 0xFF000000 | (y * 4 + x);
    ASSERT_EQ(texture->UnlockRect(0), D3D_OK);
    const RECT rect = {1, 2, 3, 4};
    ASSERT_EQ(texture->LockRect(0, &locked, &rect, 0), D3D_OK);
    EXPECT_EQ(row(locked, 0)[0], 0xFF000000u | 9u) << "texel (1, 2) comes first";
    row(locked, 1)[1] = 0x12345678;  // texel (2, 3)
    ASSERT_EQ(texture->UnlockRect(0), D3D_OK);
    IDirect3DSurface9* level0 = nullptr;
    ASSERT_EQ(texture->GetSurfaceLevel(0, &level0), D3D_OK);
    std::vector<DWORD> texels = m_device.readArgb(level0);
    for (UINT i = 0; i < 16; ++i)
    {
        SCOPED_TRACE(i);
        EXPECT_EQ(texels[i], i == 14 ? 0x12345678u : 0xFF000000u | i);
    }
    level0->Release();
    texture->Release();
}

// An automatically mip-mapped texture reports one level to lock, and the
// device builds the smaller levels from it: a black and white checkerboard
// minified to one pixel reads as grey.
TEST_F(Resources, AutomaticMipMapsReportOneLevelAndAreBuiltOnUnlock)
{
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(D3DXCreateTexture(m_device.device(), 8, 8, 0,
                                D3DUSAGE_DYNAMIC | D3DUSAGE_AUTOGENMIPMAP, D3DFMT_A8R8G8B8,
                                D3DPOOL_DEFAULT, &texture),
              D3D_OK);
    ASSERT_EQ(texture->GetLevelCount(), 1u);
    D3DLOCKED_RECT locked = {};
    EXPECT_EQ(texture->LockRect(1, &locked, nullptr, 0), D3DERR_INVALIDCALL);
    ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
    for (UINT y = 0; y < 8; ++y)
        for (UINT x = 0; x < 8; ++x)
            row(locked, y)[x] = ((x + y) & 1) ? 0xFFFFFFFF : 0xFF000000;
    ASSERT_EQ(texture->UnlockRect(0), D3D_OK);

    IDirect3DSurface9* target = nullptr;
    IDirect3DTexture9* targetTexture = m_device.target(1, 1, D3DFMT_A8R8G8B8, &target);
    m_device->SetRenderTarget(0, target);
    m_device->SetTexture(0, texture);
    m_device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_POINT);
    m_device->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_POINT);
    m_device->SetRenderState(D3DRS_ZENABLE, FALSE);
    struct Vertex
    {
        float x, y, z, rhw, u, v;
    };
    const Vertex quad[4] = {{-0.5f, -0.5f, 0, 1, 0, 0},
                            {0.5f, -0.5f, 0, 1, 1, 0},
                            {-0.5f, 0.5f, 0, 1, 0, 1},
                            {0.5f, 0.5f, 0, 1, 1, 1}};
    IDirect3DVertexBuffer9* vertices =
        m_device.bindVertices(quad, sizeof(quad), sizeof(Vertex), D3DFVF_XYZRHW | D3DFVF_TEX1);
    ASSERT_EQ(m_device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3D_OK);
    const DWORD pixel = m_device.readArgb(target)[0];
    EXPECT_NEAR(double(pixel & 0xFF), 127.5, 2.0);
    m_device->SetTexture(0, nullptr);
    vertices->Release();
    target->Release();
    targetTexture->Release();
    texture->Release();
}

// D3DXCreateTexture's adjustments before the device sees the request.
TEST_F(Resources, D3DXCreateTextureAdjustsTheRequest)
{
    struct Case
    {
        const char* name;
        UINT width, height, levels;
        DWORD usage;
        UINT wantWidth, wantHeight, wantLevels;
    };
    const Case cases[] = {
        {"zero size is one texel", 0, 0, 1, 0, 1, 1, 1},
        {"default size is 256 square", D3DX_DEFAULT, D3DX_DEFAULT, 0, 0, 256, 256, 9},
        {"one default copies the other", D3DX_DEFAULT, 64, 1, 0, 64, 64, 1},
        {"0 levels is the whole chain", 100, 50, 0, 0, 100, 50, 7},
        {"more levels than the chain is the chain", 8, 8, 20, 0, 8, 8, 4},
        {"automatic mip-maps report one level", 100, 50, 0, D3DUSAGE_AUTOGENMIPMAP, 100, 50, 1},
    };
    for (const Case& test : cases)
    {
        SCOPED_TRACE(test.name);
        IDirect3DTexture9* texture = nullptr;
        ASSERT_EQ(D3DXCreateTexture(m_device.device(), test.width, test.height, test.levels,
                                    test.usage, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &texture),
                  D3D_OK);
        D3DSURFACE_DESC desc = {};
        texture->GetLevelDesc(0, &desc);
        EXPECT_EQ(desc.Width, test.wantWidth);
        EXPECT_EQ(desc.Height, test.wantHeight);
        EXPECT_EQ(texture->GetLevelCount(), test.wantLevels);
        texture->Release();
    }
    EXPECT_EQ(
        D3DXCreateTexture(m_device.device(), 4, 4, 1, 0, D3DFMT_UNKNOWN, D3DPOOL_DEFAULT, nullptr),
        D3DERR_INVALIDCALL);
}

// A vertex buffer lock of part of the buffer leaves the rest as it was, and
// offset and size 0 lock everything.
TEST_F(Resources, BufferLocksKeepWhatTheyDoNotWrite)
{
    IDirect3DVertexBuffer9* buffer = nullptr;
    ASSERT_EQ(
        m_device->CreateVertexBuffer(16, D3DUSAGE_WRITEONLY, 0, D3DPOOL_DEFAULT, &buffer, nullptr),
        D3D_OK);
    void* data = nullptr;
    ASSERT_EQ(buffer->Lock(0, 0, &data, 0), D3D_OK);
    memset(data, 0xAA, 16);
    ASSERT_EQ(buffer->Unlock(), D3D_OK);
    ASSERT_EQ(buffer->Lock(4, 8, &data, 0), D3D_OK);
    memset(data, 0x11, 8);
    ASSERT_EQ(buffer->Unlock(), D3D_OK);
    ASSERT_EQ(buffer->Lock(0, 0, &data, 0), D3D_OK);
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    for (int i = 0; i < 16; ++i)
    {
        SCOPED_TRACE(i);
        EXPECT_EQ(bytes[i], (i >= 4 && i < 12) ? 0x11 : 0xAA);
    }
    ASSERT_EQ(buffer->Unlock(), D3D_OK);
    D3DVERTEXBUFFER_DESC desc = {};
    ASSERT_EQ(buffer->GetDesc(&desc), D3D_OK);
    EXPECT_EQ(desc.Size, 16u);
    EXPECT_EQ(desc.Usage, DWORD(D3DUSAGE_WRITEONLY));
    buffer->Release();
}

// Indexed triangle lists of 16- and 32-bit indices draw the vertices their
// indices name, offset by the base vertex.
TEST_F(Resources, IndexedDrawsFollowTheirIndices)
{
    IDirect3DSurface9* target = nullptr;
    IDirect3DTexture9* targetTexture = m_device.target(8, 4, D3DFMT_A8R8G8B8, &target);
    m_device->SetRenderTarget(0, target);
    m_device->SetRenderState(D3DRS_ZENABLE, FALSE);
    struct Vertex
    {
        float x, y, z, rhw;
        DWORD diffuse;
    };
    // Two quads: pixels 0-3 red (vertices 0-3) and 4-7 green (vertices 4-7).
    const Vertex vertices[8] = {{-0.5f, -0.5f, 0, 1, 0xFFFF0000}, {3.5f, -0.5f, 0, 1, 0xFFFF0000},
                                {-0.5f, 3.5f, 0, 1, 0xFFFF0000},  {3.5f, 3.5f, 0, 1, 0xFFFF0000},
                                {3.5f, -0.5f, 0, 1, 0xFF00FF00},  {7.5f, -0.5f, 0, 1, 0xFF00FF00},
                                {3.5f, 3.5f, 0, 1, 0xFF00FF00},   {7.5f, 3.5f, 0, 1, 0xFF00FF00}};
    IDirect3DVertexBuffer9* buffer = m_device.bindVertices(
        vertices, sizeof(vertices), sizeof(Vertex), D3DFVF_XYZRHW | D3DFVF_DIFFUSE);
    const uint32_t quad[6] = {0, 1, 2, 2, 1, 3};
    for (D3DFORMAT format : {D3DFMT_INDEX16, D3DFMT_INDEX32})
    {
        SCOPED_TRACE(format);
        const UINT size = format == D3DFMT_INDEX16 ? 2 : 4;
        IDirect3DIndexBuffer9* indices = nullptr;
        ASSERT_EQ(m_device->CreateIndexBuffer(6 * size, D3DUSAGE_WRITEONLY, format, D3DPOOL_DEFAULT,
                                              &indices, nullptr),
                  D3D_OK);
        void* data = nullptr;
        ASSERT_EQ(indices->Lock(0, 0, &data, 0), D3D_OK);
        for (int i = 0; i < 6; ++i)
        {
            if (size == 2)
                static_cast<uint16_t*>(data)[i] = uint16_t(quad[i]);
            else
                static_cast<uint32_t*>(data)[i] = quad[i];
        }
        ASSERT_EQ(indices->Unlock(), D3D_OK);
        ASSERT_EQ(m_device->SetIndices(indices), D3D_OK);
        m_device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
        ASSERT_EQ(m_device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 4, 0, 4, 0, 2), D3D_OK);
        std::vector<DWORD> pixels = m_device.readArgb(target);
        EXPECT_EQ(pixels[1 * 8 + 1], 0xFF000000u) << "base vertex 4 skips the red quad";
        EXPECT_EQ(pixels[1 * 8 + 5], 0xFF00FF00u);
        ASSERT_EQ(m_device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2), D3D_OK);
        pixels = m_device.readArgb(target);
        EXPECT_EQ(pixels[2 * 8 + 2], 0xFFFF0000u);
        m_device->SetIndices(nullptr);
        indices->Release();
    }
    m_device->SetStreamSource(0, nullptr, 0, 0);
    buffer->Release();
    target->Release();
    targetTexture->Release();
}

}  // namespace
