// A cube texture's faces, edges and corners read through every address mode
// the device offers, with point and with linear filtering. The address modes
// are for two- and three-dimensional coordinates: a cube's direction picks a
// face and a place on it, and each face is filtered on its own up to its
// edges, so every mode must read the same texels.
#include "CubeSampling.h"

#include <gtest/gtest.h>

#include <math.h>

#include <algorithm>
#include <string>
#include <vector>

namespace
{

// Linear filtering's weights are 8-bit fixed point on most devices.
const float g_tolerance = 2.5f / 255.0f;

// A colour no texel has, so that a border read shows.
const DWORD g_border = 0xFFFF00FF;

struct Case
{
    const char* name;
    float direction[4];
    // The face D3D9's table picks and its (u, v) = ((sc / |ma| + 1) / 2,
    // (tc / |ma| + 1) / 2).
    DWORD face;
    float u, v;
};

// Face f's texel (x, y) of CubeSampling's 2 x 2 faces, as floats.
Rgba texelOf(DWORD a_face, int a_x, int a_y)
{
    return argb(CubeSampling::texel(a_face, DWORD(a_x), DWORD(a_y)));
}

// What one face gives at (u, v) when it is filtered on its own and stops at
// its edges: point sampling reads the texel under the coordinate (a
// coordinate on a texel boundary reads the texel below and right), linear
// filtering weighs the four nearest texel centres.
Rgba sampleFace(DWORD a_face, float a_u, float a_v, bool a_linear)
{
    const int side = 2;
    auto clampIndex = [](int a_index) {
        return std::min(std::max(a_index, 0), side - 1);
    };
    if (!a_linear)
        return texelOf(a_face, clampIndex(int(floorf(a_u * side))),
                       clampIndex(int(floorf(a_v * side))));
    const float x = a_u * side - 0.5f;
    const float y = a_v * side - 0.5f;
    const int x0 = int(floorf(x));
    const int y0 = int(floorf(y));
    const float fx = x - float(x0);
    const float fy = y - float(y0);
    Rgba sum = {0, 0, 0, 0};
    for (int dy = 0; dy < 2; ++dy)
        for (int dx = 0; dx < 2; ++dx)
        {
            const float weight = (dx ? fx : 1.0f - fx) * (dy ? fy : 1.0f - fy);
            const Rgba texel = texelOf(a_face, clampIndex(x0 + dx), clampIndex(y0 + dy));
            sum.r += weight * texel.r;
            sum.g += weight * texel.g;
            sum.b += weight * texel.b;
            sum.a += weight * texel.a;
        }
    return sum;
}

// Directions inside each face, on its edges (where two coordinates tie and
// z wins over y, y over x) and at its corners, and near an edge without a
// tie. Coordinates of exactly 1 are where wrapping would read the opposite
// column and a border mode the border colour.
const Case g_cases[] = {
    {"+x, texel centre", {1.0f, -0.5f, -0.5f, 0}, 0, 0.75f, 0.75f},   // sc = -z, tc = -y
    {"-x, texel centre", {-1.0f, 0.5f, -0.5f, 0}, 1, 0.25f, 0.25f},   // sc = z, tc = -y
    {"+y, texel centre", {0.5f, 1.0f, -0.5f, 0}, 2, 0.75f, 0.25f},    // sc = x, tc = z
    {"-y, texel centre", {-0.5f, -1.0f, -0.5f, 0}, 3, 0.25f, 0.75f},  // sc = x, tc = -z
    {"+z, texel centre", {0.5f, 0.5f, 1.0f, 0}, 4, 0.75f, 0.25f},     // sc = x, tc = -y
    {"-z, texel centre", {0.5f, -0.5f, -1.0f, 0}, 5, 0.25f, 0.75f},   // sc = -x, tc = -y
    {"+x, face centre", {1.0f, 0.0f, 0.0f, 0}, 0, 0.5f, 0.5f},
    {"-y, face centre", {0.0f, -2.0f, 0.0f, 0}, 3, 0.5f, 0.5f},
    {"+x near its edge with -z", {1.0f, -0.5f, -0.96f, 0}, 0, 0.98f, 0.75f},
    {"-z near its edge with -y", {-0.5f, -0.96f, -1.0f, 0}, 5, 0.75f, 0.98f},
    {"+x and +y tie: +y at u = 1", {1.0f, 1.0f, -0.5f, 0}, 2, 1.0f, 0.25f},
    {"-x and +z tie: +z at u = 0", {-1.0f, 0.5f, 1.0f, 0}, 4, 0.0f, 0.25f},
    {"+y and -z tie: -z at v = 0", {0.5f, 1.0f, -1.0f, 0}, 5, 0.25f, 0.0f},
    {"-y and +x tie: -y at u = 1", {1.0f, -1.0f, 0.5f, 0}, 3, 1.0f, 0.25f},
    {"corner (+, +, +): +z at (1, 0)", {1.0f, 1.0f, 1.0f, 0}, 4, 1.0f, 0.0f},
    {"corner (-, -, -): -z at (1, 1)", {-1.0f, -1.0f, -1.0f, 0}, 5, 1.0f, 1.0f},
    {"corner (-, +, +): +z at (0, 0)", {-2.0f, 2.0f, 2.0f, 0}, 4, 0.0f, 0.0f},
    {"corner (+, -, -): -z at (0, 1)", {0.5f, -0.5f, -0.5f, 0}, 5, 0.0f, 1.0f},
};
const UINT g_count = sizeof(g_cases) / sizeof(g_cases[0]);

struct Mode
{
    const char* name;
    DWORD mode;
    DWORD cap;
};

const Mode g_modes[] = {
    {"WRAP", D3DTADDRESS_WRAP, D3DPTADDRESSCAPS_WRAP},
    {"MIRROR", D3DTADDRESS_MIRROR, D3DPTADDRESSCAPS_MIRROR},
    {"CLAMP", D3DTADDRESS_CLAMP, D3DPTADDRESSCAPS_CLAMP},
    {"BORDER", D3DTADDRESS_BORDER, D3DPTADDRESSCAPS_BORDER},
    {"MIRRORONCE", D3DTADDRESS_MIRRORONCE, D3DPTADDRESSCAPS_MIRRORONCE},
};

}  // namespace

