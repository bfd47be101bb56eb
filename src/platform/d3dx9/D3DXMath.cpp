// D3DX 9's vector, matrix and quaternion functions, written from the published
// definitions. Every function reads all of its inputs before it writes pOut,
// because callers may pass the same object as input and output.
#include "d3dx9math.h"

#include <math.h>
#include <string.h>

namespace
{

float lengthSquared(const D3DXQUATERNION& a_q)
{
    return D3DXQuaternionDot(&a_q, &a_q);
}

// D3DX's rule for the squad control points: negate a key when that brings it
// nearer to its reference key, so that the curve takes the shorter way round.
D3DXQUATERNION nearerSign(const D3DXQUATERNION& a_reference, const D3DXQUATERNION& a_key)
{
    return lengthSquared(a_reference + a_key) < lengthSquared(a_reference - a_key) ? -a_key : a_key;
}

// q * exp(-0.25 * (Ln(q^-1 * a) + Ln(q^-1 * b))), the inner control point at q.
D3DXQUATERNION innerControlPoint(const D3DXQUATERNION& a_q, const D3DXQUATERNION& a_a,
                                 const D3DXQUATERNION& a_b)
{
    D3DXQUATERNION inverse, toA, toB, lnA, lnB, power;
    D3DXQuaternionInverse(&inverse, &a_q);
    D3DXQuaternionLn(&lnA, D3DXQuaternionMultiply(&toA, &inverse, &a_a));
    D3DXQuaternionLn(&lnB, D3DXQuaternionMultiply(&toB, &inverse, &a_b));
    const D3DXQUATERNION tangent = (lnA + lnB) * -0.25f;
    D3DXQuaternionExp(&power, &tangent);
    D3DXQUATERNION result;
    // D3DXQuaternionMultiply(a, b) is b * a in the usual notation, so every
    // product here comes out reversed: exp(L') * q with L' = q L q^-1 for the
    // published L. That is the same point, as exp(q L q^-1) * q = q * exp(L).
    return *D3DXQuaternionMultiply(&result, &a_q, &power);
}

}

// Type members that need the functions

D3DXMATRIX::D3DXMATRIX(const FLOAT* pf)
{
    memcpy(&_11, pf, sizeof(m));
}

D3DXMATRIX::D3DXMATRIX(FLOAT f11, FLOAT f12, FLOAT f13, FLOAT f14, FLOAT f21, FLOAT f22, FLOAT f23,
                       FLOAT f24, FLOAT f31, FLOAT f32, FLOAT f33, FLOAT f34, FLOAT f41, FLOAT f42,
                       FLOAT f43, FLOAT f44)
{
    _11 = f11;
    _12 = f12;
    _13 = f13;
    _14 = f14;
    _21 = f21;
    _22 = f22;
    _23 = f23;
    _24 = f24;
    _31 = f31;
    _32 = f32;
    _33 = f33;
    _34 = f34;
    _41 = f41;
    _42 = f42;
    _43 = f43;
    _44 = f44;
}

D3DXMATRIX& D3DXMATRIX::operator*=(const D3DXMATRIX& mat)
{
    D3DXMatrixMultiply(this, this, &mat);
    return *this;
}

D3DXMATRIX& D3DXMATRIX::operator+=(const D3DXMATRIX& mat)
{
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col)
            m[row][col] += mat.m[row][col];
    return *this;
}

D3DXMATRIX& D3DXMATRIX::operator-=(const D3DXMATRIX& mat)
{
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col)
            m[row][col] -= mat.m[row][col];
    return *this;
}

D3DXMATRIX& D3DXMATRIX::operator*=(FLOAT f)
{
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col)
            m[row][col] *= f;
    return *this;
}

D3DXMATRIX& D3DXMATRIX::operator/=(FLOAT f)
{
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col)
            m[row][col] /= f;
    return *this;
}

