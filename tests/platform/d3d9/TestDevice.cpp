// A window and a windowed device: on SDL's offscreen driver and Mesa through
// our layers, or a real window and device on Windows.
#include "platform/d3d9/TestDevice.h"

#include "Assembler.h"

#include <gtest/gtest.h>

#include <stdlib.h>

#include <math.h>
#include <string.h>

namespace
{

LRESULT CALLBACK testProcedure(HWND a_window, UINT a_message, WPARAM a_wParam, LPARAM a_lParam)
{
    return DefWindowProcA(a_window, a_message, a_wParam, a_lParam);
}

const char* windowClass()
{
    static bool g_registered = false;
    if (!g_registered)
    {
#ifndef _WIN32
        // Our window layer draws nothing anyone sees in the tests.
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
#endif
        WNDCLASSA description = {};
        description.lpfnWndProc = testProcedure;
        description.hInstance = GetModuleHandleA(nullptr);
        description.lpszClassName = "d3d9test";
        g_registered = RegisterClassA(&description) != 0;
    }
    return "d3d9test";
}

float halfToFloat(uint16_t a_half)
{
    const int exponent = (a_half >> 10) & 0x1F;
    const int mantissa = a_half & 0x3FF;
    float value;
    if (exponent == 0)
        value = ldexp(float(mantissa), -24);
    else if (exponent == 31)
        value = mantissa ? NAN : INFINITY;
    else
        value = ldexp(float(mantissa + 1024), exponent - 25);
    return (a_half & 0x8000) ? -value : value;
}

// Bytes per pixel of the colour formats the tests read back.
UINT pixelSize(D3DFORMAT a_format)
{
    switch (a_format)
    {
    case D3DFMT_L8:
        return 1;
    case D3DFMT_R16F:
        return 2;
    case D3DFMT_A16B16G16R16F:
    case D3DFMT_G32R32F:
        return 8;
    case D3DFMT_A32B32G32R32F:
        return 16;
    default:
        return 4;
    }
}

}  // namespace

Rgba argb(DWORD a_color)
{
    return Rgba{float((a_color >> 16) & 0xFF) / 255.0f, float((a_color >> 8) & 0xFF) / 255.0f,
                float(a_color & 0xFF) / 255.0f, float(a_color >> 24) / 255.0f};
}

void expectNear(const Rgba& a_actual, const Rgba& a_expected, float a_tolerance)
{
    auto within = [&](float a_value, float a_want) {
        return isnan(a_want) || fabs(a_value - a_want) <= a_tolerance;
    };
    EXPECT_TRUE(within(a_actual.r, a_expected.r) && within(a_actual.g, a_expected.g) &&
                within(a_actual.b, a_expected.b) && within(a_actual.a, a_expected.a))
        << "actual (" << a_actual.r << ", " << a_actual.g << ", " << a_actual.b << ", "
        << a_actual.a << "), expected (" << a_expected.r << ", " << a_expected.g << ", "
        << a_expected.b << ", " << a_expected.a << ")";
}

const float TestDevice::g_quad[20] = {
    -1.0f, 1.0f,  0.0f, 0.0f, 0.0f,  //
    1.0f,  1.0f,  0.0f, 1.0f, 0.0f,  //
    -1.0f, -1.0f, 0.0f, 0.0f, 1.0f,  //
    1.0f,  -1.0f, 0.0f, 1.0f, 1.0f,
};

const char TestDevice::g_passVertexShader[] = "vs_3_0\n"
                                              "dcl_position v0\n"
                                              "dcl_texcoord v1\n"
                                              "dcl_position o0\n"
                                              "dcl_texcoord o1\n"
                                              "mov o0, v0\n"
                                              "mov o1, v1\n";

HWND TestDevice::createWindow(UINT a_width, UINT a_height)
{
    const HWND window =
        CreateWindowExA(0, windowClass(), "d3d9 test", WS_OVERLAPPEDWINDOW, 0, 0, int(a_width),
                        int(a_height), nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    EXPECT_NE(window, nullptr);
    return window;
}

void TestDevice::destroyWindow(HWND a_window)
{
    DestroyWindow(a_window);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&message);
}

