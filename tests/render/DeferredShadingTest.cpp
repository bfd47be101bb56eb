// The deferred pipeline: a frame over a known triangle read back target by
// target, the states each stage leaves behind, and creation failures.
#include "render/DeferredShading.h"

#include "lights/LightFog.h"
#include "render/RenderTarget.h"
#include "core/FatalError.h"
#include "render/RendererFixture.h"
#include "render/Shader.h"
#include "render/TestPrograms.h"

#include <D3D9Testing.h>

#include <gtest/gtest.h>

#include <math.h>
#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

namespace
{

// The frame is drawn on the renderer's 1280 x 720 internal size.
const int g_width = 1280;
const int g_height = 720;
// The triangle covers the lower left half of the screen at depth 0.5: this
// pixel is inside it, the opposite corner is not.
const int g_insideX = 100;
const int g_insideY = 600;
const int g_outsideX = 1200;
const int g_outsideY = 100;
const D3DXVECTOR4 g_eye(0.0f, 0.0f, -2.0f, 1.0f);
const float g_diffuse[4] = {0.5f, 1.0f, 0.25f, 1.0f};
const float g_texel = 128.0f / 255.0f;  // the grey texture on sampler 0
const float g_glossiness = 0.75f;
const float g_specularPower = 16.0f;
const float g_ambient[4] = {0.25f, 0.5f, 1.0f, 1.0f};

class DeferredShadingTest : public RendererFixture
{
protected:
    void SetUp() override
    {
        RendererFixture::SetUp();
        TestPrograms::writeDeferredPrograms();
        m_pipeline = DeferredShading::create(m_renderer);
        ASSERT_NE(m_pipeline, nullptr);
    }

    void TearDown() override
    {
        delete m_pipeline;
        if (m_texture)
            m_texture->Release();
        if (m_white)
            m_white->Release();
        RendererFixture::TearDown();
    }

    static Texel at(const std::vector<Texel>& a_texels, int a_x, int a_y)
    {
        return a_texels[size_t(a_y) * g_width + size_t(a_x)];
    }

