// What lands in render targets, read back as Direct3D 9 leaves it: Clear
// with every form of its rectangle list on targets of different sizes,
// targets a pixel shader does not write, colour clamping by shader model,
// the formats beyond the system's own as textures and targets, and the fill
// rule on pixel-aligned edges. Each test runs under every setting of the
// layer (LayerSetting.h).
//
// Untested: clearing a cube face bound as a target (the system never does);
// blending operations other than add on float targets.
#include "Canvas.h"
#include "CubeSampling.h"
#include "TestDevice.h"

#include "LayerSettingTest.h"

#include <gtest/gtest.h>

#include <math.h>
#include <string.h>
#include <string>
#include <vector>

namespace
{

const char g_colourShader[] = "ps_3_0\n"
                              "const float4 colour : c0\n"
                              "mov oC0, c0\n";

const Rgba g_red = {1, 0, 0, 1};
const Rgba g_green = {0, 1, 0, 1};
const float g_byte = 1.5f / 255.0f;

class RenderTargets : public LayerSettingTest
{
protected:
    template <typename T>
    T* keep(T* a_object)
    {
        EXPECT_NE(a_object, nullptr);
        return m_canvas.keep(a_object);
    }

    IDirect3DSurface9* target(DWORD a_index, UINT a_width, UINT a_height, D3DFORMAT a_format)
    {
        return m_canvas.target(a_index, a_width, a_height, a_format);
    }

    // The system's quad with the pass-through vertex shader and a_pixelShader.
    void quad(const char* a_pixelShader)
    {
        m_canvas.quadShaders(a_pixelShader);
        m_device->SetRenderState(D3DRS_ZENABLE, FALSE);
    }

    // Draws with c0 = a_colour in both shaders.
    void draw(const float a_colour[4])
    {
        m_device->SetVertexShaderConstantF(0, a_colour, 1);
        m_canvas.drawQuad(a_colour);
    }

