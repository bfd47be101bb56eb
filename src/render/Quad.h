// The full-screen quad: two triangles over the whole colour target, drawn by
// every full-screen pass and by the final letterboxed copy to the screen.
#pragma once

#include "core/ReturnCode.h"
#include "render/ShaderPair.h"

class Renderer;
class VertexBuffer;

class Quad
{
public:
    // The quad with its vertices and "quad.vsh"/"quad.psh", or null when
    // either cannot be made (a missing file has shown its message).
    static Quad* create(Renderer* a_renderer);
    ~Quad();
    Quad(const Quad&) = delete;
    Quad& operator=(const Quad&) = delete;

    // Full-screen passes: a_shaders become the renderer's current pair and
    // "yscale" is 1. Depth test and write are on again afterwards, and
    // samplers 0 and 1 wrap. Results come already checked.
    ReturnCode draw(const ShaderPair& a_shaders);
    ReturnCode draw();
    // The copy to the screen with the quad's own programs, its height scaled
    // by a_yscale about the centre; samplers 1 to 3 are left as they are.
    ReturnCode drawScreen(float a_yscale);

    VertexBuffer* m_vertexBuffer = nullptr;         // owned
    Renderer* m_renderer = nullptr;                 // not owned
    ShaderPair m_quadShaders = {nullptr, nullptr};  // both owned

private:
    Quad() = default;
    ReturnCode init(Renderer* a_renderer);
    void setDrawStates();
    void drawAndRestore();
};
