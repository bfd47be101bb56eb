// The depth of field: one pass mixing a sharp, a lightly and a strongly
// blurred image by the view distance of each pixel, with the bright parts of
// the blurred images added as glow.
#pragma once

#include "filters/Filter.h"

class FilterDof : public Filter
{
public:
    FilterDof() = default;
    ~FilterDof() override;

    const char* name() const override;  // "dof"
    // Loads "quad.vsh" and "dof.psh"; fails (already checked) unless both loaded.
    ReturnCode init(Renderer* a_renderer) override;

    // "far" and "glow" (floats); no int parameters.
    using Filter::setParameter;
    bool setParameter(const char* a_name, float a_value) override;

    // Draws into a_target from four required sources, on samplers 0 to 3:
    // the sharp image, the lightly blurred one, the G-buffer target with the
    // view distance in red, and the strongly blurred one. m_gbufferTarget goes
    // on sampler 4. The program reads the sources at their texel centres,
    // unfiltered, from samplers 8 to 11, which hold them during the draw and
    // nothing after it.
    void apply(RenderTarget* a_target, RenderTarget* a_source1, RenderTarget* a_source2,
               RenderTarget* a_source3, RenderTarget* a_source4) override;

    Renderer* m_renderer = nullptr;           // not owned
    Shader* m_vertexShader = nullptr;         // owned: "quad.vsh"
    Shader* m_pixelShader = nullptr;          // owned: "dof.psh"
    RenderTarget* m_gbufferTarget = nullptr;  // not owned; assigned by content loading
    float m_far = 100000.0f;                  // view distance of full blur
    float m_glowForce = 2.0f;                 // "glowForce", set as "glow"
};
