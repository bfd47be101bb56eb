// The depth of field on the device: the sampler states and bindings it sets,
// its init results, and the curve "dof.psh" mixes the images by.
#include "filters/FilterDof.h"
#include "filters/FilterFixture.h"

#include "render/TestPrograms.h"

#include <gtest/gtest.h>

#include <math.h>
#include <stdio.h>

namespace
{

class FilterDofTest : public FilterFixture
{
protected:
    void SetUp() override
    {
        FilterFixture::SetUp();
        ReturnCode ready = m_dof.init(m_renderer);
        ASSERT_TRUE(ready.succeeded());
        for (RenderTarget*& source : m_sources)
            source = makeTarget();
        m_target = makeTarget();
        m_dof.m_gbufferTarget = makeTarget();
    }

    void apply() { m_dof.apply(m_target, m_sources[0], m_sources[1], m_sources[2], m_sources[3]); }

    FilterDof m_dof;
    RenderTarget* m_sources[4] = {};  // sharp, light blur, distance, strong blur
    RenderTarget* m_target = nullptr;
};

float smoothstep(float a_t)
{
    const float t = fminf(fmaxf(a_t, 0.0f), 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

}

// Near pixels show the sharp image, pixels at and beyond "far" the strongly
// blurred one, and between them the documented curve: the light blur fades in
// from 0.2 to 0.6 x "far", the strong blur from 0.6 to 1.0 x "far". Distances
// are written into the distance image's red channel by bands across the screen.
TEST_F(FilterDofTest, MixesByDistanceAgainstFar)
{
    const float sharp = 0x20 / 255.0f, light = 0x60 / 255.0f, strong = 0xA0 / 255.0f;
    fill(m_sources[0], 0xFF202020);
    fill(m_sources[1], 0xFF606060);
    fill(m_sources[3], 0xFFA0A0A0);
    const int32_t bands = 8;
    const int32_t red[bands] = {0x00, 0x10, 0x33, 0x4D, 0x66, 0x99, 0xCC, 0xFF};
    for (int32_t band = 0; band < bands; ++band)
    {
        const D3DRECT rect = {band * kWidth / bands, 0, (band + 1) * kWidth / bands, kHeight};
        fill(m_sources[2], D3DCOLOR(0xFF000000u | uint32_t(red[band]) << 16), &rect);
    }
    m_dof.setParameter("far", 0.8f);
    apply();
    const std::vector<Texel> texels = read(m_target);
    for (int32_t band = 0; band < bands; ++band)
    {
        const float z = float(red[band]) / 255.0f / 0.8f;
        SCOPED_TRACE(testing::Message() << "distance " << z << " x far");
        const float a = smoothstep((z - 0.2f) / 0.4f);
        const float b = smoothstep((z - 0.6f) / 0.4f);
        const float grey = (sharp * (1.0f - a) + light * a) * (1.0f - b) + strong * b;
        const float expected[4] = {grey, grey, grey, 1.0f};
        expectTexel(at(texels, band * kWidth / bands + 80, 360), expected, 2e-3f);
        if (z <= 0.2f)
        {
            EXPECT_NEAR(at(texels, band * kWidth / bands + 80, 360).c[0], sharp, 1e-3f);
        }
        if (z >= 1.0f)
        {
            EXPECT_NEAR(at(texels, band * kWidth / bands + 80, 360).c[0], strong, 1e-3f);
        }
    }
}

// What the blurred images hold above 0.8 is added at every distance, times
// "glowForce" / 4 for each of the two.
TEST_F(FilterDofTest, GlowAddsTheBrightPartsOfTheBlurredImages)
{
    fill(m_sources[0], 0xFF000000);
    fill(m_sources[2], 0xFF000000);  // distance 0: the sharp image only
    const struct
    {
        const char* name;
        D3DCOLOR light, strong;
        float glow;
        float expected[3];
    } cases[] = {
        {"below the threshold", 0xFFCCCCCC, 0xFFC0C0C0, 2.0f, {0, 0, 0}},
        {"white light blur", 0xFFFFFFFF, 0xFF000000, 2.0f, {0.1f, 0.1f, 0.1f}},
        {"white strong blur, glow 3", 0xFF000000, 0xFFFFFFFF, 3.0f, {0.15f, 0.15f, 0.15f}},
        {"red in both, glow 4", 0xFFFF0000, 0xFFFF0000, 4.0f, {0.4f, 0, 0}},
        {"glow 0", 0xFFFFFFFF, 0xFFFFFFFF, 0.0f, {0, 0, 0}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        fill(m_sources[1], c.light);
        fill(m_sources[3], c.strong);
        m_dof.setParameter("glow", c.glow);
        apply();
        const float expected[4] = {c.expected[0], c.expected[1], c.expected[2], 1.0f};
        expectTexel(at(read(m_target), 300, 200), expected, 2e-3f);
    }
}

// Samplers 0 to 3 clamp, 0 to 4 filter linearly, the sources sit on samplers
// 0 to 3 and the G-buffer target on 4, and the target stays bound. The
// unfiltered twins of the sources, on 8 to 11, are emptied after the draw.
TEST_F(FilterDofTest, SetsSamplersAndBindings)
{
    for (DWORD stage = 0; stage < 5; ++stage)
    {
        device()->SetSamplerState(stage, D3DSAMP_ADDRESSU, D3DTADDRESS_MIRROR);
        device()->SetSamplerState(stage, D3DSAMP_ADDRESSV, D3DTADDRESS_MIRROR);
        device()->SetSamplerState(stage, D3DSAMP_MINFILTER, D3DTEXF_POINT);
        device()->SetSamplerState(stage, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
        device()->SetSamplerState(stage, D3DSAMP_MIPFILTER, D3DTEXF_NONE);
    }
    apply();
    for (DWORD stage = 0; stage < 5; ++stage)
    {
        SCOPED_TRACE(testing::Message() << "sampler " << stage);
        DWORD value = 0;
        device()->GetSamplerState(stage, D3DSAMP_MINFILTER, &value);
        EXPECT_EQ(value, DWORD(D3DTEXF_LINEAR));
        device()->GetSamplerState(stage, D3DSAMP_MIPFILTER, &value);
        EXPECT_EQ(value, DWORD(D3DTEXF_LINEAR));
        IDirect3DBaseTexture9* texture = nullptr;
        device()->GetTexture(stage, &texture);
        RenderTarget* expected = stage < 4 ? m_sources[stage] : m_dof.m_gbufferTarget;
        EXPECT_EQ(texture, expected->m_texture);
        if (texture)
            texture->Release();
    }
    // Sampler 0 wraps again after the screen quad; 2 and 3 keep the clamp,
    // 4 its own mode.
    for (DWORD stage : {2u, 3u})
    {
        DWORD value = 0;
        device()->GetSamplerState(stage, D3DSAMP_ADDRESSU, &value);
        EXPECT_EQ(value, DWORD(D3DTADDRESS_CLAMP)) << stage;
    }
    DWORD value = 0;
    device()->GetSamplerState(4, D3DSAMP_ADDRESSU, &value);
    EXPECT_EQ(value, DWORD(D3DTADDRESS_MIRROR));
    for (DWORD stage = 8; stage < 12; ++stage)
    {
        IDirect3DBaseTexture9* texture = nullptr;
        device()->GetTexture(stage, &texture);
        EXPECT_EQ(texture, nullptr) << stage;
        if (texture)
            texture->Release();
    }
    IDirect3DSurface9* bound = nullptr;
    device()->GetRenderTarget(0, &bound);
    EXPECT_EQ(bound, m_target->m_surface);
    if (bound)
        bound->Release();
    EXPECT_EQ(pixelConstant(0).x, 100000.0f);  // "far"
    EXPECT_EQ(pixelConstant(1).x, 2.0f);       // "glowForce"
}

// init fails, already checked, when either program is missing; apply then
// draws nothing.
TEST_F(FilterDofTest, MissingProgramFailsInit)
{
    ASSERT_EQ(remove("dof.psh"), 0);
    FilterDof dof;
    ReturnCode result = dof.init(m_renderer);
    EXPECT_TRUE(result.m_checked);
    EXPECT_TRUE(result.failed());
    fill(m_target, 0xFF102030);
    dof.apply(m_target, m_sources[0], m_sources[1], m_sources[2], m_sources[3]);
    const float marker[4] = {16.0f / 255.0f, 32.0f / 255.0f, 48.0f / 255.0f, 1.0f};
    expectTexel(at(read(m_target), 10, 10), marker, 1e-3f);
}