    // The geometry pass over the triangle with identity camera matrices, a
    // grey texture, the material constants above and no cube map.
    void drawGeometry()
    {
        ASSERT_EQ(device()->CreateTexture(1, 1, 1, D3DUSAGE_DYNAMIC, D3DFMT_A8R8G8B8,
                                          D3DPOOL_DEFAULT, &m_texture, nullptr),
                  D3D_OK);
        D3DLOCKED_RECT locked = {};
        ASSERT_EQ(m_texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
        *static_cast<DWORD*>(locked.pBits) = 0xFF808080;
        m_texture->UnlockRect(0);

        m_pipeline->beginGeometryPass();
        D3DXMatrixIdentity(&m_pipeline->m_view);
        D3DXMatrixIdentity(&m_pipeline->m_projection);
        m_pipeline->m_viewPosition = g_eye;
        m_pipeline->setViewConstants();
        D3DXMATRIX identity;
        D3DXMatrixIdentity(&identity);
        Shader* vertex = m_pipeline->m_deferredVertexShader;
        Shader* pixel = m_pipeline->m_deferredPixelShader;
        vertex->setMatrix("worldAnimationMatrix", identity);
        vertex->setMatrix("normalAnimationMatrix", identity);
        pixel->setBool("cubemap", FALSE);
        pixel->setVector("diffuseColor", D3DXVECTOR4(g_diffuse));
        pixel->setFloat("glossiness", g_glossiness);
        pixel->setFloat("specularPower", g_specularPower);
        pixel->setVector("uvScroll", D3DXVECTOR4(0, 0, 0, 0));
        device()->SetTexture(0, m_texture);
        // What a material leaves on the other maps: flat height, no
        // occlusion, full reflection and opacity.
        ASSERT_EQ(device()->CreateTexture(1, 1, 1, D3DUSAGE_DYNAMIC, D3DFMT_A8R8G8B8,
                                          D3DPOOL_DEFAULT, &m_white, nullptr),
                  D3D_OK);
        ASSERT_EQ(m_white->LockRect(0, &locked, nullptr, 0), D3D_OK);
        *static_cast<DWORD*>(locked.pBits) = 0xFFFFFFFF;
        m_white->UnlockRect(0);
        device()->SetTexture(1, m_texture);
        for (DWORD stage : {3u, 4u, 5u})
            device()->SetTexture(stage, m_white);

        drawTriangle();
        m_pipeline->endGeometryPass();
    }

    // The world position of a pixel centre on the triangle (identity camera).
    static D3DXVECTOR3 positionAt(int a_x, int a_y)
    {
        return D3DXVECTOR3((float(a_x) + 0.5f) / g_width * 2.0f - 1.0f,
                           1.0f - (float(a_y) + 0.5f) / g_height * 2.0f, 0.5f);
    }

    static float distanceAt(int a_x, int a_y)
    {
        const D3DXVECTOR3 position = positionAt(a_x, a_y);
        const D3DXVECTOR3 eye(g_eye.x, g_eye.y, g_eye.z);
        const D3DXVECTOR3 offset = position - eye;
        return sqrtf(D3DXVec3Dot(&offset, &offset));
    }

    IDirect3DSurface9* renderTarget(DWORD a_index)
    {
        IDirect3DSurface9* surface = nullptr;
        device()->GetRenderTarget(a_index, &surface);
        if (surface)
            surface->Release();
        return surface;
    }

    DWORD renderState(D3DRENDERSTATETYPE a_state)
    {
        DWORD value = 0xDEAD;
        device()->GetRenderState(a_state, &value);
        return value;
    }

    void expectBackBufferRecorded()
    {
        EXPECT_EQ(renderTarget(0), m_renderer->m_backBuffer);
        EXPECT_EQ(m_renderer->m_width, m_renderer->m_backBufferWidth);
        EXPECT_EQ(m_renderer->m_height, m_renderer->m_backBufferHeight);
    }

    DeferredShading* m_pipeline = nullptr;
    IDirect3DTexture9* m_texture = nullptr;
    IDirect3DTexture9* m_white = nullptr;
};

// The geometry pass writes the G-buffer as "deferred.psh" documents it, and
// leaves the clear (opaque black, distance 0) where nothing was drawn.
TEST_F(DeferredShadingTest, GeometryPassWritesTheGBuffer)
{
    drawGeometry();
    const D3DXVECTOR3 position = positionAt(g_insideX, g_insideY);
    const float distance = distanceAt(g_insideX, g_insideY);
    const struct
    {
        const char* name;
        int target;
        D3DFORMAT format;
        float inside[4];
        float outside[4];
        float tolerance;  // half precision keeps 11 significant bits
    } cases[] = {
        {"colour",
         0,
         D3DFMT_A16B16G16R16F,
         {g_texel * g_diffuse[0], g_texel * g_diffuse[1], g_texel * g_diffuse[2], 1.0f},
         {0, 0, 0, 1},
         2e-3f},
        {"normal and glossiness",
         1,
         D3DFMT_A16B16G16R16F,
         {0, 0, -1, g_glossiness},
         {0, 0, 0, 1},
         2e-3f},
        {"position and distance",
         2,
         D3DFMT_A16B16G16R16F,
         {position.x, position.y, position.z, distance},
         {0, 0, 0, 1},
         4e-3f},
        {"distance and specular power",
         3,
         D3DFMT_G32R32F,
         {distance, g_specularPower, 0, 0},
         {0, 0, 0, 0},
         1e-4f},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        const std::vector<Texel> texels = readTexels(*m_pipeline->m_gbuffer[c.target], c.format);
        expectTexel(at(texels, g_insideX, g_insideY), c.inside, c.tolerance);
        expectTexel(at(texels, g_outsideX, g_outsideY), c.outside, c.tolerance);
    }
}

// Drawn depth first, the scene is shaded only at its nearest surfaces, and
// a surface the opacity map cuts away hides nothing in either drawing: a
// near triangle drawn before a far one over the same pixels leaves its own
// colour where it stands and the far one's where it is cut away.
TEST_F(DeferredShadingTest, DepthPassShadesOnlyTheNearestSurface)
{
    drawGeometry();
    IDirect3DTexture9* black = nullptr;
    ASSERT_EQ(device()->CreateTexture(1, 1, 1, D3DUSAGE_DYNAMIC, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT,
                                      &black, nullptr),
              D3D_OK);
    D3DLOCKED_RECT locked = {};
    ASSERT_EQ(black->LockRect(0, &locked, nullptr, 0), D3D_OK);
    *static_cast<DWORD*>(locked.pBits) = 0xFF000000;
    black->UnlockRect(0);

    const float nearColour[4] = {1.0f, 0.0f, 0.0f, 1.0f};
    const float farColour[4] = {0.0f, 0.0f, 1.0f, 1.0f};
    const struct
    {
        const char* name;
        IDirect3DTexture9* nearOpacity;
        const float (*seen)[4];
    } cases[] = {{"opaque near surface", m_white, &nearColour},
                 {"near surface cut away", black, &farColour}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        m_pipeline->beginGeometryPass();
        m_pipeline->setViewConstants();
        device()->SetTexture(0, m_white);
        device()->SetTexture(1, m_texture);
        // Near first (depth 0.3), then far (0.5), as a scene in that order draws them.
        const auto drawBoth = [&](Shader* a_pixel) {
            const struct
            {
                float z;
                const float* colour;
                IDirect3DTexture9* opacity;
            } surfaces[] = {{-0.2f, nearColour, c.nearOpacity}, {0.0f, farColour, m_white}};
            for (const auto& surface : surfaces)
            {
                D3DXMATRIX world;
                D3DXMatrixTranslation(&world, 0.0f, 0.0f, surface.z);
                m_pipeline->m_deferredVertexShader->setMatrix("worldAnimationMatrix", world);
                a_pixel->setVector("diffuseColor", D3DXVECTOR4(surface.colour));
                device()->SetTexture(5, surface.opacity);
                drawTriangle();
            }
        };
        ASSERT_TRUE(m_pipeline->beginDepthPass());
        drawBoth(m_pipeline->m_depthPixelShader);
        m_pipeline->beginShadingPass();
        drawBoth(m_pipeline->m_deferredPixelShader);
        m_pipeline->endGeometryPass();

        EXPECT_EQ(renderState(D3DRS_ZWRITEENABLE), DWORD(TRUE));
        EXPECT_EQ(renderState(D3DRS_COLORWRITEENABLE), 0xFu);
        const std::vector<Texel> texels =
            readTexels(*m_pipeline->m_gbuffer[0], D3DFMT_A16B16G16R16F);
        expectTexel(at(texels, g_insideX, g_insideY), *c.seen, 2e-3f);
    }
    black->Release();
}

// The light pass starts both light buffers at opaque black and the ambient
// light adds its colour to the diffuse sum everywhere; the specular sum stays
// black.
TEST_F(DeferredShadingTest, AmbientAddsItsColour)
{
    drawGeometry();
    m_pipeline->beginLightPass(g_ambient);
    m_pipeline->endLightPass();
    const std::vector<Texel> diffuse =
        readTexels(*m_pipeline->m_lightBuffers[0], D3DFMT_A16B16G16R16F);
    const std::vector<Texel> specular =
        readTexels(*m_pipeline->m_lightBuffers[1], D3DFMT_A16B16G16R16F);
    const float added[4] = {g_ambient[0], g_ambient[1], g_ambient[2], 1.0f + g_ambient[3]};
    const float black[4] = {0, 0, 0, 1};
    expectTexel(at(diffuse, g_insideX, g_insideY), added, 1e-3f);
    expectTexel(at(diffuse, g_outsideX, g_outsideY), added, 1e-3f);
    expectTexel(at(specular, g_insideX, g_insideY), black, 1e-3f);
}

// Combine: surface colour x diffuse sum + specular sum, then saturation
// (towards the Rec. 601 luma), contrast about 0.5 and brightness as a
// factor, as "combine.psh" documents; alpha is 1.
TEST_F(DeferredShadingTest, CombineAppliesContrastSaturationAndBrightness)
{
    drawGeometry();
    m_pipeline->beginLightPass(g_ambient);
    m_pipeline->endLightPass();
    RenderTarget* output =
        RenderTarget::create(m_renderer, g_width, g_height, D3DFMT_A16B16G16R16F);
    ASSERT_NE(output, nullptr);
    const struct
    {
        float contrast, saturation, brightness;
    } cases[] = {{1.0f, 1.0f, 1.0f},
                 {2.0f, 1.0f, 1.0f},
                 {1.0f, 0.0f, 1.0f},
                 {1.0f, 1.0f, 0.5f},
                 {1.5f, 0.5f, 0.8f}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "contrast " << c.contrast << ", saturation "
                                        << c.saturation << ", brightness " << c.brightness);
        m_pipeline->combine(*output, c.contrast, c.saturation, c.brightness);
        const std::vector<Texel> texels = readTexels(*output, D3DFMT_A16B16G16R16F);
        float lit[3];
        for (int k = 0; k < 3; ++k)
            lit[k] = g_texel * g_diffuse[k] * g_ambient[k];
        const float luma = 0.299f * lit[0] + 0.587f * lit[1] + 0.114f * lit[2];
        float expected[4] = {0, 0, 0, 1.0f};
        for (int k = 0; k < 3; ++k)
        {
            const float saturated = luma + c.saturation * (lit[k] - luma);
            expected[k] = ((saturated - 0.5f) * c.contrast + 0.5f) * c.brightness;
        }
        expectTexel(at(texels, g_insideX, g_insideY), expected, 3e-3f);
        // Nothing drawn: black surface, so only contrast and brightness act.
        const float grey = (0.5f - 0.5f * c.contrast) * c.brightness;
        const float empty[4] = {grey, grey, grey, 1.0f};
        expectTexel(at(texels, g_outsideX, g_outsideY), empty, 3e-3f);
        expectBackBufferRecorded();
    }
    delete output;
}

// The fog blends its colour over the target by the amount at the pixel's
// view distance: none before the near fall-off, linear between, full beyond
// the far one.
TEST_F(DeferredShadingTest, FogFollowsTheViewDistance)
{
    drawGeometry();
    RenderTarget* output =
        RenderTarget::create(m_renderer, g_width, g_height, D3DFMT_A16B16G16R16F);
    ASSERT_NE(output, nullptr);
    const float distance = distanceAt(g_insideX, g_insideY);
    const float fogColor[4] = {1.0f, 0.5f, 0.0f, 1.0f};
    const float base[4] = {0.0f, 0.0f, 1.0f, 1.0f};  // the target's own colour
    const struct
    {
        const char* name;
        float nearFallOff, farFallOff;
        float amount;
    } cases[] = {
        {"before near", distance + 1.0f, distance + 2.0f, 0.0f},
        {"between", distance - 1.0f, distance + 1.0f, 0.5f},
        {"a quarter in", distance - 0.5f, distance + 1.5f, 0.25f},
        {"beyond far", distance - 2.0f, distance - 1.0f, 1.0f},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        output->bind(0);
        device()->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF0000FF, 1.0f, 0);
        output->unbind();
        m_pipeline->applyFog(*output, fogColor, c.nearFallOff, c.farFallOff);
        const std::vector<Texel> texels = readTexels(*output, D3DFMT_A16B16G16R16F);
        float expected[4];
        for (int k = 0; k < 4; ++k)
            expected[k] = fogColor[k] * c.amount + base[k] * (1.0f - c.amount);
        // Alpha blends as well: source alpha x source alpha + destination alpha x (1 - it).
        expected[3] = c.amount * c.amount + base[3] * (1.0f - c.amount);
        expectTexel(at(texels, g_insideX, g_insideY), expected, 3e-3f);
        expectBackBufferRecorded();
        EXPECT_EQ(renderState(D3DRS_ALPHABLENDENABLE), DWORD(FALSE));
    }
    delete output;
}

