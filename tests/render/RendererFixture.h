// A hidden main window, the screen quad's programs in a scratch working
// directory and an initialised windowed renderer on SDL's offscreen driver,
// for the tests of what the renderer and its resources draw.
#pragma once

#include "render/RenderTarget.h"
#include "render/Renderer.h"
#include "support/TemporaryFolder.h"

#include <MessageBoxRecorder.h>

#include <gtest/gtest.h>

#include <stdint.h>

#include <vector>

// One texel of a float target: r, g, b, a (G32R32F: r, g, 0, 0).
struct Texel
{
    float c[4];
};

class RendererFixture : public testing::Test
{
public:
    // Every pixel of a surface with 8 bits per channel as 0xAARRGGBB, top row first.
    static std::vector<DWORD> readArgb(IDirect3DSurface9* a_surface);
    // Every texel of an A16B16G16R16F or G32R32F target, top row first.
    static std::vector<Texel> readTexels(const RenderTarget& a_target, D3DFORMAT a_format);
    static void expectTexel(const Texel& a_actual, const float (&a_expected)[4], float a_tolerance);

protected:
    // The adapter offers mode 0 (1280 x 720) and mode 1 (1920 x 1080); SetUp
    // makes a renderer for mode 0.
    void SetUp() override;
    void TearDown() override;

    // Replaces the window and renderer with ones for display mode a_mode;
    // the internal size is 1280 x 720 as in the demo.
    void initRenderer(int32_t a_mode);

    // One triangle as a mesh vertex buffer draws it (position, normal, uv),
    // with culling off, in a scene of its own: with identity matrices it
    // covers the lower left half of the target at z 0.5, its normal
    // (0, 0, -2) faces the eye unnormalised, and uv runs from (0, 0) at the
    // target's top left to (1, 1) at its bottom right.
    void drawTriangle();

    IDirect3DDevice9* device() const { return m_renderer->device(); }

    TemporaryFolder m_folder{true};
    MessageBoxRecorder m_boxes;
    HWND m_window = nullptr;
    Renderer* m_renderer = nullptr;

private:
    void destroyRenderer();
};