BOOL D3DXMATRIX::operator==(const D3DXMATRIX& mat) const
{
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col)
            if (m[row][col] != mat.m[row][col])
                return FALSE;
    return TRUE;
}

D3DXQUATERNION& D3DXQUATERNION::operator*=(const D3DXQUATERNION& q)
{
    D3DXQuaternionMultiply(this, this, &q);
    return *this;
}

// Vectors

FLOAT WINAPI D3DXVec3Length(const D3DXVECTOR3* pV)
{
    return sqrtf(D3DXVec3Dot(pV, pV));
}

FLOAT WINAPI D3DXVec3Dot(const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2)
{
    return pV1->x * pV2->x + pV1->y * pV2->y + pV1->z * pV2->z;
}

D3DXVECTOR3* WINAPI D3DXVec3Cross(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV1, const D3DXVECTOR3* pV2)
{
    *pOut = D3DXVECTOR3(pV1->y * pV2->z - pV1->z * pV2->y, pV1->z * pV2->x - pV1->x * pV2->z,
                        pV1->x * pV2->y - pV1->y * pV2->x);
    return pOut;
}

D3DXVECTOR3* WINAPI D3DXVec3Normalize(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV)
{
    const float length = D3DXVec3Length(pV);
    *pOut = length > 0.0f ? *pV / length : D3DXVECTOR3(0.0f, 0.0f, 0.0f);
    return pOut;
}

D3DXVECTOR4* WINAPI D3DXVec4Normalize(D3DXVECTOR4* pOut, const D3DXVECTOR4* pV)
{
    const float length = sqrtf(pV->x * pV->x + pV->y * pV->y + pV->z * pV->z + pV->w * pV->w);
    *pOut = length > 0.0f ? *pV / length : D3DXVECTOR4(0.0f, 0.0f, 0.0f, 0.0f);
    return pOut;
}

D3DXVECTOR4* WINAPI D3DXVec3Transform(D3DXVECTOR4* pOut, const D3DXVECTOR3* pV,
                                      const D3DXMATRIX* pM)
{
    const D3DXVECTOR3 v = *pV;
    const D3DXMATRIX& m = *pM;
    *pOut = D3DXVECTOR4(v.x * m._11 + v.y * m._21 + v.z * m._31 + m._41,
                        v.x * m._12 + v.y * m._22 + v.z * m._32 + m._42,
                        v.x * m._13 + v.y * m._23 + v.z * m._33 + m._43,
                        v.x * m._14 + v.y * m._24 + v.z * m._34 + m._44);
    return pOut;
}

D3DXVECTOR3* WINAPI D3DXVec3TransformCoord(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV,
                                           const D3DXMATRIX* pM)
{
    D3DXVECTOR4 h;
    D3DXVec3Transform(&h, pV, pM);
    *pOut = D3DXVECTOR3(h.x / h.w, h.y / h.w, h.z / h.w);
    return pOut;
}

D3DXVECTOR3* WINAPI D3DXVec3TransformNormal(D3DXVECTOR3* pOut, const D3DXVECTOR3* pV,
                                            const D3DXMATRIX* pM)
{
    const D3DXVECTOR3 v = *pV;
    const D3DXMATRIX& m = *pM;
    *pOut = D3DXVECTOR3(v.x * m._11 + v.y * m._21 + v.z * m._31,
                        v.x * m._12 + v.y * m._22 + v.z * m._32,
                        v.x * m._13 + v.y * m._23 + v.z * m._33);
    return pOut;
}

// Matrices