    TestDevice m_device{64, 64};
    Canvas m_canvas{m_device};
};

bool within(float a_actual, float a_expected, float a_tolerance)
{
    return isnan(a_expected) || fabs(a_actual - a_expected) <= a_tolerance;
}

void expectPixel(const std::vector<Rgba>& a_pixels, UINT a_width, UINT a_x, UINT a_y,
                 const Rgba& a_expected, float a_tolerance)
{
    const Rgba& actual = a_pixels[size_t(a_y) * a_width + a_x];
    EXPECT_TRUE(within(actual.r, a_expected.r, a_tolerance) &&
                within(actual.g, a_expected.g, a_tolerance) &&
                within(actual.b, a_expected.b, a_tolerance) &&
                within(actual.a, a_expected.a, a_tolerance))
        << "pixel (" << a_x << ", " << a_y << "): actual (" << actual.r << ", " << actual.g << ", "
        << actual.b << ", " << actual.a << "), expected (" << a_expected.r << ", " << a_expected.g
        << ", " << a_expected.b << ", " << a_expected.a << ")";
}

// Whether pixel (x, y) lies in any of the rectangles.
bool inside(const std::vector<D3DRECT>& a_areas, UINT a_x, UINT a_y)
{
    for (const D3DRECT& area : a_areas)
        if (LONG(a_x) >= area.x1 && LONG(a_x) < area.x2 && LONG(a_y) >= area.y1 &&
            LONG(a_y) < area.y2)
            return true;
    return false;
}

// Clear reads its rectangles only when both the count and the list are
// given: a count of 0 with a list clears nothing, a count with no list clears
// the whole viewport; every form succeeds. Rectangles are cut to the
// viewport, an inside-out one clears nothing.
TEST_P(RenderTargets, ClearTakesEveryFormOfTheRectangleList)
{
    const D3DRECT two[2] = {{2, 2, 6, 5}, {10, 9, 16, 16}};
    const D3DRECT insideOut[1] = {{6, 6, 2, 2}};
    const D3DRECT pastTheEdge[1] = {{-4, 12, 40, 40}};
    struct Case
    {
        const char* name;
        DWORD count;
        const D3DRECT* rects;
        std::vector<D3DRECT> cleared;  // where green lands, before the viewport
    };
    const Case cases[] = {
        {"no count, no list", 0, nullptr, {{0, 0, 16, 16}}},
        {"no count, a list", 0, two, {}},
        {"a count, no list", 1, nullptr, {{0, 0, 16, 16}}},
        {"two rectangles", 2, two, {two[0], two[1]}},
        {"the first of two", 1, two, {two[0]}},
        {"an inside-out rectangle", 1, insideOut, {}},
        {"a rectangle past the edges", 1, pastTheEdge, {{0, 12, 16, 16}}},
    };
    IDirect3DSurface9* surface = target(0, 16, 16, D3DFMT_A8R8G8B8);
    for (const bool narrowViewport : {false, true})
        for (const Case& c : cases)
        {
            SCOPED_TRACE(std::string(c.name) + (narrowViewport ? ", viewport (3, 4) 9 x 10" : ""));
            D3DVIEWPORT9 whole = {0, 0, 16, 16, 0.0f, 1.0f};
            ASSERT_EQ(m_device->SetViewport(&whole), D3D_OK);
            ASSERT_EQ(m_device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFFFF0000, 1.0f, 0), D3D_OK);
            const D3DVIEWPORT9 viewport = {3, 4, 9, 10, 0.0f, 1.0f};
            if (narrowViewport)
            {
                ASSERT_EQ(m_device->SetViewport(&viewport), D3D_OK);
            }
            EXPECT_EQ(m_device->Clear(c.count, c.rects, D3DCLEAR_TARGET, 0xFF00FF00, 1.0f, 0),
                      D3D_OK);
            const std::vector<Rgba> pixels = m_device.readRgba(surface);
            for (UINT y = 0; y < 16; ++y)
                for (UINT x = 0; x < 16; ++x)
                {
                    const bool inViewport =
                        !narrowViewport || (x >= 3 && x < 12 && y >= 4 && y < 14);
                    const bool green = inViewport && inside(c.cleared, x, y);
                    expectPixel(pixels, 16, x, y, green ? g_green : g_red, g_byte);
                }
        }
}

// Clear reaches every bound target, each as far as it extends inside the
// viewport (which follows target 0) and the rectangles: a smaller target is
// cleared to its edge, a larger one only where the viewport covers it.
TEST_P(RenderTargets, ClearReachesEveryTargetAsFarAsItExtends)
{
    IDirect3DSurface9* surfaces[3] = {target(0, 16, 16, D3DFMT_A8R8G8B8),
                                      target(1, 8, 8, D3DFMT_A8R8G8B8),
                                      target(2, 24, 20, D3DFMT_A16B16G16R16F)};
    const UINT widths[3] = {16, 8, 24};
    const UINT heights[3] = {16, 8, 20};
    struct Case
    {
        const char* name;
        DWORD count;
        D3DRECT rect;
        D3DRECT cleared;  // within target 0's viewport
    };
    const Case cases[] = {
        {"the whole viewport", 0, {}, {0, 0, 16, 16}},
        {"a rectangle over all three", 1, {4, 6, 22, 19}, {4, 6, 16, 16}},
        {"a rectangle past the smallest", 1, {9, 9, 12, 12}, {9, 9, 12, 12}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(m_device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFFFF0000, 1.0f, 0), D3D_OK);
        // Target 2 reaches past target 0's viewport: fill it red as target 0
        // of its own first.
        ASSERT_EQ(m_device->SetRenderTarget(2, nullptr), D3D_OK);
        ASSERT_EQ(m_device->SetRenderTarget(0, surfaces[2]), D3D_OK);
        ASSERT_EQ(m_device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFFFF0000, 1.0f, 0), D3D_OK);
        ASSERT_EQ(m_device->SetRenderTarget(0, surfaces[0]), D3D_OK);
        ASSERT_EQ(m_device->SetRenderTarget(2, surfaces[2]), D3D_OK);
        EXPECT_EQ(m_device->Clear(c.count, c.count ? &c.rect : nullptr, D3DCLEAR_TARGET, 0xFF00FF00,
                                  1.0f, 0),
                  D3D_OK);
        for (int t = 0; t < 3; ++t)
        {
            SCOPED_TRACE("target " + std::to_string(t));
            const std::vector<Rgba> pixels = m_device.readRgba(surfaces[t]);
            for (UINT y = 0; y < heights[t]; ++y)
                for (UINT x = 0; x < widths[t]; ++x)
                    expectPixel(pixels, widths[t], x, y,
                                inside({c.cleared}, x, y) ? g_green : g_red, g_byte);
        }
    }
}

