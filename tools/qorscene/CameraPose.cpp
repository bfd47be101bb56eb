// Roll against the look-at's own axes.
#include "CameraPose.h"

#include <math.h>

// The look-at matrix of D3DX: forward = target - eye, right = (0, 1, 0) x
// forward, up = forward x right, all unit length.
bool CameraPose::axes(const D3DXVECTOR3& a_eye, const D3DXVECTOR3& a_target, D3DXVECTOR3& a_right,
                      D3DXVECTOR3& a_up)
{
    D3DXVECTOR3 forward = a_target - a_eye;
    if (D3DXVec3Length(&forward) < 1e-12f)
        return false;
    D3DXVec3Normalize(&forward, &forward);
    const D3DXVECTOR3 worldUp(0.0f, 1.0f, 0.0f);
    D3DXVec3Cross(&a_right, &worldUp, &forward);
    if (D3DXVec3Length(&a_right) < 1e-6f)
        return false;
    D3DXVec3Normalize(&a_right, &a_right);
    D3DXVec3Cross(&a_up, &forward, &a_right);
    return true;
}

// The view is the look-at times a turn about z by the roll, so a view-space
// point (x, y) lands at (x cos r - y sin r, x sin r + y cos r): the camera's
// up becomes right * sin r + up * cos r.
float CameraPose::roll(const D3DXVECTOR3& a_eye, const D3DXVECTOR3& a_target,
                       const D3DXVECTOR3& a_up)
{
    D3DXVECTOR3 right, up;
    if (!axes(a_eye, a_target, right, up))
        return 0.0f;
    return atan2f(D3DXVec3Dot(&a_up, &right), D3DXVec3Dot(&a_up, &up));
}

D3DXVECTOR3 CameraPose::up(const D3DXVECTOR3& a_eye, const D3DXVECTOR3& a_target, float a_roll)
{
    D3DXVECTOR3 right, up;
    if (!axes(a_eye, a_target, right, up))
        return D3DXVECTOR3(0.0f, 1.0f, 0.0f);
    return right * sinf(a_roll) + up * cosf(a_roll);
}
