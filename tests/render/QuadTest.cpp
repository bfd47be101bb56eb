// The screen quad: its buffer and programs, the copy it makes under D3D9's
// pixel-centre convention, and the states its two draws leave behind.
#include "render/Quad.h"

#include "core/FatalError.h"
#include "render/RenderTarget.h"
#include "render/RendererFixture.h"
#include "render/Shader.h"
#include "render/TestPrograms.h"
#include "render/VertexBuffer.h"
#include "support/CopyPattern.h"

#include <gtest/gtest.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

namespace
{

using QuadTest = RendererFixture;

const UINT g_width = 256;
const UINT g_height = 144;
const CopyPattern g_pattern(g_width, g_height);

// The quad without a half-pixel offset, filtering linearly as the passes do.
int expected(UINT a_x, UINT a_y, int a_shift)
{
    return g_pattern.expected(a_x, a_y, a_shift, true);
}

// A plain texture of the ramps, written through a dynamic texture's lock.
IDirect3DTexture9* rampTexture(IDirect3DDevice9* a_device)
{
    IDirect3DTexture9* texture = nullptr;
    EXPECT_EQ(a_device->CreateTexture(g_width, g_height, 1, D3DUSAGE_DYNAMIC, D3DFMT_A8R8G8B8,
                                      D3DPOOL_DEFAULT, &texture, nullptr),
              D3D_OK);
    if (!texture)
        return nullptr;
    D3DLOCKED_RECT locked = {};
    EXPECT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
    for (UINT y = 0; y < g_height; ++y)
    {
        DWORD* row = reinterpret_cast<DWORD*>(static_cast<unsigned char*>(locked.pBits) +
                                              y * UINT(locked.Pitch));
        for (UINT x = 0; x < g_width; ++x)
            row[x] = g_pattern.texel(x, y);
    }
    texture->UnlockRect(0);
    return texture;
}

DWORD renderState(IDirect3DDevice9* a_device, D3DRENDERSTATETYPE a_state)
{
    DWORD value = 0xDEAD;
    a_device->GetRenderState(a_state, &value);
    return value;
}

DWORD samplerState(IDirect3DDevice9* a_device, DWORD a_sampler, D3DSAMPLERSTATETYPE a_type)
{
    DWORD value = 0xDEAD;
    a_device->GetSamplerState(a_sampler, a_type, &value);
    return value;
}

}

// The quad is four 20-byte XYZ | TEX1 vertices with "quad.vsh" and
// "quad.psh"; a second quad has programs of its own.
TEST_F(QuadTest, HoldsItsVerticesAndPrograms)
{
    const Quad* quad = m_renderer->m_quad;
    ASSERT_NE(quad, nullptr);
    EXPECT_EQ(quad->m_renderer, m_renderer);
    ASSERT_NE(quad->m_vertexBuffer, nullptr);
    EXPECT_EQ(quad->m_vertexBuffer->m_vertexCount, 4u);
    EXPECT_EQ(quad->m_vertexBuffer->m_vertexSize, 20u);
    EXPECT_EQ(quad->m_vertexBuffer->m_fvf, 0x102u);
    ASSERT_NE(quad->m_quadShaders.vertex, nullptr);
    ASSERT_NE(quad->m_quadShaders.pixel, nullptr);
    EXPECT_EQ(quad->m_quadShaders.vertex->m_kind, ShaderKind::Vertex);
    EXPECT_EQ(quad->m_quadShaders.pixel->m_kind, ShaderKind::Pixel);

    Quad* second = Quad::create(m_renderer);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second->m_quadShaders.vertex, quad->m_quadShaders.vertex);
    EXPECT_NE(second->m_vertexBuffer, quad->m_vertexBuffer);
    delete second;
}

// A missing program makes no quad, and the file system's message is the
// only one: the vertex program is read first and stops the creation.
TEST_F(QuadTest, MissingProgramMakesNoQuad)
{
    const char* cases[] = {"quad.vsh", "quad.psh"};
    for (const char* missing : cases)
    {
        SCOPED_TRACE(missing);
        TestPrograms::writeQuadPrograms();
        ASSERT_EQ(remove(missing), 0);
        g_fatalErrorShown = false;
        const size_t shown = m_boxes.boxes().size();
        EXPECT_EQ(Quad::create(m_renderer), nullptr);
        ASSERT_EQ(m_boxes.boxes().size(), shown + 1);
        EXPECT_EQ(m_boxes.boxes().back().text, std::string(missing) + ": File not found.");
    }
}

