// The depth of field.
#include "filters/FilterDof.h"

#include "core/Assert.h"
#include "render/Quad.h"
#include "render/RenderTarget.h"
#include "render/Renderer.h"
#include "render/Shader.h"

#include <string.h>

namespace
{

const DWORD kSourceCount = 4;
const DWORD kGBufferStage = 4;
// The program reads every source at its texel centres, unfiltered, from
// these stages, which hold the sources of stages 0 to 3 in turn during the
// draw and nothing after it.
const DWORD kFirstNearestStage = 8;

}

FilterDof::~FilterDof()
{
    delete m_vertexShader;
    delete m_pixelShader;
}

const char* FilterDof::name() const
{
    return "dof";
}

ReturnCode FilterDof::init(Renderer* a_renderer)
{
    m_renderer = a_renderer;
    const bool loaded = loadShaders(a_renderer, "dof.psh", m_vertexShader, m_pixelShader);
    return ReturnCode(loaded ? ReturnCode::kSuccess : ReturnCode::kFailure, true);
}

bool FilterDof::setParameter(const char* a_name, float a_value)
{
    if (strcmp(a_name, "far") == 0)
    {
        m_far = a_value;
        return true;
    }
    if (strcmp(a_name, "glow") == 0)
    {
        m_glowForce = a_value;
        return true;
    }
    return false;
}

// The sources are checked before anything reaches the device. The G-buffer
// target on sampler 4 is not required; without programs (init failed) the
// filter draws nothing.
void FilterDof::apply(RenderTarget* a_target, RenderTarget* a_source1, RenderTarget* a_source2,
                      RenderTarget* a_source3, RenderTarget* a_source4)
{
    TARVO_ASSERT(a_source1 != 0 && a_source2 != 0 && a_source3 != 0 && a_source4 != 0);
    if (!m_vertexShader || !m_pixelShader)
        return;
    m_pixelShader->setFloat("far", m_far);
    m_pixelShader->setFloat("glowForce", m_glowForce);
    IDirect3DDevice9* device = m_renderer->device();
    for (DWORD stage = 0; stage < kSourceCount; ++stage)
    {
        device->SetSamplerState(stage, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
        device->SetSamplerState(stage, D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP);
    }
    for (DWORD stage = 0; stage <= kGBufferStage; ++stage)
        m_renderer->setLinearFiltering(stage);
    a_target->bind(0);
    RenderTarget* const sources[kSourceCount] = {a_source1, a_source2, a_source3, a_source4};
    for (DWORD stage = 0; stage < kSourceCount; ++stage)
    {
        sources[stage]->bindTexture(stage);
        setPointClamp(m_renderer, kFirstNearestStage + stage);
        sources[stage]->bindTexture(kFirstNearestStage + stage);
    }
    if (m_gbufferTarget)
        m_gbufferTarget->bindTexture(kGBufferStage);
    m_renderer->m_quad->draw({m_vertexShader, m_pixelShader});
    for (DWORD stage = 0; stage < kSourceCount; ++stage)
        device->SetTexture(kFirstNearestStage + stage, nullptr);
}
