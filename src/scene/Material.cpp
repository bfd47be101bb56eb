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

// A texture left null keeps whatever its stage had.
void Material::bind()
{
    Shader* shader = m_renderer->m_pixelShader;
    if (m_texture0)
        m_texture0->bind(0);
    if (m_texture1)
        m_texture1->bind(1);
    if (m_texture3)
        m_texture3->bind(3);
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
        m_texture4->bind(4);
    if (m_texture5)
        m_texture5->bind(5);
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
