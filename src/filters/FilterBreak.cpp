// The "Break" effect.
#include "filters/FilterBreak.h"

#include "core/Assert.h"
#include "render/Quad.h"
#include "render/RenderTarget.h"
#include "render/Renderer.h"
#include "render/Shader.h"
#include "render/Texture.h"
#include "sound/Soundtrack.h"
#include "sound/Time.h"

#include <string.h>

namespace
{

// Bins 20 to 39 of the 256-point spectrum at 44.1 kHz: about 3.4 to 6.9 kHz,
// where the snare and the hi-hats are.
const int kFirstBin = 20;
const int kBinCount = 20;
const float kBinScale = 100.0f;

const DWORD kNoiseStage = 1;
const DWORD kOverlayStage = 2;
// Not 3: the screen quad sets linear filtering on stages 2 and 3, and the
// rows are read texel for texel.
const DWORD kRowsStage = 4;

}

FilterBreak::~FilterBreak()
{
    delete m_noise;
    delete m_vertexShader;
    delete m_pixelShader;
    delete m_bareShader;
    delete m_stillShader;
    delete m_rowsShader;
    delete m_rows;
}

const char* FilterBreak::name() const
{
    return "Break";
}

ReturnCode FilterBreak::init(Renderer* a_renderer)
{
    m_renderer = a_renderer;
    if (!loadShaders(a_renderer, "break.psh", m_vertexShader, m_pixelShader))
        return ReturnCode(ReturnCode::kFailure, true);
    m_bareShader = Shader::create(ShaderKind::Pixel, a_renderer, "breakbare.psh");
    m_stillShader = Shader::create(ShaderKind::Pixel, a_renderer, "breakstill.psh");
    m_rowsShader = Shader::create(ShaderKind::Pixel, a_renderer, "breakrows.psh");
    m_noise = Texture::load("noise2.jpg", a_renderer);
    return ReturnCode(ReturnCode::kSuccess, true);
}

bool FilterBreak::setParameter(const char* a_name, float a_value)
{
    if (strcmp(a_name, "overlayForce") == 0)
    {
        m_overlayForce = a_value;
        return true;
    }
    if (strcmp(a_name, "overlayForce2") == 0)
    {
        m_overlayForce2 = a_value;
        return true;
    }
    if (strcmp(a_name, "brightness") == 0)
    {
        m_brightness = a_value;
        return true;
    }
    return false;
}

float FilterBreak::force(const float* a_spectrum)
{
    float sum = 0.0f;
    for (int bin = kFirstBin; bin < kFirstBin + kBinCount; ++bin)
        sum = static_cast<float>(static_cast<double>(sum) +
                                 static_cast<double>(a_spectrum[bin]) * kBinScale);
    return sum;
}

// The programs weigh the overlay by its force clamped from 0 and tear by
// the music's force clamped from 0, so a force of 0 or less (or NaN, which no
// comparison passes) draws as none.
Shader* FilterBreak::program(float a_force) const
{
    if (m_overlayForce > 0.0f || m_overlayForce2 > 0.0f)
        return m_pixelShader;
    Shader* bare = m_bareShader && m_rowsShader ? m_bareShader : m_pixelShader;
    if (a_force > 0.0f)
        return bare;
    return m_stillShader ? m_stillShader : bare;
}

bool FilterBreak::drawRows(int32_t a_height, float a_force)
{
    if (!m_rows || m_rows->m_height != a_height)
    {
        delete m_rows;
        m_rows = RenderTarget::create(m_renderer, 1, a_height, D3DFMT_A32B32G32R32F);
        if (!m_rows)
            return false;
    }
    m_rows->bind(0);
    m_rowsShader->setFloat("force", a_force);
    m_rowsShader->setFloat("time", Time::g_time);
    m_renderer->m_quad->draw({m_vertexShader, m_rowsShader});
    return true;
}

// Without an overlay sampler 2 keeps whatever it had: "break.psh" reads it
// only as far as "overlayForce" and "overlayForce2" ask. Without programs
// (init failed) the filter draws nothing.
void FilterBreak::apply(RenderTarget* a_target, RenderTarget* a_source1, RenderTarget*,
                        RenderTarget*, RenderTarget*)
{
    if (!m_vertexShader || !m_pixelShader)
        return;
    if (m_overlay)
        m_overlay->bind(kOverlayStage);
    if (m_noise)
        m_noise->bind(kNoiseStage);
    for (DWORD stage = 0; stage <= kOverlayStage; ++stage)
        m_renderer->setLinearFiltering(stage);
    IDirect3DDevice9* device = m_renderer->device();
    device->SetSamplerState(kNoiseStage, D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP);
    device->SetSamplerState(kNoiseStage, D3DSAMP_ADDRESSV, D3DTADDRESS_WRAP);

    TARVO_ASSERT(Time::g_soundtrack);
    const float strength = force(Time::g_soundtrack->getSpectrum());
    Shader* pixelShader = program(strength);
    if (pixelShader == m_bareShader)
    {
        if (drawRows(a_target->m_height, strength))
        {
            m_rows->bindTexture(kRowsStage);
            m_renderer->setPointFiltering(kRowsStage);
            device->SetSamplerState(kRowsStage, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
            device->SetSamplerState(kRowsStage, D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP);
        }
        else
        {
            pixelShader = m_pixelShader;
        }
    }
    a_target->bind(0);
    a_source1->bindTexture(0);
    pixelShader->setFloat("force", strength);
    pixelShader->setFloat("time", Time::g_time);
    pixelShader->setFloat("overlayForce", m_overlayForce);
    pixelShader->setFloat("overlayForce2", m_overlayForce2);
    pixelShader->setFloat("brightness", m_brightness);
    m_renderer->m_quad->draw({m_vertexShader, pixelShader});
}
