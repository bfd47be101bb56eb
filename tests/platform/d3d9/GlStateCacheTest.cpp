// The stage textures and sampler states reach GL through the GL state cache:
// counted at libepoxy's entry points, a texture or sampler state set again
// between two draws makes no GL call while the cache is on, reaches GL while
// it is bypassed, and a change reaches GL either way; the cache forgets a
// texture GL deletes, whose name a later texture may receive, and keeps
// sampler parameters for the names its table holds.
//
// Untested: sampler objects of units past the system's first four stages
// (the same code walks every unit).
#include "Canvas.h"
#include "TestDevice.h"

#include "D3D9Testing.h"
#include "GlStateCache.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace
{

const char g_textureShader[] = "ps_3_0\n"
                               "dcl_texcoord v0.xy\n"
                               "dcl_2d s0\n"
                               "texld r0, v0, s0\n"
                               "mov oC0, r0\n";

const DWORD g_red = 0xFFFF0000;
const DWORD g_green = 0xFF00FF00;

// Counts the calls that bind textures and samplers or set sampler parameters
// while it lives, passing each on to GL. The entry points must have been
// resolved (by a draw) before: libepoxy resolves an entry point by
// overwriting its pointer, which would drop the counter.
class TextureCallCounter
{
public:
    TextureCallCounter()
    {
        g_calls = 0;
        g_bindTextures = epoxy_glBindTextures;
        g_bindTextureUnit = epoxy_glBindTextureUnit;
        g_bindSampler = epoxy_glBindSampler;
        g_samplerParameteri = epoxy_glSamplerParameteri;
        g_samplerParameterfv = epoxy_glSamplerParameterfv;
        epoxy_glBindTextures = [](GLuint a_first, GLsizei a_count, const GLuint* a_names) {
            ++g_calls;
            g_bindTextures(a_first, a_count, a_names);
        };
        epoxy_glBindTextureUnit = [](GLuint a_unit, GLuint a_texture) {
            ++g_calls;
            g_bindTextureUnit(a_unit, a_texture);
        };
        epoxy_glBindSampler = [](GLuint a_unit, GLuint a_sampler) {
            ++g_calls;
            g_bindSampler(a_unit, a_sampler);
        };
        epoxy_glSamplerParameteri = [](GLuint a_sampler, GLenum a_name, GLint a_value) {
            ++g_calls;
            g_samplerParameteri(a_sampler, a_name, a_value);
        };
        epoxy_glSamplerParameterfv = [](GLuint a_sampler, GLenum a_name, const GLfloat* a_value) {
            ++g_calls;
            g_samplerParameterfv(a_sampler, a_name, a_value);
        };
        m_counting = epoxy_glBindSampler;
    }

    ~TextureCallCounter()
    {
        epoxy_glBindTextures = g_bindTextures;
        epoxy_glBindTextureUnit = g_bindTextureUnit;
        epoxy_glBindSampler = g_bindSampler;
        epoxy_glSamplerParameteri = g_samplerParameteri;
        epoxy_glSamplerParameterfv = g_samplerParameterfv;
    }

    TextureCallCounter(const TextureCallCounter&) = delete;
    TextureCallCounter& operator=(const TextureCallCounter&) = delete;

    int calls() const
    {
        EXPECT_EQ(epoxy_glBindSampler, m_counting) << "an entry point was resolved while counting";
        return g_calls;
    }

private:
    static int g_calls;
    static decltype(epoxy_glBindTextures) g_bindTextures;
    static decltype(epoxy_glBindTextureUnit) g_bindTextureUnit;
    static decltype(epoxy_glBindSampler) g_bindSampler;
    static decltype(epoxy_glSamplerParameteri) g_samplerParameteri;
    static decltype(epoxy_glSamplerParameterfv) g_samplerParameterfv;
    decltype(epoxy_glBindSampler) m_counting;
};

int TextureCallCounter::g_calls = 0;
decltype(epoxy_glBindTextures) TextureCallCounter::g_bindTextures = nullptr;
decltype(epoxy_glBindTextureUnit) TextureCallCounter::g_bindTextureUnit = nullptr;
decltype(epoxy_glBindSampler) TextureCallCounter::g_bindSampler = nullptr;
decltype(epoxy_glSamplerParameteri) TextureCallCounter::g_samplerParameteri = nullptr;
decltype(epoxy_glSamplerParameterfv) TextureCallCounter::g_samplerParameterfv = nullptr;

class GlStateCacheTest : public testing::TestWithParam<bool>
{
protected:
    void SetUp() override { D3D9Testing::bypassGlStateCache(bypassed()); }
    void TearDown() override { D3D9Testing::bypassGlStateCache(false); }
    bool bypassed() const { return GetParam(); }

    // A 1 x 1 texture of one colour, released with the canvas.
    IDirect3DTexture9* texture(DWORD a_colour)
    {
        return m_canvas.keep(m_device.texture(1, 1, {a_colour}));
    }

    TestDevice m_device{8, 8};
    Canvas m_canvas{m_device};
};

// Between two draws, what is set again reaches GL only with the cache
// bypassed; what changes reaches GL either way; what is set and set back
// leaves GL as it was. Each draw shows the texture set last.
TEST_P(GlStateCacheTest, TexturesAndSamplersSetAgainMakeNoGlCall)
{
    IDirect3DSurface9* surface = m_canvas.target(0, 1, 1, D3DFMT_A8R8G8B8);
    m_canvas.quadShaders(g_textureShader);
    IDirect3DTexture9* red = texture(g_red);
    IDirect3DTexture9* green = texture(g_green);
    IDirect3DDevice9* device = m_device.device();
    struct Case
    {
        const char* name;
        std::function<void()> set;
        bool reachesGl;          // with the cache on
        bool reachesGlBypassed;  // with the cache bypassed
        DWORD drawn;
    };
    const Case cases[] = {
        // Nothing to carry.
        {"nothing set", [] {}, false, false, g_red},
        // Set again.
        {"the same texture", [&] { device->SetTexture(0, red); }, false, true, g_red},
        {"the same filter", [&] { device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR); },
         false, true, g_red},
        {"the same border colour",
         [&] { device->SetSamplerState(0, D3DSAMP_BORDERCOLOR, 0xFF0000FF); }, false, true, g_red},
        {"another texture and back",
         [&] {
             device->SetTexture(0, green);
             device->SetTexture(0, red);
         },
         false, true, g_red},
        {"another address mode and back",
         [&] {
             device->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_MIRROR);
             device->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
         },
         false, true, g_red},
        // Changed.
        {"another texture", [&] { device->SetTexture(0, green); }, true, true, g_green},
        {"another filter", [&] { device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_POINT); },
         true, true, g_red},
        {"another border colour",
         [&] { device->SetSamplerState(0, D3DSAMP_BORDERCOLOR, 0xFFFFFFFF); }, true, true, g_red},
    };
    for (const Case& test : cases)
    {
        SCOPED_TRACE(test.name);
        device->SetTexture(0, red);
        device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
        device->SetSamplerState(0, D3DSAMP_BORDERCOLOR, 0xFF0000FF);
        device->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
        m_canvas.drawQuad(nullptr);
        int calls = 0;
        {
            TextureCallCounter counter;
            test.set();
            m_canvas.drawQuad(nullptr);
            calls = counter.calls();
        }
        EXPECT_EQ(calls > 0, bypassed() ? test.reachesGlBypassed : test.reachesGl)
            << calls << " calls";
        EXPECT_EQ(m_device.readArgb(surface)[0], test.drawn);
    }
}