// A target the pixel shader does not write keeps its contents; the targets
// it writes take their outputs. With no shaders, only target 0 is written.
TEST_P(RenderTargets, TargetsThePixelShaderDoesNotWriteKeepTheirContents)
{
    IDirect3DSurface9* surfaces[4];
    for (DWORD i = 0; i < 4; ++i)
        surfaces[i] = target(i, 8, 8, D3DFMT_A8R8G8B8);
    struct Case
    {
        const char* name;
        const char* shader;
        unsigned written;
    };
    const Case cases[] = {
        {"oC0 only", "ps_3_0\nmov oC0, c0\n", 1u},
        {"oC0 and oC2", "ps_3_0\nmov oC0, c0\nmov oC2, c0\n", 5u},
        {"oC1 and oC3", "ps_3_0\nmov oC1, c0\nmov oC3, c0\n", 10u},
        {"all four", "ps_3_0\nmov oC0, c0\nmov oC1, c0\nmov oC2, c0\nmov oC3, c0\n", 15u},
    };
    const float green[4] = {0, 1, 0, 1};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(m_device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFFFF0000, 1.0f, 0), D3D_OK);
        quad(c.shader);
        draw(green);
        for (int t = 0; t < 4; ++t)
        {
            SCOPED_TRACE("target " + std::to_string(t));
            expectPixel(m_device.readRgba(surfaces[t]), 8, 3, 4,
                        (c.written >> t) & 1 ? g_green : g_red, g_byte);
        }
    }
}

// D3D9 shader byte code for shader model 2, which qorasm does not assemble:
// vs_2_0 "dcl_position v0; mov oPos, v0; mov oD0, c0" and ps_2_0
// "dcl v0; mov oC0, v0", and ps_2_0 "mov oC0, c0".
const DWORD g_vs20Colour[] = {0xFFFE0200, 0x0200001F, 0x80000000, 0x900F0000,
                              0x02000001, 0xC00F0000, 0x90E40000, 0x02000001,
                              0xD00F0000, 0xA0E40000, 0x0000FFFF};
const DWORD g_ps20Input[] = {0xFFFF0200, 0x0200001F, 0x80000000, 0x900F0000,
                             0x02000001, 0x800F0800, 0x90E40000, 0x0000FFFF};
const DWORD g_ps20Constant[] = {0xFFFF0200, 0x02000001, 0x800F0800, 0xA0E40000, 0x0000FFFF};

