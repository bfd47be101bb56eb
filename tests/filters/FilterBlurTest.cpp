// The multi-pass blur on the device: which targets each pass reads and
// writes, the per-pass spacing it hands "blur.psh", and what "blur.psh" does
// to a picture.
//
// The pass order is read through a program that marks each pass (red + 1,
// its spacing in green and blue) in place of "blur.psh"; the picture tests
// run the shipped program.
#include "filters/FilterBlur.h"
#include "filters/FilterFixture.h"
#include "filters/FilterGlow.h"

#include "render/RenderTarget.h"
#include "render/Renderer.h"
#include "render/TestPrograms.h"

#include <gtest/gtest.h>

#include <math.h>
#include <stdio.h>

#include <string>

namespace
{

// Red, green, blue of a cleared target: 0x40 = 0.25, 0x80 = 0.5, 0xC0 = 0.75.
const D3DCOLOR kSourceColour = 0xFF408000;
const float kSourceRed = 64.0f / 255.0f;
const D3DCOLOR kMarker = 0xFF102030;
const float kMarkerTexel[4] = {16.0f / 255.0f, 32.0f / 255.0f, 48.0f / 255.0f, 1.0f};

class FilterBlurTest : public FilterFixture
{
protected:
    void SetUp() override
    {
        FilterFixture::SetUp();
        m_source = makeTarget();
        m_target = makeTarget();
        fill(m_source, kSourceColour);
        fill(m_target, kMarker);
        for (uint32_t i = 0; i < 2; ++i)
            fill(m_renderer->getTarget(i), kMarker);
    }

    // Pass counter's output after k passes from red r: (r + k, k x x1, k x y1),
    // x1 and y1 being the first pass's spacing.
    void expectPass(const RenderTarget* a_written, float a_sourceRed, int a_pass, float a_area)
    {
        const float k = float(a_pass);
        const float expected[4] = {a_sourceRed + k, a_area / kWidth * 0.65f * k,
                                   a_area / kHeight * 0.65f * k, 1.0f};
        const std::vector<Texel> texels = read(a_written);
        for (const auto& [x, y] : {std::pair{0, 0}, {640, 360}, {1279, 719}})
            expectTexel(at(texels, x, y), expected, 2e-3f * (1.0f + k));
    }

    void expectMarker(const RenderTarget* a_target)
    {
        const std::vector<Texel> texels = read(a_target);
        for (const auto& [x, y] : {std::pair{0, 0}, {640, 360}, {1279, 719}})
            expectTexel(at(texels, x, y), kMarkerTexel, 1e-3f);
    }

    // The source black but for one white texel at (kCx, kCy).
    void lightOneTexel()
    {
        const D3DRECT texel = {kCx, kCy, kCx + 1, kCy + 1};
        fill(m_source, 0xFF000000);
        fill(m_source, 0xFFFFFFFF, &texel);
    }

    static constexpr int32_t kCx = 640;
    static constexpr int32_t kCy = 360;
    FilterBlur m_blur;
    RenderTarget* m_source = nullptr;
    RenderTarget* m_target = nullptr;
};

}

// Fewer than one pass: sampler 0 is made linear and clamped, and nothing is drawn.
TEST_F(FilterBlurTest, NoPassesSetsSamplerZeroAndDrawsNothing)
{
    writePassCounter("blur.psh");
    m_blur.init(m_renderer);
    for (int32_t passes : {0, -1, -100})
    {
        SCOPED_TRACE(testing::Message() << passes << " passes");
        for (D3DSAMPLERSTATETYPE state : {D3DSAMP_MINFILTER, D3DSAMP_MAGFILTER, D3DSAMP_MIPFILTER})
            device()->SetSamplerState(0, state, D3DTEXF_POINT);
        device()->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP);
        device()->SetSamplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_MIRROR);
        m_blur.setParameter("passes", passes);
        m_blur.apply(m_target, m_source, nullptr, nullptr, nullptr);
        const struct
        {
            D3DSAMPLERSTATETYPE state;
            DWORD value;
        } states[] = {{D3DSAMP_MINFILTER, D3DTEXF_LINEAR},
                      {D3DSAMP_MAGFILTER, D3DTEXF_LINEAR},
                      {D3DSAMP_MIPFILTER, D3DTEXF_LINEAR},
                      {D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP},
                      {D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP}};
        for (const auto& s : states)
        {
            DWORD value = 0xDEAD;
            device()->GetSamplerState(0, s.state, &value);
            EXPECT_EQ(value, s.value) << "sampler state " << s.state;
        }
        expectMarker(m_target);
        expectMarker(m_renderer->getTarget(0));
        expectMarker(m_renderer->getTarget(1));
    }
}

