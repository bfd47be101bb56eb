// The render tests' window, programs and renderer.
#include "render/RendererFixture.h"

#include "core/FatalError.h"
#include "core/LauncherSettings.h"
#include "render/TestPrograms.h"
#include "render/VertexBuffer.h"
#include "support/LaunchSettings.h"

#include <D3D9Testing.h>

#include <math.h>
#include <stdlib.h>
#include <string.h>

#include <memory>

namespace
{

// IEEE 754 half precision, as the A16B16G16R16F targets store their channels.
float halfToFloat(uint16_t a_half)
{
    const int exponent = (a_half >> 10) & 0x1F;
    const int mantissa = a_half & 0x3FF;
    float value;
    if (exponent == 0)
        value = ldexpf(float(mantissa), -24);
    else if (exponent == 31)
        value = mantissa ? NAN : INFINITY;
    else
        value = ldexpf(float(mantissa + 1024), exponent - 25);
    return (a_half & 0x8000) ? -value : value;
}

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
    LaunchSettings::launchWindowed(
        {{1280, 720, 60, D3DFMT_X8R8G8B8}, {1920, 1080, 60, D3DFMT_X8R8G8B8}});
    TestPrograms::writeQuadPrograms();
    initRenderer(0);
}

void RendererFixture::TearDown()
{
    destroyRenderer();
    LaunchSettings::reset();
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

std::vector<Texel> RendererFixture::readTexels(const RenderTarget& a_target, D3DFORMAT a_format)
{
    std::vector<unsigned char> bytes;
    EXPECT_EQ(D3D9Testing::readSurface(a_target.m_surface, &bytes), D3D_OK);
    std::vector<Texel> texels(size_t(a_target.m_width) * size_t(a_target.m_height));
    for (size_t i = 0; i < texels.size() && (i + 1) * 8 <= bytes.size(); ++i)
    {
        Texel& texel = texels[i];
        if (a_format == D3DFMT_G32R32F)
        {
            memcpy(texel.c, &bytes[i * 8], 8);
            texel.c[2] = texel.c[3] = 0.0f;
            continue;
        }
        uint16_t halves[4];
        memcpy(halves, &bytes[i * 8], 8);
        for (int k = 0; k < 4; ++k)
            texel.c[k] = halfToFloat(halves[k]);
    }
    return texels;
}

void RendererFixture::expectTexel(const Texel& a_actual, const float (&a_expected)[4],
                                  float a_tolerance)
{
    for (int k = 0; k < 4; ++k)
        EXPECT_NEAR(a_actual.c[k], a_expected[k], a_tolerance) << "channel " << k;
}

void RendererFixture::drawTriangle()
{
    struct Vertex
    {
        float position[3];
        float normal[3];
        float uv[2];
    } const triangle[3] = {
        {{-1.0f, -1.0f, 0.5f}, {0.0f, 0.0f, -2.0f}, {0.0f, 1.0f}},
        {{-1.0f, 1.0f, 0.5f}, {0.0f, 0.0f, -2.0f}, {0.0f, 0.0f}},
        {{1.0f, -1.0f, 0.5f}, {0.0f, 0.0f, -2.0f}, {1.0f, 1.0f}},
    };
    std::unique_ptr<VertexBuffer> buffer(VertexBuffer::create(
        m_renderer, 3, sizeof(Vertex), D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1));
    ASSERT_NE(buffer, nullptr);
    ReturnCode filled = buffer->fill(triangle, 3);
    EXPECT_TRUE(filled.succeeded());
    buffer->bind();
    device()->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device()->BeginScene();
    device()->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1);
    device()->EndScene();
}
