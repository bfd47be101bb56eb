// A hidden main window, the screen quad's programs in a scratch working
// directory and an initialised windowed renderer on SDL's offscreen driver,
// for the tests of what the renderer and its resources draw.
#pragma once

#include "render/Renderer.h"
#include "support/TemporaryFolder.h"

#include <MessageBoxRecorder.h>

#include <gtest/gtest.h>

#include <stdint.h>

#include <vector>

class RendererFixture : public testing::Test
{
public:
    // Every pixel of a surface with 8 bits per channel as 0xAARRGGBB, top row first.
    static std::vector<DWORD> readArgb(IDirect3DSurface9* a_surface);

protected:
    // The adapter offers mode 0 (1280 x 720) and mode 1 (1920 x 1080); SetUp
    // makes a renderer for mode 0.
    void SetUp() override;
    void TearDown() override;

    // Replaces the window and renderer with ones for display mode a_mode;
    // the internal size is 1280 x 720 as in the demo.
    void initRenderer(int32_t a_mode);

    IDirect3DDevice9* device() const { return m_renderer->device(); }

    TemporaryFolder m_folder{true};
    MessageBoxRecorder m_boxes;
    HWND m_window = nullptr;
    Renderer* m_renderer = nullptr;

private:
    void destroyRenderer();
};