// The passes ping-pong through scratch targets 0 and 1 and the last writes
// the target: each pass reads what the one before wrote, and pass k (from 1)
// samples k times the first pass's spacing.
TEST_F(FilterBlurTest, PassesPingPongThroughTheScratchTargets)
{
    writePassCounter("blur.psh");
    m_blur.init(m_renderer);
    m_blur.setParameter("area", 4.0f);
    const float marker = kMarkerTexel[0];
    const struct
    {
        const char* name;
        int32_t passes;
        bool inPlace;  // null source: the target is read by pass 0
        int target;    // passes seen by the target's contents
        int scratch0;  // passes seen by scratch 0, or -1: untouched
        int scratch1;
    } cases[] = {
        {"one pass: source into the target", 1, false, 1, -1, -1},
        {"two passes in place", 2, true, 2, 1, -1},
        {"three passes", 3, false, 3, 1, 2},
        {"four passes: 0, 1, 0, target", 4, false, 4, 3, 2},
        {"five passes", 5, false, 5, 3, 4},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        fill(m_target, kMarker);
        for (uint32_t i = 0; i < 2; ++i)
            fill(m_renderer->getTarget(i), kMarker);
        m_blur.setParameter("passes", c.passes);
        m_blur.apply(m_target, c.inPlace ? nullptr : m_source, nullptr, nullptr, nullptr);
        const float startRed = c.inPlace ? marker : kSourceRed;
        expectPass(m_target, startRed, c.target, 4.0f);
        const int scratch[2] = {c.scratch0, c.scratch1};
        for (uint32_t i = 0; i < 2; ++i)
        {
            SCOPED_TRACE(testing::Message() << "scratch target " << i);
            if (scratch[i] < 0)
                expectMarker(m_renderer->getTarget(i));
            else
                expectPass(m_renderer->getTarget(i), startRed, scratch[i], 4.0f);
        }
        // The target is left bound as colour target 0.
        IDirect3DSurface9* bound = nullptr;
        device()->GetRenderTarget(0, &bound);
        EXPECT_EQ(bound, m_target->m_surface);
        if (bound)
            bound->Release();
    }
}

// The spacing of pass 0 is the area over the size of the target bound before
// the filter ran, times 0.65 (as a float, widened); pass 1 doubles it.
TEST_F(FilterBlurTest, SpacingForAreaFourAtTheInternalSize)
{
    m_blur.init(m_renderer);
    m_blur.setParameter("area", 4.0f);
    const struct
    {
        int32_t passes;
        float xpower;
        float ypower;
    } cases[] = {
        {1, 0.0020312499f, 0.0036111111f},
        {2, 2.0f * 0.0020312499f, 2.0f * 0.0036111111f},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.passes << " passes");
        m_blur.setParameter("passes", c.passes);
        m_target->bind(0);
        m_blur.apply(m_target, m_source, nullptr, nullptr, nullptr);
        // "blur.psh" keeps "xpower" in c0 and "ypower" in c1.
        EXPECT_FLOAT_EQ(pixelConstant(0).x, c.xpower);
        EXPECT_FLOAT_EQ(pixelConstant(1).x, c.ypower);
    }
}

