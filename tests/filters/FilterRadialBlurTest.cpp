// The directional blur on the device: the plain copy at power 0, the passes
// and the "dir" each gets from the camera-shake noise, and the smear
// "radialblur.psh" draws.
#include "filters/FilterFixture.h"
#include "filters/FilterRadialBlur.h"

#include "render/Quad.h"
#include "render/Renderer.h"
#include "scene/CameraShake.h"
#include "sound/Time.h"

#include <gtest/gtest.h>

#include <math.h>

namespace
{

const D3DCOLOR kMarker = 0xFF102030;
const float kMarkerTexel[4] = {16.0f / 255.0f, 32.0f / 255.0f, 48.0f / 255.0f, 1.0f};

class FilterRadialBlurTest : public FilterFixture
{
protected:
    void SetUp() override
    {
        FilterFixture::SetUp();
        m_source = makeTarget();
        m_target = makeTarget();
        for (uint32_t i = 0; i < 2; ++i)
            fill(m_renderer->getTarget(i), kMarker);
        fill(m_target, kMarker);
        Time::g_time = 12.3f;
    }

    void TearDown() override
    {
        Time::g_time = 0.0f;
        FilterFixture::TearDown();
    }

    // The unit direction of the noise's x and y motion over one time unit
    // from Time::g_time x 4.
    static D3DXVECTOR2 noiseDirection()
    {
        const float t0 = Time::g_time * 4.0f;
        const D3DXVECTOR3 p0 = CameraShake::g_shakeNoise.sample(t0);
        const D3DXVECTOR3 p1 = CameraShake::g_shakeNoise.sample(t0 + 1.0f);
        const D3DXVECTOR2 motion(p1.x - p0.x, p1.y - p0.y);
        return motion / sqrtf(motion.x * motion.x + motion.y * motion.y);
    }

    void expectMarker(const RenderTarget* a_target)
    {
        const std::vector<Texel> texels = read(a_target);
        for (const auto& [x, y] : {std::pair{0, 0}, {640, 360}, {1279, 719}})
            expectTexel(at(texels, x, y), kMarkerTexel, 1e-3f);
    }

    FilterRadialBlur m_blur;
    RenderTarget* m_source = nullptr;
    RenderTarget* m_target = nullptr;
};

}

// Power 0 or less: one copy of the source through the screen quad's own
// programs; "dir" is not set and the scratch targets are not touched.
TEST_F(FilterRadialBlurTest, NoPowerCopies)
{
    m_blur.init(m_renderer);
    const D3DRECT quarter = {0, 0, 640, 360};
    fill(m_source, 0xFF336699);
    fill(m_source, 0xFFFFFFFF, &quarter);
    for (float power : {0.0f, -1.0f})
    {
        SCOPED_TRACE(testing::Message() << "power " << power);
        fill(m_target, kMarker);
        const float unset[4] = {7.0f, 8.0f, 9.0f, 10.0f};
        device()->SetPixelShaderConstantF(0, unset, 1);
        m_blur.setParameter("power", power);
        m_blur.apply(m_target, m_source, nullptr, nullptr, nullptr);
        const std::vector<Texel> source = read(m_source);
        const std::vector<Texel> copy = read(m_target);
        // Away from the quarter's edge, where "quad.psh" (which samples
        // texel corners, as D3D9 places them) blends neighbours.
        for (const auto& [x, y] :
             {std::pair{0, 0}, {320, 180}, {900, 200}, {300, 600}, {1279, 719}})
            expectTexel(at(copy, x, y), at(source, x, y).c, 0.0f);
        EXPECT_EQ(pixelConstant(0), D3DXVECTOR4(unset));
        EXPECT_EQ(m_renderer->m_pixelShader, m_renderer->m_quad->m_quadShaders.pixel);
        expectMarker(m_renderer->getTarget(0));
        expectMarker(m_renderer->getTarget(1));
    }
}

// Three passes write scratch 0, scratch 1, then the target, each reading what
// the one before wrote; "dir" is 1, 2 and 3 times the first pass's, which is
// the noise's direction times power / 6400.
TEST_F(FilterRadialBlurTest, PassesScaleTheNoiseDirection)
{
    writePassCounter("radialblur.psh");
    m_blur.init(m_renderer);
    m_blur.setParameter("power", 3200.0f);  // a first "dir" of half the direction
    fill(m_source, 0xFF000000);
    m_blur.apply(m_target, m_source, nullptr, nullptr, nullptr);
    const D3DXVECTOR2 first = noiseDirection() * 0.5f;
    const RenderTarget* written[3] = {m_renderer->getTarget(0), m_renderer->getTarget(1), m_target};
    for (int pass = 0; pass < 3; ++pass)
    {
        SCOPED_TRACE(testing::Message() << "pass " << pass);
        const float k = float(pass + 1);
        const float expected[4] = {k, first.x * k, first.y * k, 1.0f};
        expectTexel(at(read(written[pass]), 640, 360), expected, 4e-3f);
    }
    EXPECT_NEAR(pixelConstant(0).x, 3.0f * first.x, 1e-6f);
    EXPECT_NEAR(pixelConstant(0).y, 3.0f * first.y, 1e-6f);
}

// A bright texel is smeared both ways along "dir" (in pixels: its x over the
// width and its y over the height) and not across it.
TEST_F(FilterRadialBlurTest, SmearsAlongTheDirection)
{
    m_blur.init(m_renderer);
    m_blur.setParameter("power", 25.0f);  // 5 pixels' reach on the first pass, 30 in all
    const int32_t cx = 640, cy = 360;
    const D3DRECT texel = {cx - 1, cy - 1, cx + 2, cy + 2};
    fill(m_source, 0xFF000000);
    fill(m_source, 0xFFFFFFFF, &texel);
    m_blur.apply(m_target, m_source, nullptr, nullptr, nullptr);
    const std::vector<Texel> texels = read(m_target);

    const D3DXVECTOR2 d = noiseDirection();
    D3DXVECTOR2 along(d.x * kWidth, d.y * kHeight);
    along /= sqrtf(along.x * along.x + along.y * along.y);
    const D3DXVECTOR2 across(-along.y, along.x);
    auto sample = [&](const D3DXVECTOR2& a_direction, float a_distance) {
        return at(texels, cx + int32_t(lroundf(a_direction.x * a_distance)),
                  cy + int32_t(lroundf(a_direction.y * a_distance)))
            .c[1];
    };
    for (float distance : {4.0f, 8.0f, 16.0f})
    {
        SCOPED_TRACE(testing::Message() << distance << " pixels out");
        const float ahead = sample(along, distance);
        const float behind = sample(-along, distance);
        EXPECT_GT(ahead, 0.01f);
        EXPECT_NEAR(behind, ahead, 0.35f * ahead);
        EXPECT_LT(sample(across, distance), 0.1f * ahead);
        EXPECT_LT(sample(-across, distance), 0.1f * ahead);
    }
    EXPECT_LT(sample(along, 60.0f), 1e-3f);
}
