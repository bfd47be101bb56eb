// D3D9's fixed-function pipeline for pre-transformed vertices.
#include "FixedFunction.h"

#include "FvfLayout.h"
#include "GlProgram.h"
#include "PixelCentre.h"

#include <string>

namespace
{

// Screen pixels back to clip space through the viewport, as D3D9 maps them
// the other way; rhw is 1 / w, and clip space is scaled by w so that texture
// coordinates interpolate with perspective.
const char g_vertexSource[] =
    "#version 120\n"
    "attribute vec4 position;\n"
    "attribute vec4 diffuse;\n"
    "attribute vec2 texcoord;\n"
    "uniform vec4 viewport;\n"
    "varying vec4 colour;\n"
    "varying vec2 uv;\n"
    "void main()\n"
    "{\n"
    "    float w = position.w != 0.0 ? 1.0 / position.w : 1.0;\n"
    "    vec2 ndc = vec2((position.x - viewport.x) / viewport.z * 2.0 - 1.0,\n"
    "                    1.0 - (position.y - viewport.y) / viewport.w * 2.0);\n"
    "    gl_Position = vec4(ndc * w, position.z * w, w);\n"
    "    colour = diffuse;\n"
    "    uv = texcoord;\n"
    "}\n";

const char g_fragmentSource[] =
    "#version 120\n"
    "uniform sampler2D stage0;\n"
    "uniform bool textured;\n"
    "varying vec4 colour;\n"
    "varying vec2 uv;\n"
    "void main()\n"
    "{\n"
    "    gl_FragData[0] = (textured ? texture2D(stage0, uv) : vec4(1.0)) * colour;\n"
    "}\n";

}  // namespace

GLuint FixedFunction::program()
{
    if (m_program)
        return m_program;
    std::string vertexSource = g_vertexSource;
    if (!PixelCentre::wrapVertexMain(&vertexSource))
        return 0;
    const GLuint vertex = GlProgram::compile(GL_VERTEX_SHADER, vertexSource.c_str());
    const GLuint fragment = GlProgram::compile(GL_FRAGMENT_SHADER, g_fragmentSource);
    if (vertex && fragment)
        m_program = GlProgram::link(vertex, fragment, [](GLuint a_program) {
            glBindAttribLocation(a_program, 0, "position");
            glBindAttribLocation(a_program, FvfLayout::DiffuseLocation, "diffuse");
            glBindAttribLocation(a_program, 4, "texcoord");
        });
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    if (!m_program)
        return 0;
    m_viewport = glGetUniformLocation(m_program, "viewport");
    m_pixelCentre = glGetUniformLocation(m_program, PixelCentre::uniformName());
    m_textured = glGetUniformLocation(m_program, "textured");
    glProgramUniform1i(m_program, glGetUniformLocation(m_program, "stage0"), 0);
    return m_program;
}

void FixedFunction::releaseGl()
{
    if (m_program)
        glDeleteProgram(m_program);
    m_program = 0;
}

void FixedFunction::setUniforms(const float a_viewport[4], const float a_pixelCentre[2],
                                bool a_textured)
{
    glProgramUniform4fv(m_program, m_viewport, 1, a_viewport);
    glProgramUniform2fv(m_program, m_pixelCentre, 1, a_pixelCentre);
    glProgramUniform1i(m_program, m_textured, a_textured ? 1 : 0);
}
