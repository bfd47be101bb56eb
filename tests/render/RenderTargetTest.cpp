// Render targets: 2D targets of one level and 128 x 128 cube targets, bound
// as colour targets with the renderer's size record kept, unbound back to the
// back buffer, and bound as textures.
//
// Untested: what a cube target holds (D3D9 leaves a new target's contents
// undefined, and nothing draws into one).
#include "render/RenderTarget.h"

#include "render/Renderer.h"
#include "render/RendererFixture.h"

#include <D3D9Testing.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

using RenderTargetTest = RendererFixture;

// Colour target a_index as the device holds it (null when none).
IDirect3DSurface9* boundAt(IDirect3DDevice9* a_device, DWORD a_index)
{
    IDirect3DSurface9* surface = nullptr;
    a_device->GetRenderTarget(a_index, &surface);
    if (surface)
        surface->Release();  // the comparison needs no reference
    return surface;
}

}

// A 2D target is one render-target level of the requested size and format
// in the default pool, with that level as its surface and no cube texture.
TEST_F(RenderTargetTest, CreatesTwoDimensionalTargets)
{
    const struct
    {
        D3DFORMAT format;
        int32_t width;
        int32_t height;
    } cases[] = {
        {D3DFMT_A16B16G16R16F, 1280, 720}, {D3DFMT_G32R32F, 1280, 720},
        {D3DFMT_A16B16G16R16F, 640, 360},  {D3DFMT_A8R8G8B8, 1, 1},
        {D3DFMT_X8R8G8B8, 128, 64},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(std::to_string(c.format) + " " + std::to_string(c.width) + " x " +
                     std::to_string(c.height));
        RenderTarget* target = RenderTarget::create(m_renderer, c.width, c.height, c.format);
        ASSERT_NE(target, nullptr);
        EXPECT_FALSE(target->m_cubemap);
        EXPECT_EQ(target->m_cubeTexture, nullptr);
        EXPECT_EQ(target->m_width, c.width);
        EXPECT_EQ(target->m_height, c.height);
        EXPECT_EQ(target->m_renderer, m_renderer);
        ASSERT_NE(target->m_texture, nullptr);
        EXPECT_EQ(target->m_texture->GetLevelCount(), 1u);
        D3DSURFACE_DESC description = {};
        ASSERT_EQ(target->m_texture->GetLevelDesc(0, &description), D3D_OK);
        EXPECT_EQ(description.Format, c.format);
        EXPECT_EQ(description.Usage, DWORD(D3DUSAGE_RENDERTARGET));
        EXPECT_EQ(description.Pool, D3DPOOL_DEFAULT);
        EXPECT_EQ(description.Width, UINT(c.width));
        EXPECT_EQ(description.Height, UINT(c.height));
        IDirect3DSurface9* level = nullptr;
        ASSERT_EQ(target->m_texture->GetSurfaceLevel(0, &level), D3D_OK);
        EXPECT_EQ(target->m_surface, level);
        level->Release();
        delete target;
    }
}

// Sizes and formats the device refuses make no target, without a message.
TEST_F(RenderTargetTest, RefusedTargetIsNull)
{
    const struct
    {
        const char* name;
        int32_t width;
        int32_t height;
        D3DFORMAT format;
    } cases[] = {
        {"no width", 0, 720, D3DFMT_A16B16G16R16F},
        {"negative height", 1280, -720, D3DFMT_A16B16G16R16F},
        {"wider than any texture", 16385, 720, D3DFMT_A16B16G16R16F},
        {"a depth format", 1280, 720, D3DFMT_D24X8},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(RenderTarget::create(m_renderer, c.width, c.height, c.format), nullptr);
    }
    EXPECT_TRUE(m_boxes.boxes().empty());
}

// A cube target is a one-level 128 x 128 X8R8G8B8 render-target cube
// texture, with no 2D texture or surface.
TEST_F(RenderTargetTest, CreatesCubeTargets)
{
    RenderTarget* cube = RenderTarget::createCube(m_renderer);
    ASSERT_NE(cube, nullptr);
    EXPECT_TRUE(cube->m_cubemap);
    EXPECT_EQ(cube->m_texture, nullptr);
    EXPECT_EQ(cube->m_surface, nullptr);
    EXPECT_EQ(cube->m_width, 128);
    EXPECT_EQ(cube->m_height, 128);
    EXPECT_EQ(cube->m_renderer, m_renderer);
    ASSERT_NE(cube->m_cubeTexture, nullptr);
    EXPECT_EQ(cube->m_cubeTexture->GetLevelCount(), 1u);
    D3DSURFACE_DESC description = {};
    ASSERT_EQ(cube->m_cubeTexture->GetLevelDesc(0, &description), D3D_OK);
    EXPECT_EQ(description.Format, D3DFMT_X8R8G8B8);
    EXPECT_EQ(description.Usage, DWORD(D3DUSAGE_RENDERTARGET));
    EXPECT_EQ(description.Pool, D3DPOOL_DEFAULT);
    EXPECT_EQ(description.Width, 128u);
    EXPECT_EQ(description.Height, 128u);
    delete cube;
}

