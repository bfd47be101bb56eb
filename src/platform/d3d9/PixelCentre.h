// D3D9's pixel-centre convention, reproduced in one place.
#pragma once

#include <string>

class PixelCentre
{
public:
    // D3D9 samples pixel centres at integer screen coordinates, GL half a
    // pixel further right and down. Shifting clip space right and down (-y in
    // clip space) by half a pixel of the viewport puts D3D9's pixel (x, y)
    // under GL's fragment (x, y). The shift is a 256th of a pixel short of
    // half: a centre on an edge then lies just inside the edges D3D9's
    // top-left rule fills (GL leaves the rule to the driver, and Mesa fills
    // bottom edges under an upper left origin), and a 256th is the finest
    // step of common rasterisers, so no snapping brings the tie back. The
    // shift in clip units, to be multiplied by w.
    // FIXME: a centre on a slanted edge shallower than 45 degrees falls on
    // the wrong side of it (outside a left edge, inside a right one); only
    // drawing bottom up and leaving ties to the rasteriser settles every slope.
    static void clipOffset(unsigned a_viewportWidth, unsigned a_viewportHeight, float a_offset[2]);

    // Renames a vertex program's main and appends a main that applies the
    // offset to gl_Position; false when the GLSL has no "void main()".
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
