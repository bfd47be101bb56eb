// Omni lights: the shared programs, the volume's transform and the pass.
#include "lights/LightOmni.h"

#include "app/Tarvo.h"
#include "core/Assert.h"
#include "render/Renderer.h"
#include "render/Shader.h"
#include "scene/Mesh.h"
#include "scene/Scene.h"

namespace
{

// The shader registered under a_name, loaded and registered first if need be.
Shader* sharedShader(Tarvo* a_tarvo, Renderer* a_renderer, ShaderKind a_kind, const char* a_name)
{
    Shader* shader = a_tarvo->m_shaders.find(a_name);
    if (!shader)
    {
        shader = Shader::create(a_kind, a_renderer, a_name);
        a_tarvo->m_shaders.add(a_name, shader);
    }
    return shader;
}

}  // namespace

// A program that does not load ends in the container's assertion, after
// the loader's message: the programs are part of the shipped content.
LightOmni* LightOmni::create(Renderer* a_renderer, Tarvo* a_tarvo)
{
    TARVO_ASSERT(a_renderer);
    LightOmni* light = new LightOmni();
    light->m_renderer = a_renderer;
    light->m_pixelShader = sharedShader(a_tarvo, a_renderer, ShaderKind::Pixel, "omni.psh");
    light->m_vertexShader = sharedShader(a_tarvo, a_renderer, ShaderKind::Vertex, "omni.vsh");
    // The volume comes from the primitives scene, which is loaded before any
    // scene with lights and holds none itself.
    const Scene* primitives = a_tarvo->m_primitives;
    if (light->m_pixelShader && light->m_vertexShader && primitives &&
        primitives->m_meshes.count() != 0)
        light->m_mesh = primitives->m_meshes.at(0);
    if (!light->m_mesh)
    {
        delete light;
        return nullptr;
    }
    return light;
}

// Culling clockwise faces keeps the far side of the sphere, which stays on
// screen when the camera enters the volume; it is depth tested against the
// scene's surfaces only while it draws, and the pass leaves depth testing
// off with the usual comparison. The light pass bound the G-buffer on samplers 0
// to 2; the screen-quad passes before this one left samplers 0 and 1
// filtering, so they go back to reading texel for texel, and so does 2.
void LightOmni::apply()
{
    IDirect3DDevice9* device = m_renderer->device();
    device->SetRenderState(D3DRS_ZENABLE, FALSE);
    device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CW);
    m_renderer->m_cullMode = D3DCULL_CW;
    for (DWORD sampler = 0; sampler < 3; ++sampler)
        m_renderer->setPointFiltering(sampler);

    D3DXVECTOR4 position;
    D3DXVec3Transform(&position, &m_position, &m_world);
    m_pixelShader->setVector("position", position);
    m_pixelShader->setVector("viewDirection", m_viewDirection);
    m_pixelShader->setVector("color", m_color * m_intensity);
    m_pixelShader->setFloat("nearFallOff", m_nearFallOff);
    m_pixelShader->setFloat("farFallOff", m_farFallOff);
    m_pixelShader->setFloat("override", m_override);
    // Where the G-buffer texel of a pixel has its centre: half a texel
    // past the corner the pixel's position lands on.
    m_pixelShader->setVector("halfTexel",
                             D3DXVECTOR4(0.5f / float(m_renderer->m_width),
                                         0.5f / float(m_renderer->m_height), 0.0f, 0.0f));

    const float scale = 2.0f * m_farFallOff;
    D3DXMATRIX scaling, translation, transform;
    D3DXMatrixScaling(&scaling, scale, scale, scale);
    D3DXMatrixTranslation(&translation, m_position.x, m_position.y, m_position.z);
    D3DXMatrixMultiply(&transform, &scaling, &translation);
    D3DXMatrixMultiply(&transform, &transform, &m_world);
    D3DXMatrixMultiply(&transform, &transform, &m_view);
    D3DXMatrixMultiply(&transform, &transform, &m_projection);
    m_vertexShader->setMatrix("worldViewProj", transform);

    m_renderer->m_pixelShader = m_pixelShader;
    m_pixelShader->bind();
    m_renderer->m_vertexShader = m_vertexShader;
    m_vertexShader->bind();
    // Only a surface in front of the volume's far side can be in reach: the
    // geometry pass's depth, still bound, lets the rasteriser drop the rest
    // (the sky, walls beyond the light) before the lighting program runs.
    // The far side stays on screen with the camera inside the volume too.
    device->SetRenderState(D3DRS_ZENABLE, TRUE);
    device->SetRenderState(D3DRS_ZFUNC, D3DCMP_GREATEREQUAL);
    m_mesh->draw(0.0f, false);
    device->SetRenderState(D3DRS_ZENABLE, FALSE);
    device->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESSEQUAL);
}
