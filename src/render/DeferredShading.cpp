// The deferred pipeline: targets, shaders and the state each stage leaves for the next.
#include "render/DeferredShading.h"

#include "lights/LightAmbient.h"
#include "lights/LightFog.h"
#include "render/Quad.h"
#include "render/RenderTarget.h"
#include "render/Renderer.h"
#include "render/Shader.h"

DeferredShading* DeferredShading::create(Renderer* a_renderer)
{
    DeferredShading* pipeline = new DeferredShading();
    pipeline->m_renderer = a_renderer;

    // Every target is attempted before any failure counts.
    const D3DFORMAT formats[6] = {D3DFMT_A16B16G16R16F, D3DFMT_A16B16G16R16F, D3DFMT_A16B16G16R16F,
                                  D3DFMT_G32R32F,       D3DFMT_A16B16G16R16F, D3DFMT_A16B16G16R16F};
    RenderTarget** targets[6] = {&pipeline->m_gbuffer[0],      &pipeline->m_gbuffer[1],
                                 &pipeline->m_gbuffer[2],      &pipeline->m_gbuffer[3],
                                 &pipeline->m_lightBuffers[0], &pipeline->m_lightBuffers[1]};
    bool made = true;
    for (int i = 0; i < 6; ++i)
    {
        *targets[i] =
            RenderTarget::create(a_renderer, a_renderer->m_width, a_renderer->m_height, formats[i]);
        made = made && *targets[i];
    }
    if (made)
    {
        pipeline->m_deferredVertexShader =
            Shader::create(ShaderKind::Vertex, a_renderer, "deferred.vsh");
        if (pipeline->m_deferredVertexShader)
            pipeline->m_deferredPixelShader =
                Shader::create(ShaderKind::Pixel, a_renderer, "deferred.psh");
        made = pipeline->m_deferredPixelShader != nullptr;
    }
    if (made)
    {
        pipeline->m_combinePixelShader =
            Shader::create(ShaderKind::Pixel, a_renderer, "combine.psh");
        if (pipeline->m_combinePixelShader)
            pipeline->m_quadVertexShader =
                Shader::create(ShaderKind::Vertex, a_renderer, "quad.vsh");
        made = pipeline->m_quadVertexShader != nullptr;
    }
    // The depth pass only saves work: without its program every surface is shaded.
    if (made)
        pipeline->m_depthPixelShader =
            Shader::create(ShaderKind::Pixel, a_renderer, "deferreddepth.psh");
    // Without its ambient light or fog the pipeline would draw a frame
    // missing a pass (or call through null), so they count as well.
    if (made)
    {
        pipeline->m_ambient = LightAmbient::create(a_renderer);
        if (pipeline->m_ambient)
            pipeline->m_fog = LightFog::create(a_renderer);
        made = pipeline->m_fog != nullptr;
    }
    if (!made)
    {
        delete pipeline;
        return nullptr;
    }
    return pipeline;
}

DeferredShading::~DeferredShading()
{
    for (RenderTarget*& target : m_gbuffer)
    {
        delete target;
        target = nullptr;
    }
    for (RenderTarget*& target : m_lightBuffers)
    {
        delete target;
        target = nullptr;
    }
    for (Shader** shader : {&m_deferredVertexShader, &m_deferredPixelShader, &m_combinePixelShader,
                            &m_quadVertexShader, &m_depthPixelShader})
    {
        delete *shader;
        *shader = nullptr;
    }
    delete m_ambient;
    m_ambient = nullptr;
    delete m_fog;
    m_fog = nullptr;
}

void DeferredShading::beginGeometryPass()
{
    for (int32_t i = 0; i < 4; ++i)
        m_gbuffer[i]->bind(i);
    m_renderer->device()->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f,
                                0);
    m_renderer->setShaders({m_deferredVertexShader, m_deferredPixelShader});
    for (DWORD stage = 0; stage < 6; ++stage)
        m_renderer->setLinearFiltering(stage);
}

