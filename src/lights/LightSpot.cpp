// Spot lights: creation, the light's projection and the pass.
#include "lights/LightSpot.h"

#include "app/Tarvo.h"
#include "core/Assert.h"
#include "render/Quad.h"
#include "render/RenderTarget.h"
#include "render/Renderer.h"
#include "render/Shader.h"
#include "render/Texture.h"
#include "scene/Camera.h"

namespace
{

// The spot's cone: 60 degrees, square, reaching as far as cameras see.
constexpr float kSpotFov = 1.0471976f;
constexpr float kSpotNear = 0.001f;
constexpr float kSpotFar = 5000.0f;
// Clip space to texture space, y flipped; the offset is half a texel of a
// 512-texel image past the centre.
constexpr float kBiasOffset = 0.5009765625f;

}  // namespace

LightSpot* LightSpot::create(Renderer* a_renderer, Tarvo* a_tarvo)
{
    TARVO_ASSERT(a_renderer);
    LightSpot* light = new LightSpot();
    if (!light->loadScreenShaders(a_renderer, "spot.psh"))
    {
        delete light;
        return nullptr;
    }
    light->m_texture = a_tarvo->m_textures.find("spotShadow");
    if (light->m_texture)
        return light;
    light->m_texture = Texture::load("spot.jpg", a_renderer);
    TARVO_ASSERT(light->m_texture);
    a_tarvo->m_textures.add("spotShadow", light->m_texture);
    return light;
}

LightSpot::~LightSpot()
{
    deleteShaders();
}

D3DXMATRIX LightSpot::viewProjection(const D3DXVECTOR3& a_position, const D3DXVECTOR3& a_target)
{
    const D3DXVECTOR3 up(0.0f, 1.0f, 0.0f);
    D3DXMATRIX look, projection, matrix;
    D3DXMatrixLookAtLH(&look, &a_position, &a_target, &up);
    D3DXMatrixPerspectiveFovLH(&projection, kSpotFov, 1.0f, kSpotNear, kSpotFar);
    D3DXMatrixMultiply(&matrix, &look, &projection);
    return matrix;
}

D3DXMATRIX LightSpot::spotMatrix(const D3DXVECTOR3& a_position, const D3DXVECTOR3& a_target)
{
    const D3DXMATRIX bias(0.5f, 0.0f, 0.0f, 0.0f, 0.0f, -0.5f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f,
                          kBiasOffset, kBiasOffset, 0.0f, 1.0f);
    const D3DXMATRIX light = viewProjection(a_position, a_target);
    D3DXMATRIX matrix;
    D3DXMatrixMultiply(&matrix, &light, &bias);
    return matrix;
}

// The light's own position and aim are used as they are, without the
// scene's world matrix; the camera's projection is the scene's (16:9).
void LightSpot::apply()
{
    if (!m_shadowMap)
        return;
    TARVO_ASSERT(m_depthSource && m_camera);

    m_pixelShader->setMatrix("spotMatrix", spotMatrix(m_position, m_target));
    D3DXMATRIX camera;
    const D3DXMATRIX view = m_camera->viewMatrix();
    const D3DXMATRIX projection = m_camera->projectionMatrix();
    D3DXMatrixMultiply(&camera, &view, &projection);
    m_pixelShader->setMatrix("camMatrix", camera);

    IDirect3DDevice9* device = m_renderer->device();
    device->SetRenderState(D3DRS_ZENABLE, FALSE);
    device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
    for (DWORD sampler = 3; sampler <= 5; ++sampler)
        m_renderer->setPointFiltering(sampler);
    for (DWORD sampler = 3; sampler <= 5; ++sampler)
    {
        device->SetSamplerState(sampler, D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP);
        device->SetSamplerState(sampler, D3DSAMP_ADDRESSV, D3DTADDRESS_WRAP);
    }
    m_texture->bind(3);
    m_shadowMap->bindTexture(4);
    m_depthSource->bindTexture(5);
    m_renderer->m_quad->draw({m_vertexShader, m_pixelShader});
}
