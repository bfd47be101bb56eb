// What a drawing test makes on a TestDevice (targets, textures, vertices,
// shaders), released at the end with the device's bindings put back to the
// back buffer and nothing bound.
#pragma once

#include "TestDevice.h"

#include <vector>

class Canvas
{
public:
    // A pre-transformed vertex of the loading bar's format plus a colour.
    struct ScreenVertex
    {
        float x, y, z, rhw;
        DWORD diffuse;
        float u, v;
    };

    explicit Canvas(TestDevice& a_device);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    // Released with the canvas (owned).
    template <typename T>
    T* keep(T* a_object)
    {
        if (a_object)
            m_objects.push_back(a_object);
        return a_object;
    }

    IDirect3DSurface9* backBuffer() const { return m_backBuffer; }

    // A render target, bound at a_index.
    IDirect3DSurface9* target(DWORD a_index, UINT a_width, UINT a_height, D3DFORMAT a_format,
                              IDirect3DTexture9** a_texture = nullptr);
    // The system's screen quad with the pass-through vertex shader (or
    // a_vertexShader) and a_pixelShader.
    void quadShaders(const char* a_pixelShader, const char* a_vertexShader = nullptr);
    // Draws the quad, with pixel shader constant c0 = a_colour unless null.
    void drawQuad(const float a_colour[4]);
    // A screen-space rectangle with no shaders bound.
    void drawScreenQuad(float a_left, float a_top, float a_right, float a_bottom, DWORD a_diffuse);

private:
    TestDevice& m_device;
    IDirect3DSurface9* m_backBuffer = nullptr;  // one reference of ours
    std::vector<IUnknown*> m_objects;
};
