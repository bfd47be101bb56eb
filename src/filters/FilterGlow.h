// The glow filter: holds an initialised inner blur and "quad.vsh", but its
// apply draws nothing; no caller relies on a visible glow (the depth of
// field adds the glow of the frame).
#pragma once

#include "filters/Filter.h"

class FilterBlur;

class FilterGlow : public Filter
{
public:
    FilterGlow() = default;
    ~FilterGlow() override;

    const char* name() const override;  // "Glow"
    // Loads "quad.vsh" and makes and initialises the inner blur; succeeds
    // (already checked).
    ReturnCode init(Renderer* a_renderer) override;

    // Binds nothing and draws nothing: the target keeps its contents.
    void apply(RenderTarget* a_target, RenderTarget* a_source1, RenderTarget* a_source2,
               RenderTarget* a_source3, RenderTarget* a_source4) override;

    Renderer* m_renderer = nullptr;    // not owned
    Shader* m_vertexShader = nullptr;  // owned: "quad.vsh"
    FilterBlur* m_blur = nullptr;      // owned
};