// A new cube target holds the horizon: the sky face and the top rows of the
// side faces lighter than the ground face and the bottom rows, the glow at
// the side faces' middle, and the bound colour target is left as it was.
TEST_F(RenderTargetTest, CubeTargetsStartWithTheHorizon)
{
    IDirect3DSurface9* before = nullptr;
    device()->GetRenderTarget(0, &before);
    RenderTarget* cube = RenderTarget::createCube(m_renderer);
    ASSERT_NE(cube, nullptr);
    IDirect3DSurface9* after = nullptr;
    device()->GetRenderTarget(0, &after);
    EXPECT_EQ(after, before);
    before->Release();
    after->Release();

    auto row = [&](D3DCUBEMAP_FACES a_face, int a_y) {
        IDirect3DSurface9* surface = nullptr;
        EXPECT_EQ(cube->m_cubeTexture->GetCubeMapSurface(a_face, 0, &surface), D3D_OK);
        std::vector<unsigned char> bytes;
        EXPECT_EQ(D3D9Testing::readSurface(surface, &bytes), D3D_OK);
        surface->Release();
        const size_t at = (size_t(a_y) * 128 + 64) * 4;
        return DWORD(bytes[at]) | DWORD(bytes[at + 1]) << 8 | DWORD(bytes[at + 2]) << 16;
    };
    auto light = [](DWORD a_colour) {
        return (a_colour >> 16 & 0xFF) + (a_colour >> 8 & 0xFF) + (a_colour & 0xFF);
    };
    EXPECT_EQ(row(D3DCUBEMAP_FACE_POSITIVE_Y, 64), RenderTarget::horizonColour(1.0f) & 0xFFFFFF);
    EXPECT_EQ(row(D3DCUBEMAP_FACE_NEGATIVE_Y, 64), RenderTarget::horizonColour(-1.0f) & 0xFFFFFF);
    for (D3DCUBEMAP_FACES face : {D3DCUBEMAP_FACE_POSITIVE_X, D3DCUBEMAP_FACE_NEGATIVE_X,
                                  D3DCUBEMAP_FACE_POSITIVE_Z, D3DCUBEMAP_FACE_NEGATIVE_Z})
    {
        SCOPED_TRACE(face);
        EXPECT_GT(light(row(face, 0)), light(row(face, 127)) + 200);
        EXPECT_GT(row(face, 62) >> 16 & 0xFF, row(face, 0) >> 16 & 0xFF) << "the warm glow";
    }
    delete cube;
}

// Binding at any index records the target's size; unbinding index 0 returns
// to the back buffer and its size and leaves indices 1 to 3 bound, while
// unbinding another index empties it and changes nothing else.
TEST_F(RenderTargetTest, BindingKeepsTheSizeRecord)
{
    RenderTarget* large = RenderTarget::create(m_renderer, 1280, 720, D3DFMT_A16B16G16R16F);
    RenderTarget* small = RenderTarget::create(m_renderer, 640, 360, D3DFMT_A16B16G16R16F);
    RenderTarget* other = RenderTarget::create(m_renderer, 320, 180, D3DFMT_A16B16G16R16F);
    ASSERT_TRUE(large && small && other);
    IDirect3DSurface9* backBuffer = m_renderer->m_backBuffer;
    IDirect3DDevice9* d = device();

    // bind(2) alone: index 0 keeps the back buffer, the record is the target's.
    small->bind(2);
    EXPECT_EQ(small->m_index, 2);
    EXPECT_EQ(m_renderer->m_width, 640);
    EXPECT_EQ(m_renderer->m_height, 360);
    EXPECT_EQ(boundAt(d, 0), backBuffer);
    EXPECT_EQ(boundAt(d, 2), small->m_surface);
    small->unbind();
    EXPECT_EQ(boundAt(d, 2), nullptr);
    EXPECT_EQ(m_renderer->m_width, 640) << "unbinding index 2 leaves the record";

    // bind(0), bind(1); unbind index 1: index 0 and the record stay.
    large->bind(0);
    other->bind(1);
    EXPECT_EQ(m_renderer->m_width, 320);
    EXPECT_EQ(m_renderer->m_height, 180);
    other->unbind();
    EXPECT_EQ(boundAt(d, 1), nullptr);
    EXPECT_EQ(boundAt(d, 0), large->m_surface);
    EXPECT_EQ(m_renderer->m_width, 320);
    EXPECT_EQ(m_renderer->m_height, 180);

    // bind(0), bind(3); unbind index 0: back buffer and its size, index 3 stays.
    small->bind(3);
    large->unbind();
    EXPECT_EQ(boundAt(d, 0), backBuffer);
    EXPECT_EQ(boundAt(d, 3), small->m_surface);
    EXPECT_EQ(m_renderer->m_width, 1280);
    EXPECT_EQ(m_renderer->m_height, 720);

    // On a 1920 x 1080 back buffer the record returns to that size.
    delete large;
    delete small;
    delete other;
    initRenderer(1);
    RenderTarget* target = RenderTarget::create(m_renderer, 1280, 720, D3DFMT_A16B16G16R16F);
    ASSERT_NE(target, nullptr);
    target->bind(0);
    EXPECT_EQ(m_renderer->m_width, 1280);
    target->unbind();
    EXPECT_EQ(boundAt(device(), 0), m_renderer->m_backBuffer);
    EXPECT_EQ(m_renderer->m_width, 1920);
    EXPECT_EQ(m_renderer->m_height, 1080);
    delete target;
}