// A vertex shader below model 3 clamps the colours it outputs to 0..1; a
// pixel shader of model 2 or 3 writes what it computes, so a float target
// receives values outside 0..1 from the constant, and through the vertex
// colour from model 3.
TEST_P(RenderTargets, VertexColoursClampBelowShaderModelThree)
{
    IDirect3DSurface9* surface = target(0, 8, 8, D3DFMT_A16B16G16R16F);
    keep(m_device.bindVertices(TestDevice::g_quad, sizeof(TestDevice::g_quad), 20,
                               D3DFVF_XYZ | D3DFVF_TEX1));
    m_device->SetRenderState(D3DRS_ZENABLE, FALSE);
    IDirect3DVertexShader9* vs30 = keep(m_device.vertexShader(TestDevice::g_passVertexShader));
    IDirect3DVertexShader9* vs30Colour = keep(m_device.vertexShader("vs_3_0\n"
                                                                    "dcl_position v0\n"
                                                                    "dcl_position o0\n"
                                                                    "dcl_color o1\n"
                                                                    "mov o0, v0\n"
                                                                    "mov o1, c0\n"));
    IDirect3DPixelShader9* ps30 = keep(m_device.pixelShader(g_colourShader));
    IDirect3DPixelShader9* ps30Input = keep(m_device.pixelShader("ps_3_0\n"
                                                                 "dcl_color v0\n"
                                                                 "mov oC0, v0\n"));
    IDirect3DVertexShader9* vs20 = nullptr;
    IDirect3DPixelShader9* ps20Input = nullptr;
    IDirect3DPixelShader9* ps20 = nullptr;
    ASSERT_EQ(m_device->CreateVertexShader(g_vs20Colour, &vs20), D3D_OK);
    keep(vs20);
    ASSERT_EQ(m_device->CreatePixelShader(g_ps20Input, &ps20Input), D3D_OK);
    keep(ps20Input);
    ASSERT_EQ(m_device->CreatePixelShader(g_ps20Constant, &ps20), D3D_OK);
    keep(ps20);

    const float value[4] = {2.5f, -1.5f, 0.5f, 3.0f};
    const Rgba unclamped = {2.5f, -1.5f, 0.5f, 3.0f};
    const Rgba clamped = {1.0f, 0.0f, 0.5f, 1.0f};
    struct Case
    {
        const char* name;
        IDirect3DVertexShader9* vertex;
        IDirect3DPixelShader9* pixel;
        Rgba expected;
    };
    const Case cases[] = {
        {"ps_3_0 writes a constant", vs30, ps30, unclamped},
        {"vs_3_0 outputs a colour, ps_3_0 passes it on", vs30Colour, ps30Input, unclamped},
        {"ps_2_0 writes a constant", vs20, ps20, unclamped},
        {"vs_2_0 outputs a colour, ps_2_0 passes it on", vs20, ps20Input, clamped},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(m_device->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0), D3D_OK);
        m_device->SetVertexShader(c.vertex);
        m_device->SetPixelShader(c.pixel);
        draw(value);
        expectPixel(m_device.readRgba(surface), 8, 4, 4, c.expected, 0.001f);
    }
}

// One texel of each format as D3D9 lays it out in locked memory, what
// sampling it reads (missing channels 1, L8's one channel in red, green and
// blue), and what drawing a colour into a target of the format keeps in
// memory, once and then blended on top of itself with ONE, ONE.
struct FormatCase
{
    D3DFORMAT format;
    const char* name;
    std::vector<unsigned char> texel;
    Rgba sampled;
    Rgba drawn;    // in memory after drawing (0.25, 0.5, 0.75, 1) once
    Rgba blended;  // after drawing it a second time with additive blending
    float tolerance;
};

std::vector<unsigned char> bytesOf(const void* a_data, size_t a_size)
{
    const unsigned char* bytes = static_cast<const unsigned char*>(a_data);
    return std::vector<unsigned char>(bytes, bytes + a_size);
}

