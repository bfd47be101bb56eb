// The device's recorded state carried to GL when it draws or clears: the
// targets and draw buffers, render states, the vertex input, the program and
// its constant registers, colour clamping, and the stage textures and
// samplers, all through one GL state cache. Owns the GL objects that drawing
// needs: framebuffers, the vertex array, linked programs, sampler objects.
#pragma once

#include "DeviceState.h"
#include "FixedFunction.h"
#include "GlEnums.h"
#include "GlStateCache.h"
#include "ProgramCache.h"
#include "TextureUnits.h"

#include <d3d9.h>

#include <stdint.h>
#include <vector>

struct TranslatedShader;

class DrawTranslator
{
public:
    // GL's side; the device's context must be current.
    void createGl();
    void releaseGl();
    GlStateCache& gl() { return m_gl; }

    // Resources going away: programs linked with a shader, a texture's GL name.
    void forgetShader(const ShaderCode* a_shader) { m_programs.forget(a_shader); }
    void forgetTexture(GLuint a_texture) { m_gl.textureDeleted(a_texture); }

    // Binds the targets; a_outputs selects the colour targets that draw
    // buffers reach (bit n: target n), the others keep their contents.
    // False when GL cannot draw into the targets.
    bool applyTargets(DeviceState& a_state, unsigned a_outputs);
    // Everything a draw needs; false when GL cannot draw it (targets GL
    // refuses, a shader pair that does not link, no program for the mix).
    bool applyDraw(DeviceState& a_state);
    void drawArrays(D3DPRIMITIVETYPE a_type, UINT a_startVertex, uint64_t a_vertices)
    {
        glDrawArrays(GlEnums::primitive(a_type), GLint(a_startVertex), GLsizei(a_vertices));
    }
    void drawIndexed(D3DPRIMITIVETYPE a_type, const DeviceState& a_state, INT a_baseVertex,
                     UINT a_startIndex, uint64_t a_indices);
    // Clears the bound targets inside a_area and each of a_count rectangles
    // (none: a_area alone); the targets must be applied.
    void clear(const DeviceState& a_state, const D3DRECT& a_area, DWORD a_count,
               const D3DRECT* a_rects, DWORD a_flags, D3DCOLOR a_color, float a_z, DWORD a_stencil);

private:
    void clearAttachments(GLuint a_framebuffer, unsigned a_colourBuffers, DWORD a_flags,
                          const float a_color[4], float a_z, DWORD a_stencil);
    void clearEachTarget(const DeviceState& a_state, DWORD a_flags, const float a_color[4],
                         float a_z, DWORD a_stencil);
    void applyRenderStates(const DeviceState& a_state);
    void applyCullMode(DWORD a_cullMode);
    void applyVertexInput(DeviceState& a_state);
    bool applyProgram(const DeviceState& a_state);
    void applyColourClamping(unsigned a_vertexModel, unsigned a_pixelModel);
    void uploadRegisters(GLuint a_program, const GLint a_locations[3],
                         const TranslatedShader& a_shader,
                         const DeviceState::Registers& a_registers);

    GlStateCache m_gl;
    ProgramCache m_programs;
    FixedFunction m_fixedFunction;
    TextureUnits m_units;
    GLuint m_framebuffer = 0;
    GLuint m_clearFramebuffer = 0;  // one target at a time, for targets of different sizes
    GLuint m_vertexArray = 0;
    unsigned m_drawBuffers = ~0u;  // the outputs the draw buffers last named; ~0: unknown
    bool m_framebufferComplete = false;
    std::vector<float> m_uploadFloats;
    std::vector<int> m_uploadInts;
};
