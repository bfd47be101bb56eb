// Which texels and which mipmap level a shader's texld reads, under D3D9's
// sampler states and its pixel-centre convention.
#include "TestDevice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace
{

const char g_copyPixelShader[] = "ps_3_0\n"
                                 "dcl_texcoord v0.xy\n"
                                 "dcl_2d s0\n"
                                 "texld r0, v0, s0\n"
                                 "mov oC0, r0\n";

// One solid colour per level, so that a pixel tells which level it came from.
const DWORD g_levelColours[] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00, 0xFF00FFFF};
const UINT g_levelCount = sizeof(g_levelColours) / sizeof(g_levelColours[0]);
const UINT g_side = 1u << (g_levelCount - 1);

IDirect3DTexture9* levelColouredTexture(TestDevice& a_device)
{
    IDirect3DTexture9* texture = nullptr;
    EXPECT_EQ(a_device->CreateTexture(g_side, g_side, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED,
                                      &texture, nullptr),
              D3D_OK);
    if (!texture)
        return nullptr;
    EXPECT_EQ(texture->GetLevelCount(), g_levelCount);
    for (UINT level = 0; level < g_levelCount; ++level)
    {
        D3DLOCKED_RECT locked = {};
        EXPECT_EQ(texture->LockRect(level, &locked, nullptr, 0), D3D_OK);
        const UINT side = g_side >> level;
        for (UINT y = 0; y < side; ++y)
        {
            DWORD* row = reinterpret_cast<DWORD*>(static_cast<unsigned char*>(locked.pBits) +
                                                  size_t(y) * size_t(locked.Pitch));
            for (UINT x = 0; x < side; ++x)
                row[x] = g_levelColours[level];
        }
        EXPECT_EQ(texture->UnlockRect(level), D3D_OK);
    }
    return texture;
}

// The screen quad bound with the pass-through vertex program and a pixel
// program, depth testing off, ready to draw; released with the object.
class QuadPass
{
public:
    QuadPass(TestDevice& a_device, const char* a_pixelSource)
        : m_vertexShader(a_device.vertexShader(TestDevice::g_passVertexShader)),
          m_pixelShader(a_device.pixelShader(a_pixelSource))
    {
        a_device->SetVertexShader(m_vertexShader);
        a_device->SetPixelShader(m_pixelShader);
        a_device->SetRenderState(D3DRS_ZENABLE, FALSE);
        m_vertices = a_device.bindVertices(TestDevice::g_quad, sizeof(TestDevice::g_quad), 20,
                                           D3DFVF_XYZ | D3DFVF_TEX1);
    }
    ~QuadPass()
    {
        if (m_vertices)
            m_vertices->Release();
        if (m_pixelShader)
            m_pixelShader->Release();
        if (m_vertexShader)
            m_vertexShader->Release();
    }
    QuadPass(const QuadPass&) = delete;
    QuadPass& operator=(const QuadPass&) = delete;

private:
    IDirect3DVertexShader9* m_vertexShader;
    IDirect3DPixelShader9* m_pixelShader;
    IDirect3DVertexBuffer9* m_vertices = nullptr;
};

// The level every pixel of the target shows, or -1 when the pixels disagree
// or show no level's colour.
int levelShown(const std::vector<DWORD>& a_pixels)
{
    int shown = -1;
    for (size_t index = 0; index < a_pixels.size(); ++index)
    {
        int level = -1;
        for (UINT candidate = 0; candidate < g_levelCount; ++candidate)
            if (a_pixels[index] == g_levelColours[candidate])
                level = int(candidate);
        if (level < 0 || (index > 0 && level != shown))
            return -1;
        shown = level;
    }
    return shown;
}

}  // namespace

