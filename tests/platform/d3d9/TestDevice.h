// A window and a windowed device (our layers on SDL's offscreen driver and
// Mesa, or the real ones on Windows), with the
// helpers the d3d9 tests share: targets, textures, vertex buffers, shaders
// assembled from source, and reading pixels back.
#pragma once

#include <d3d9.h>

#include <string>
#include <vector>

// A colour as four floats, for reading targets of any format.
struct Rgba
{
    float r;
    float g;
    float b;
    float a;
};

// A D3DCOLOR (0xAARRGGBB) as floats.
Rgba argb(DWORD a_color);
// Each channel within a_tolerance of the expected one; an expected NaN
// matches anything (a channel the format does not store).
void expectNear(const Rgba& a_actual, const Rgba& a_expected, float a_tolerance);

class TestDevice
{
public:
    // The back buffer (and its depth buffer) is a_width x a_height, of the
    // given formats (D3DFMT_UNKNOWN: the display's).
    TestDevice(UINT a_width, UINT a_height, D3DFORMAT a_backBuffer = D3DFMT_UNKNOWN,
               D3DFORMAT a_depth = D3DFMT_D24X8);
    ~TestDevice();
    TestDevice(const TestDevice&) = delete;
    TestDevice& operator=(const TestDevice&) = delete;

    // A window of the test class, hidden, outer size a_width x a_height.
    static HWND createWindow(UINT a_width, UINT a_height);
    // Destroys it and takes the messages that follows.
    static void destroyWindow(HWND a_window);

    IDirect3DDevice9* operator->() const { return m_device; }
    IDirect3DDevice9* device() const { return m_device; }
    HWND window() const { return m_window; }

    // A render-target texture and its level 0; the test releases both.
    IDirect3DTexture9* target(UINT a_width, UINT a_height, D3DFORMAT a_format,
                              IDirect3DSurface9** a_surface);
    // A plain texture filled row by row (top first) with 32-bit A8R8G8B8 texels.
    IDirect3DTexture9* texture(UINT a_width, UINT a_height, const std::vector<DWORD>& a_texels);
    // A vertex buffer holding a_bytes, bound to stream 0 with a_stride and a_fvf.
    IDirect3DVertexBuffer9* bindVertices(const void* a_data, UINT a_bytes, UINT a_stride,
                                         DWORD a_fvf);
    // Shaders assembled by qorasm's assembler; the test fails on an assembly error.
    std::vector<DWORD> assemble(const std::string& a_source);
    IDirect3DVertexShader9* vertexShader(const std::string& a_source);
    IDirect3DPixelShader9* pixelShader(const std::string& a_source);

    // Every pixel of a colour surface in D3D9's memory layout, rows packed,
    // top row first; render targets through a system-memory copy.
    std::vector<unsigned char> readBytes(IDirect3DSurface9* a_surface);
    // Every pixel of an 8-bit-per-channel surface as 0xAARRGGBB, top row first.
    std::vector<DWORD> readArgb(IDirect3DSurface9* a_surface);
    // Every pixel of any colour surface as floats, top row first; channels
    // the format lacks read 0 (this is memory, not sampling).
    std::vector<Rgba> readRgba(IDirect3DSurface9* a_surface);
    // One pixel of a colour format in D3D9's memory layout, as readRgba reads it.
    static Rgba decode(D3DFORMAT a_format, const unsigned char* a_pixel);

    // The screen quad of the system: strip order top-left, top-right,
    // bottom-left, bottom-right of clip space, (u, v) = (0, 0) top left.
    static const float g_quad[20];
    // Passes position and texture coordinate through.
    static const char g_passVertexShader[];

private:
    HWND m_window = nullptr;
    IDirect3D9* m_d3d = nullptr;
    IDirect3DDevice9* m_device = nullptr;
};
