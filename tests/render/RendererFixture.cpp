// The render tests' window, programs and renderer.
#include "render/RendererFixture.h"

#include "app/FatalError.h"
#include "app/LauncherSettings.h"
#include "render/TestPrograms.h"

#include <D3D9Testing.h>

#include <stdlib.h>
#include <string.h>

namespace
{

LRESULT CALLBACK plainProcedure(HWND a_window, UINT a_message, WPARAM a_wParam, LPARAM a_lParam)
{
    return DefWindowProcA(a_window, a_message, a_wParam, a_lParam);
}

}

void RendererFixture::SetUp()
{
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = plainProcedure;
    windowClass.lpszClassName = "rendertest";
    RegisterClassA(&windowClass);
    D3D9Testing::setDisplayModes({{1280, 720, 60, D3DFMT_X8R8G8B8}, {1920, 1080, 60, D3DFMT_X8R8G8B8}});
    g_fatalErrorShown = false;
    g_windowed = true;
    g_fullScreen = false;
    g_aspect = 16.0f / 9.0f;
    TestPrograms::writeQuadPrograms();
    initRenderer(0);
}

void RendererFixture::TearDown()
{
    destroyRenderer();
    D3D9Testing::clearDisplayModes();
    g_fatalErrorShown = false;
}

void RendererFixture::initRenderer(int32_t a_mode)
{
    destroyRenderer();
    g_displayMode = a_mode;
    m_window = CreateWindowExA(0, "rendertest", "", WS_OVERLAPPEDWINDOW, 0, 0, 1280, 720, nullptr,
                               nullptr, nullptr, nullptr);
    ASSERT_NE(m_window, nullptr);
    m_renderer = Renderer::create();
    ReturnCode result = m_renderer->init(1280, 720, m_window);
    ASSERT_TRUE(result.succeeded());
}

void RendererFixture::destroyRenderer()
{
    delete m_renderer;
    m_renderer = nullptr;
    if (m_window)
        DestroyWindow(m_window);
    m_window = nullptr;
}

std::vector<DWORD> RendererFixture::readArgb(IDirect3DSurface9* a_surface)
{
    std::vector<unsigned char> bytes;
    EXPECT_EQ(D3D9Testing::readSurface(a_surface, &bytes), D3D_OK);
    std::vector<DWORD> pixels(bytes.size() / 4);
    memcpy(pixels.data(), bytes.data(), pixels.size() * 4);
    return pixels;
}