// A full-screen quad draws the texture into a target 1, 2, 4 or 8 times
// smaller, so that the level of detail is exactly 0, 1, 2 or 3. The mipmap
// filter alone decides whether that level or level 0 is read: D3D9's default
// D3DSAMP_MIPFILTER is D3DTEXF_NONE, which reads level 0 however small the
// texture is drawn, while GL's default minifying filter uses the chain.
TEST(Sampling, MipFilterChoosesTheLevelAsDirect3D9)
{
    TestDevice device(64, 64);
    IDirect3DTexture9* texture = levelColouredTexture(device);
    ASSERT_NE(texture, nullptr);
    QuadPass pass(device, g_copyPixelShader);

    struct Case
    {
        const char* name;
        UINT shrink;      // the texture's side over the target's
        bool setFilters;  // false: the device's defaults
        DWORD minFilter;
        DWORD mipFilter;
        int level;
    };
    const Case cases[] = {
        {"defaults, drawn at size", 1, false, 0, 0, 0},
        {"defaults, drawn at a quarter (no mipmaps by default)", 4, false, 0, 0, 0},
        {"point, no mip filter, drawn at half", 2, true, D3DTEXF_POINT, D3DTEXF_NONE, 0},
        {"linear, no mip filter, drawn at an eighth", 8, true, D3DTEXF_LINEAR, D3DTEXF_NONE, 0},
        {"point mip filter, drawn at size", 1, true, D3DTEXF_POINT, D3DTEXF_POINT, 0},
        {"point mip filter, drawn at half", 2, true, D3DTEXF_POINT, D3DTEXF_POINT, 1},
        {"point mip filter, drawn at a quarter", 4, true, D3DTEXF_LINEAR, D3DTEXF_POINT, 2},
        {"linear mip filter, drawn at a quarter", 4, true, D3DTEXF_LINEAR, D3DTEXF_LINEAR, 2},
        {"linear mip filter, drawn at an eighth", 8, true, D3DTEXF_POINT, D3DTEXF_LINEAR, 3},
    };
    for (const Case& test : cases)
    {
        SCOPED_TRACE(test.name);
        // Every case starts from a new device's sampler states.
        device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_POINT);
        device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
        device->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_NONE);
        if (test.setFilters)
        {
            device->SetSamplerState(0, D3DSAMP_MINFILTER, test.minFilter);
            device->SetSamplerState(0, D3DSAMP_MAGFILTER, test.minFilter);
            device->SetSamplerState(0, D3DSAMP_MIPFILTER, test.mipFilter);
        }
        IDirect3DSurface9* target = nullptr;
        IDirect3DTexture9* targetTexture =
            device.target(g_side / test.shrink, g_side / test.shrink, D3DFMT_A8R8G8B8, &target);
        ASSERT_NE(targetTexture, nullptr);
        device->SetRenderTarget(0, target);
        device->SetTexture(0, texture);
        device->Clear(0, nullptr, D3DCLEAR_TARGET, 0x00000000, 1.0f, 0);
        ASSERT_EQ(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3D_OK);
        EXPECT_EQ(levelShown(device.readArgb(target)), test.level);
        device->SetTexture(0, nullptr);
        target->Release();
        targetTexture->Release();
    }
    texture->Release();
}

// The demo's passes draw the full-screen quad without the half-pixel
// correction and read their inputs with point sampling: each pixel's
// coordinate lands on the corner of its texel, at exactly x / width. D3D9
// reads texel x there; a translation that puts the sample exactly on the
// corner leaves the choice between x - 1 and x to rounding, pixel by pixel,
// which prints a dotted pattern into every such pass. Every pixel here must
// read its own texel, at a size whose coordinates are not exact in binary.
TEST(Sampling, PointSamplesOnTexelCornersReadTheTexelBelowAndRight)
{
    struct Case
    {
        UINT width;
        UINT height;
    };
    const Case cases[] = {{256, 128}, {250, 90}};
    for (const Case& test : cases)
    {
        SCOPED_TRACE(testing::Message() << test.width << " x " << test.height);
        TestDevice device(test.width, test.height);
        std::vector<DWORD> texels(size_t(test.width) * test.height);
        for (UINT y = 0; y < test.height; ++y)
            for (UINT x = 0; x < test.width; ++x)
                texels[size_t(y) * test.width + x] = 0xFF000000 | (x << 16) | (y << 8);
        IDirect3DTexture9* source = device.texture(test.width, test.height, texels);
        IDirect3DSurface9* target = nullptr;
        IDirect3DTexture9* targetTexture =
            device.target(test.width, test.height, D3DFMT_A8R8G8B8, &target);
        device->SetRenderTarget(0, target);
        device->SetTexture(0, source);
        for (DWORD state : {D3DSAMP_MINFILTER, D3DSAMP_MAGFILTER, D3DSAMP_MIPFILTER})
            device->SetSamplerState(0, D3DSAMPLERSTATETYPE(state), D3DTEXF_POINT);
        device->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
        device->SetSamplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP);
        QuadPass pass(device, g_copyPixelShader);
        ASSERT_EQ(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3D_OK);
        const std::vector<DWORD> pixels = device.readArgb(target);
        size_t wrong = 0;
        size_t first = pixels.size();
        for (size_t index = 0; index < pixels.size(); ++index)
            if (pixels[index] != texels[index])
            {
                ++wrong;
                first = std::min(first, index);
            }
        EXPECT_EQ(wrong, 0u) << "first at pixel (" << first % test.width << ", "
                             << first / test.width << ")";
        target->Release();
        targetTexture->Release();
        source->Release();
    }
}

