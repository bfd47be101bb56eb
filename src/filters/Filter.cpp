// The filter base: no names, and the helpers the concrete filters share.
#include "filters/Filter.h"

#include "render/Renderer.h"
#include "render/Shader.h"

Filter::~Filter() = default;

bool Filter::setParameter(const char*, int32_t)
{
    return false;
}

bool Filter::setParameter(const char*, float)
{
    return false;
}

bool Filter::loadShaders(Renderer* a_renderer, const char* a_pixelName, Shader*& a_vertex,
                         Shader*& a_pixel)
{
    a_vertex = Shader::create(ShaderKind::Vertex, a_renderer, "quad.vsh");
    a_pixel = Shader::create(ShaderKind::Pixel, a_renderer, a_pixelName);
    return a_vertex && a_pixel;
}

void Filter::setLinearClamp(Renderer* a_renderer, DWORD a_stage)
{
    a_renderer->setLinearFiltering(a_stage);
    IDirect3DDevice9* device = a_renderer->device();
    device->SetSamplerState(a_stage, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
    device->SetSamplerState(a_stage, D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP);
}

void Filter::setPointClamp(Renderer* a_renderer, DWORD a_stage)
{
    a_renderer->setPointFiltering(a_stage);
    IDirect3DDevice9* device = a_renderer->device();
    device->SetSamplerState(a_stage, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
    device->SetSamplerState(a_stage, D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP);
}

RenderTarget* Filter::passTarget(Renderer* a_renderer, int32_t a_pass, int32_t a_passes,
                                 RenderTarget* a_target)
{
    if (a_pass == a_passes - 1)
        return a_target;
    return a_renderer->getTarget(static_cast<uint32_t>(a_pass % 2));
}

RenderTarget* Filter::passSource(Renderer* a_renderer, int32_t a_pass, RenderTarget* a_source)
{
    if (a_pass == 0)
        return a_source;
    return a_renderer->getTarget(static_cast<uint32_t>((a_pass - 1) % 2));
}
