// GL's fixed-function state as the device last set it, so that a draw issues
// only the calls that change something. bypass() turns the cache off (every
// call goes to GL), and the drawing tests run both ways.
#pragma once

#include "Gl.h"

class GlStateCache
{
public:
    static void setBypass(bool a_bypass);
    static bool bypass();

    GlStateCache() { invalidate(); }

    // Forgets everything: the next call of each setter reaches GL.
    void invalidate();

    void enable(GLenum a_capability, bool a_enabled);  // depth test, blend, cull, scissor
    void depthMask(bool a_write);
    void depthFunc(GLenum a_function);
    void blendFunc(GLenum a_source, GLenum a_destination);
    void blendEquation(GLenum a_equation);
    void cullFace(GLenum a_face);
    void colorMask(unsigned a_rgbaBits);  // bit 0 red .. bit 3 alpha, as D3DRS_COLORWRITEENABLE
    void viewport(GLint a_x, GLint a_y, GLsizei a_width, GLsizei a_height);
    void depthRange(float a_near, float a_far);
    void scissor(GLint a_x, GLint a_y, GLsizei a_width, GLsizei a_height);
    void useProgram(GLuint a_program);
    void bindDrawFramebuffer(GLuint a_framebuffer);
    // Whether vertex colour outputs and fragment colours are clamped to 0..1.
    void clampColors(bool a_vertex, bool a_fragment);

private:
    enum Capability
    {
        DepthTest,
        Blend,
        CullFace,
        ScissorTest,
        CapabilityCount
    };

    static const int Unknown = -1;

    int m_enabled[CapabilityCount];
    int m_depthMask;
    GLint m_depthFunc;
    GLint m_blendSource;
    GLint m_blendDestination;
    GLint m_blendEquation;
    GLint m_cullFace;
    int m_colorMask;
    GLint m_viewport[4];
    float m_depthRange[2];
    GLint m_scissor[4];
    GLint m_program;
    GLint m_framebuffer;
    int m_clampVertex;
    int m_clampFragment;
};
