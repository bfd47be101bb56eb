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

// D3D9's stage 0: D3DTA_CURRENT is the diffuse colour in the first stage. A
// stage with no texture set drops its D3DTA_TEXTURE argument and gives the
// other one (a modulation of texture and diffuse gives the diffuse colour,
// not its square), as the reference device does. A disabled colour operation
// passes the diffuse colour on whole; the operation numbers are D3DTOP's,
// the arguments D3DTA's.
const char g_fragmentSource[] = "#version 120\n"
                                "uniform sampler2D stage0;\n"
                                "uniform bool textured;\n"
                                "uniform ivec3 colourStage;\n"
                                "uniform ivec3 alphaStage;\n"
                                "varying vec4 colour;\n"
                                "varying vec2 uv;\n"
                                "vec4 argument(int a_argument, vec4 a_texel)\n"
                                "{\n"
                                "    return a_argument == 2 && textured ? a_texel : colour;\n"
                                "}\n"
                                "vec4 combine(ivec3 a_stage, vec4 a_texel)\n"
                                "{\n"
                                "    vec4 first = argument(a_stage.y, a_texel);\n"
                                "    vec4 second = argument(a_stage.z, a_texel);\n"
                                "    if (!textured && a_stage.y == 2) return second;\n"
                                "    if (!textured && a_stage.z == 2) return first;\n"
                                "    if (a_stage.x == 2) return first;\n"
                                "    if (a_stage.x == 3) return second;\n"
                                "    if (a_stage.x == 4) return first * second;\n"
                                "    return colour;\n"
                                "}\n"
                                "void main()\n"
                                "{\n"
                                "    vec4 texel = textured ? texture2D(stage0, uv) : vec4(1.0);\n"
                                "    if (colourStage.x == 1)\n"
                                "        gl_FragData[0] = colour;\n"
                                "    else\n"
                                "        gl_FragData[0] = vec4(combine(colourStage, texel).rgb,\n"
                                "                              combine(alphaStage, texel).a);\n"
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
    m_colourStage = glGetUniformLocation(m_program, "colourStage");
    m_alphaStage = glGetUniformLocation(m_program, "alphaStage");
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
                                bool a_textured, const DWORD a_stageStates[D3DTSS_ALPHAARG2 + 1])
{
    // Arguments keep their selector bits; modifier bits select nothing here.
    auto stage = [&](GLint a_location, int a_operation) {
        glProgramUniform3i(m_program, a_location, GLint(a_stageStates[a_operation]),
                           GLint(a_stageStates[a_operation + 1] & D3DTA_SELECTMASK),
                           GLint(a_stageStates[a_operation + 2] & D3DTA_SELECTMASK));
    };
    glProgramUniform4fv(m_program, m_viewport, 1, a_viewport);
    glProgramUniform2fv(m_program, m_pixelCentre, 1, a_pixelCentre);
    glProgramUniform1i(m_program, m_textured, a_textured ? 1 : 0);
    stage(m_colourStage, D3DTSS_COLOROP);
    stage(m_alphaStage, D3DTSS_ALPHAOP);
}
