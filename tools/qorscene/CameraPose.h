// The roll of a camera record, worked out from an up direction and back.
// The demo builds a camera's view as a left-handed look-at with y up,
// turned about its viewing axis by the roll; an editor's camera carries its
// own up direction instead. Everything here is in the demo's space.
#pragma once

#include <d3dx9.h>

class CameraPose
{
public:
    // The roll (radians) that makes the demo's camera at a_eye looking at
    // a_target see a_up as its up direction; 0 when the camera looks
    // straight up or down, where the look-at has no up of its own.
    static float roll(const D3DXVECTOR3& a_eye, const D3DXVECTOR3& a_target,
                      const D3DXVECTOR3& a_up);

    // The camera's unit up direction for a_roll: the inverse of roll().
    static D3DXVECTOR3 up(const D3DXVECTOR3& a_eye, const D3DXVECTOR3& a_target, float a_roll);

private:
    // The look-at's right and up axes; false when they do not exist.
    static bool axes(const D3DXVECTOR3& a_eye, const D3DXVECTOR3& a_target, D3DXVECTOR3& a_right,
                     D3DXVECTOR3& a_up);
};