std::vector<FormatCase> formatCases()
{
    const float r32 = -2.5f;
    const float rgba32[4] = {1.5f, -0.25f, 3.0f, 0.5f};
    const unsigned short g16r16[2] = {0x4000, 0xC000};   // red first in memory
    const unsigned short r16f = 0x3E00;                  // 1.5
    const unsigned short g16r16f[2] = {0xC100, 0x3400};  // -2.5, 0.25
    const unsigned char l8 = 0x66;
    return {
        {D3DFMT_L8,
         "L8",
         bytesOf(&l8, 1),
         {0.4f, 0.4f, 0.4f, 1.0f},
         {0.25f, 0, 0, 0},
         {0.5f, 0, 0, 0},
         g_byte},
        {D3DFMT_G16R16,
         "G16R16",
         bytesOf(g16r16, 4),
         {16384 / 65535.0f, 49152 / 65535.0f, 1, 1},
         {0.25f, 0.5f, 0, 0},
         {0.5f, 1.0f, 0, 0},
         0.001f},
        {D3DFMT_R16F,
         "R16F",
         bytesOf(&r16f, 2),
         {1.5f, 1, 1, 1},
         {0.25f, 0, 0, 0},
         {0.5f, 0, 0, 0},
         0.001f},
        {D3DFMT_G16R16F,
         "G16R16F",
         bytesOf(g16r16f, 4),
         {-2.5f, 0.25f, 1, 1},
         {0.25f, 0.5f, 0, 0},
         {0.5f, 1.0f, 0, 0},
         0.001f},
        {D3DFMT_R32F,
         "R32F",
         bytesOf(&r32, 4),
         {-2.5f, 1, 1, 1},
         {0.25f, 0, 0, 0},
         {0.5f, 0, 0, 0},
         1e-6f},
        {D3DFMT_A32B32G32R32F,
         "A32B32G32R32F",
         bytesOf(rgba32, 16),
         {1.5f, -0.25f, 3.0f, 0.5f},
         {0.25f, 0.5f, 0.75f, 1.0f},
         {0.5f, 1.0f, 1.5f, 2.0f},
         1e-6f},
    };
}

TEST_P(RenderTargets, FormatsSampleAndDrawAsInDirect3D9)
{
    IDirect3D9* d3d = keep(Direct3DCreate9(D3D_SDK_VERSION));
    ASSERT_NE(d3d, nullptr);
    IDirect3DSurface9* sampled = target(0, 4, 4, D3DFMT_A32B32G32R32F);
    quad("ps_3_0\n"
         "dcl_texcoord v0.xy\n"
         "dcl_2d s0\n"
         "texld r0, v0, s0\n"
         "mov oC0, r0\n");
    for (const FormatCase& c : formatCases())
    {
        SCOPED_TRACE(c.name);
        for (const DWORD usage :
             {DWORD(0), DWORD(D3DUSAGE_RENDERTARGET),
              DWORD(D3DUSAGE_RENDERTARGET | D3DUSAGE_QUERY_POSTPIXELSHADER_BLENDING),
              DWORD(D3DUSAGE_QUERY_FILTER)})
            EXPECT_EQ(d3d->CheckDeviceFormat(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8,
                                             usage, D3DRTYPE_TEXTURE, c.format),
                      D3D_OK)
                << "usage " << usage;

        // Sampling a texel written through LockRect.
        IDirect3DTexture9* texture = nullptr;
        ASSERT_EQ(m_device->CreateTexture(1, 1, 1, 0, c.format, D3DPOOL_MANAGED, &texture, nullptr),
                  D3D_OK);
        keep(texture);
        D3DLOCKED_RECT locked = {};
        ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
        memcpy(locked.pBits, c.texel.data(), c.texel.size());
        ASSERT_EQ(texture->UnlockRect(0), D3D_OK);
        ASSERT_EQ(m_device->SetRenderTarget(0, sampled), D3D_OK);
        m_device->SetTexture(0, texture);
        const float none[4] = {};
        draw(none);
        m_device->SetTexture(0, nullptr);
        expectPixel(m_device.readRgba(sampled), 4, 1, 2, c.sampled, c.tolerance);

        // Drawing into a target of the format, then blending on top.
        IDirect3DSurface9* surface = target(0, 4, 4, c.format);
        ASSERT_EQ(m_device->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0), D3D_OK);
        IDirect3DPixelShader9* shader = nullptr;
        m_device->GetPixelShader(&shader);
        m_device->SetPixelShader(keep(m_device.pixelShader(g_colourShader)));
        const float colour[4] = {0.25f, 0.5f, 0.75f, 1.0f};
        draw(colour);
        expectPixel(m_device.readRgba(surface), 4, 2, 1, c.drawn, c.tolerance);
        m_device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
        m_device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE);
        m_device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
        draw(colour);
        m_device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
        expectPixel(m_device.readRgba(surface), 4, 2, 1, c.blended, c.tolerance);
        m_device->SetPixelShader(shader);
        shader->Release();
    }
}