// One bright texel spreads evenly: the same on both sides along x and y, the
// same along x as along y at equal pixel distances (the spacing is the same
// number of pixels both ways), wider with more passes, and its sum (the
// image's mean) kept.
TEST_F(FilterBlurTest, BrightTexelSpreadsSymmetricallyAndKeepsTheMean)
{
    m_blur.init(m_renderer);
    const int32_t cx = kCx, cy = kCy;
    const struct
    {
        const char* name;
        float area;
        int32_t passes;
        int32_t reach;  // pixels from the centre that must have received light
    } cases[] = {
        {"area 1, 4 passes", 1.0f, 4, 4},
        {"area 4, 5 passes", 4.0f, 5, 20},
    };
    float previousCentre = 1.0f;
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        lightOneTexel();
        m_blur.setParameter("area", c.area);
        m_blur.setParameter("passes", c.passes);
        m_blur.apply(m_target, m_source, nullptr, nullptr, nullptr);
        const std::vector<Texel> texels = read(m_target);

        double sum = 0.0;
        for (const Texel& t : texels)
            sum += double(t.c[1]);
        EXPECT_NEAR(sum, 1.0, 0.01);

        const float centre = at(texels, cx, cy).c[1];
        EXPECT_LT(centre, 0.5f * previousCentre);
        previousCentre = centre;
        for (int32_t d = 1; d <= c.reach; ++d)
        {
            SCOPED_TRACE(testing::Message() << d << " pixels out");
            const float right = at(texels, cx + d, cy).c[1];
            EXPECT_GT(right, 0.0f);
            EXPECT_LT(right, centre);
            // Mesa's linear filter truncates its weights to 1/256, which
            // favours the lower texel: the bell ends up a few hundredths of
            // a pixel up and left, a few percent in its tail. Half a texel of
            // shift would be tens of percent.
            const float tolerance = 0.05f * right + 1e-5f;
            EXPECT_NEAR(at(texels, cx - d, cy).c[1], right, tolerance);
            EXPECT_NEAR(at(texels, cx, cy + d).c[1], right, tolerance);
            EXPECT_NEAR(at(texels, cx, cy - d).c[1], right, tolerance);
            const float diagonal = at(texels, cx + d, cy + d).c[1];
            EXPECT_NEAR(at(texels, cx - d, cy - d).c[1], diagonal, tolerance);
            EXPECT_NEAR(at(texels, cx - d, cy + d).c[1], diagonal, tolerance);
            EXPECT_NEAR(at(texels, cx + d, cy - d).c[1], diagonal, tolerance);
        }
        // Farther out it falls off monotonically.
        for (int32_t d = 1; d < c.reach; ++d)
            EXPECT_GE(at(texels, cx + d, cy).c[1], at(texels, cx + d + 1, cy).c[1]) << d;
    }
}

