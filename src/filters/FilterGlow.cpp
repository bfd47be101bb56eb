// The glow filter, which keeps the base's parameter setters.
#include "filters/FilterGlow.h"

#include "filters/FilterBlur.h"
#include "render/Shader.h"

FilterGlow::~FilterGlow()
{
    delete m_vertexShader;
    delete m_blur;
}

const char* FilterGlow::name() const
{
    return "Glow";
}

ReturnCode FilterGlow::init(Renderer* a_renderer)
{
    m_renderer = a_renderer;
    m_vertexShader = Shader::create(ShaderKind::Vertex, a_renderer, "quad.vsh");
    m_blur = new FilterBlur();
    m_blur->init(a_renderer);
    return ReturnCode(ReturnCode::kSuccess, true);
}

void FilterGlow::apply(RenderTarget*, RenderTarget*, RenderTarget*, RenderTarget*, RenderTarget*) {}