// GL unbinds a texture it deletes, and its name may come back as another
// texture (drivers reuse names, and a compatibility context makes a texture
// of any name bound): binding that texture reaches GL.
TEST_P(GlStateCacheTest, ADeletedTexturesNameMadeAgainIsBound)
{
    GlStateCache cache;
    const GLuint unit = 5;
    GLuint name = 0;
    glCreateTextures(GL_TEXTURE_2D, 1, &name);
    cache.bindTexture(unit, name);
    glDeleteTextures(1, &name);
    cache.textureDeleted(name);
    glActiveTexture(GL_TEXTURE0 + unit + 1);
    glBindTexture(GL_TEXTURE_2D, name);
    cache.bindTexture(unit, name);
    glActiveTexture(GL_TEXTURE0 + unit);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(GLuint(bound), name);
    glBindTextures(unit, 2, nullptr);
    glDeleteTextures(1, &name);
    glActiveTexture(GL_TEXTURE0);
}

// The cache keeps the parameters of sampler objects named below 256 and
// passes a parameter set again on a later name to GL; either way GL holds
// the last value set.
TEST_P(GlStateCacheTest, SamplerParametersAreKeptForNamesBelow256)
{
    std::vector<GLuint> names(300);
    glCreateSamplers(GLsizei(names.size()), names.data());
    struct Case
    {
        GLuint name;
        bool setAgainReachesGl;  // with the cache on
    };
    const Case cases[] = {{255, false}, {256, true}};
    for (const Case& test : cases)
    {
        SCOPED_TRACE(test.name);
        ASSERT_NE(std::find(names.begin(), names.end(), test.name), names.end());
        GlStateCache cache;
        for (const GLint filter : {GL_NEAREST, GL_LINEAR})
        {
            cache.samplerParameter(test.name, GL_TEXTURE_MAG_FILTER, filter);
            int calls = 0;
            {
                TextureCallCounter counter;
                cache.samplerParameter(test.name, GL_TEXTURE_MAG_FILTER, filter);
                calls = counter.calls();
            }
            EXPECT_EQ(calls, bypassed() || test.setAgainReachesGl ? 1 : 0);
            GLint held = 0;
            glGetSamplerParameteriv(test.name, GL_TEXTURE_MAG_FILTER, &held);
            EXPECT_EQ(held, filter);
        }
    }
    glDeleteSamplers(GLsizei(names.size()), names.data());
}

INSTANTIATE_TEST_SUITE_P(StateCache, GlStateCacheTest, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& a_info) {
                             return a_info.param ? "Bypassed" : "Cached";
                         });

}  // namespace
