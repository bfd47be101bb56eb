// The ambient light: "fog.psh" over the screen quad, added into whatever
// the light buffers hold.
#include "lights/LightFog.h"

#include "core/Assert.h"
#include "render/Quad.h"
#include "render/Renderer.h"
#include "render/Shader.h"

LightFog::~LightFog()
{
    deleteShaders();
}

// Both shaders are this light's own objects, even though every full-screen
// pass loads the same "quad.vsh": each light deletes exactly what it made,
// and its destructor deletes both before the base's runs.
// A missing file has already shown the file system's message (the shader
// loader reports it), so failing here adds none; the shader that did load
// goes with the partly built light.
// The renderer is never null here: the pipeline creates its lights from its
// own renderer, so a null one is a programming error rather than a condition
// to report.
LightFog* LightFog::create(Renderer* a_renderer)
{
    TARVO_ASSERT(a_renderer);
    LightFog* light = new LightFog();
    if (!light->loadScreenShaders(a_renderer, "fog.psh"))
    {
        delete light;
        return nullptr;
    }
    return light;
}

void LightFog::apply()
{
    IDirect3DDevice9* device = m_renderer->device();
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    // Doubled, alpha included; "fog.psh" halves it back.
    m_pixelShader->setVector("color", m_color * (2.0f * m_intensity));
    m_pixelShader->setFloat("nearFallOff", m_nearFallOff);
    m_pixelShader->setFloat("farFallOff", m_farFallOff);
    m_renderer->m_quad->draw({m_vertexShader, m_pixelShader});
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
}
