// Materials: defaults and binding.
#include "scene/Material.h"

#include "core/Assert.h"
#include "render/RenderTarget.h"
#include "render/Renderer.h"
#include "render/Shader.h"
#include "render/Texture.h"

Material::Material(Renderer* a_renderer) : m_renderer(a_renderer)
{
    TARVO_ASSERT(a_renderer);
}

Material::~Material()
{
    delete m_cubeTarget;
    m_cubeTarget = nullptr;
}

// The stage's texture and its filter: a texture of one colour reads the
// same through any filter, and the rasteriser reads one texel for a point
// sample where a linear one costs eight (two levels of four).
static void bindTexture(Renderer* a_renderer, Texture* a_texture, DWORD a_stage)
{
    a_texture->bind(a_stage);
    if (a_texture->m_uniform)
        a_renderer->setPointFiltering(a_stage);
    else
        a_renderer->setLinearFiltering(a_stage);
}

// A texture left null keeps whatever its stage had.
void Material::bind()
{
    Shader* shader = m_renderer->m_pixelShader;
    if (m_texture0)
        bindTexture(m_renderer, m_texture0, 0);
    if (m_texture1)
        bindTexture(m_renderer, m_texture1, 1);
    if (m_texture3)
        bindTexture(m_renderer, m_texture3, 3);
    if (m_cubeTarget)
    {
        shader->setBool("cubemap", TRUE);
        m_cubeTarget->bindTexture(2);
    }
    else
    {
        shader->setBool("cubemap", FALSE);
    }
    if (m_texture4)
        bindTexture(m_renderer, m_texture4, 4);
    if (m_texture5)
        bindTexture(m_renderer, m_texture5, 5);
    shader->setVector("diffuseColor", m_diffuseColor);
    shader->setFloat("glossiness", m_glossiness);
    shader->setFloat("specularPower", m_specularPower);
    shader->setVector("uvScroll", m_uvScroll);
}

bool Material::selfIlluminated() const
{
    return !(m_selfIllumColor.x == -1.0f && m_selfIllumColor.y == -1.0f &&
             m_selfIllumColor.z == -1.0f && m_selfIllumColor.w == 1.0f);
}