// What is drawn while a target is bound at index 0 lands in it, over the
// whole target: D3D9 sets the viewport to the new colour target 0.
TEST_F(RenderTargetTest, DrawingLandsInTheBoundTarget)
{
    RenderTarget* target = RenderTarget::create(m_renderer, 64, 32, D3DFMT_A8R8G8B8);
    ASSERT_NE(target, nullptr);
    target->bind(0);
    device()->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF336699, 1.0f, 0);
    target->unbind();
    const std::vector<DWORD> pixels = readArgb(target->m_surface);
    ASSERT_EQ(pixels.size(), 64u * 32u);
    for (DWORD pixel : pixels)
        ASSERT_EQ(pixel, 0xFF336699u);
    delete target;
}

// bindTexture puts the cube texture of a cube target and the texture of a
// 2D target on the given sampler.
TEST_F(RenderTargetTest, BindTextureBindsTheTargetsTexture)
{
    RenderTarget* flat = RenderTarget::create(m_renderer, 64, 64, D3DFMT_A8R8G8B8);
    RenderTarget* cube = RenderTarget::createCube(m_renderer);
    ASSERT_TRUE(flat && cube);
    const struct
    {
        const char* name;
        RenderTarget* target;
        DWORD stage;
        IDirect3DBaseTexture9* expected;
    } cases[] = {
        {"2D on sampler 0", flat, 0, flat->m_texture},
        {"cube on sampler 3", cube, 3, cube->m_cubeTexture},
        {"2D on sampler 5", flat, 5, flat->m_texture},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        c.target->bindTexture(c.stage);
        IDirect3DBaseTexture9* bound = nullptr;
        ASSERT_EQ(device()->GetTexture(c.stage, &bound), D3D_OK);
        EXPECT_EQ(bound, c.expected);
        if (bound)
            bound->Release();
    }
    device()->SetTexture(0, nullptr);
    device()->SetTexture(3, nullptr);
    device()->SetTexture(5, nullptr);
    delete flat;
    delete cube;
}

// A cube target cannot be drawn into, a bind needs an index from 0 to 3,
// and only a bound target can be unbound.
TEST_F(RenderTargetTest, MisuseFailsAssertion)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    RenderTarget* cube = RenderTarget::createCube(m_renderer);
    RenderTarget* flat = RenderTarget::create(m_renderer, 64, 64, D3DFMT_A8R8G8B8);
    ASSERT_TRUE(cube && flat);
    EXPECT_DEATH(cube->bind(0), "m_surface, file RenderTarget\\.cpp");
    flat->m_cubemap = true;
    EXPECT_DEATH(flat->bind(0), "!m_cubemap, file RenderTarget\\.cpp");
    flat->m_cubemap = false;
    EXPECT_DEATH(flat->bind(4), "a_index >= 0 && a_index < g_targetCount, file RenderTarget\\.cpp");
    EXPECT_DEATH(flat->bind(-1),
                 "a_index >= 0 && a_index < g_targetCount, file RenderTarget\\.cpp");
    EXPECT_DEATH(flat->unbind(), "m_index >= 0, file RenderTarget\\.cpp");
    EXPECT_DEATH(RenderTarget::create(nullptr, 64, 64, D3DFMT_A8R8G8B8),
                 "a_renderer, file RenderTarget\\.cpp");
    EXPECT_DEATH(RenderTarget::createCube(nullptr), "a_renderer, file RenderTarget\\.cpp");
    delete cube;
    delete flat;
}
