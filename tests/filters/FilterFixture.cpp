// The filter tests' renderer, programs, noise and targets.
#include "filters/FilterFixture.h"

#include "render/TestPrograms.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

void FilterFixture::SetUp()
{
    RendererFixture::SetUp();
    TestPrograms::writeFilterPrograms();
    std::filesystem::copy_file(std::string(TARVO_CONTENT_FILES) + "/noise2.jpg",
                               m_folder.file("noise2.jpg"));
}

void FilterFixture::TearDown()
{
    m_targets.clear();
    RendererFixture::TearDown();
}

RenderTarget* FilterFixture::makeTarget()
{
    m_targets.emplace_back(RenderTarget::create(m_renderer, kWidth, kHeight, D3DFMT_A16B16G16R16F));
    EXPECT_NE(m_targets.back(), nullptr);
    return m_targets.back().get();
}

void FilterFixture::fill(RenderTarget* a_target, D3DCOLOR a_colour, const D3DRECT* a_rect)
{
    a_target->bind(0);
    device()->Clear(a_rect ? 1 : 0, a_rect, D3DCLEAR_TARGET, a_colour, 1.0f, 0);
}

std::vector<Texel> FilterFixture::read(const RenderTarget* a_target)
{
    return readTexels(*a_target, D3DFMT_A16B16G16R16F);
}

D3DXVECTOR4 FilterFixture::pixelConstant(UINT a_register)
{
    float values[4] = {};
    device()->GetPixelShaderConstantF(a_register, values, 1);
    return D3DXVECTOR4(values);
}

void FilterFixture::writePassCounter(const char* a_name)
{
    const bool radial = std::string(a_name) == "radialblur.psh";
    const std::string source = std::string("ps_3_0\n") +
                               (radial ? "const float4 dir : c0\n"
                                       : "const float xpower : c0\nconst float ypower : c1\n") +
                               "const sampler2D image : s0\n"
                               "def c2, 1, 0, 0, 0\n"
                               "dcl_texcoord v0.xy\n"
                               "dcl_2d s0\n"
                               "texld r0, v0, s0\n"
                               "add r0.x, r0.x, c2.x\n"
                               "mov r0.y, c0.x\n" +
                               (radial ? "mov r0.z, c0.y\n" : "mov r0.z, c1.x\n") + "mov oC0, r0\n";
    TestPrograms::write(a_name, source.c_str());
}