// D3D9's fill rule on edges that run through pixel centres: with centres on
// integer coordinates, a rectangle from x = 2 to 6 and y = 1 to 4 covers
// columns 2..5 and rows 1..3 (top and left edges in, bottom and right out),
// drawn pre-transformed or from clip space, on the back buffer and on a
// texture target.
TEST_P(RenderTargets, PixelAlignedEdgesFollowTheTopLeftRule)
{
    IDirect3DSurface9* textureTarget = target(0, 8, 8, D3DFMT_A8R8G8B8);
    for (IDirect3DSurface9* surface : {textureTarget, m_canvas.backBuffer()})
        for (const bool pretransformed : {true, false})
        {
            SCOPED_TRACE(std::string(surface == textureTarget ? "texture target" : "back buffer") +
                         (pretransformed ? ", pre-transformed" : ", clip space"));
            D3DSURFACE_DESC desc = {};
            surface->GetDesc(&desc);
            ASSERT_EQ(m_device->SetRenderTarget(0, surface), D3D_OK);
            ASSERT_EQ(m_device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFFFF0000, 1.0f, 0), D3D_OK);
            m_device->SetRenderState(D3DRS_ZENABLE, FALSE);
            m_device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
            if (pretransformed)
            {
                m_device->SetVertexShader(nullptr);
                m_device->SetPixelShader(nullptr);
                m_canvas.drawScreenQuad(2, 1, 6, 4, 0xFF00FF00);
            }
            else
            {
                // Clip space puts pixel centre x at -1 + (2x + 1) / width; D3D9
                // moves it half a pixel, onto -1 + 2x / width.
                const float w = float(desc.Width);
                const float h = float(desc.Height);
                auto clipX = [w](float a_x) {
                    return -1.0f + 2.0f * a_x / w;
                };
                auto clipY = [h](float a_y) {
                    return 1.0f - 2.0f * a_y / h;
                };
                const float corners[20] = {
                    clipX(2), clipY(1), 0, 0, 0, clipX(6), clipY(1), 0, 0, 0,
                    clipX(2), clipY(4), 0, 0, 0, clipX(6), clipY(4), 0, 0, 0};
                keep(m_device.bindVertices(corners, sizeof(corners), 20, D3DFVF_XYZ | D3DFVF_TEX1));
                m_device->SetVertexShader(
                    keep(m_device.vertexShader(TestDevice::g_passVertexShader)));
                m_device->SetPixelShader(keep(m_device.pixelShader(g_colourShader)));
                const float green[4] = {0, 1, 0, 1};
                draw(green);
            }
            const std::vector<Rgba> pixels = m_device.readRgba(surface);
            for (UINT y = 0; y < 6; ++y)
                for (UINT x = 0; x < 8; ++x)
                {
                    const bool covered = x >= 2 && x < 6 && y >= 1 && y < 4;
                    expectPixel(pixels, desc.Width, x, y, covered ? g_green : g_red, g_byte);
                }
        }
}

