// GL's state as the device last set it, so that a draw issues only the calls
// that change something: fixed-function state, the program, the draw
// framebuffer, the texture and sampler object of each texture unit and the
// parameters of sampler objects. bypass() turns the cache off (every call
// goes to GL), and the drawing tests run both ways.
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

    // Texture units. A unit holds one texture for all its targets, as a D3D9
    // stage does: binding one unbinds whatever the unit held (0: none).
    static const GLuint Units = 16;
    void bindTexture(GLuint a_unit, GLuint a_texture);
    void bindSampler(GLuint a_unit, GLuint a_sampler);
    void samplerParameter(GLuint a_sampler, GLenum a_parameter, GLint a_value);  // wraps, filters
    void samplerBorderColor(GLuint a_sampler, const float a_color[4]);
    // GL unbinds a deleted texture from every unit; the cache follows.
    void textureDeleted(GLuint a_texture);

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
    GLint m_textures[Units];
    GLint m_samplers[Units];

    // The parameters set on sampler objects, by name: GL names objects with
    // small integers counting up, and a name past the table goes to GL
    // uncached.
    struct Sampler
    {
        GLint wraps[3] = {Unknown, Unknown, Unknown};  // S, T, R
        GLint magFilter = Unknown;
        GLint minFilter = Unknown;
        float borderColor[4] = {-1.0f, -1.0f, -1.0f, -1.0f};
    };
    static const GLuint SamplerNames = 256;
    Sampler m_samplerParameters[SamplerNames];
    Sampler m_uncached;  // stands for a sampler past the table, forgotten at each use
    Sampler& sampler(GLuint a_sampler);
};
