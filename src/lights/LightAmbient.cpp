// The ambient light: "ambient.psh" over the screen quad, added into whatever
// the light buffers hold.
#include "lights/LightAmbient.h"

#include "core/Assert.h"
#include "render/Quad.h"
#include "render/Renderer.h"
#include "render/Shader.h"

LightAmbient::~LightAmbient()
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
LightAmbient* LightAmbient::create(Renderer* a_renderer)
{
    TARVO_ASSERT(a_renderer);
    LightAmbient* light = new LightAmbient();
    if (!light->loadScreenShaders(a_renderer, "ambient.psh"))
    {
        delete light;
        return nullptr;
    }
    return light;
}

void LightAmbient::apply()
{
    IDirect3DDevice9* device = m_renderer->device();
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
    m_pixelShader->setVector("color", m_color * m_intensity);
    m_renderer->m_quad->draw({m_vertexShader, m_pixelShader});
}
