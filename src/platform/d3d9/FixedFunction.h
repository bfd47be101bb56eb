// D3D9's fixed-function pipeline for pre-transformed (XYZRHW) vertices in
// screen pixels, drawn with no shaders bound: texture stage 0 combines its
// texture and the vertex colour (white without one) by its colour and alpha
// operations (D3DTOP_DISABLE, SELECTARG1, SELECTARG2, MODULATE) and
// arguments (D3DTA_TEXTURE, DIFFUSE, CURRENT).
#pragma once

#include "Gl.h"

#include <d3d9.h>

class FixedFunction
{
public:
    // Compiles the program on first use; 0 when GL refuses it (logged).
    GLuint program();
    // The device releases the program; destruction does not touch GL.
    void releaseGl();

    // Per draw: the viewport in pixels, the pixel-centre offset, whether
    // stage 0 has a 2D texture to sample, and stage 0's states indexed by
    // D3DTEXTURESTAGESTATETYPE (D3DTSS_COLOROP to D3DTSS_ALPHAARG2).
    void setUniforms(const float a_viewport[4], const float a_pixelCentre[2], bool a_textured,
                     const DWORD a_stageStates[D3DTSS_ALPHAARG2 + 1]);

private:
    GLuint m_program = 0;
    GLint m_viewport = -1;
    GLint m_pixelCentre = -1;
    GLint m_textured = -1;
    GLint m_colourStage = -1;
    GLint m_alphaStage = -1;
};
