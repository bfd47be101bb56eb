// The "Break" effect at the end of every frame: the music's upper mids tear
// and displace the image through a tiling noise, and an optional overlay
// image (titles, credits) shows over it; "brightness" scales the result.
#pragma once

#include "filters/Filter.h"

class RenderTarget;
class Texture;

class FilterBreak : public Filter
{
public:
    FilterBreak() = default;
    ~FilterBreak() override;

    const char* name() const override;  // "Break"
    // Loads "quad.vsh" and "break.psh", then, when both loaded, the lighter
    // "breakbare.psh" with its row program "breakrows.psh", "breakstill.psh"
    // and the noise image "noise2.jpg" (a missing image leaves m_noise null
    // and is not a failure, a missing lighter program leaves "break.psh" to
    // draw its frames). Fails (already checked) when "quad.vsh" or
    // "break.psh" is missing.
    ReturnCode init(Renderer* a_renderer) override;

    // "overlayForce", "overlayForce2" and "brightness" (floats); no int parameters.
    using Filter::setParameter;
    bool setParameter(const char* a_name, float a_value) override;

    // Draws a_source1 into a_target with the force of the soundtrack's
    // spectrum (Time::g_soundtrack must be set). The other sources are ignored.
    // The program is the cheapest that draws the same picture: see program().
    void apply(RenderTarget* a_target, RenderTarget* a_source1, RenderTarget* a_source2,
               RenderTarget* a_source3, RenderTarget* a_source4) override;

    // The force of a spectrum: bins 20 to 39 times 100, summed in increasing
    // order with the running sum rounded to float after each addition.
    static float force(const float* a_spectrum);

    // The program for a frame of the given force and the current overlay
    // forces: "break.psh" while an overlay force is positive, "breakbare.psh"
    // (no overlay reads, the tears read from the rows that "breakrows.psh"
    // draws first; needs both) while only the music's force is, "breakstill.psh"
    // (the source times "brightness") when neither is. Each draws what
    // "break.psh" would draw with those constants ("breakbare.psh" to within
    // rounding); a missing one passes its frames on to the next heavier.
    Shader* program(float a_force) const;

    Renderer* m_renderer = nullptr;  // not owned
    Texture* m_noise = nullptr;      // owned: "noise2.jpg", sampler 1
    Texture* m_overlay = nullptr;    // not owned; sampler 2 when set, assigned by the timeline
    float m_overlayForce = 0.0f;
    float m_overlayForce2 = 0.0f;
    float m_brightness = 1.0f;
    Shader* m_vertexShader = nullptr;  // owned: "quad.vsh"
    Shader* m_pixelShader = nullptr;   // owned: "break.psh"
    Shader* m_bareShader = nullptr;    // owned: "breakbare.psh"
    Shader* m_stillShader = nullptr;   // owned: "breakstill.psh"
    Shader* m_rowsShader = nullptr;    // owned: "breakrows.psh"
    // Owned: the tears of the frame, one A32B32G32R32F texel per row of the
    // last target drawn with "breakbare.psh" (sampler 4); made again only
    // when that target's height changes.
    RenderTarget* m_rows = nullptr;

private:
    // m_rows for a_height rows (made on first use or a new height), then the
    // tears drawn into it with a_force; false, and nothing drawn, when the
    // device refuses the target.
    bool drawRows(int32_t a_height, float a_force);
};
