// The "Break" filter on the device: its init results and noise, the
// constants and bindings it sets, and what "break.psh" draws: the source
// times "brightness" when the music is silent, the overlay where it is
// bright, tears that grow with the force, and the lighter programs for
// frames without overlay or music drawing the same picture.
#include "filters/FilterBreak.h"
#include "filters/FilterFixture.h"

#include "render/TestJpeg.h"
#include "render/Texture.h"
#include "sound/Soundtrack.h"
#include "sound/Time.h"

#include <gtest/gtest.h>

#include <math.h>
#include <stdio.h>
#include <string.h>

#include <memory>

namespace
{

class FilterBreakTest : public FilterFixture
{
protected:
    void SetUp() override
    {
        FilterFixture::SetUp();
        ReturnCode ready = m_break.init(m_renderer);
        ASSERT_TRUE(ready.succeeded());
        m_source = makeTarget();
        m_target = makeTarget();
        // Four quadrants of different colours, and vertical stripes in the
        // lower half so that sideways tears show.
        const struct
        {
            D3DRECT rect;
            D3DCOLOR colour;
        } areas[] = {{{0, 0, 640, 360}, 0xFFFF8040},
                     {{640, 0, 1280, 360}, 0xFF2080C0},
                     {{0, 360, 640, 720}, 0xFF40C020},
                     {{640, 360, 1280, 720}, 0xFFC0C0C0}};
        for (const auto& area : areas)
            fill(m_source, area.colour, &area.rect);
        for (int32_t x = 0; x < kWidth; x += 32)
        {
            const D3DRECT stripe = {x, 360, x + 8, 720};
            fill(m_source, 0xFF000000, &stripe);
        }
        Time::g_time = 40.0f;
        m_soundtrack.m_spectrumTime = Time::g_time;  // no refresh: the spectrum is the test's
        Time::g_soundtrack = &m_soundtrack;
    }

    void TearDown() override
    {
        Time::g_soundtrack = nullptr;
        Time::g_time = 0.0f;
        FilterFixture::TearDown();
    }

    void setSpectrum(float a_value)
    {
        for (float& bin : m_soundtrack.m_spectrum)
            bin = a_value;
    }

    // A 64 x 64 overlay: white in its left half, black in its right.
    std::unique_ptr<Texture> loadOverlay()
    {
        std::vector<uint32_t> colours(64);
        for (size_t i = 0; i < colours.size(); ++i)
            colours[i] = (i % 8) < 4 ? 0xFFFFFF : 0x000000;
        writeJpeg("overlay.jpg", blockPicture(8, 8, colours), JpegKind::Rgb);
        return std::unique_ptr<Texture>(Texture::load("overlay.jpg", m_renderer));
    }

    // The mean absolute difference of red, green and blue from a_source times a_scale.
    double meanDifference(const std::vector<Texel>& a_output, const std::vector<Texel>& a_source,
                          float a_scale)
    {
        double sum = 0.0;
        for (size_t i = 0; i < a_output.size(); ++i)
            for (int k = 0; k < 3; ++k)
                sum += fabs(double(a_output[i].c[k]) - double(a_source[i].c[k] * a_scale));
        return sum / double(a_output.size() * 3);
    }

    // What a lighter program may differ by from "break.psh": nothing, except
    // that "breakbare.psh" takes the row values rounded to float where
    // "break.psh" may carry them fused into the next step, which moves a
    // displaced read by a rounding step and, at a sharp edge, a few texels
    // by a few levels. A wrong row (a tear in the wrong place) moves whole
    // rows of stripes and fails both limits.
    static void expectSamePicture(const std::vector<Texel>& a_output,
                                  const std::vector<Texel>& a_expected, bool a_exact)
    {
        ASSERT_EQ(a_output.size(), a_expected.size());
        size_t differing = 0;
        double worst = 0.0;
        for (size_t i = 0; i < a_output.size(); ++i)
        {
            differing += memcmp(a_output[i].c, a_expected[i].c, sizeof(a_output[i].c)) != 0;
            for (int k = 0; k < 4; ++k)
                worst = fmax(worst, fabs(double(a_output[i].c[k]) - double(a_expected[i].c[k])));
        }
        if (a_exact)
        {
            EXPECT_EQ(differing, 0u);
            return;
        }
        EXPECT_LE(differing, a_output.size() / 1000);
        EXPECT_LE(worst, 8.0 / 255.0);
    }

    Soundtrack m_soundtrack;
    FilterBreak m_break;
    RenderTarget* m_source = nullptr;
    RenderTarget* m_target = nullptr;
};

}