// What the passes add up to, from one bright texel: a bell as wide as the
// per-pass spread 0.26 s^2 per axis predicts (s the pass's spacing in
// pixels), close to a Gaussian of that width everywhere (speckles and a
// lumpy or flat top show as deviations), never brighter farther out along any
// ray from the texel (a ghost ring is a rise), and centred where the texel
// was (a drift moves the centre of mass). Cases: the frame's light blur on a
// sharp image, a small one, and the frame's strong blur over the light one at
// the narrowest and the widest area the parts use, with the five-tap program
// the timeline picks for a blurred source.
TEST_F(FilterBlurTest, BrightTexelBecomesASmoothCentredBell)
{
    m_blur.init(m_renderer);
    const int32_t cx = kCx, cy = kCy;
    const struct
    {
        const char* name;
        float area1;
        int32_t passes1;
        float area2;  // a second blur over the first one's result, or 0
        int32_t passes2;
        double deviation;  // largest allowed, as a fraction of the peak
    } cases[] = {
        {"area 4, 5 passes", 4.0f, 5, 0.0f, 0, 0.065},
        {"area 1, 4 passes", 1.0f, 4, 0.0f, 0, 0.065},
        {"area 4, 5 passes, then area 4, 4 passes", 4.0f, 5, 4.0f, 4, 0.05},
        {"area 4, 5 passes, then area 10, 4 passes", 4.0f, 5, 10.0f, 4, 0.05},
    };
    RenderTarget* middle = makeTarget();
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        lightOneTexel();
        double variance = 0.0;   // expected, per axis, in pixels squared
        double filtering = 0.0;  // what linear filtering may add: 1/4 pixel^2 per pass
        const auto blur = [&](RenderTarget* a_target, RenderTarget* a_source, float a_area,
                              int32_t a_passes, bool a_blurred) {
            m_blur.m_sourceBlurred = a_blurred;
            m_blur.setParameter("area", a_area);
            m_blur.setParameter("passes", a_passes);
            m_blur.apply(a_target, a_source, nullptr, nullptr, nullptr);
            for (int32_t k = 1; k <= a_passes; ++k)
                variance += 0.26 * pow(k * 0.65 * a_area, 2.0);
            filtering += 0.25 * a_passes;
        };
        if (c.passes2 > 0)
        {
            blur(middle, m_source, c.area1, c.passes1, false);
            blur(m_target, middle, c.area2, c.passes2, true);
        }
        else
        {
            blur(m_target, m_source, c.area1, c.passes1, false);
        }
        const std::vector<Texel> texels = read(m_target);
        const auto value = [&](int32_t a_x, int32_t a_y) {
            return double(at(texels, a_x, a_y).c[1]);
        };
        const int32_t reach = int32_t(ceil(5.0 * sqrt(variance))) + 2;

        double sum = 0.0, mx = 0.0, my = 0.0, vx = 0.0, vy = 0.0;
        for (int32_t y = cy - reach; y <= cy + reach; ++y)
        {
            for (int32_t x = cx - reach; x <= cx + reach; ++x)
            {
                const double v = value(x, y);
                sum += v;
                mx += v * (x - cx);
                my += v * (y - cy);
                vx += v * (x - cx) * (x - cx);
                vy += v * (y - cy) * (y - cy);
            }
        }
        EXPECT_NEAR(sum, 1.0, 0.01);
        mx /= sum;
        my /= sum;
        // Mesa's 8-bit filter weights move the bell a few hundredths of a
        // pixel up and left; half a texel per pass would add up to pixels.
        EXPECT_NEAR(mx, 0.0, 0.05);
        EXPECT_NEAR(my, 0.0, 0.05);
        vx = vx / sum - mx * mx;
        vy = vy / sum - my * my;
        // Linear filtering adds a little spread of its own: a tap between
        // texels t and t + 1 at fraction f adds f (1 - f).
        for (double measured : {vx, vy})
        {
            EXPECT_GT(measured, 0.99 * variance);
            EXPECT_LT(measured, variance + filtering);
        }

        const double v2 = 0.5 * (vx + vy);
        const double peak = sum / (2.0 * M_PI * v2);
        double deviation = 0.0, rise = 0.0;
        for (int32_t y = cy - reach + 1; y < cy + reach; ++y)
        {
            for (int32_t x = cx - reach + 1; x < cx + reach; ++x)
            {
                const double dx = x - cx - mx, dy = y - cy - my;
                const double d2 = dx * dx + dy * dy;
                const double v = value(x, y);
                deviation = fmax(deviation, fabs(v - peak * exp(-d2 / (2.0 * v2))));
                // One pixel nearer the centre along the ray, filtered linearly.
                const double d = sqrt(double(x - cx) * (x - cx) + double(y - cy) * (y - cy));
                if (d < 1.5)
                    continue;
                const double px = cx + (x - cx) * (d - 1.0) / d;
                const double py = cy + (y - cy) * (d - 1.0) / d;
                const int32_t ix = int32_t(floor(px)), iy = int32_t(floor(py));
                const double fx = px - ix, fy = py - iy;
                const double inner =
                    (1 - fx) * (1 - fy) * value(ix, iy) + fx * (1 - fy) * value(ix + 1, iy) +
                    (1 - fx) * fy * value(ix, iy + 1) + fx * fy * value(ix + 1, iy + 1);
                rise = fmax(rise, v - inner);
            }
        }
        EXPECT_LT(deviation / peak, c.deviation);
        // Half floats round to about a thousandth of the value.
        EXPECT_LT(rise / peak, 0.003);
    }
}

