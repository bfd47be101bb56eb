// The scene's three passes.
#include "scene/Scene.h"

#include "core/Assert.h"
#include "lights/LightSpot.h"
#include "render/RenderTarget.h"
#include "render/Renderer.h"
#include "render/Shader.h"

Scene::Scene(Renderer* a_renderer) : m_renderer(a_renderer)
{
    D3DXMatrixIdentity(&m_worldMatrix);
}

// Culling follows whatever the last pass recorded (the self-illumination
// pass and the omni lights leave their own). A material is bound only when
// it differs from the previous mesh's; a mesh without one draws with the
// last bound.
void Scene::render()
{
    TARVO_ASSERT(m_renderer);
    m_renderer->device()->SetRenderState(D3DRS_CULLMODE, DWORD(m_renderer->m_cullMode));
    const uint32_t count = m_meshes.count();
    Material* bound = nullptr;
    for (uint32_t i = 0; i < count; ++i)
    {
        Mesh* mesh = m_meshes.at(i);
        if (mesh->m_material && mesh->m_material != bound)
        {
            mesh->m_material->bind();
            bound = mesh->m_material;
        }
        mesh->m_baseMatrix = m_worldMatrix;
        mesh->m_baseNormalMatrix = m_worldMatrix;
        mesh->draw(m_time, true);
    }
}

void Scene::renderLights()
{
    TARVO_ASSERT(m_renderer && m_camera);
    const D3DXMATRIX view = m_camera->viewMatrix();
    const D3DXMATRIX projection = m_camera->projectionMatrix();
    const D3DXVECTOR3 eye = m_camera->eye();
    const D3DXVECTOR3 target = m_camera->lookAt();
    D3DXVECTOR3 forward = target - eye;
    D3DXVec3Normalize(&forward, &forward);

    const uint32_t count = m_lights.count();
    for (uint32_t i = 0; i < count; ++i)
    {
        Light* light = m_lights.at(i);
        light->m_world = m_worldMatrix;
        light->m_position = light->m_positionTrack.sample(m_time);
        if (light->m_targetTrack.count() != 0)
            light->m_target = light->m_targetTrack.sample(m_time);
        light->m_view = view;
        light->m_projection = projection;
        light->m_viewDirection = D3DXVECTOR4(forward.x, forward.y, forward.z, 1.0f);
        light->apply();
    }
}

// Meshes keep the base matrices of the last material pass. Besides
// "viewProjMatrix", "viewMatrix" lets the vertex program turn sprite
// corners to face the camera.
void Scene::renderSelfIllumination()
{
    const D3DXMATRIX view = m_camera->viewMatrix();
    const D3DXMATRIX projection = m_camera->projectionMatrix();
    IDirect3DDevice9* device = m_renderer->device();
    device->SetRenderState(D3DRS_ZENABLE, TRUE);
    device->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
    m_renderer->m_cullMode = D3DCULL_CCW;

    m_renderer->m_pixelShader = m_selfIllumPixelShader;
    m_selfIllumPixelShader->bind();
    m_renderer->m_vertexShader = m_selfIllumVertexShader;
    m_selfIllumVertexShader->bind();
    D3DXMATRIX viewProjection;
    D3DXMatrixMultiply(&viewProjection, &view, &projection);
    m_selfIllumVertexShader->setMatrix("viewProjMatrix", viewProjection);
    m_selfIllumVertexShader->setMatrix("viewMatrix", view);

    const uint32_t count = m_meshes.count();
    for (uint32_t i = 0; i < count; ++i)
        m_meshes.at(i)->drawSelfIllumination(m_time);
}

// Both faces of every mesh are drawn: a shadow is cast by whatever the
// light sees, open meshes included. The culling recorded for the material
// pass is left as it is.
void Scene::renderShadowMap(LightSpot& a_light, RenderTarget& a_shadowMap)
{
    const D3DXVECTOR3 position = a_light.m_positionTrack.sample(m_time);
    const D3DXVECTOR3 target = a_light.m_targetTrack.count() != 0
                                   ? a_light.m_targetTrack.sample(m_time)
                                   : a_light.m_target;
    IDirect3DDevice9* device = m_renderer->device();
    a_shadowMap.bind(0);
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0x00000000, 1.0f, 0);
    device->SetRenderState(D3DRS_ZENABLE, TRUE);
    device->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    m_renderer->setShaders({m_depthVertexShader, m_depthPixelShader});
    m_depthVertexShader->setMatrix("viewProjMatrix", LightSpot::viewProjection(position, target));
    m_depthPixelShader->setVector("viewPosition",
                                  D3DXVECTOR4(position.x, position.y, position.z, 1.0f));
    const uint32_t count = m_meshes.count();
    for (uint32_t i = 0; i < count; ++i)
    {
        Mesh* mesh = m_meshes.at(i);
        mesh->m_baseMatrix = m_worldMatrix;
        mesh->m_baseNormalMatrix = m_worldMatrix;
        mesh->draw(m_time, true);
    }
    a_shadowMap.unbind();
}
