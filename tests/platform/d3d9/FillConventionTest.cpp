// D3D9's fill convention for triangles drawn by vs_3_0 and ps_3_0: pixel
// centres sit on integer screen coordinates, and a centre that lies exactly
// on an edge belongs to the triangle only when that edge is a top edge
// (horizontal, the triangle below it) or a left edge. Triangles sharing an
// edge through pixel centres then cover each of its pixels exactly once.
#include "Canvas.h"

#include <gtest/gtest.h>

#include <math.h>

#include <string>
#include <utility>
#include <vector>

namespace
{

struct Point
{
    float x, y;  // screen pixels, pixel centres on integers
};

struct Triangle
{
    Point corners[3];
    DWORD bit;  // what the triangle adds to a pixel's red, in 255ths
};

// Groups in separate places of a 16 x 12 target: two squares split along
// either diagonal, a fan of four around a centre, a steep triangle; every
// edge runs through pixel centres, none less steep than 45 degrees.
const std::vector<Triangle> g_steepEdges = {
    {{{1, 1}, {5, 1}, {1, 5}}, 1},       // the diagonal is its right edge
    {{{5, 1}, {5, 5}, {1, 5}}, 2},       // ...and this one's left edge
    {{{6, 1}, {10, 1}, {10, 5}}, 4},     // the diagonal is its left edge
    {{{6, 1}, {10, 5}, {6, 5}}, 8},      // ...and this one's right edge
    {{{11, 1}, {15, 1}, {13, 5}}, 16},   // the fan's top
    {{{15, 1}, {15, 9}, {13, 5}}, 32},   // right
    {{{15, 9}, {11, 9}, {13, 5}}, 64},   // bottom
    {{{11, 9}, {11, 1}, {13, 5}}, 128},  // left
    {{{3, 6}, {5, 10}, {1, 10}}, 1},     // sides through (2, 8) and (4, 8)
};

// A fan whose slanted edges rise one pixel in two, through (3, 3), (7, 3),
// (3, 5) and (7, 5): a left edge of the top and bottom triangles, a right
// edge of the side ones.
const std::vector<Triangle> g_shallowEdges = {
    {{{1, 2}, {9, 2}, {5, 4}}, 1},
    {{{9, 2}, {9, 6}, {5, 4}}, 2},
    {{{9, 6}, {1, 6}, {5, 4}}, 4},
    {{{1, 6}, {1, 2}, {5, 4}}, 8},
};

// Whether the centre of pixel (a_x, a_y) belongs to the triangle: inside all
// three edges, or on an edge that is a top or left one.
bool covers(const Triangle& a_triangle, int a_x, int a_y)
{
    Point a = a_triangle.corners[0];
    Point b = a_triangle.corners[1];
    Point c = a_triangle.corners[2];
    // Wound so that the inside is to the right of each edge on a screen
    // whose y grows downwards.
    if ((b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x) < 0)
        std::swap(b, c);
    const Point edges[3][2] = {{a, b}, {b, c}, {c, a}};
    for (const auto& edge : edges)
    {
        const float dx = edge[1].x - edge[0].x;
        const float dy = edge[1].y - edge[0].y;
        const float side = dx * (float(a_y) - edge[0].y) - dy * (float(a_x) - edge[0].x);
        const bool topOrLeft = (dy == 0 && dx > 0) || dy < 0;
        if (side < 0 || (side == 0 && !topOrLeft))
            return false;
    }
    return true;
}

// Draws the triangles with vs_3_0 and ps_3_0 on the back buffer and on a
// texture target of another size. Each triangle adds its own bit to red
// with additive blending, so a pixel's red tells exactly which triangles
// drew it, once each.
void expectTopLeftRule(const std::vector<Triangle>& a_triangles)
{
    TestDevice device(24, 16, D3DFMT_A8R8G8B8);
    Canvas canvas(device);
    IDirect3DSurface9* textureTarget = nullptr;
    {
        IDirect3DTexture9* texture =
            canvas.keep(device.target(16, 12, D3DFMT_A8R8G8B8, &textureTarget));
        ASSERT_NE(texture, nullptr);
        canvas.keep(textureTarget);
    }
    device->SetVertexShader(canvas.keep(device.vertexShader(TestDevice::g_passVertexShader)));
    device->SetPixelShader(canvas.keep(device.pixelShader("ps_3_0\n"
                                                          "const float4 colour : c0\n"
                                                          "mov oC0, c0\n")));
    device->SetRenderState(D3DRS_ZENABLE, FALSE);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);