TestDevice::TestDevice(UINT a_width, UINT a_height, D3DFORMAT a_backBuffer, D3DFORMAT a_depth)
{
    m_window = createWindow(a_width, a_height);
    m_d3d = Direct3DCreate9(D3D_SDK_VERSION);
    D3DPRESENT_PARAMETERS parameters = {};
    parameters.BackBufferWidth = a_width;
    parameters.BackBufferHeight = a_height;
    parameters.BackBufferFormat = a_backBuffer;
    parameters.SwapEffect = D3DSWAPEFFECT_COPY;
    parameters.hDeviceWindow = m_window;
    parameters.Windowed = TRUE;
    parameters.EnableAutoDepthStencil = TRUE;
    parameters.AutoDepthStencilFormat = a_depth;
    parameters.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    EXPECT_EQ(m_d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, m_window,
                                  D3DCREATE_HARDWARE_VERTEXPROCESSING, &parameters, &m_device),
              D3D_OK);
}

TestDevice::~TestDevice()
{
    if (m_device)
        m_device->Release();
    if (m_d3d)
        m_d3d->Release();
    if (m_window)
        destroyWindow(m_window);
}

IDirect3DTexture9* TestDevice::target(UINT a_width, UINT a_height, D3DFORMAT a_format,
                                      IDirect3DSurface9** a_surface)
{
    IDirect3DTexture9* texture = nullptr;
    EXPECT_EQ(m_device->CreateTexture(a_width, a_height, 1, D3DUSAGE_RENDERTARGET, a_format,
                                      D3DPOOL_DEFAULT, &texture, nullptr),
              D3D_OK);
    if (texture && a_surface)
    {
        EXPECT_EQ(texture->GetSurfaceLevel(0, a_surface), D3D_OK);
    }
    return texture;
}

IDirect3DTexture9* TestDevice::texture(UINT a_width, UINT a_height,
                                       const std::vector<DWORD>& a_texels)
{
    IDirect3DTexture9* texture = nullptr;
    EXPECT_EQ(m_device->CreateTexture(a_width, a_height, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED,
                                      &texture, nullptr),
              D3D_OK);
    D3DLOCKED_RECT locked = {};
    EXPECT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
    for (UINT y = 0; y < a_height; ++y)
        memcpy(static_cast<unsigned char*>(locked.pBits) + size_t(y) * size_t(locked.Pitch),
               a_texels.data() + size_t(y) * a_width, size_t(a_width) * 4);
    EXPECT_EQ(texture->UnlockRect(0), D3D_OK);
    return texture;
}

IDirect3DVertexBuffer9* TestDevice::bindVertices(const void* a_data, UINT a_bytes, UINT a_stride,
                                                 DWORD a_fvf)
{
    IDirect3DVertexBuffer9* buffer = nullptr;
    EXPECT_EQ(m_device->CreateVertexBuffer(a_bytes, D3DUSAGE_WRITEONLY, a_fvf, D3DPOOL_DEFAULT,
                                           &buffer, nullptr),
              D3D_OK);
    void* data = nullptr;
    EXPECT_EQ(buffer->Lock(0, a_bytes, &data, 0), D3D_OK);
    memcpy(data, a_data, a_bytes);
    EXPECT_EQ(buffer->Unlock(), D3D_OK);
    EXPECT_EQ(m_device->SetStreamSource(0, buffer, 0, a_stride), D3D_OK);
    EXPECT_EQ(m_device->SetFVF(a_fvf), D3D_OK);
    return buffer;
}

std::vector<DWORD> TestDevice::assemble(const std::string& a_source)
{
    std::vector<uint32_t> tokens;
    AssemblyError error;
    EXPECT_TRUE(Assembler::assemble(a_source, tokens, error)) << error.format();
    return std::vector<DWORD>(tokens.begin(), tokens.end());
}

IDirect3DVertexShader9* TestDevice::vertexShader(const std::string& a_source)
{
    const std::vector<DWORD> tokens = assemble(a_source);
    IDirect3DVertexShader9* shader = nullptr;
    EXPECT_EQ(m_device->CreateVertexShader(tokens.data(), &shader), D3D_OK);
    return shader;
}

IDirect3DPixelShader9* TestDevice::pixelShader(const std::string& a_source)
{
    const std::vector<DWORD> tokens = assemble(a_source);
    IDirect3DPixelShader9* shader = nullptr;
    EXPECT_EQ(m_device->CreatePixelShader(tokens.data(), &shader), D3D_OK);
    return shader;
}

