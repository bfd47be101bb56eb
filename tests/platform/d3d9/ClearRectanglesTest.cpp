// Clear with lists of rectangles, of colour, depth and stencil, on the back
// buffer and on render targets smaller and larger than the viewport that
// was set before them. What a clear left in the depth buffer is read back by
// drawing: a probe writes blue where the depth test finds the depth
// untouched. A stencil clear must leave colour and depth alone.
#include "Canvas.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace
{

const D3DCOLOR g_before = 0xFFFF0000;
const D3DCOLOR g_cleared = 0xFF00FF00;
const float g_clearedDepth = 0.25f;
const DWORD g_clearedStencil = 7;

struct RectList
{
    const char* name;
    std::vector<D3DRECT> rects;
    DWORD count;       // given to Clear
    bool passNull;     // the list is given as null
    bool wholeTarget;  // what D3D9 clears: everything
};

// The lists are given for a W x H target; rectangles reaching past an
// edge are written from the far edge.
std::vector<RectList> rectLists(LONG a_width, LONG a_height)
{
    return {
        {"two overlapping rectangles", {{1, 1, 5, 4}, {3, 2, 7, 6}}, 2, false, false},
        {"rectangles partly outside every edge",
         {{-3, -2, 3, 2}, {a_width - 2, a_height - 3, a_width + 5, a_height + 5}},
         2,
         false,
         false},
        {"an empty and an inside-out rectangle among good ones",
         {{2, 2, 2, 5}, {6, 5, 4, 3}, {0, a_height - 1, 2, a_height}},
         3,
         false,
         false},
        {"a list with a count of 0 clears nothing", {{0, 0, 4, 4}}, 0, false, false},
        {"a count with no list clears everything", {}, 1, true, true},
        {"a rectangle covering the whole target and more",
         {{-10, -10, a_width + 10, a_height + 10}},
         1,
         false,
         false},
    };
}

// Whether a_list's clear reaches pixel (a_x, a_y).
bool clears(const RectList& a_list, LONG a_x, LONG a_y)
{
    if (a_list.wholeTarget)
        return true;
    for (DWORD i = 0; i < a_list.count && i < a_list.rects.size(); ++i)
    {
        const D3DRECT& rect = a_list.rects[i];
        if (a_x >= rect.x1 && a_x < rect.x2 && a_y >= rect.y1 && a_y < rect.y2)
            return true;
    }
    return false;
}

struct Target
{
    const char* name;
    UINT width, height;  // 0: the back buffer
    bool ownDepth;       // a depth buffer of its size (the back buffer's is too small)
};

// A rectangle of screen pixels, no shaders, diffuse white, at depth a_z.
void drawProbe(TestDevice& a_device, Canvas& a_canvas, UINT a_width, UINT a_height, float a_z)
{
    const float w = float(a_width);
    const float h = float(a_height);
    const Canvas::ScreenVertex corners[4] = {{0, 0, a_z, 1, 0xFFFFFFFF, 0, 0},
                                             {w, 0, a_z, 1, 0xFFFFFFFF, 1, 0},
                                             {0, h, a_z, 1, 0xFFFFFFFF, 0, 1},
                                             {w, h, a_z, 1, 0xFFFFFFFF, 1, 1}};
    a_canvas.keep(a_device.bindVertices(corners, sizeof(corners), sizeof(Canvas::ScreenVertex),
                                        D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1));
    EXPECT_EQ(a_device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3D_OK);
}

// Every pixel exactly as a_expected says; the first that is not is reported.
void expectPixels(const std::vector<Rgba>& a_pixels, UINT a_width, UINT a_height,
                  const std::function<Rgba(UINT, UINT)>& a_expected)
{
    for (UINT y = 0; y < a_height; ++y)
        for (UINT x = 0; x < a_width; ++x)
        {
            const Rgba want = a_expected(x, y);
            const Rgba& pixel = a_pixels[size_t(y) * a_width + x];
            if (pixel.r != want.r || pixel.g != want.g || pixel.b != want.b || pixel.a != want.a)
            {
                ADD_FAILURE() << "pixel (" << x << ", " << y << ") is (" << pixel.r << ", "
                              << pixel.g << ", " << pixel.b << ", " << pixel.a << "), expected ("
                              << want.r << ", " << want.g << ", " << want.b << ", " << want.a
                              << ")";
                return;
            }
        }
}

}  // namespace