    for (IDirect3DSurface9* surface : {canvas.backBuffer(), textureTarget})
    {
        D3DSURFACE_DESC desc = {};
        ASSERT_EQ(surface->GetDesc(&desc), D3D_OK);
        SCOPED_TRACE((surface == textureTarget ? "texture target " : "back buffer ") +
                     std::to_string(desc.Width) + " x " + std::to_string(desc.Height));
        ASSERT_EQ(device->SetRenderTarget(0, surface), D3D_OK);
        ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET, 0x00000000, 1.0f, 0), D3D_OK);
        // Clip space reaches screen x at -1 + 2x / width (D3D9's viewport
        // puts pixel centres on integers).
        std::vector<float> vertices;
        for (const Triangle& triangle : a_triangles)
            for (const Point& corner : triangle.corners)
                vertices.insert(vertices.end(),
                                {-1.0f + 2.0f * corner.x / float(desc.Width),
                                 1.0f - 2.0f * corner.y / float(desc.Height), 0.5f, 0.0f, 0.0f});
        canvas.keep(device.bindVertices(vertices.data(), UINT(vertices.size() * sizeof(float)), 20,
                                        D3DFVF_XYZ | D3DFVF_TEX1));
        for (UINT i = 0; i < UINT(a_triangles.size()); ++i)
        {
            const float colour[4] = {float(a_triangles[i].bit) / 255.0f, 0, 0, 0};
            device->SetPixelShaderConstantF(0, colour, 1);
            ASSERT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, 3 * i, 1), D3D_OK);
        }
        const std::vector<Rgba> pixels = device.readRgba(surface);
        ASSERT_EQ(pixels.size(), size_t(desc.Width) * desc.Height);
        std::string wrong;
        for (UINT y = 0; y < desc.Height; ++y)
            for (UINT x = 0; x < desc.Width; ++x)
            {
                DWORD expected = 0;
                for (const Triangle& triangle : a_triangles)
                    if (covers(triangle, int(x), int(y)))
                        expected += triangle.bit;
                const DWORD actual = DWORD(lroundf(pixels[size_t(y) * desc.Width + x].r * 255.0f));
                if (actual != expected)
                    wrong += " (" + std::to_string(x) + ", " + std::to_string(y) +
                             "): " + std::to_string(actual) + " for " + std::to_string(expected) +
                             ";";
            }
        EXPECT_EQ(wrong, "") << "pixels drawn by other triangles than the rule says";
    }
}

}  // namespace

TEST(FillConvention, SteepEdgesThroughPixelCentresFollowTheTopLeftRule)
{
    expectTopLeftRule(g_steepEdges);
}

TEST(FillConvention, ShallowEdgesThroughPixelCentresFollowTheTopLeftRule)
{
    expectTopLeftRule(g_shallowEdges);
}

// Which triangles are front faces: D3D9 calls those that turn clockwise on
// the screen front faces, culls them under D3DCULL_CW and the others under
// D3DCULL_CCW, and gives vFace a positive value on them. A clockwise triangle
// on the left half of the target, a counter-clockwise one on the right; the
// pixel shader writes green on a front face, red on a back face.
TEST(FillConvention, ClockwiseTrianglesAreFrontFaces)
{
    struct Case
    {
        const char* name;
        DWORD cullMode;
        DWORD left;
        DWORD right;
    };
    const DWORD none = 0xFF000000, front = 0xFF00FF00, back = 0xFFFF0000;
    const Case cases[] = {{"no culling", D3DCULL_NONE, front, back},
                          {"clockwise culled", D3DCULL_CW, none, back},
                          {"counter-clockwise culled", D3DCULL_CCW, front, none}};
    TestDevice device(16, 8, D3DFMT_A8R8G8B8);
    Canvas canvas(device);
    device->SetVertexShader(canvas.keep(device.vertexShader(TestDevice::g_passVertexShader)));
    device->SetPixelShader(canvas.keep(device.pixelShader("ps_3_0\n"
                                                          "def c0, 0, 1, 0, 1\n"
                                                          "def c1, 1, 0, 0, 1\n"
                                                          "def c2, 0, 0, 0, 0\n"
                                                          "dcl vFace\n"
                                                          "if_gt vFace.x, c2.x\n"
                                                          "mov oC0, c0\n"
                                                          "else\n"
                                                          "mov oC0, c1\n"
                                                          "endif\n")));
    device->SetRenderState(D3DRS_ZENABLE, FALSE);
    // Clip space, y up: the left triangle runs top left, top right, bottom
    // left (clockwise on the screen), the right one the other way round.
    const float vertices[] = {-1.0f, 1.0f,  0.5f, 0, 0, 0.0f, 1.0f, 0.5f, 0, 0,
                              -1.0f, -1.0f, 0.5f, 0, 0, 0.0f, 1.0f, 0.5f, 0, 0,
                              0.0f,  -1.0f, 0.5f, 0, 0, 1.0f, 1.0f, 0.5f, 0, 0};
    canvas.keep(device.bindVertices(vertices, sizeof(vertices), 20, D3DFVF_XYZ | D3DFVF_TEX1));
    for (const Case& test : cases)
    {
        SCOPED_TRACE(test.name);
        device->SetRenderState(D3DRS_CULLMODE, test.cullMode);
        ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET, none, 1.0f, 0), D3D_OK);
        ASSERT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 2), D3D_OK);
        const std::vector<DWORD> pixels = device.readArgb(canvas.backBuffer());
        ASSERT_EQ(pixels.size(), size_t(16 * 8));
        // (2, 2) lies inside the left triangle, (10, 2) inside the right one.
        EXPECT_EQ(pixels[2 * 16 + 2], test.left);
        EXPECT_EQ(pixels[2 * 16 + 10], test.right);
    }
}