std::vector<unsigned char> TestDevice::readBytes(IDirect3DSurface9* a_surface)
{
    D3DSURFACE_DESC desc = {};
    EXPECT_EQ(a_surface->GetDesc(&desc), D3D_OK);
    // Render targets live in video memory: a system-memory copy locks.
    IDirect3DSurface9* readable = a_surface;
    if (desc.Usage & D3DUSAGE_RENDERTARGET)
    {
        readable = nullptr;
        EXPECT_EQ(m_device->CreateOffscreenPlainSurface(desc.Width, desc.Height, desc.Format,
                                                        D3DPOOL_SYSTEMMEM, &readable, nullptr),
                  D3D_OK);
        if (!readable)
            return {};
        EXPECT_EQ(m_device->GetRenderTargetData(a_surface, readable), D3D_OK);
    }
    const size_t row = size_t(desc.Width) * pixelSize(desc.Format);
    std::vector<unsigned char> bytes(row * desc.Height);
    D3DLOCKED_RECT locked = {};
    EXPECT_EQ(readable->LockRect(&locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    if (locked.pBits)
    {
        for (UINT y = 0; y < desc.Height; ++y)
            memcpy(bytes.data() + y * row,
                   static_cast<const unsigned char*>(locked.pBits) + size_t(y) * locked.Pitch, row);
        EXPECT_EQ(readable->UnlockRect(), D3D_OK);
    }
    if (readable != a_surface)
        readable->Release();
    return bytes;
}

std::vector<DWORD> TestDevice::readArgb(IDirect3DSurface9* a_surface)
{
    const std::vector<unsigned char> bytes = readBytes(a_surface);
    std::vector<DWORD> pixels(bytes.size() / 4);
    memcpy(pixels.data(), bytes.data(), pixels.size() * 4);
    return pixels;
}

std::vector<Rgba> TestDevice::readRgba(IDirect3DSurface9* a_surface)
{
    D3DSURFACE_DESC desc = {};
    EXPECT_EQ(a_surface->GetDesc(&desc), D3D_OK);
    const std::vector<unsigned char> bytes = readBytes(a_surface);
    std::vector<Rgba> pixels(size_t(desc.Width) * desc.Height);
    const size_t size = bytes.size() / pixels.size();
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = decode(desc.Format, bytes.data() + i * size);
    return pixels;
}

Rgba TestDevice::decode(D3DFORMAT a_format, const unsigned char* a_pixel)
{
    Rgba pixel = {0, 0, 0, 0};
    switch (a_format)
    {
    case D3DFMT_A16B16G16R16F:
    {
        uint16_t halves[4];
        memcpy(halves, a_pixel, 8);
        pixel = Rgba{halfToFloat(halves[0]), halfToFloat(halves[1]), halfToFloat(halves[2]),
                     halfToFloat(halves[3])};
        break;
    }
    case D3DFMT_G32R32F:
        memcpy(&pixel.r, a_pixel, 4);
        memcpy(&pixel.g, a_pixel + 4, 4);
        break;
    case D3DFMT_A32B32G32R32F:
        memcpy(&pixel, a_pixel, 16);
        break;
    case D3DFMT_R32F:
        memcpy(&pixel.r, a_pixel, 4);
        break;
    case D3DFMT_R16F:
    case D3DFMT_G16R16F:
    {
        uint16_t halves[2] = {};
        memcpy(halves, a_pixel, a_format == D3DFMT_R16F ? 2 : 4);
        pixel.r = halfToFloat(halves[0]);
        pixel.g = a_format == D3DFMT_R16F ? 0.0f : halfToFloat(halves[1]);
        break;
    }
    case D3DFMT_G16R16:
    {
        uint16_t shorts[2];
        memcpy(shorts, a_pixel, 4);
        pixel.r = shorts[0] / 65535.0f;
        pixel.g = shorts[1] / 65535.0f;
        break;
    }
    case D3DFMT_L8:
        pixel.r = a_pixel[0] / 255.0f;
        break;
    default:
        pixel = Rgba{a_pixel[2] / 255.0f, a_pixel[1] / 255.0f, a_pixel[0] / 255.0f,
                     a_pixel[3] / 255.0f};
        break;
    }
    return pixel;
}