// A near fall-off beyond the far one is pulled back to it.
TEST_F(DeferredShadingTest, FogNeverStartsBeyondItsEnd)
{
    RenderTarget* output = RenderTarget::create(m_renderer, 64, 64, D3DFMT_A16B16G16R16F);
    ASSERT_NE(output, nullptr);
    const float color[4] = {0.5f, 0.5f, 0.5f, 1.0f};
    const struct
    {
        float nearFallOff, farFallOff, expectedNear;
    } cases[] = {{500.0f, 200.0f, 200.0f}, {100.0f, 200.0f, 100.0f}, {200.0f, 200.0f, 200.0f}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.nearFallOff << " to " << c.farFallOff);
        m_pipeline->applyFog(*output, color, c.nearFallOff, c.farFallOff);
        EXPECT_EQ(m_pipeline->m_fog->m_nearFallOff, c.expectedNear);
        EXPECT_EQ(m_pipeline->m_fog->m_farFallOff, c.farFallOff);
        EXPECT_EQ(m_pipeline->m_fog->m_color, D3DXVECTOR4(color));
    }
    delete output;
}

// beginLightPass binds the light buffers and G-buffer 1 to 3 on samplers 0
// to 2 (3 empty; clamped and point-sampled where the ambient draw keeps it); endLightPass
// puts depth on, blending off and the back buffer back, whatever the lights left.
TEST_F(DeferredShadingTest, LightPassStates)
{
    drawGeometry();
    device()->SetTexture(3, m_texture);
    m_pipeline->beginLightPass(g_ambient);
    EXPECT_EQ(renderTarget(0), m_pipeline->m_lightBuffers[0]->m_surface);
    EXPECT_EQ(renderTarget(1), m_pipeline->m_lightBuffers[1]->m_surface);
    for (DWORD stage = 0; stage < 4; ++stage)
    {
        SCOPED_TRACE(stage);
        IDirect3DBaseTexture9* bound = nullptr;
        device()->GetTexture(stage, &bound);
        if (bound)
            bound->Release();
        EXPECT_EQ(bound, stage < 3 ? static_cast<IDirect3DBaseTexture9*>(
                                         m_pipeline->m_gbuffer[stage + 1]->m_texture)
                                   : nullptr);
        // The ambient light's screen quad, drawn last, wraps samplers 0 and 1
        // and filters 2 and 3 linearly again; the rest is the pass's own.
        for (D3DSAMPLERSTATETYPE type : {D3DSAMP_ADDRESSU, D3DSAMP_ADDRESSV})
        {
            DWORD value = 0;
            device()->GetSamplerState(stage, type, &value);
            EXPECT_EQ(value, DWORD(stage < 2 ? D3DTADDRESS_WRAP : D3DTADDRESS_CLAMP));
        }
        for (D3DSAMPLERSTATETYPE type : {D3DSAMP_MINFILTER, D3DSAMP_MAGFILTER, D3DSAMP_MIPFILTER})
        {
            DWORD value = 0;
            device()->GetSamplerState(stage, type, &value);
            EXPECT_EQ(value, DWORD(stage < 2 ? D3DTEXF_POINT : D3DTEXF_LINEAR));
        }
    }
    // What a light might leave behind.
    device()->SetRenderState(D3DRS_ZENABLE, FALSE);
    device()->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
    device()->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    m_pipeline->endLightPass();
    EXPECT_EQ(renderState(D3DRS_ZENABLE), DWORD(D3DZB_TRUE));
    EXPECT_EQ(renderState(D3DRS_ZWRITEENABLE), DWORD(TRUE));
    EXPECT_EQ(renderState(D3DRS_ALPHABLENDENABLE), DWORD(FALSE));
    expectBackBufferRecorded();
    EXPECT_EQ(renderTarget(1), nullptr);
    EXPECT_EQ(renderTarget(2), nullptr);
}

