// Compiling and linking GLSL.
#include "GlProgram.h"

#include <SDL.h>

#include <string>

GLuint GlProgram::compile(GLenum a_kind, const char* a_source)
{
    const GLuint shader = glCreateShader(a_kind);
    glShaderSource(shader, 1, &a_source, nullptr);
    glCompileShader(shader);
    GLint compiled = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (compiled)
        return shader;
    char log[1024] = {};
    glGetShaderInfoLog(shader, sizeof(log), nullptr, log);
    SDL_Log("d3d9: GLSL %s shader failed to compile: %s",
            a_kind == GL_VERTEX_SHADER ? "vertex" : "fragment", log);
    glDeleteShader(shader);
    return 0;
}

GLuint GlProgram::checkLinked(GLuint a_program)
{
    GLint linked = GL_FALSE;
    glGetProgramiv(a_program, GL_LINK_STATUS, &linked);
    if (linked)
        return a_program;
    char log[1024] = {};
    glGetProgramInfoLog(a_program, sizeof(log), nullptr, log);
    SDL_Log("d3d9: GLSL program failed to link: %s", log);
    glDeleteProgram(a_program);
    return 0;
}
