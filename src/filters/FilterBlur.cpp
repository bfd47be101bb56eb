// The multi-pass blur.
#include "filters/FilterBlur.h"

#include "render/Quad.h"
#include "render/RenderTarget.h"
#include "render/Renderer.h"
#include "render/Shader.h"

#include <string.h>

namespace
{

// Spacing factor per pass number: pass k samples k x 0.65 x area pixels
// apart. Taken as the float it is stored as, widened.
const double kSpacingPerPass = static_cast<double>(0.65f);

// Both programs read the pass's source from here, nearest texel and
// clamped, where they need no filtering; sampler 0 holds it filtered.
const DWORD kNearestStage = 7;

}

FilterBlur::~FilterBlur()
{
    delete m_vertexShader;
    delete m_pixelShader;
    delete m_smoothShader;
}

const char* FilterBlur::name() const
{
    return "blur";
}

ReturnCode FilterBlur::init(Renderer* a_renderer)
{
    m_renderer = a_renderer;
    loadShaders(a_renderer, "blur.psh", m_vertexShader, m_pixelShader);
    m_smoothShader = Shader::create(ShaderKind::Pixel, a_renderer, "blursmooth.psh");
    return ReturnCode(ReturnCode::kSuccess, true);
}

bool FilterBlur::setParameter(const char* a_name, int32_t a_value)
{
    if (strcmp(a_name, "area") == 0)
    {
        m_area = static_cast<float>(a_value);
        return true;
    }
    if (strcmp(a_name, "passes") == 0)
    {
        m_passes = a_value;
        return true;
    }
    return false;
}

bool FilterBlur::setParameter(const char* a_name, float a_value)
{
    if (strcmp(a_name, "area") == 0)
    {
        m_area = a_value;
        return true;
    }
    return false;
}

// Pass i (k = i + 1) samples k x 0.65 x m_area pixels of the target bound
// last apart: for pass 0 whatever was bound before the filter ran, later the
// scratch target the previous pass wrote. Passes 0 to n - 2 alternate between
// scratch targets 0 and 1 and the last writes a_target, so a null source
// (a_target itself) is read only by pass 0 and written only by the last.
// Without its programs (reported at init) the blur draws nothing rather than
// bind a missing shader; without "blursmooth.psh" a blurred source gets the
// nine taps of "blur.psh". The unfiltered stage is emptied afterwards, so
// that no later drawing into a scratch target finds it bound.
void FilterBlur::apply(RenderTarget* a_target, RenderTarget* a_source1, RenderTarget*,
                       RenderTarget*, RenderTarget*)
{
    RenderTarget* source = a_source1 ? a_source1 : a_target;
    setLinearClamp(m_renderer, 0);
    if (m_passes < 1 || !m_vertexShader || !m_pixelShader)
        return;
    Shader* pixelShader = m_sourceBlurred && m_smoothShader ? m_smoothShader : m_pixelShader;
    setPointClamp(m_renderer, kNearestStage);
    for (int32_t pass = 0; pass < m_passes; ++pass)
    {
        const double spacing = static_cast<double>(pass + 1) * kSpacingPerPass;
        const double area = static_cast<double>(m_area);
        pixelShader->setFloat("xpower", static_cast<float>(area / m_renderer->m_width * spacing));
        pixelShader->setFloat("ypower", static_cast<float>(area / m_renderer->m_height * spacing));
        passTarget(m_renderer, pass, m_passes, a_target)->bind(0);
        RenderTarget* read = passSource(m_renderer, pass, source);
        read->bindTexture(0);
        read->bindTexture(kNearestStage);
        m_renderer->m_quad->draw({m_vertexShader, pixelShader});
    }
    m_renderer->device()->SetTexture(kNearestStage, nullptr);
}
