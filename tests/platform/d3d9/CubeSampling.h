// A cube texture of 2 x 2 faces bound to stage 0, and the system's quad
// with a pixel shader that samples it in the direction held in c0. Face f's
// texel (x, y) is coloured red 40 f, green 100 x, blue 100 y.
#pragma once

#include "Canvas.h"

class CubeSampling
{
public:
    // The colour of face a_face's texel (a_x, a_y).
    static DWORD texel(DWORD a_face, DWORD a_x, DWORD a_y);

    // Makes the texture (kept by a_canvas) and binds it, the quad and the shaders.
    CubeSampling(TestDevice& a_device, Canvas& a_canvas);
};