// The geometry pass binds the four G-buffer targets with the deferred
// programs current; ending it returns to the back buffer alone.
TEST_F(DeferredShadingTest, GeometryPassStates)
{
    m_pipeline->beginGeometryPass();
    for (DWORD index = 0; index < 4; ++index)
        EXPECT_EQ(renderTarget(index), m_pipeline->m_gbuffer[index]->m_surface) << index;
    EXPECT_EQ(m_renderer->m_vertexShader, m_pipeline->m_deferredVertexShader);
    EXPECT_EQ(m_renderer->m_pixelShader, m_pipeline->m_deferredPixelShader);
    m_pipeline->endGeometryPass();
    expectBackBufferRecorded();
    for (DWORD index = 1; index < 4; ++index)
        EXPECT_EQ(renderTarget(index), nullptr) << index;
}

// The targets come at the renderer's internal size in their formats.
TEST_F(DeferredShadingTest, TargetsHaveTheInternalSizeAndFormats)
{
    RenderTarget* targets[6] = {m_pipeline->m_gbuffer[0],      m_pipeline->m_gbuffer[1],
                                m_pipeline->m_gbuffer[2],      m_pipeline->m_gbuffer[3],
                                m_pipeline->m_lightBuffers[0], m_pipeline->m_lightBuffers[1]};
    for (int i = 0; i < 6; ++i)
    {
        SCOPED_TRACE(i);
        D3DSURFACE_DESC desc = {};
        ASSERT_EQ(targets[i]->m_surface->GetDesc(&desc), D3D_OK);
        EXPECT_EQ(desc.Width, UINT(g_width));
        EXPECT_EQ(desc.Height, UINT(g_height));
        EXPECT_EQ(desc.Format, i == 3 ? D3DFMT_G32R32F : D3DFMT_A16B16G16R16F);
    }
}