// A texture of one level samples the same whatever the mip filter: the
// demo's filters read their render targets with the mip filter linear. The
// texture, four texels in a row, is drawn three times over into a row of
// 24 pixels (coordinates -1 to 2, an eighth of a texel past each texel's
// corner) and magnified twice, so each pair of pixels reads one texel or the
// border: the address mode and the border colour must hold under every mip
// filter, and minifying linear filtering must still average.
TEST(Sampling, TexturesOfOneLevelKeepTheirAddressingUnderEveryMipFilter)
{
    const DWORD texels[4] = {0xFF100000, 0xFF200000, 0xFF300000, 0xFF400000};
    const DWORD border = 0xFF0000FF;
    // Pixel x reads u = (x / 2 + 1/8) / 4 - 1 in texture widths.
    const char shifted[] = "ps_3_0\n"
                           "def c0, 3, -0.96875, 0, 0\n"
                           "dcl_texcoord v0.xy\n"
                           "dcl_2d s0\n"
                           "mad r1.x, v0.x, c0.x, c0.y\n"
                           "mov r1.y, v0.y\n"
                           "texld r0, r1, s0\n"
                           "mov oC0, r0\n";
    struct Case
    {
        const char* name;
        DWORD address;
        DWORD expected[12];  // pixels 2i and 2i + 1
    };
    const DWORD a = texels[0], b = texels[1], c = texels[2], d = texels[3], o = border;
    const Case cases[] = {
        {"wrap", D3DTADDRESS_WRAP, {a, b, c, d, a, b, c, d, a, b, c, d}},
        {"mirror", D3DTADDRESS_MIRROR, {d, c, b, a, a, b, c, d, d, c, b, a}},
        {"clamp", D3DTADDRESS_CLAMP, {a, a, a, a, a, b, c, d, d, d, d, d}},
        {"border", D3DTADDRESS_BORDER, {o, o, o, o, a, b, c, d, o, o, o, o}},
    };
    // Four rows, so that the level of detail across rows shows magnification too.
    TestDevice device(24, 4);
    IDirect3DTexture9* texture = device.texture(4, 1, std::vector<DWORD>(texels, texels + 4));
    ASSERT_NE(texture, nullptr);
    IDirect3DSurface9* target = nullptr;
    IDirect3DTexture9* targetTexture = device.target(24, 4, D3DFMT_A8R8G8B8, &target);
    ASSERT_NE(targetTexture, nullptr);
    QuadPass magnified(device, shifted);
    device->SetRenderTarget(0, target);
    device->SetTexture(0, texture);
    device->SetSamplerState(0, D3DSAMP_BORDERCOLOR, border);
    device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
    for (const Case& test : cases)
    {
        for (DWORD mip : {D3DTEXF_NONE, D3DTEXF_POINT, D3DTEXF_LINEAR})
        {
            SCOPED_TRACE(testing::Message() << test.name << ", mip filter " << mip);
            device->SetSamplerState(0, D3DSAMP_ADDRESSU, test.address);
            device->SetSamplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP);
            device->SetSamplerState(0, D3DSAMP_MIPFILTER, mip);
            ASSERT_EQ(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3D_OK);
            std::vector<DWORD> expected;
            for (int row = 0; row < 4; ++row)
                for (DWORD texel : test.expected)
                    expected.insert(expected.end(), 2, texel);
            EXPECT_EQ(device.readArgb(target), expected);
        }
    }

    // Minified two to one, pixel x reading u = x / 2 + 1/4, halfway between
    // texels 2x and 2x + 1: linear filtering averages them.
    const char between[] = "ps_3_0\n"
                           "def c0, 0.25, 0, 0, 0\n"
                           "dcl_texcoord v0.xy\n"
                           "dcl_2d s0\n"
                           "add r1.x, v0.x, c0.x\n"
                           "mov r1.y, v0.y\n"
                           "texld r0, r1, s0\n"
                           "mov oC0, r0\n";
    IDirect3DSurface9* half = nullptr;
    IDirect3DTexture9* halfTexture = device.target(2, 4, D3DFMT_A8R8G8B8, &half);
    ASSERT_NE(halfTexture, nullptr);
    QuadPass minified(device, between);
    device->SetRenderTarget(0, half);
    device->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
    device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    for (DWORD mip : {D3DTEXF_NONE, D3DTEXF_POINT, D3DTEXF_LINEAR})
    {
        SCOPED_TRACE(testing::Message() << "minified, mip filter " << mip);
        device->SetSamplerState(0, D3DSAMP_MIPFILTER, mip);
        ASSERT_EQ(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3D_OK);
        const std::vector<DWORD> pixels = device.readArgb(half);
        ASSERT_EQ(pixels.size(), 8u);
        // 0x10 and 0x20 average to 0x18; 0x30 and 0x40 to 0x38 (a level's
        // rounding either way).
        EXPECT_NEAR(double(pixels[0] >> 16 & 0xFF), 0x18, 1.0);
        EXPECT_NEAR(double(pixels[1] >> 16 & 0xFF), 0x38, 1.0);
    }
    device->SetTexture(0, nullptr);
    half->Release();
    halfTexture->Release();
    target->Release();
    targetTexture->Release();
    texture->Release();
}