// init loads both programs and the noise; the constants go in their order
// with the force from the spectrum (0.01 in every bin gives 20), sampler 1
// wraps, and without an overlay sampler 2 keeps whatever it had.
TEST_F(FilterBreakTest, SetsConstantsAndBindings)
{
    ASSERT_NE(m_break.m_noise, nullptr);
    setSpectrum(0.01f);
    m_break.setParameter("overlayForce", 0.5f);
    m_break.setParameter("overlayForce2", 0.25f);
    m_break.setParameter("brightness", 0.75f);
    IDirect3DTexture9* other = nullptr;
    ASSERT_EQ(
        device()->CreateTexture(1, 1, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &other, nullptr),
        D3D_OK);
    device()->SetTexture(2, other);
    device()->SetSamplerState(1, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
    m_break.apply(m_target, m_source, nullptr, nullptr, nullptr);

    // "break.psh": force c0, time c1, overlayForce c2, overlayForce2 c3, brightness c4.
    const float expected[5] = {20.0f, 40.0f, 0.5f, 0.25f, 0.75f};
    for (UINT i = 0; i < 5; ++i)
        EXPECT_EQ(pixelConstant(i).x, expected[i]) << "register " << i;
    IDirect3DBaseTexture9* bound = nullptr;
    device()->GetTexture(2, &bound);
    EXPECT_EQ(bound, other);
    if (bound)
        bound->Release();
    device()->GetTexture(1, &bound);
    EXPECT_EQ(bound, m_break.m_noise->m_texture);
    if (bound)
        bound->Release();
    DWORD address = 0;
    device()->GetSamplerState(1, D3DSAMP_ADDRESSV, &address);
    EXPECT_EQ(address, DWORD(D3DTADDRESS_WRAP));
    device()->SetTexture(2, nullptr);
    other->Release();
}

// With the music silent and no overlay force the output is the source times
// "brightness", whatever overlay is assigned.
TEST_F(FilterBreakTest, SilenceGivesTheSourceTimesBrightness)
{
    setSpectrum(0.0f);
    std::unique_ptr<Texture> overlay = loadOverlay();
    ASSERT_NE(overlay, nullptr);
    const std::vector<Texel> source = read(m_source);
    const struct
    {
        const char* name;
        float brightness;
        bool overlay;
    } cases[] = {
        {"brightness 1", 1.0f, false},
        {"brightness 0.5", 0.5f, false},
        {"brightness 0 (the first frames)", 0.0f, false},
        {"an overlay assigned but no force", 0.8f, true},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        m_break.m_overlay = c.overlay ? overlay.get() : nullptr;
        m_break.setParameter("brightness", c.brightness);
        m_break.apply(m_target, m_source, nullptr, nullptr, nullptr);
        const std::vector<Texel> output = read(m_target);
        double worst = 0.0;
        for (size_t i = 0; i < output.size(); ++i)
            for (int k = 0; k < 3; ++k)
                worst = fmax(worst,
                             fabs(double(output[i].c[k]) - double(source[i].c[k] * c.brightness)));
        // Linear filtering weighs texels in steps of 1/256, so at a sharp
        // edge a texel-centred read may take that much of its neighbour.
        EXPECT_LT(worst, 8e-3);
    }
}

// The overlay shows where it is bright: over its white half the output is
// the source blended towards white by each force (clamped to 0 and 1), times
// "brightness", over its black half the source; "overlayForce" and
// "overlayForce2" each show it, and a force of 0 or less hides it.
TEST_F(FilterBreakTest, OverlayShowsWhereItIsBright)
{
    setSpectrum(0.0f);
    std::unique_ptr<Texture> overlay = loadOverlay();
    ASSERT_NE(overlay, nullptr);
    m_break.m_overlay = overlay.get();
    const std::vector<Texel> source = read(m_source);
    const struct
    {
        const char* name;
        float overlayForce;
        float overlayForce2;
        float brightness;
    } cases[] = {
        {"overlayForce", 1.0f, 0.0f, 1.0f},
        {"overlayForce2", 0.0f, 1.0f, 1.0f},
        {"both, brightness 0.5", 1.0f, 1.0f, 0.5f},
        {"a quarter of overlayForce", 0.25f, 0.0f, 1.0f},
        {"a quarter of overlayForce2", 0.0f, 0.25f, 1.0f},
        {"forces past 1 clamped", 3.0f, 0.0f, 1.0f},
        {"negative forces", -1.0f, -0.5f, 1.0f},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        m_break.setParameter("overlayForce", c.overlayForce);
        m_break.setParameter("overlayForce2", c.overlayForce2);
        m_break.setParameter("brightness", c.brightness);
        m_break.apply(m_target, m_source, nullptr, nullptr, nullptr);
        const std::vector<Texel> output = read(m_target);
        const float torn = fminf(fmaxf(c.overlayForce, 0.0f), 1.0f);
        const float steady = fminf(fmaxf(c.overlayForce2, 0.0f), 1.0f);
        for (const auto& [x, y] : {std::pair{100, 100}, {500, 600}, {300, 400}})
        {
            const Texel& s = at(source, x, y);
            float blended[4] = {0.0f, 0.0f, 0.0f, 1.0f};
            for (int k = 0; k < 3; ++k)
            {
                const float once = s.c[k] + (1.0f - s.c[k]) * torn;
                blended[k] = (once + (1.0f - once) * steady) * c.brightness;
            }
            expectTexel(at(output, x, y), blended, 1e-2f);
        }
        for (const auto& [x, y] : {std::pair{800, 100}, {1200, 600}, {700, 500}})
        {
            const Texel& s = at(source, x, y);
            const float kept[4] = {s.c[0] * c.brightness, s.c[1] * c.brightness,
                                   s.c[2] * c.brightness, 1.0f};
            expectTexel(at(output, x, y), kept, 1e-2f);
        }
    }
}

// The force tears the picture, more the louder the music: the output moves
// further from the source as the force grows, rows of the striped half are
// shifted sideways, and the same time and force draw the same picture.
TEST_F(FilterBreakTest, ForceTearsThePicture)
{
    const std::vector<Texel> source = read(m_source);
    double previous = 0.0;
    for (float bin : {0.0f, 0.005f, 0.02f, 0.04f})
    {
        SCOPED_TRACE(testing::Message() << "bins at " << bin << ", force " << bin * 2000.0f);
        setSpectrum(bin);
        m_break.apply(m_target, m_source, nullptr, nullptr, nullptr);
        const std::vector<Texel> output = read(m_target);
        const double difference = meanDifference(output, source, 1.0f);
        if (bin == 0.0f)
            EXPECT_LT(difference, 1e-4);
        else
            EXPECT_GT(difference, previous * 1.2 + 1e-3);
        previous = difference;
    }
    // At full force some rows of stripes are shifted whole: their stripes
    // start elsewhere than the source's.
    const std::vector<Texel> torn = read(m_target);
    int shiftedRows = 0;
    for (int32_t y = 400; y < 720; y += 4)
    {
        int moved = 0;
        for (int32_t x = 64; x < 1216; ++x)
            moved += (at(torn, x, y).c[1] < 0.3f) != (at(source, x, y).c[1] < 0.3f);
        shiftedRows += moved > 300;
    }
    EXPECT_GT(shiftedRows, 0);
    m_break.apply(m_target, m_source, nullptr, nullptr, nullptr);
    EXPECT_EQ(meanDifference(read(m_target), torn, 1.0f), 0.0);
}

// The lighter programs draw what "break.psh" draws with the same constants
// (to the bit, or for "breakbare.psh" to within rounding: expectSamePicture):
// a filter without them (their files missing, so "break.psh" draws every
// frame) gives the same picture in every case and at every target size, and
// each case picks the program it should.
TEST_F(FilterBreakTest, LighterProgramsDrawWhatTheFullOneDraws)
{
    std::unique_ptr<Texture> overlay = loadOverlay();
    ASSERT_NE(overlay, nullptr);
    ASSERT_NE(m_break.m_rowsShader, nullptr);
    // "breakbare.psh" reads its tears from the rows: without their program
    // the music's frames go to "break.psh".
    ASSERT_EQ(remove("breakrows.psh"), 0);
    {
        FilterBreak noRows;
        ASSERT_TRUE(noRows.init(m_renderer).succeeded());
        ASSERT_NE(noRows.m_bareShader, nullptr);
        EXPECT_EQ(noRows.program(80.0f), noRows.m_pixelShader);
        EXPECT_EQ(noRows.program(0.0f), noRows.m_stillShader);
    }
    ASSERT_EQ(remove("breakbare.psh"), 0);
    ASSERT_EQ(remove("breakstill.psh"), 0);
    FilterBreak full;
    ASSERT_TRUE(full.init(m_renderer).succeeded());
    ASSERT_EQ(full.m_bareShader, nullptr);
    ASSERT_EQ(full.m_stillShader, nullptr);
    RenderTarget* reference = makeTarget();
    const struct
    {
        const char* name;
        float bin;  // every spectrum bin; the force is 2000 times it
        float overlayForce;
        float overlayForce2;
        float brightness;
        int program;  // 0 "break.psh", 1 "breakbare.psh", 2 "breakstill.psh"
    } cases[] = {
        {"silence", 0.0f, 0.0f, 0.0f, 1.0f, 2},
        {"silence, dimmed", 0.0f, 0.0f, 0.0f, 0.4f, 2},
        {"silence, negative overlay forces", 0.0f, -1.0f, -0.5f, 1.0f, 2},
        {"quiet music", 0.002f, 0.0f, 0.0f, 1.0f, 1},
        {"loud music", 0.04f, 0.0f, 0.0f, 0.8f, 1},
        {"loud music, negative overlay force", 0.04f, -2.0f, 0.0f, 1.0f, 1},
        {"a title in silence", 0.0f, 1.0f, 0.0f, 1.0f, 0},
        {"credits over music", 0.02f, 0.0f, 0.5f, 1.0f, 0},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        setSpectrum(c.bin);
        FilterBreak* const filters[2] = {&m_break, &full};
        RenderTarget* const targets[2] = {m_target, reference};
        for (int i = 0; i < 2; ++i)
        {
            filters[i]->m_overlay = overlay.get();
            filters[i]->setParameter("overlayForce", c.overlayForce);
            filters[i]->setParameter("overlayForce2", c.overlayForce2);
            filters[i]->setParameter("brightness", c.brightness);
            filters[i]->apply(targets[i], m_source, nullptr, nullptr, nullptr);
        }
        const Shader* const programs[3] = {m_break.m_pixelShader, m_break.m_bareShader,
                                           m_break.m_stillShader};
        EXPECT_EQ(m_break.program(c.bin * 2000.0f), programs[c.program]);
        expectSamePicture(read(m_target), read(reference), c.program != 1);
    }

    // The rows follow the target's height (the capture draws at any size),
    // and a target of another height draws the same picture too.
    const struct
    {
        int32_t width;
        int32_t height;
    } sizes[] = {{320, 180}, {640, 360}, {1279, 719}, {1280, 720}};
    setSpectrum(0.04f);
    for (const auto& size : sizes)
    {
        SCOPED_TRACE(testing::Message() << size.width << " x " << size.height);
        std::unique_ptr<RenderTarget> source(
            RenderTarget::create(m_renderer, size.width, size.height, D3DFMT_A16B16G16R16F));
        std::unique_ptr<RenderTarget> outputs[2];
        for (auto& output : outputs)
            output.reset(
                RenderTarget::create(m_renderer, size.width, size.height, D3DFMT_A16B16G16R16F));
        ASSERT_TRUE(source && outputs[0] && outputs[1]);
        fill(source.get(), 0xFF2080C0);
        for (int32_t x = 0; x < size.width; x += 16)
        {
            const D3DRECT stripe = {x, 0, x + 5, size.height};
            fill(source.get(), 0xFFF0E010, &stripe);
        }
        FilterBreak* const filters[2] = {&m_break, &full};
        for (int i = 0; i < 2; ++i)
        {
            filters[i]->setParameter("overlayForce", 0.0f);
            filters[i]->setParameter("overlayForce2", 0.0f);
            filters[i]->setParameter("brightness", 1.0f);
            filters[i]->apply(outputs[i].get(), source.get(), nullptr, nullptr, nullptr);
        }
        ASSERT_NE(m_break.m_rows, nullptr);
        EXPECT_EQ(m_break.m_rows->m_height, size.height);
        expectSamePicture(readTexels(*outputs[0], D3DFMT_A16B16G16R16F),
                          readTexels(*outputs[1], D3DFMT_A16B16G16R16F), false);
    }
}

// init fails, already checked, without "break.psh" and then loads no noise;
// a missing noise image alone is not a failure.
TEST_F(FilterBreakTest, InitResults)
{
    ASSERT_EQ(remove("noise2.jpg"), 0);
    {
        FilterBreak filter;
        ReturnCode result = filter.init(m_renderer);
        EXPECT_TRUE(result.m_checked);
        EXPECT_TRUE(result.succeeded());
        EXPECT_EQ(filter.m_noise, nullptr);
    }
    ASSERT_EQ(remove("break.psh"), 0);
    FilterBreak filter;
    ReturnCode result = filter.init(m_renderer);
    EXPECT_TRUE(result.m_checked);
    EXPECT_TRUE(result.failed());
    EXPECT_EQ(filter.m_noise, nullptr);
    fill(m_target, 0xFF102030);
    filter.apply(m_target, m_source, nullptr, nullptr, nullptr);
    const float marker[4] = {16.0f / 255.0f, 32.0f / 255.0f, 48.0f / 255.0f, 1.0f};
    expectTexel(at(read(m_target), 10, 10), marker, 1e-3f);
}