// Both draws copy the image on sampler 0 pixel for pixel as D3D9 samples it,
// clamped at the edges even when sampler 0 wrapped before; a pair whose vertex
// shader is another instance of "quad.vsh" gets "yscale" 1 as well, after a
// screen copy set it to 0.5, and becomes the renderer's current pair.
TEST_F(QuadTest, CopiesTheImageOnSamplerZero)
{
    IDirect3DTexture9* source = rampTexture(device());
    ASSERT_NE(source, nullptr);
    RenderTarget* target = RenderTarget::create(m_renderer, g_width, g_height, D3DFMT_A8R8G8B8);
    ASSERT_NE(target, nullptr);
    Quad* quad = m_renderer->m_quad;
    Shader* otherVertex = Shader::create(ShaderKind::Vertex, m_renderer, "quad.vsh");
    ASSERT_NE(otherVertex, nullptr);
    const ShaderPair otherPair = {otherVertex, quad->m_quadShaders.pixel};

    const struct
    {
        const char* name;
        bool ownPrograms;
    } cases[] = {
        {"draw() with the quad's programs", true},
        {"draw(pair) with another quad.vsh, after drawScreen(0.5)", false},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        target->bind(0);
        device()->SetTexture(0, source);
        if (!c.ownPrograms)
        {
            ReturnCode screen = quad->drawScreen(0.5f);
            EXPECT_TRUE(screen.m_checked);
        }
        device()->Clear(0, nullptr, D3DCLEAR_TARGET, 0x00000000, 1.0f, 0);
        device()->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP);
        device()->SetSamplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_WRAP);
        ReturnCode drawn = c.ownPrograms ? quad->draw() : quad->draw(otherPair);
        EXPECT_TRUE(drawn.m_checked);
        EXPECT_TRUE(drawn.succeeded());
        target->unbind();
        EXPECT_EQ(m_renderer->m_vertexShader,
                  c.ownPrograms ? quad->m_quadShaders.vertex : otherVertex);
        EXPECT_EQ(m_renderer->m_pixelShader, quad->m_quadShaders.pixel);

        const std::vector<DWORD> pixels = readArgb(target->m_surface);
        int worst = 0;
        UINT worstX = 0;
        UINT worstY = 0;
        for (UINT y = 0; y < g_height; ++y)
            for (UINT x = 0; x < g_width; ++x)
                for (int shift : {0, 8, 16, 24})
                {
                    const int want = shift == 24 ? 255 : expected(x, y, shift);
                    const int error =
                        abs(CopyPattern::channel(pixels[size_t(y) * g_width + x], shift) - want);
                    if (error > worst)
                    {
                        worst = error;
                        worstX = x;
                        worstY = y;
                    }
                }
        EXPECT_LE(worst, 1) << "at pixel (" << worstX << ", " << worstY << ")";
    }
    delete otherVertex;
    delete target;
    source->Release();
}

// Both draws ignore depth: they draw where the depth test would pass nothing
// and write no depth, so a later draw at the same depth still passes a
// "less" test. Afterwards the depth test and writes are on again.
TEST_F(QuadTest, DrawsIgnoreDepth)
{
    RenderTarget* white = RenderTarget::create(m_renderer, 16, 16, D3DFMT_A8R8G8B8);
    ASSERT_NE(white, nullptr);
    white->bind(0);
    device()->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFFFFFFFF, 1.0f, 0);
    white->unbind();
    Quad* quad = m_renderer->m_quad;
    const size_t centre = size_t(360) * 1280 + 640;
    const char* cases[] = {"draw", "drawScreen"};
    for (const char* name : cases)
    {
        SCOPED_TRACE(name);
        white->bindTexture(0);
        device()->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
        device()->SetRenderState(D3DRS_ZFUNC, D3DCMP_NEVER);
        device()->SetRenderState(D3DRS_ZENABLE, TRUE);
        device()->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
        ReturnCode drawn = strcmp(name, "draw") == 0 ? quad->draw() : quad->drawScreen(1.0f);
        EXPECT_TRUE(drawn.m_checked);
        EXPECT_EQ(renderState(device(), D3DRS_ZENABLE), DWORD(TRUE));
        EXPECT_EQ(renderState(device(), D3DRS_ZWRITEENABLE), DWORD(TRUE));
        EXPECT_EQ(readArgb(m_renderer->m_backBuffer)[centre] & 0xFFFFFF, 0xFFFFFFu)
            << "the quad was depth tested";

        // The same vertices at the same depth 0 under "less" pass only where
        // the depth buffer still holds 1.
        device()->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
        device()->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESS);
        quad->m_vertexBuffer->bind();
        device()->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
        const std::vector<DWORD> probe = readArgb(m_renderer->m_backBuffer);
        EXPECT_EQ(probe[centre] & 0xFFFFFF, 0xFFFFFFu) << "the quad wrote depth";
        EXPECT_EQ(probe[0] & 0xFFFFFF, 0xFFFFFFu) << "the quad wrote depth";
    }
    device()->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESSEQUAL);
    delete white;
}