// Where a direction's largest coordinates tie, at a cube's edges and
// corners, the face is chosen with z before y before x, as Direct3D
// hardware does; the texel is then the one the face's (u, v) gives.
TEST_P(RenderTargets, CubeEdgesAndCornersChooseFacesAsDirect3D9)
{
    IDirect3DSurface9* surface = target(0, 8, 1, D3DFMT_A8R8G8B8);
    CubeSampling cube(m_device, m_canvas);
    struct Case
    {
        const char* name;
        float direction[4];
        DWORD face, x, y;
    };
    // (u, v) = ((sc / |ma| + 1) / 2, (tc / |ma| + 1) / 2), with sc and tc
    // from Direct3D 9's table; 1 lands on texel 1.
    const Case cases[] = {
        {"+x and +y tie: +y", {1.0f, 1.0f, -0.5f, 0}, 2, 1, 0},    // sc = x, tc = z
        {"+x and -z tie: -z", {1.0f, -0.5f, -1.0f, 0}, 5, 0, 1},   // sc = -x, tc = -y
        {"-y and +z tie: +z", {-0.5f, -1.0f, 1.0f, 0}, 4, 0, 1},   // sc = x, tc = -y
        {"-x and -y tie: -y", {-1.0f, -1.0f, 0.5f, 0}, 3, 0, 0},   // sc = x, tc = -z
        {"corner (+, +, +): +z", {1.0f, 1.0f, 1.0f, 0}, 4, 1, 0},  // sc = x, tc = -y
        {"corner (-, -, -): -z", {-1.0f, -1.0f, -1.0f, 0}, 5, 1, 1},
        {"corner (+, -, +): +z", {2.0f, -2.0f, 2.0f, 0}, 4, 1, 1},
        {"corner (-, +, -): -z", {-0.5f, 0.5f, -0.5f, 0}, 5, 1, 0},
    };
    const UINT count = sizeof(cases) / sizeof(cases[0]);
    for (UINT i = 0; i < count; ++i)
    {
        const D3DVIEWPORT9 viewport = {i, 0, 1, 1, 0.0f, 1.0f};
        m_device->SetViewport(&viewport);
        m_canvas.drawQuad(cases[i].direction);
    }
    const std::vector<Rgba> pixels = m_device.readRgba(surface);
    for (UINT i = 0; i < count; ++i)
    {
        SCOPED_TRACE(cases[i].name);
        expectPixel(pixels, 8, i, 0,
                    argb(CubeSampling::texel(cases[i].face, cases[i].x, cases[i].y)), g_byte);
    }
}

// The address modes do not apply to cube coordinates, and D3D9 filters each
// face on its own: near a face's edge, where wrapping would reach the face's
// opposite edge, a border colour would show and seamless filtering would
// reach the next face, every address mode reads the face's edge texels.
TEST_P(RenderTargets, AddressModesDoNotApplyToCubeCoordinates)
{
    IDirect3DSurface9* surface = target(0, 1, 1, D3DFMT_A8R8G8B8);
    CubeSampling cube(m_device, m_canvas);
    for (const DWORD filter : {DWORD(D3DTEXF_POINT), DWORD(D3DTEXF_LINEAR)})
    {
        m_device->SetSamplerState(0, D3DSAMP_MINFILTER, filter);
        m_device->SetSamplerState(0, D3DSAMP_MAGFILTER, filter);
        // +x face, u = 0.02 (texel 0's outer edge), v = 0.5 between the rows.
        const float nearTheEdge[4] = {1.0f, 0.0f, 0.96f, 0};
        std::vector<Rgba> seen;
        for (const DWORD mode : {DWORD(D3DTADDRESS_CLAMP), DWORD(D3DTADDRESS_WRAP),
                                 DWORD(D3DTADDRESS_MIRROR), DWORD(D3DTADDRESS_BORDER)})
        {
            SCOPED_TRACE("filter " + std::to_string(filter) + ", address mode " +
                         std::to_string(mode));
            for (const D3DSAMPLERSTATETYPE state :
                 {D3DSAMP_ADDRESSU, D3DSAMP_ADDRESSV, D3DSAMP_ADDRESSW})
                m_device->SetSamplerState(0, state, mode);
            m_device->SetSamplerState(0, D3DSAMP_BORDERCOLOR, 0xFFFFFFFF);
            m_canvas.drawQuad(nearTheEdge);
            seen.push_back(m_device.readRgba(surface)[0]);
            // Face +x's texel 1 and the neighbouring face's texels have green
            // 100: filtering stays inside texel 0's column of face +x.
            EXPECT_NEAR(seen.back().g, 0.0f, g_byte);
            expectPixel(seen, 1, 0, UINT(seen.size() - 1), seen.front(), g_byte);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Layer, RenderTargets, testing::ValuesIn(layerSettings()),
                         layerSettingName);

}  // namespace
