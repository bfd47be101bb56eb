// D3D9's pixel-centre convention, reproduced in one place.
#pragma once

#include <string>

class PixelCentre
{
public:
    // D3D9 samples pixel centres at integer screen coordinates, GL half a
    // pixel further right and down. Shifting clip space right and down (-y in
    // clip space) by half a pixel of the viewport puts D3D9's pixel (x, y)
    // under GL's fragment (x, y): a centre on an edge in D3D9 lies on the
    // same edge in GL, and the rasteriser's own rule settles the tie (see
    // DeviceContext::adoptD3DConventions for why that rule is D3D9's).
    // The shift is a 1024th of a pixel short of half. The rasteriser snaps
    // vertices to a 256th of a pixel (GL_SUBPIXEL_BITS 8), which takes that
    // 1024th back out of every edge; the interpolated values are computed
    // from the unsnapped vertices and keep it, so a texture coordinate that
    // D3D9 puts on a texel corner is read just inside the texel below and
    // right, as D3D9 reads it, not left to the rounding of the interpolation.
    // The shift in clip units, to be multiplied by w.
    static void clipOffset(unsigned a_viewportWidth, unsigned a_viewportHeight, float a_offset[2]);

    // Renames a vertex program's main and appends a main that applies the
    // offset to gl_Position and turns clip space upside down (D3D9's first
    // row is GL's row 0 under the lower left origin); false when the GLSL has
    // no "void main()".
    static bool wrapVertexMain(std::string* a_glsl);
    // The uniform the appended main reads the offset from.
    static const char* uniformName() { return "tarvo_pixelCentre"; }

    // A pixel shader's vPos is the pixel's integer (x, y) in D3D9, its centre
    // (x + 0.5, y + 0.5) in GL's gl_FragCoord. MojoShader derives vPos.y as
    // gl_FragCoord.y * vposFlip.x + vposFlip.y (the values below) and takes
    // x as it is, which this subtracts half a pixel from.
    static void fixFragmentPosition(std::string* a_glsl);
    static const char* flipUniformName() { return "vposFlip"; }
    static void flip(float a_flip[2]);
};
