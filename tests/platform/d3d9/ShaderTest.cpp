// Shaders' constant registers, and D3DX's constant table writing them
// through the device.
#include "Canvas.h"
#include "TestDevice.h"

#include <d3dx9.h>
#include <gtest/gtest.h>

#include <string.h>
#include <vector>

namespace
{

class Shaders : public testing::Test
{
protected:
    TestDevice m_device{16, 16};
};

// Constant registers written are read back unchanged, per stage and kind,
// up to the last register shader model 3 has.
TEST_F(Shaders, ConstantRegistersRoundTrip)
{
    const float floats[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    const int ints[4] = {-1, 2, -3, 4};
    const BOOL bools[2] = {TRUE, FALSE};
    EXPECT_EQ(m_device->SetVertexShaderConstantF(254, floats, 2), D3D_OK);
    EXPECT_EQ(m_device->SetPixelShaderConstantF(222, floats, 2), D3D_OK);
    EXPECT_EQ(m_device->SetVertexShaderConstantI(15, ints, 1), D3D_OK);
    EXPECT_EQ(m_device->SetPixelShaderConstantI(0, ints, 1), D3D_OK);
    EXPECT_EQ(m_device->SetVertexShaderConstantB(14, bools, 2), D3D_OK);
    EXPECT_EQ(m_device->SetPixelShaderConstantB(3, bools, 2), D3D_OK);
    float readFloats[8] = {};
    int readInts[4] = {};
    BOOL readBools[2] = {};
    EXPECT_EQ(m_device->GetVertexShaderConstantF(254, readFloats, 2), D3D_OK);
    EXPECT_EQ(memcmp(readFloats, floats, sizeof(floats)), 0);
    EXPECT_EQ(m_device->GetPixelShaderConstantF(222, readFloats, 2), D3D_OK);
    EXPECT_EQ(memcmp(readFloats, floats, sizeof(floats)), 0);
    EXPECT_EQ(m_device->GetVertexShaderConstantI(15, readInts, 1), D3D_OK);
    EXPECT_EQ(memcmp(readInts, ints, sizeof(ints)), 0);
    EXPECT_EQ(m_device->GetPixelShaderConstantI(0, readInts, 1), D3D_OK);
    EXPECT_EQ(memcmp(readInts, ints, sizeof(ints)), 0);
    EXPECT_EQ(m_device->GetVertexShaderConstantB(14, readBools, 2), D3D_OK);
    EXPECT_EQ(memcmp(readBools, bools, sizeof(bools)), 0);
    EXPECT_EQ(m_device->GetPixelShaderConstantB(3, readBools, 2), D3D_OK);
    EXPECT_EQ(memcmp(readBools, bools, sizeof(bools)), 0);
    EXPECT_EQ(m_device->GetPixelShaderConstantB(4, readBools, 1), D3D_OK);
    EXPECT_EQ(readBools[0], FALSE) << "the vertex stage's b14 is not the pixel stage's";

    EXPECT_EQ(m_device->SetVertexShaderConstantF(255, floats, 2), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->SetPixelShaderConstantF(223, floats, 2), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->SetVertexShaderConstantI(16, ints, 1), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->SetPixelShaderConstantB(15, bools, 2), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->SetPixelShaderConstantF(0, nullptr, 1), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_device->GetVertexShaderConstantF(0, nullptr, 1), D3DERR_INVALIDCALL);
}

// D3DX's constant table, given this device, writes the registers its table
// names, and the draw sees them.
TEST_F(Shaders, ConstantTableWritesTheDeviceRegisters)
{
    const std::vector<DWORD> pixel = m_device.assemble("ps_3_0\n"
                                                       "const float4 unused : c0\n"
                                                       "const float4 tint : c5\n"
                                                       "mov oC0, c5\n");
    ID3DXConstantTable* table = nullptr;
    ASSERT_EQ(D3DXGetShaderConstantTable(pixel.data(), &table), D3D_OK);
    const D3DXVECTOR4 tint(0.0f, 1.0f, 0.0f, 1.0f);
    ASSERT_EQ(table->SetVector(m_device.device(), "tint", &tint), D3D_OK);
    float registers[4] = {};
    ASSERT_EQ(m_device->GetPixelShaderConstantF(5, registers, 1), D3D_OK);
    EXPECT_EQ(registers[1], 1.0f);

    IDirect3DSurface9* target = nullptr;
    IDirect3DTexture9* targetTexture = m_device.target(2, 2, D3DFMT_A8R8G8B8, &target);
    m_device->SetRenderTarget(0, target);
    IDirect3DPixelShader9* pixelShader = nullptr;
    ASSERT_EQ(m_device->CreatePixelShader(pixel.data(), &pixelShader), D3D_OK);
    IDirect3DVertexShader9* vertexShader = m_device.vertexShader(TestDevice::g_passVertexShader);
    m_device->SetVertexShader(vertexShader);
    m_device->SetPixelShader(pixelShader);
    IDirect3DVertexBuffer9* quad = m_device.bindVertices(
        TestDevice::g_quad, sizeof(TestDevice::g_quad), 20, D3DFVF_XYZ | D3DFVF_TEX1);
    m_device->SetRenderState(D3DRS_ZENABLE, FALSE);
    ASSERT_EQ(m_device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3D_OK);
    EXPECT_EQ(m_device.readArgb(target)[3], 0xFF00FF00u);
    m_device->SetVertexShader(nullptr);
    m_device->SetPixelShader(nullptr);
    m_device->SetStreamSource(0, nullptr, 0, 0);
    quad->Release();
    vertexShader->Release();
    pixelShader->Release();
    target->Release();
    targetTexture->Release();
    table->Release();
}

}  // namespace

// A def's values reach the program as the very floats of the byte code:
// products that come out on binary fractions stay exact, so their fractions
// are exact too. A few millionths off 1/256 would leave 0.49998 for 0.5 (a
// texture coordinate built that way misses its texel centre).
TEST_F(Shaders, DefinedConstantsAreTheFloatsOfTheByteCode)
{
    Canvas canvas(m_device);
    IDirect3DSurface9* target = canvas.target(0, 4, 4, D3DFMT_A32B32G32R32F);
    ASSERT_NE(target, nullptr);
    canvas.quadShaders("ps_3_0\n"
                       "def c1, 0.00390625, 0.001953125, 0.23828125, 0.37890625\n"
                       "def c2, 21376, 30528, 576, 0\n"
                       "mul r0.xy, c1.x, c2\n"         // 83.5, 119.25
                       "mad r0.z, c2.z, c1.z, c1.y\n"  // 137.251953125
                       "mul r0.w, c2.z, c1.w\n"        // 218.25
                       "frc oC0, r0\n");
    m_device->SetRenderState(D3DRS_ZENABLE, FALSE);
    canvas.drawQuad(nullptr);
    const std::vector<Rgba> pixels = m_device.readRgba(target);
    ASSERT_EQ(pixels.size(), 16u);
    EXPECT_EQ(pixels[5].r, 0.5f);
    EXPECT_EQ(pixels[5].g, 0.25f);
    EXPECT_EQ(pixels[5].b, 0.251953125f);
    EXPECT_EQ(pixels[5].a, 0.25f);
}
