// The multi-pass blur: each pass draws "blur.psh" with a sample spacing that
// grows with the pass number, ping-ponging through the renderer's scratch
// targets, so a few cheap passes reach a wide radius.
#pragma once

#include "filters/Filter.h"

class FilterBlur : public Filter
{
public:
    FilterBlur() = default;
    ~FilterBlur() override;

    const char* name() const override;  // "blur"
    // Loads "quad.vsh", "blur.psh" and "blursmooth.psh"; succeeds (already
    // checked) even when any is missing, which the loader has reported.
    ReturnCode init(Renderer* a_renderer) override;

    // "area" (int or float) and "passes" (int).
    bool setParameter(const char* a_name, int32_t a_value) override;
    bool setParameter(const char* a_name, float a_value) override;

    // Blurs a_source1 (a_target itself when null) into a_target in m_passes
    // passes; fewer than one pass draws nothing. Sampler 0 is left linear
    // and clamped. The other sources are ignored. With m_sourceBlurred set
    // every pass runs "blursmooth.psh" (when it loaded), else "blur.psh";
    // both read what needs no filtering from stage 7, which holds the pass's
    // source unfiltered during the passes and nothing afterwards.
    void apply(RenderTarget* a_target, RenderTarget* a_source1, RenderTarget* a_source2,
               RenderTarget* a_source3, RenderTarget* a_source4) override;

    Renderer* m_renderer = nullptr;    // not owned
    Shader* m_vertexShader = nullptr;  // owned: "quad.vsh"
    Shader* m_pixelShader = nullptr;   // owned: "blur.psh"
    Shader* m_smoothShader = nullptr;  // owned: "blursmooth.psh"
    float m_area = 1.0f;               // sample spacing in pixels, before the per-pass factor
    int32_t m_passes = 4;
    // Set by the caller when the source is already a wide bell (the frame's
    // second blur reads what its first made): five unfiltered taps a pass
    // then do what nine filtered ones do on a sharp picture. Only the caller
    // knows where its source came from; left false, the blur makes no such
    // assumption.
    bool m_sourceBlurred = false;
};
