// D3D9's fixed-function pipeline as far as the system uses it: pre-transformed
// (XYZRHW) vertices in screen pixels, drawn with no shaders bound, coloured by
// the stage 0 texture times the vertex colour (white without one), as D3D9's
// default texture stage states modulate them.
#pragma once

#include "Gl.h"

class FixedFunction
{
public:
    // Compiles the program on first use; 0 when GL refuses it (logged).
    GLuint program();
    // The device releases the program; destruction does not touch GL.
    void releaseGl();

    // Per draw: the viewport in pixels, the pixel-centre offset and whether
    // stage 0 has a 2D texture to sample.
    void setUniforms(const float a_viewport[4], const float a_pixelCentre[2], bool a_textured);

private:
    GLuint m_program = 0;
    GLint m_viewport = -1;
    GLint m_pixelCentre = -1;
    GLint m_textured = -1;
};
