// What a drawing test makes on a TestDevice, released at the end.
#include "Canvas.h"

#include <gtest/gtest.h>

Canvas::Canvas(TestDevice& a_device) : m_device(a_device)
{
    m_device->GetRenderTarget(0, &m_backBuffer);
}

Canvas::~Canvas()
{
    m_device->SetRenderTarget(0, m_backBuffer);
    for (DWORD i = 1; i < 4; ++i)
        m_device->SetRenderTarget(i, nullptr);
    m_device->SetTexture(0, nullptr);
    m_device->SetVertexShader(nullptr);
    m_device->SetPixelShader(nullptr);
    m_device->SetStreamSource(0, nullptr, 0, 0);
    for (IUnknown* object : m_objects)
        object->Release();
    if (m_backBuffer)
        m_backBuffer->Release();
}

IDirect3DSurface9* Canvas::target(DWORD a_index, UINT a_width, UINT a_height, D3DFORMAT a_format,
                                  IDirect3DTexture9** a_texture)
{
    IDirect3DSurface9* surface = nullptr;
    IDirect3DTexture9* texture = keep(m_device.target(a_width, a_height, a_format, &surface));
    keep(surface);
    EXPECT_EQ(m_device->SetRenderTarget(a_index, surface), D3D_OK);
    if (a_texture)
        *a_texture = texture;
    return surface;
}

void Canvas::quadShaders(const char* a_pixelShader, const char* a_vertexShader)
{
    keep(m_device.bindVertices(TestDevice::g_quad, sizeof(TestDevice::g_quad), 20,
                               D3DFVF_XYZ | D3DFVF_TEX1));
    const char* vertexShader = a_vertexShader ? a_vertexShader : TestDevice::g_passVertexShader;
    m_device->SetVertexShader(keep(m_device.vertexShader(vertexShader)));
    m_device->SetPixelShader(keep(m_device.pixelShader(a_pixelShader)));
}

void Canvas::drawQuad(const float a_colour[4])
{
    if (a_colour)
        m_device->SetPixelShaderConstantF(0, a_colour, 1);
    EXPECT_EQ(m_device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3D_OK);
}

void Canvas::drawScreenQuad(float a_left, float a_top, float a_right, float a_bottom,
                            DWORD a_diffuse)
{
    const ScreenVertex corners[4] = {{a_left, a_top, 0, 1, a_diffuse, 0, 0},
                                     {a_right, a_top, 0, 1, a_diffuse, 1, 0},
                                     {a_left, a_bottom, 0, 1, a_diffuse, 0, 1},
                                     {a_right, a_bottom, 0, 1, a_diffuse, 1, 1}};
    keep(m_device.bindVertices(corners, sizeof(corners), sizeof(ScreenVertex),
                               D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1));
    EXPECT_EQ(m_device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3D_OK);
}
