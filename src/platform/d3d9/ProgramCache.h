// GL programs linked per vertex and pixel shader pair, made on first draw and
// kept until one of the two shaders goes.
#pragma once

#include "Gl.h"

#include <map>
#include <utility>

class ShaderCode;

class ProgramCache
{
public:
    struct Program
    {
        GLuint program = 0;  // 0: the pair does not link (logged once)
        // Uniform arrays of the vertex (0) and pixel (1) stage; -1 when unused.
        GLint floats[2] = {-1, -1};
        GLint ints[2] = {-1, -1};
        GLint bools[2] = {-1, -1};
        GLint pixelCentre = -1;
    };

    const Program& get(const ShaderCode& a_vertex, const ShaderCode& a_pixel);
    void forget(const ShaderCode* a_shader);
    // The device releases the programs; destruction does not touch GL.
    void releaseGl();

private:
    std::map<std::pair<const ShaderCode*, const ShaderCode*>, Program> m_programs;
};