void DeferredShading::setViewConstants()
{
    D3DXMATRIX viewProjection;
    D3DXMatrixMultiply(&viewProjection, &m_view, &m_projection);
    m_deferredVertexShader->setMatrix("viewProjMatrix", viewProjection);
    m_deferredVertexShader->setMatrix("viewMatrix", m_view);
    m_deferredPixelShader->setVector("viewPosition", m_viewPosition);
}

bool DeferredShading::beginDepthPass()
{
    if (!m_depthPixelShader)
        return false;
    m_renderer->device()->SetRenderState(D3DRS_COLORWRITEENABLE, 0);
    m_renderer->setShaders({m_deferredVertexShader, m_depthPixelShader});
    return true;
}

// Both drawings run the same vertex program on the same vertices, so a
// surface's depth is the same to the bit in each, and less-or-equal passes
// exactly the nearest.
void DeferredShading::beginShadingPass()
{
    IDirect3DDevice9* device = m_renderer->device();
    device->SetRenderState(D3DRS_COLORWRITEENABLE, 0xF);
    device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
    device->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESSEQUAL);
    m_renderer->setShaders({m_deferredVertexShader, m_deferredPixelShader});
}

void DeferredShading::endGeometryPass()
{
    m_renderer->device()->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
    m_renderer->restoreBackBuffer();
}

void DeferredShading::beginLightPass(const float* a_ambientColor)
{
    IDirect3DDevice9* device = m_renderer->device();
    device->SetRenderState(D3DRS_ZENABLE, FALSE);
    device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
    clearTextures();
    m_lightBuffers[0]->bind(0);
    m_lightBuffers[1]->bind(1);
    // The depth buffer keeps the geometry's depth: self-illumination tests against it.
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
    m_gbuffer[1]->bindTexture(0);
    m_gbuffer[2]->bindTexture(1);
    m_gbuffer[3]->bindTexture(2);
    // G-buffer texels are fetched unfiltered.
    for (DWORD stage = 0; stage < 4; ++stage)
    {
        device->SetSamplerState(stage, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
        device->SetSamplerState(stage, D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP);
        m_renderer->setPointFiltering(stage);
    }
    m_ambient->m_color = D3DXVECTOR4(a_ambientColor);
    m_ambient->apply();
}

void DeferredShading::endLightPass()
{
    IDirect3DDevice9* device = m_renderer->device();
    device->SetRenderState(D3DRS_ZENABLE, TRUE);
    device->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    device->SetRenderTarget(0, m_renderer->m_backBuffer);
    m_renderer->m_width = m_renderer->m_backBufferWidth;
    m_renderer->m_height = m_renderer->m_backBufferHeight;
    device->SetRenderTarget(1, nullptr);
    device->SetRenderTarget(2, nullptr);
}

void DeferredShading::combine(RenderTarget& a_target, float a_contrast, float a_saturation,
                              float a_brightness)
{
    clearTextures();
    m_gbuffer[0]->bindTexture(0);
    m_lightBuffers[0]->bindTexture(1);
    m_lightBuffers[1]->bindTexture(2);
    for (DWORD stage = 0; stage < 3; ++stage)
        m_renderer->setPointFiltering(stage);
    m_combinePixelShader->setFloat("contrast", a_contrast);
    m_combinePixelShader->setFloat("saturation", a_saturation);
    m_combinePixelShader->setFloat("brightness", a_brightness);
    a_target.bind(0);
    m_renderer->m_quad->draw({m_quadVertexShader, m_combinePixelShader});
    a_target.unbind();
}

void DeferredShading::applyFog(RenderTarget& a_target, const float* a_color, float a_near,
                               float a_far)
{
    m_gbuffer[3]->bindTexture(0);
    a_target.bind(0);
    m_fog->m_color = D3DXVECTOR4(a_color);
    m_fog->m_farFallOff = a_far;
    // The fog never starts beyond its end.
    m_fog->m_nearFallOff = a_near <= a_far ? a_near : a_far;
    m_fog->apply();
    a_target.unbind();
}

// Nothing from an earlier pass stays bound on stages 0 to 3.
void DeferredShading::clearTextures()
{
    for (DWORD stage = 0; stage < 4; ++stage)
        m_renderer->device()->SetTexture(stage, nullptr);
}