// Every case draws one pixel of a row through a 1 x 1 viewport; the row is
// read back once per address mode and filter.
TEST(CubeAddressing, FacesEdgesAndCornersReadTheSameTexelsUnderEveryAddressMode)
{
    TestDevice device(32, 32);
    D3DCAPS9 caps = {};
    ASSERT_EQ(device->GetDeviceCaps(&caps), D3D_OK);
    Canvas canvas(device);
    IDirect3DSurface9* target = canvas.target(0, g_count, 1, D3DFMT_A8R8G8B8);
    ASSERT_NE(target, nullptr);
    const CubeSampling cube(device, canvas);
    device->SetSamplerState(0, D3DSAMP_BORDERCOLOR, g_border);
    UINT modesTried = 0;
    for (const Mode& mode : g_modes)
    {
        if (!(caps.TextureAddressCaps & mode.cap))
            continue;
        ++modesTried;
        for (const bool linear : {false, true})
        {
            SCOPED_TRACE(std::string(mode.name) + (linear ? ", linear" : ", point"));
            for (const D3DSAMPLERSTATETYPE state :
                 {D3DSAMP_ADDRESSU, D3DSAMP_ADDRESSV, D3DSAMP_ADDRESSW})
                ASSERT_EQ(device->SetSamplerState(0, state, mode.mode), D3D_OK);
            const DWORD filter = linear ? D3DTEXF_LINEAR : D3DTEXF_POINT;
            device->SetSamplerState(0, D3DSAMP_MINFILTER, filter);
            device->SetSamplerState(0, D3DSAMP_MAGFILTER, filter);
            device->Clear(0, nullptr, D3DCLEAR_TARGET, 0x00000000, 1.0f, 0);
            for (UINT i = 0; i < g_count; ++i)
            {
                const D3DVIEWPORT9 viewport = {i, 0, 1, 1, 0.0f, 1.0f};
                ASSERT_EQ(device->SetViewport(&viewport), D3D_OK);
                canvas.drawQuad(g_cases[i].direction);
            }
            const std::vector<Rgba> pixels = device.readRgba(target);
            ASSERT_EQ(pixels.size(), g_count);
            for (UINT i = 0; i < g_count; ++i)
            {
                SCOPED_TRACE(g_cases[i].name);
                expectNear(pixels[i],
                           sampleFace(g_cases[i].face, g_cases[i].u, g_cases[i].v, linear),
                           g_tolerance);
            }
        }
    }
    // Every device offers the first four.
    EXPECT_GE(modesTried, 4u);
}