D3DXMATRIX* WINAPI D3DXMatrixIdentity(D3DXMATRIX* pOut)
{
    *pOut = D3DXMATRIX(1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f,
                       0.0f, 0.0f, 1.0f);
    return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixMultiply(D3DXMATRIX* pOut, const D3DXMATRIX* pM1,
                                      const D3DXMATRIX* pM2)
{
    D3DXMATRIX product;
    for (int row = 0; row < 4; ++row)
    {
        for (int col = 0; col < 4; ++col)
        {
            product.m[row][col] = pM1->m[row][0] * pM2->m[0][col] +
                                  pM1->m[row][1] * pM2->m[1][col] +
                                  pM1->m[row][2] * pM2->m[2][col] + pM1->m[row][3] * pM2->m[3][col];
        }
    }
    *pOut = product;
    return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixTranspose(D3DXMATRIX* pOut, const D3DXMATRIX* pM)
{
    D3DXMATRIX transposed;
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col)
            transposed.m[row][col] = pM->m[col][row];
    *pOut = transposed;
    return pOut;
}

// Cofactor expansion over the 2 x 2 minors of the top two rows (s) and the
// bottom two rows (c), in double precision to keep cancellation small.
D3DXMATRIX* WINAPI D3DXMatrixInverse(D3DXMATRIX* pOut, FLOAT* pDeterminant, const D3DXMATRIX* pM)
{
    double a[4][4];
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col)
            a[row][col] = pM->m[row][col];

    const double s0 = a[0][0] * a[1][1] - a[1][0] * a[0][1];
    const double s1 = a[0][0] * a[1][2] - a[1][0] * a[0][2];
    const double s2 = a[0][0] * a[1][3] - a[1][0] * a[0][3];
    const double s3 = a[0][1] * a[1][2] - a[1][1] * a[0][2];
    const double s4 = a[0][1] * a[1][3] - a[1][1] * a[0][3];
    const double s5 = a[0][2] * a[1][3] - a[1][2] * a[0][3];
    const double c5 = a[2][2] * a[3][3] - a[3][2] * a[2][3];
    const double c4 = a[2][1] * a[3][3] - a[3][1] * a[2][3];
    const double c3 = a[2][1] * a[3][2] - a[3][1] * a[2][2];
    const double c2 = a[2][0] * a[3][3] - a[3][0] * a[2][3];
    const double c1 = a[2][0] * a[3][2] - a[3][0] * a[2][2];
    const double c0 = a[2][0] * a[3][1] - a[3][0] * a[2][1];

    const double determinant = s0 * c5 - s1 * c4 + s2 * c3 + s3 * c2 - s4 * c1 + s5 * c0;
    if (pDeterminant)
        *pDeterminant = static_cast<float>(determinant);
    if (determinant == 0.0)
        return nullptr;

    const double adjugate[4][4] = {
        {a[1][1] * c5 - a[1][2] * c4 + a[1][3] * c3, -a[0][1] * c5 + a[0][2] * c4 - a[0][3] * c3,
         a[3][1] * s5 - a[3][2] * s4 + a[3][3] * s3, -a[2][1] * s5 + a[2][2] * s4 - a[2][3] * s3},
        {-a[1][0] * c5 + a[1][2] * c2 - a[1][3] * c1, a[0][0] * c5 - a[0][2] * c2 + a[0][3] * c1,
         -a[3][0] * s5 + a[3][2] * s2 - a[3][3] * s1, a[2][0] * s5 - a[2][2] * s2 + a[2][3] * s1},
        {a[1][0] * c4 - a[1][1] * c2 + a[1][3] * c0, -a[0][0] * c4 + a[0][1] * c2 - a[0][3] * c0,
         a[3][0] * s4 - a[3][1] * s2 + a[3][3] * s0, -a[2][0] * s4 + a[2][1] * s2 - a[2][3] * s0},
        {-a[1][0] * c3 + a[1][1] * c1 - a[1][2] * c0, a[0][0] * c3 - a[0][1] * c1 + a[0][2] * c0,
         -a[3][0] * s3 + a[3][1] * s1 - a[3][2] * s0, a[2][0] * s3 - a[2][1] * s1 + a[2][2] * s0}};

    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col)
            pOut->m[row][col] = static_cast<float>(adjugate[row][col] / determinant);
    return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixScaling(D3DXMATRIX* pOut, FLOAT sx, FLOAT sy, FLOAT sz)
{
    *pOut = D3DXMATRIX(sx, 0.0f, 0.0f, 0.0f, 0.0f, sy, 0.0f, 0.0f, 0.0f, 0.0f, sz, 0.0f, 0.0f, 0.0f,
                       0.0f, 1.0f);
    return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixTranslation(D3DXMATRIX* pOut, FLOAT x, FLOAT y, FLOAT z)
{
    *pOut = D3DXMATRIX(1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, x, y,
                       z, 1.0f);
    return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixRotationX(D3DXMATRIX* pOut, FLOAT Angle)
{
    const float c = cosf(Angle);
    const float s = sinf(Angle);
    *pOut = D3DXMATRIX(1.0f, 0.0f, 0.0f, 0.0f, 0.0f, c, s, 0.0f, 0.0f, -s, c, 0.0f, 0.0f, 0.0f,
                       0.0f, 1.0f);
    return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixRotationY(D3DXMATRIX* pOut, FLOAT Angle)
{
    const float c = cosf(Angle);
    const float s = sinf(Angle);
    *pOut = D3DXMATRIX(c, 0.0f, -s, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, s, 0.0f, c, 0.0f, 0.0f, 0.0f,
                       0.0f, 1.0f);
    return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixRotationZ(D3DXMATRIX* pOut, FLOAT Angle)
{
    const float c = cosf(Angle);
    const float s = sinf(Angle);
    *pOut = D3DXMATRIX(c, s, 0.0f, 0.0f, -s, c, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f,
                       0.0f, 1.0f);
    return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixRotationQuaternion(D3DXMATRIX* pOut, const D3DXQUATERNION* pQ)
{
    const float x = pQ->x, y = pQ->y, z = pQ->z, w = pQ->w;
    *pOut =
        D3DXMATRIX(1.0f - 2.0f * (y * y + z * z), 2.0f * (x * y + z * w), 2.0f * (x * z - y * w),
                   0.0f, 2.0f * (x * y - z * w), 1.0f - 2.0f * (x * x + z * z),
                   2.0f * (y * z + x * w), 0.0f, 2.0f * (x * z + y * w), 2.0f * (y * z - x * w),
                   1.0f - 2.0f * (x * x + y * y), 0.0f, 0.0f, 0.0f, 0.0f, 1.0f);
    return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixLookAtLH(D3DXMATRIX* pOut, const D3DXVECTOR3* pEye,
                                      const D3DXVECTOR3* pAt, const D3DXVECTOR3* pUp)
{
    const D3DXVECTOR3 eye = *pEye;
    D3DXVECTOR3 zAxis = *pAt - eye;
    D3DXVec3Normalize(&zAxis, &zAxis);
    D3DXVECTOR3 xAxis;
    D3DXVec3Normalize(&xAxis, D3DXVec3Cross(&xAxis, pUp, &zAxis));
    D3DXVECTOR3 yAxis;
    D3DXVec3Cross(&yAxis, &zAxis, &xAxis);
    *pOut = D3DXMATRIX(xAxis.x, yAxis.x, zAxis.x, 0.0f, xAxis.y, yAxis.y, zAxis.y, 0.0f, xAxis.z,
                       yAxis.z, zAxis.z, 0.0f, -D3DXVec3Dot(&xAxis, &eye),
                       -D3DXVec3Dot(&yAxis, &eye), -D3DXVec3Dot(&zAxis, &eye), 1.0f);
    return pOut;
}

D3DXMATRIX* WINAPI D3DXMatrixPerspectiveFovLH(D3DXMATRIX* pOut, FLOAT fovy, FLOAT Aspect, FLOAT zn,
                                              FLOAT zf)
{
    const float yScale = 1.0f / tanf(fovy * 0.5f);
    const float xScale = yScale / Aspect;
    const float depthScale = zf / (zf - zn);
    *pOut = D3DXMATRIX(xScale, 0.0f, 0.0f, 0.0f, 0.0f, yScale, 0.0f, 0.0f, 0.0f, 0.0f, depthScale,
                       1.0f, 0.0f, 0.0f, -zn * depthScale, 0.0f);
    return pOut;
}

// Quaternions

D3DXQUATERNION* WINAPI D3DXQuaternionIdentity(D3DXQUATERNION* pOut)
{
    *pOut = D3DXQUATERNION(0.0f, 0.0f, 0.0f, 1.0f);
    return pOut;
}

FLOAT WINAPI D3DXQuaternionDot(const D3DXQUATERNION* pQ1, const D3DXQUATERNION* pQ2)
{
    return pQ1->x * pQ2->x + pQ1->y * pQ2->y + pQ1->z * pQ2->z + pQ1->w * pQ2->w;
}

D3DXQUATERNION* WINAPI D3DXQuaternionNormalize(D3DXQUATERNION* pOut, const D3DXQUATERNION* pQ)
{
    const float length = sqrtf(lengthSquared(*pQ));
    *pOut = length > 0.0f ? *pQ / length : D3DXQUATERNION(0.0f, 0.0f, 0.0f, 0.0f);
    return pOut;
}

D3DXQUATERNION* WINAPI D3DXQuaternionConjugate(D3DXQUATERNION* pOut, const D3DXQUATERNION* pQ)
{
    *pOut = D3DXQUATERNION(-pQ->x, -pQ->y, -pQ->z, pQ->w);
    return pOut;
}

D3DXQUATERNION* WINAPI D3DXQuaternionInverse(D3DXQUATERNION* pOut, const D3DXQUATERNION* pQ)
{
    const float norm = lengthSquared(*pQ);
    if (norm == 0.0f)
        *pOut = D3DXQUATERNION(0.0f, 0.0f, 0.0f, 0.0f);
    else
        *pOut = *D3DXQuaternionConjugate(pOut, pQ) / norm;
    return pOut;
}

D3DXQUATERNION* WINAPI D3DXQuaternionMultiply(D3DXQUATERNION* pOut, const D3DXQUATERNION* pQ1,
                                              const D3DXQUATERNION* pQ2)
{
    // Hamilton product a * b with a = pQ2, b = pQ1.
    const D3DXQUATERNION a = *pQ2;
    const D3DXQUATERNION b = *pQ1;
    *pOut = D3DXQUATERNION(a.w * b.x + a.x * b.w + a.y * b.z - a.z * b.y,
                           a.w * b.y - a.x * b.z + a.y * b.w + a.z * b.x,
                           a.w * b.z + a.x * b.y - a.y * b.x + a.z * b.w,
                           a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z);
    return pOut;
}

D3DXQUATERNION* WINAPI D3DXQuaternionRotationAxis(D3DXQUATERNION* pOut, const D3DXVECTOR3* pV,
                                                  FLOAT Angle)
{
    D3DXVECTOR3 axis;
    D3DXVec3Normalize(&axis, pV);
    const float s = sinf(Angle * 0.5f);
    *pOut = D3DXQUATERNION(axis.x * s, axis.y * s, axis.z * s, cosf(Angle * 0.5f));
    return pOut;
}

D3DXQUATERNION* WINAPI D3DXQuaternionLn(D3DXQUATERNION* pOut, const D3DXQUATERNION* pQ)
{
    // D3DX reads the angle from w alone, as if the quaternion had unit
    // length: (x, y, z) times acos(w) / sin(acos(w)). From w = 1 on, and at
    // w = -1, where that has no value, the factor is 1; a quaternion that is
    // not of unit length keeps what this makes of it.
    const float w = pQ->w;
    const float factor = (w >= 1.0f || w == -1.0f) ? 1.0f : acosf(w) / sqrtf(1.0f - w * w);
    *pOut = D3DXQUATERNION(pQ->x * factor, pQ->y * factor, pQ->z * factor, 0.0f);
    return pOut;
}

D3DXQUATERNION* WINAPI D3DXQuaternionExp(D3DXQUATERNION* pOut, const D3DXQUATERNION* pQ)
{
    const float theta = sqrtf(pQ->x * pQ->x + pQ->y * pQ->y + pQ->z * pQ->z);
    const float factor = theta > 0.0f ? sinf(theta) / theta : 1.0f;
    *pOut = D3DXQUATERNION(pQ->x * factor, pQ->y * factor, pQ->z * factor, cosf(theta));
    return pOut;
}

D3DXQUATERNION* WINAPI D3DXQuaternionSlerp(D3DXQUATERNION* pOut, const D3DXQUATERNION* pQ1,
                                           const D3DXQUATERNION* pQ2, FLOAT t)
{
    double cosine = D3DXQuaternionDot(pQ1, pQ2);
    // q and -q are the same rotation; take the one on the shorter arc. Keys
    // that are not of unit length may have a dot product beyond 1: they
    // blend linearly, as equal keys do.
    const double sign = cosine < 0.0 ? -1.0 : 1.0;
    cosine *= sign;

    double weight1 = 1.0 - t;
    double weight2 = t;
    const double angle = acos(cosine < 1.0 ? cosine : 1.0);
    const double sine = sin(angle);
    // Nearly equal keys: the weights tend to 1 - t and t.
    if (sine > 1e-6)
    {
        weight1 = sin((1.0 - t) * angle) / sine;
        weight2 = sin(t * angle) / sine;
    }
    weight2 *= sign;

    const D3DXQUATERNION q1 = *pQ1;
    const D3DXQUATERNION q2 = *pQ2;
    *pOut = D3DXQUATERNION(static_cast<float>(weight1 * q1.x + weight2 * q2.x),
                           static_cast<float>(weight1 * q1.y + weight2 * q2.y),
                           static_cast<float>(weight1 * q1.z + weight2 * q2.z),
                           static_cast<float>(weight1 * q1.w + weight2 * q2.w));
    return pOut;
}

// D3DX's published construction: q0 and q2 take the sign nearer to Q1, q3 the
// sign nearer to q2; A and B are the inner control points at q1 and q2, and C
// is q2. The published text compares Q3 with Q2 as given, which leaves q3 on
// the far side of q2 whenever Q2 was flipped and sends B the long way round;
// comparing with the flipped q2 gives the same points in every other case.
void WINAPI D3DXQuaternionSquadSetup(D3DXQUATERNION* pAOut, D3DXQUATERNION* pBOut,
                                     D3DXQUATERNION* pCOut, const D3DXQUATERNION* pQ0,
                                     const D3DXQUATERNION* pQ1, const D3DXQUATERNION* pQ2,
                                     const D3DXQUATERNION* pQ3)
{
    const D3DXQUATERNION q0 = nearerSign(*pQ1, *pQ0);
    const D3DXQUATERNION q1 = *pQ1;
    const D3DXQUATERNION q2 = nearerSign(*pQ1, *pQ2);
    const D3DXQUATERNION q3 = nearerSign(q2, *pQ3);

    *pAOut = innerControlPoint(q1, q2, q0);
    *pBOut = innerControlPoint(q2, q3, q1);
    *pCOut = q2;
}

D3DXQUATERNION* WINAPI D3DXQuaternionSquad(D3DXQUATERNION* pOut, const D3DXQUATERNION* pQ1,
                                           const D3DXQUATERNION* pA, const D3DXQUATERNION* pB,
                                           const D3DXQUATERNION* pC, FLOAT t)
{
    D3DXQUATERNION outer, inner;
    D3DXQuaternionSlerp(&outer, pQ1, pC, t);
    D3DXQuaternionSlerp(&inner, pA, pB, t);
    return D3DXQuaternionSlerp(pOut, &outer, &inner, 2.0f * t * (1.0f - t));
}