// A missing program makes create return null after the file system's
// message and nothing more.
TEST_F(DeferredShadingTest, MissingProgramFailsCreate)
{
    for (const char* missing :
         {"deferred.vsh", "deferred.psh", "combine.psh", "quad.vsh", "ambient.psh", "fog.psh"})
    {
        SCOPED_TRACE(missing);
        TestPrograms::writeQuadPrograms();
        TestPrograms::writeDeferredPrograms();
        ASSERT_EQ(remove(missing), 0);
        g_fatalErrorShown = false;
        const size_t shown = m_boxes.boxes().size();
        EXPECT_EQ(DeferredShading::create(m_renderer), nullptr);
        ASSERT_EQ(m_boxes.boxes().size(), shown + 1);
        EXPECT_EQ(m_boxes.boxes().back().text, std::string(missing) + ": File not found.");
    }
}

// The depth pass only saves work: without its program the pipeline is made
// (after the file system's message) and every surface is shaded as before.
TEST_F(DeferredShadingTest, MissingDepthProgramLeavesOneDrawing)
{
    TestPrograms::writeQuadPrograms();
    TestPrograms::writeDeferredPrograms();
    ASSERT_EQ(remove("deferreddepth.psh"), 0);
    DeferredShading* pipeline = DeferredShading::create(m_renderer);
    ASSERT_NE(pipeline, nullptr);
    ASSERT_FALSE(m_boxes.boxes().empty());
    EXPECT_EQ(m_boxes.boxes().back().text, "deferreddepth.psh: File not found.");
    pipeline->beginGeometryPass();
    EXPECT_FALSE(pipeline->beginDepthPass());
    EXPECT_EQ(renderState(D3DRS_COLORWRITEENABLE), 0xFu);
    EXPECT_EQ(m_renderer->m_pixelShader, pipeline->m_deferredPixelShader);
    pipeline->endGeometryPass();
    delete pipeline;
}

}