// Whatever the states were, draw leaves depth test and writes on, samplers 0
// and 1 wrapping and linear filtering on samplers 2 and 3; drawScreen leaves
// depth on and sampler 0 wrapping, and samplers 1 to 3 as they were.
TEST_F(QuadTest, DrawsLeaveTheStatesScenesExpect)
{
    Quad* quad = m_renderer->m_quad;
    const DWORD mirror = D3DTADDRESS_MIRROR;
    const DWORD wrap = D3DTADDRESS_WRAP;
    const DWORD point = D3DTEXF_POINT;
    const DWORD linear = D3DTEXF_LINEAR;
    const struct
    {
        const char* name;
        bool screen;
        DWORD address[4];  // U and V of samplers 0 to 3 afterwards
        DWORD filter[4];   // min, mag and mip of samplers 0 to 3 afterwards
    } cases[] = {
        {"draw", false, {wrap, wrap, mirror, mirror}, {point, point, linear, linear}},
        {"drawScreen", true, {wrap, mirror, mirror, mirror}, {point, point, point, point}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        device()->SetRenderState(D3DRS_ZENABLE, FALSE);
        device()->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
        for (DWORD sampler = 0; sampler < 4; ++sampler)
        {
            device()->SetSamplerState(sampler, D3DSAMP_ADDRESSU, mirror);
            device()->SetSamplerState(sampler, D3DSAMP_ADDRESSV, mirror);
            for (D3DSAMPLERSTATETYPE type :
                 {D3DSAMP_MINFILTER, D3DSAMP_MAGFILTER, D3DSAMP_MIPFILTER})
                device()->SetSamplerState(sampler, type, point);
        }
        ReturnCode drawn = c.screen ? quad->drawScreen(0.75f) : quad->draw();
        EXPECT_TRUE(drawn.m_checked);
        EXPECT_EQ(renderState(device(), D3DRS_ZENABLE), DWORD(TRUE));
        EXPECT_EQ(renderState(device(), D3DRS_ZWRITEENABLE), DWORD(TRUE));
        for (DWORD sampler = 0; sampler < 4; ++sampler)
        {
            SCOPED_TRACE("sampler " + std::to_string(sampler));
            EXPECT_EQ(samplerState(device(), sampler, D3DSAMP_ADDRESSU), c.address[sampler]);
            EXPECT_EQ(samplerState(device(), sampler, D3DSAMP_ADDRESSV), c.address[sampler]);
            for (D3DSAMPLERSTATETYPE type :
                 {D3DSAMP_MINFILTER, D3DSAMP_MAGFILTER, D3DSAMP_MIPFILTER})
                EXPECT_EQ(samplerState(device(), sampler, type), c.filter[sampler]);
        }
    }
}

// A quad without a renderer, or drawn without its vertices, is a programming error.
TEST_F(QuadTest, MisuseFailsAssertion)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(Quad::create(nullptr), "a_renderer, file Quad\\.cpp");
    Quad* quad = m_renderer->m_quad;
    delete quad->m_vertexBuffer;
    quad->m_vertexBuffer = nullptr;
    EXPECT_DEATH(ReturnCode drawn = quad->draw(), "m_vertexBuffer, file Quad\\.cpp");
    EXPECT_DEATH(ReturnCode drawn = quad->drawScreen(1.0f), "m_vertexBuffer, file Quad\\.cpp");
}
