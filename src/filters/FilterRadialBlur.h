// The directional blur: smears the image along the way the camera-shake noise
// moves at the current demo time, in passes of growing reach through the
// renderer's scratch targets; at power 0 or less a plain copy.
#pragma once

#include "filters/Filter.h"

class FilterRadialBlur : public Filter
{
public:
    FilterRadialBlur() = default;
    ~FilterRadialBlur() override;

    const char* name() const override;  // "radialblur"
    // Loads "quad.vsh" and "radialblur.psh" and makes sure the shake noise
    // exists; succeeds (already checked) even when a program is missing.
    ReturnCode init(Renderer* a_renderer) override;

    // "passes" (int) and "power" (float).
    bool setParameter(const char* a_name, int32_t a_value) override;
    bool setParameter(const char* a_name, float a_value) override;

    // Smears a_source1 into a_target (both required); with m_power <= 0 it
    // copies with the screen quad's own programs instead. The other sources
    // are ignored.
    void apply(RenderTarget* a_target, RenderTarget* a_source1, RenderTarget* a_source2,
               RenderTarget* a_source3, RenderTarget* a_source4) override;

    Renderer* m_renderer = nullptr;    // not owned
    Shader* m_vertexShader = nullptr;  // owned: "quad.vsh"
    Shader* m_pixelShader = nullptr;   // owned: "radialblur.psh"
    int32_t m_passes = 3;
    float m_power = 1.0f;  // 0 or less copies
};