TEST(ClearRectangles, ClearsReachOnlyTheRectanglesOnEveryTarget)
{
    TestDevice device(16, 16, D3DFMT_A8R8G8B8, D3DFMT_D24S8);
    Canvas canvas(device);
    const Target targets[] = {
        {"the back buffer", 0, 0, false},
        {"a render target smaller than the viewport before it", 8, 6, false},
        {"a render target larger than the back buffer", 24, 20, true},
    };
    const DWORD flagSets[] = {D3DCLEAR_TARGET, D3DCLEAR_ZBUFFER, D3DCLEAR_STENCIL,
                              D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL};
    IDirect3DSurface9* backBufferDepth = nullptr;
    ASSERT_EQ(device->GetDepthStencilSurface(&backBufferDepth), D3D_OK);
    canvas.keep(backBufferDepth);
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
    device->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESS);
    for (const Target& target : targets)
    {
        SCOPED_TRACE(target.name);
        // The target replaces the viewport of the one bound before it: the
        // back buffer's for the render targets, a smaller one's for the
        // back buffer.
        IDirect3DSurface9* surface = canvas.backBuffer();
        UINT width = 16;
        UINT height = 16;
        if (target.width)
        {
            ASSERT_EQ(device->SetRenderTarget(0, canvas.backBuffer()), D3D_OK);
            surface = canvas.target(0, target.width, target.height, D3DFMT_A8R8G8B8);
            ASSERT_NE(surface, nullptr);
            width = target.width;
            height = target.height;
        }
        else
        {
            canvas.target(0, 4, 4, D3DFMT_A8R8G8B8);
            ASSERT_EQ(device->SetRenderTarget(0, surface), D3D_OK);
        }
        IDirect3DSurface9* depth = backBufferDepth;
        if (target.ownDepth)
        {
            IDirect3DTexture9* texture = nullptr;
            ASSERT_EQ(device->CreateTexture(width, height, 1, D3DUSAGE_DEPTHSTENCIL, D3DFMT_D24S8,
                                            D3DPOOL_DEFAULT, &texture, nullptr),
                      D3D_OK);
            canvas.keep(texture);
            ASSERT_EQ(texture->GetSurfaceLevel(0, &depth), D3D_OK);
            canvas.keep(depth);
        }
        ASSERT_EQ(device->SetDepthStencilSurface(depth), D3D_OK);
        D3DVIEWPORT9 viewport = {};
        ASSERT_EQ(device->GetViewport(&viewport), D3D_OK);
        EXPECT_EQ(viewport.Width, width);
        EXPECT_EQ(viewport.Height, height);

        for (const RectList& list : rectLists(LONG(width), LONG(height)))
            for (const DWORD flags : flagSets)
            {
                SCOPED_TRACE(std::string(list.name) + ", flags " + std::to_string(flags));
                ASSERT_EQ(device->Clear(0, nullptr,
                                        D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL,
                                        g_before, 1.0f, 0),
                          D3D_OK);
                EXPECT_EQ(device->Clear(list.count, list.passNull ? nullptr : list.rects.data(),
                                        flags, g_cleared, g_clearedDepth, g_clearedStencil),
                          D3D_OK);
                // Blue where the depth is still 1.
                device->SetRenderState(D3DRS_COLORWRITEENABLE, D3DCOLORWRITEENABLE_BLUE);
                drawProbe(device, canvas, width, height, 0.5f);
                device->SetRenderState(D3DRS_COLORWRITEENABLE, 0xF);

                const std::vector<Rgba> pixels = device.readRgba(surface);
                ASSERT_EQ(pixels.size(), size_t(width) * height);
                expectPixels(pixels, width, height, [&](UINT a_x, UINT a_y) {
                    const bool inside = clears(list, LONG(a_x), LONG(a_y));
                    const bool colour = inside && (flags & D3DCLEAR_TARGET);
                    const bool depthCleared = inside && (flags & D3DCLEAR_ZBUFFER);
                    return Rgba{colour ? 0.0f : 1.0f, colour ? 1.0f : 0.0f,
                                depthCleared ? 0.0f : 1.0f, 1.0f};
                });
            }
    }
    device->SetDepthStencilSurface(backBufferDepth);
}
