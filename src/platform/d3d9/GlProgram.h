// Compiling and linking GLSL, with the driver's log turned into one log line.
#pragma once

#include "Gl.h"

class GlProgram
{
public:
    // A compiled shader object, or 0.
    static GLuint compile(GLenum a_kind, const char* a_source);
    // Links a program of two compiled shaders, with attribute locations
    // bound by the caller's function first; 0 on failure.
    template <typename BindAttributes>
    static GLuint link(GLuint a_vertex, GLuint a_fragment, BindAttributes a_bind)
    {
        const GLuint program = glCreateProgram();
        glAttachShader(program, a_vertex);
        glAttachShader(program, a_fragment);
        a_bind(program);
        glLinkProgram(program);
        return checkLinked(program);
    }

private:
    static GLuint checkLinked(GLuint a_program);
};
