// The light base: nothing to draw; the tracks free their keys themselves.
#include "lights/Light.h"

#include "render/Shader.h"

Light::~Light() = default;

void Light::apply() {}

bool Light::loadScreenShaders(Renderer* a_renderer, const char* a_pixelName)
{
    m_renderer = a_renderer;
    m_pixelShader = Shader::create(ShaderKind::Pixel, a_renderer, a_pixelName);
    m_vertexShader = Shader::create(ShaderKind::Vertex, a_renderer, "quad.vsh");
    return m_pixelShader && m_vertexShader;
}

void Light::deleteShaders()
{
    delete m_pixelShader;
    m_pixelShader = nullptr;
    delete m_vertexShader;
    m_vertexShader = nullptr;
}