// A source marked as blurred already runs every pass with "blursmooth.psh",
// any other with "blur.psh"; the pass counter stands in for the one expected,
// a program that draws black for the other. Without "blursmooth.psh" a
// blurred source falls back to "blur.psh". The stage the smooth program
// reads unfiltered is left empty, whichever program ran.
TEST_F(FilterBlurTest, BlurredSourceRunsTheSmoothProgram)
{
    const char* const black = "ps_3_0\n"
                              "const float xpower : c0\n"
                              "const float ypower : c1\n"
                              "def c2, 0, 0, 0, 1\n"
                              "mov oC0, c2\n";
    const struct
    {
        const char* name;
        bool blurred;
        bool smoothLoads;
        const char* counted;  // the program that must run
    } cases[] = {
        {"sharp source", false, true, "blur.psh"},
        {"blurred source", true, true, "blursmooth.psh"},
        {"blurred source, no smooth program", true, false, "blur.psh"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        const bool smoothCounts = std::string(c.counted) == "blursmooth.psh";
        TestPrograms::write(smoothCounts ? "blur.psh" : "blursmooth.psh", black);
        writePassCounter(c.counted);
        if (!c.smoothLoads)
        {
            ASSERT_EQ(remove("blursmooth.psh"), 0);
        }
        FilterBlur blur;
        blur.init(m_renderer);
        EXPECT_EQ(blur.m_smoothShader != nullptr, c.smoothLoads);
        blur.m_sourceBlurred = c.blurred;
        blur.setParameter("area", 4.0f);
        blur.setParameter("passes", int32_t(3));
        blur.apply(m_target, m_source, nullptr, nullptr, nullptr);
        expectPass(m_target, kSourceRed, 3, 4.0f);
        IDirect3DBaseTexture9* left = nullptr;
        EXPECT_EQ(m_renderer->device()->GetTexture(7, &left), D3D_OK);
        EXPECT_EQ(left, nullptr);
        if (left)
            left->Release();
    }
}

// Without "blur.psh" init still succeeds (the loader reported the file) and
// apply draws nothing instead of binding a missing program.
TEST_F(FilterBlurTest, MissingProgramDrawsNothing)
{
    ASSERT_EQ(remove("blur.psh"), 0);
    ReturnCode result = m_blur.init(m_renderer);
    EXPECT_TRUE(result.m_checked);
    EXPECT_TRUE(result.succeeded());
    EXPECT_EQ(m_blur.m_pixelShader, nullptr);
    EXPECT_NE(m_blur.m_vertexShader, nullptr);
    ASSERT_FALSE(m_boxes.boxes().empty());
    EXPECT_EQ(m_boxes.boxes().back().text, "blur.psh: File not found.");
    m_blur.apply(m_target, m_source, nullptr, nullptr, nullptr);
    expectMarker(m_target);
}

// The glow filter holds an initialised inner blur with the defaults, and its
// apply leaves the target as it was.
TEST_F(FilterBlurTest, GlowDrawsNothing)
{
    FilterGlow glow;
    ReturnCode result = glow.init(m_renderer);
    EXPECT_TRUE(result.m_checked);
    EXPECT_TRUE(result.succeeded());
    ASSERT_NE(glow.m_blur, nullptr);
    EXPECT_EQ(glow.m_blur->m_renderer, m_renderer);
    EXPECT_NE(glow.m_blur->m_pixelShader, nullptr);
    EXPECT_EQ(glow.m_blur->m_area, 1.0f);
    EXPECT_EQ(glow.m_blur->m_passes, 4);
    EXPECT_NE(glow.m_vertexShader, nullptr);
    glow.apply(m_target, m_source, m_source, m_source, m_source);
    expectMarker(m_target);
}
