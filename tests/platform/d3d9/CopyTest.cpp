// The system's full-screen quad copying a 1280 x 720 texture into a target of
// the same size, under D3D9's pixel-centre convention.
#include "TestDevice.h"

#include "support/CopyPattern.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdlib.h>
#include <vector>

namespace
{

const UINT g_width = 1280;
const UINT g_height = 720;
const CopyPattern g_pattern(g_width, g_height);

struct Case
{
    const char* name;
    float shift;  // of the quad's vertices, in pixels left and up
    DWORD filter;
    bool linear;  // expected result: texel x, or the average of x - 1 and x
    int tolerance;
};

// A full-screen quad covers the 1280 x 720 target pixel for pixel, and every
// pixel shows the texel D3D9's convention makes it sample.
TEST(Copy, FullScreenQuadSamplesAtD3D9PixelCentres)
{
    TestDevice device(g_width, g_height);
    std::vector<DWORD> texels(size_t(g_width) * g_height);
    for (UINT y = 0; y < g_height; ++y)
        for (UINT x = 0; x < g_width; ++x)
            texels[size_t(y) * g_width + x] = g_pattern.texel(x, y);
    IDirect3DTexture9* source = device.texture(g_width, g_height, texels);
    IDirect3DSurface9* target = nullptr;
    IDirect3DTexture9* targetTexture = device.target(g_width, g_height, D3DFMT_A8R8G8B8, &target);
    device->SetRenderTarget(0, target);
    device->SetTexture(0, source);
    device->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
    device->SetSamplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP);
    device->SetRenderState(D3DRS_ZENABLE, FALSE);
    IDirect3DVertexShader9* vertexShader = device.vertexShader(TestDevice::g_passVertexShader);
    IDirect3DPixelShader9* pixelShader = device.pixelShader("ps_3_0\n"
                                                            "dcl_texcoord v0.xy\n"
                                                            "dcl_2d s0\n"
                                                            "texld r0, v0, s0\n"
                                                            "mov oC0, r0\n");
    device->SetVertexShader(vertexShader);
    device->SetPixelShader(pixelShader);

    const Case cases[] = {
        // The system's quad as it stands, with the filtering its passes use.
        {"quad without offset, linear", 0.0f, D3DTEXF_LINEAR, true, 1},
        // The classic correction, half a pixel left and up, makes the copy
        // texel-exact whatever the filter (linear within one step: the layer
        // samples a 1024th of a pixel off centre, see PixelCentre).
        {"quad shifted half a pixel, linear", 0.5f, D3DTEXF_LINEAR, false, 1},
        {"quad shifted half a pixel, point", 0.5f, D3DTEXF_POINT, false, 0},
    };
    for (const Case& test : cases)
    {
        SCOPED_TRACE(test.name);
        float quad[20];
        std::copy(TestDevice::g_quad, TestDevice::g_quad + 20, quad);
        for (int corner = 0; corner < 4; ++corner)
        {
            quad[corner * 5 + 0] -= test.shift * 2.0f / g_width;
            quad[corner * 5 + 1] += test.shift * 2.0f / g_height;
        }
        IDirect3DVertexBuffer9* vertices =
            device.bindVertices(quad, sizeof(quad), 20, D3DFVF_XYZ | D3DFVF_TEX1);
        device->SetSamplerState(0, D3DSAMP_MINFILTER, test.filter);
        device->SetSamplerState(0, D3DSAMP_MAGFILTER, test.filter);
        device->Clear(0, nullptr, D3DCLEAR_TARGET, 0x00000000, 1.0f, 0);
        ASSERT_EQ(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3D_OK);
        const std::vector<DWORD> pixels = device.readArgb(target);
        int worst = 0;
        UINT worstX = 0;
        UINT worstY = 0;
        for (UINT y = 0; y < g_height; ++y)
            for (UINT x = 0; x < g_width; ++x)
                for (int shift : {0, 8, 16, 24})
                {
                    const int want =
                        shift == 24 ? 255 : g_pattern.expected(x, y, shift, test.linear);
                    const DWORD pixel = pixels[size_t(y) * g_width + x];
                    const int error = abs(CopyPattern::channel(pixel, shift) - want);
                    if (error > worst)
                    {
                        worst = error;
                        worstX = x;
                        worstY = y;
                    }
                }
        EXPECT_LE(worst, test.tolerance) << "at pixel (" << worstX << ", " << worstY << ")";
        vertices->Release();
    }
    vertexShader->Release();
    pixelShader->Release();
    target->Release();
    targetTexture->Release();
    source->Release();
}

}  // namespace
