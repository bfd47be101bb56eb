// The directional blur.
#include "filters/FilterRadialBlur.h"

#include "core/LauncherSettings.h"

#include "core/Assert.h"
#include "render/Quad.h"
#include "render/RenderTarget.h"
#include "render/Renderer.h"
#include "render/Shader.h"
#include "scene/CameraShake.h"
#include "sound/Time.h"

#include <d3dx9.h>

#include <string.h>

namespace
{

// Power 1 moves the first pass by 1/6400 of the texture: a fifth of a pixel
// of the 1280-pixel-wide internal image.
const float kPowerScale = static_cast<float>(kFrameWidth);
const float kPowerDivisor = 5.0f;
// The direction follows the shake noise at four time units per second.
const double kNoiseRate = 4.0;

}

FilterRadialBlur::~FilterRadialBlur()
{
    delete m_vertexShader;
    delete m_pixelShader;
}

const char* FilterRadialBlur::name() const
{
    return "radialblur";
}

// The direction samples the camera-shake noise, built here if no camera has
// built it yet.
ReturnCode FilterRadialBlur::init(Renderer* a_renderer)
{
    m_renderer = a_renderer;
    loadShaders(a_renderer, "radialblur.psh", m_vertexShader, m_pixelShader);
    CameraShake::build();
    return ReturnCode(ReturnCode::kSuccess, true);
}

bool FilterRadialBlur::setParameter(const char* a_name, int32_t a_value)
{
    if (strcmp(a_name, "passes") == 0)
    {
        m_passes = a_value;
        return true;
    }
    return false;
}

bool FilterRadialBlur::setParameter(const char* a_name, float a_value)
{
    if (strcmp(a_name, "power") == 0)
    {
        m_power = a_value;
        return true;
    }
    return false;
}

// The direction is the x and y motion of the shake noise over one time unit
// from Time::g_time x 4, normalised; pass k (from 1) offsets by k times the
// first pass's "dir", whose length is m_power / 6400. Scratch targets
// ping-pong as in the blur.
void FilterRadialBlur::apply(RenderTarget* a_target, RenderTarget* a_source1, RenderTarget*,
                             RenderTarget*, RenderTarget*)
{
    TARVO_ASSERT(a_target && a_source1);
    if (m_power <= 0.0f)
    {
        a_source1->bindTexture(0);
        a_target->bind(0);
        m_renderer->m_quad->draw();
        return;
    }

    const float t0 = static_cast<float>(static_cast<double>(Time::g_time) * kNoiseRate);
    const float t1 = t0 + 1.0f;
    const D3DXVECTOR3 p0 = CameraShake::g_shakeNoise.sample(t0);
    const D3DXVECTOR3 p1 = CameraShake::g_shakeNoise.sample(t1);
    const D3DXVECTOR4 motion(p1.x - p0.x, p1.y - p0.y, 0.0f, 0.0f);
    D3DXVECTOR4 direction;
    D3DXVec4Normalize(&direction, &motion);
    const float scale = m_power / kPowerScale / kPowerDivisor;

    setLinearClamp(m_renderer, 0);
    if (!m_vertexShader || !m_pixelShader)
        return;
    for (int32_t pass = 0; pass < m_passes; ++pass)
    {
        const D3DXVECTOR4 reach = static_cast<float>(pass + 1) * direction;
        m_pixelShader->setVector("dir", scale * reach);
        passTarget(m_renderer, pass, m_passes, a_target)->bind(0);
        passSource(m_renderer, pass, a_source1)->bindTexture(0);
        m_renderer->m_quad->draw({m_vertexShader, m_pixelShader});
    }
}
