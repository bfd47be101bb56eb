// Tests of the D3DX vector, matrix and quaternion functions against D3DX's
// published definitions, with expected values worked out by hand.
//
// Untested ideas: matrices with NaN elements; D3DXVECTOR2 beyond its operators.
#include <d3dx9.h>

#include <gtest/gtest.h>

#include <math.h>
#include <stddef.h>

#include <algorithm>
#include <math.h>
#include <functional>
#include <string>
#include <vector>

namespace
{

constexpr float kTolerance = 1e-5f;
const float kHalfPi = static_cast<float>(M_PI / 2.0);
const float kSqrtHalf = static_cast<float>(M_SQRT1_2);

// D3DXMatrixRotationX, Y or Z.
typedef D3DXMATRIX*(WINAPI* Rotation)(D3DXMATRIX*, FLOAT);

void expectMatrixNear(const D3DXMATRIX& a_actual, const float (&a_expected)[4][4])
{
    for (int row = 0; row < 4; ++row)
    {
        for (int col = 0; col < 4; ++col)
        {
            SCOPED_TRACE("row " + std::to_string(row + 1) + ", column " + std::to_string(col + 1));
            EXPECT_NEAR(a_actual.m[row][col], a_expected[row][col], kTolerance);
        }
    }
}

void expectVectorNear(const D3DXVECTOR3& a_actual, const D3DXVECTOR3& a_expected)
{
    EXPECT_NEAR(a_actual.x, a_expected.x, kTolerance);
    EXPECT_NEAR(a_actual.y, a_expected.y, kTolerance);
    EXPECT_NEAR(a_actual.z, a_expected.z, kTolerance);
}

void expectQuaternionNear(const D3DXQUATERNION& a_actual, const D3DXQUATERNION& a_expected)
{
    EXPECT_NEAR(a_actual.x, a_expected.x, kTolerance);
    EXPECT_NEAR(a_actual.y, a_expected.y, kTolerance);
    EXPECT_NEAR(a_actual.z, a_expected.z, kTolerance);
    EXPECT_NEAR(a_actual.w, a_expected.w, kTolerance);
}

D3DXVECTOR3 transformed(const D3DXVECTOR3& a_point, const D3DXMATRIX& a_matrix)
{
    D3DXVECTOR3 result;
    return *D3DXVec3TransformCoord(&result, &a_point, &a_matrix);
}

// A rotation about z by twice a_halfAngle.
D3DXQUATERNION zRotation(double a_halfAngle)
{
    return D3DXQUATERNION(0.0f, 0.0f, static_cast<float>(sin(a_halfAngle)),
                          static_cast<float>(cos(a_halfAngle)));
}

// An independent double-precision reading of the squad formulas, written in
// the usual quaternion notation (a * b is the Hamilton product), to check the
// library's reversed-order products against.
struct Quat
{
    double x, y, z, w;
};

Quat toQuat(const D3DXQUATERNION& a_q)
{
    return Quat{a_q.x, a_q.y, a_q.z, a_q.w};
}

Quat operator*(const Quat& a, const Quat& b)
{
    return Quat{a.w * b.x + a.x * b.w + a.y * b.z - a.z * b.y,
                a.w * b.y - a.x * b.z + a.y * b.w + a.z * b.x,
                a.w * b.z + a.x * b.y - a.y * b.x + a.z * b.w,
                a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z};
}

Quat operator+(const Quat& a, const Quat& b)
{
    return Quat{a.x + b.x, a.y + b.y, a.z + b.z, a.w + b.w};
}
Quat operator-(const Quat& a)
{
    return Quat{-a.x, -a.y, -a.z, -a.w};
}
Quat scale(const Quat& a, double s)
{
    return Quat{a.x * s, a.y * s, a.z * s, a.w * s};
}
double dot(const Quat& a, const Quat& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w;
}
Quat conjugate(const Quat& a)
{
    return Quat{-a.x, -a.y, -a.z, a.w};
}

Quat logarithm(const Quat& a)
{
    const double length = sqrt(a.x * a.x + a.y * a.y + a.z * a.z);
    const double theta = acos(a.w);
    return length > 0.0
               ? Quat{a.x / length * theta, a.y / length * theta, a.z / length * theta, 0.0}
               : Quat{0.0, 0.0, 0.0, 0.0};
}

Quat exponential(const Quat& a)
{
    const double theta = sqrt(a.x * a.x + a.y * a.y + a.z * a.z);
    const double s = theta > 0.0 ? sin(theta) / theta : 1.0;
    return Quat{a.x * s, a.y * s, a.z * s, cos(theta)};
}

Quat slerp(const Quat& a, Quat b, double t)
{
    double c = dot(a, b);
    if (c < 0.0)
    {
        b = -b;
        c = -c;
    }
    const double angle = acos(c);
    return scale(a, sin((1.0 - t) * angle) / sin(angle)) + scale(b, sin(t * angle) / sin(angle));
}

Quat nearer(const Quat& a_reference, const Quat& a_q)
{
    return dot(a_reference, a_q) < 0.0 ? -a_q : a_q;
}

Quat inner(const Quat& q, const Quat& next, const Quat& previous)
{
    const Quat inverse = conjugate(q);
    return q * exponential(scale(logarithm(inverse * next) + logarithm(inverse * previous), -0.25));
}

D3DXQUATERNION toD3DX(const Quat& a_q)
{
    return D3DXQUATERNION(static_cast<float>(a_q.x), static_cast<float>(a_q.y),
                          static_cast<float>(a_q.z), static_cast<float>(a_q.w));
}

// Four unit keys about different axes, in the same hemisphere pairwise.
D3DXQUATERNION generalKey(int a_index)
{
    const D3DXVECTOR3 axes[4] = {D3DXVECTOR3(1.0f, 0.0f, 0.0f), D3DXVECTOR3(0.0f, 1.0f, 1.0f),
                                 D3DXVECTOR3(1.0f, 2.0f, 0.5f), D3DXVECTOR3(-1.0f, 0.5f, 2.0f)};
    const float angles[4] = {0.2f, 0.7f, 1.3f, 1.9f};
    D3DXQUATERNION q;
    return *D3DXQuaternionRotationAxis(&q, &axes[a_index], angles[a_index]);
}

}

// The types have D3DX's memory layout: packed floats, matrix rows in order.
TEST(D3DXMathTest, TypesHaveTheRealLayout)
{
    EXPECT_EQ(sizeof(D3DXVECTOR2), 8u);
    EXPECT_EQ(sizeof(D3DXVECTOR3), 12u);
    EXPECT_EQ(sizeof(D3DXVECTOR4), 16u);
    EXPECT_EQ(sizeof(D3DXQUATERNION), 16u);
    EXPECT_EQ(sizeof(D3DXMATRIX), 64u);
    EXPECT_EQ(offsetof(D3DMATRIX, _23), 6 * sizeof(float));
    EXPECT_EQ(offsetof(D3DMATRIX, _41), 12 * sizeof(float));

    D3DXMATRIX matrix(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16);
    EXPECT_EQ(matrix._23, 7.0f);
    EXPECT_EQ(matrix.m[1][2], 7.0f);
    EXPECT_EQ(matrix(1, 2), 7.0f);
    matrix(3, 0) = -1.0f;
    EXPECT_EQ(matrix._41, -1.0f);
    const float* elements = matrix;
    EXPECT_EQ(elements[5], 6.0f);
    EXPECT_EQ(D3DXMATRIX(elements), matrix);

    D3DXQUATERNION q(1, 2, 3, 4);
    const float* components = q;
    EXPECT_EQ(components[3], 4.0f);
}

// Vector operators work component by component, as D3DX's do.
TEST(D3DXMathTest, VectorOperatorsAreComponentWise)
{
    const D3DXVECTOR3 a(1.0f, 2.0f, 3.0f);
    const D3DXVECTOR3 b(4.0f, -5.0f, 6.0f);
    EXPECT_EQ(a + b, D3DXVECTOR3(5.0f, -3.0f, 9.0f));
    EXPECT_EQ(a - b, D3DXVECTOR3(-3.0f, 7.0f, -3.0f));
    EXPECT_EQ(a * 2.0f, D3DXVECTOR3(2.0f, 4.0f, 6.0f));
    EXPECT_EQ(2.0f * a, D3DXVECTOR3(2.0f, 4.0f, 6.0f));
    EXPECT_EQ(a / 2.0f, D3DXVECTOR3(0.5f, 1.0f, 1.5f));
    EXPECT_EQ(-a, D3DXVECTOR3(-1.0f, -2.0f, -3.0f));
    EXPECT_TRUE(a != b);
    EXPECT_FALSE(a == b);

    D3DXVECTOR3 c = a;
    c += b;
    c *= 2.0f;
    c -= a;
    c /= 4.0f;
    EXPECT_EQ(c, D3DXVECTOR3(2.25f, -2.0f, 3.75f));

    // mingw-w64's d3dx9math.h lacks the SDK's (xyz, w) constructor.
#ifdef __MINGW32__
    const D3DXVECTOR4 v4(1.0f, 2.0f, 3.0f, 4.0f);
#else
    const D3DXVECTOR4 v4(D3DXVECTOR3(1.0f, 2.0f, 3.0f), 4.0f);
#endif
    EXPECT_EQ(v4 * 0.5f + v4, D3DXVECTOR4(1.5f, 3.0f, 4.5f, 6.0f));
    EXPECT_EQ(D3DXVECTOR2(1.0f, 2.0f) - D3DXVECTOR2(3.0f, 5.0f), D3DXVECTOR2(-2.0f, -3.0f));

    const D3DXQUATERNION q(1.0f, 2.0f, 3.0f, 4.0f);
    EXPECT_EQ(q * 2.0f - q, q);
    EXPECT_EQ(-q / 2.0f, D3DXQUATERNION(-0.5f, -1.0f, -1.5f, -2.0f));
}

// Matrix products run left to right: S x T scales first, then translates.
TEST(D3DXMathTest, MatrixMultiplyConcatenatesLeftToRight)
{
    D3DXMATRIX scaling, translation, product;
    D3DXMatrixScaling(&scaling, 2.0f, 3.0f, 4.0f);
    D3DXMatrixTranslation(&translation, 1.0f, 2.0f, 3.0f);

    EXPECT_EQ(D3DXMatrixMultiply(&product, &scaling, &translation), &product);
    const float scaleThenMove[4][4] = {{2, 0, 0, 0}, {0, 3, 0, 0}, {0, 0, 4, 0}, {1, 2, 3, 1}};
    expectMatrixNear(product, scaleThenMove);

    const float moveThenScale[4][4] = {{2, 0, 0, 0}, {0, 3, 0, 0}, {0, 0, 4, 0}, {2, 6, 12, 1}};
    expectMatrixNear(translation * scaling, moveThenScale);

    // In place, as the real library allows.
    D3DXMatrixMultiply(&translation, &translation, &scaling);
    expectMatrixNear(translation, moveThenScale);
}

// A general product and the transpose: A x transpose(A) is the table of row dot products.
TEST(D3DXMathTest, MatrixProductAndTranspose)
{
    const D3DXMATRIX a(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16);
    D3DXMATRIX transposed;
    EXPECT_EQ(D3DXMatrixTranspose(&transposed, &a), &transposed);
    EXPECT_EQ(transposed._12, 5.0f);
    EXPECT_EQ(transposed._41, 4.0f);

    const float expected[4][4] = {
        {30, 70, 110, 150}, {70, 174, 278, 382}, {110, 278, 446, 614}, {150, 382, 614, 846}};
    expectMatrixNear(a * transposed, expected);

    D3DXMATRIX b = a;
    b *= transposed;
    expectMatrixNear(b, expected);
}

// Matrix arithmetic operators are element-wise; equality compares all sixteen.
TEST(D3DXMathTest, MatrixArithmeticOperators)
{
    const D3DXMATRIX a(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16);
    const D3DXMATRIX doubled = a * 2.0f;
    EXPECT_EQ(doubled._34, 24.0f);
    EXPECT_EQ(2.0f * a, doubled);
    EXPECT_EQ(a + a, doubled);
    EXPECT_EQ(doubled - a, a);
    EXPECT_EQ(doubled / 2.0f, a);
    EXPECT_EQ((-a)._44, -16.0f);
    D3DXMATRIX c = a;
    c(2, 3) = 0.0f;
    EXPECT_TRUE(c != a);
}

// Identity, translation and scaling move points as documented; normals ignore translation.
TEST(D3DXMathTest, VectorTransforms)
{
    D3DXMATRIX identity, translation, scaling;
    D3DXMatrixIdentity(&identity);
    D3DXMatrixTranslation(&translation, 10.0f, 20.0f, 30.0f);
    D3DXMatrixScaling(&scaling, 2.0f, -1.0f, 0.5f);
    const D3DXVECTOR3 p(1.0f, 2.0f, 3.0f);

    EXPECT_EQ(transformed(p, identity), p);
    EXPECT_EQ(transformed(p, translation), D3DXVECTOR3(11.0f, 22.0f, 33.0f));
    EXPECT_EQ(transformed(p, scaling), D3DXVECTOR3(2.0f, -2.0f, 1.5f));

    D3DXVECTOR4 h;
    EXPECT_EQ(D3DXVec3Transform(&h, &p, &translation), &h);
    EXPECT_EQ(h, D3DXVECTOR4(11.0f, 22.0f, 33.0f, 1.0f));

    D3DXVECTOR3 normal;
    EXPECT_EQ(D3DXVec3TransformNormal(&normal, &p, &translation), &normal);
    EXPECT_EQ(normal, p);

    // TransformCoord divides by w: a matrix whose w column doubles w halves the point.
    D3DXMATRIX halving;
    D3DXMatrixIdentity(&halving);
    halving._44 = 2.0f;
    EXPECT_EQ(transformed(p, halving), D3DXVECTOR3(0.5f, 1.0f, 1.5f));
}

// The axis rotations are left-handed for row vectors: a quarter turn about z
// takes +x to +y, about x takes +y to +z, about y takes +z to +x.
TEST(D3DXMathTest, AxisRotationsMapTheBasis)
{
    struct Case
    {
        const char* name;
        Rotation rotation;
        D3DXVECTOR3 input;
        D3DXVECTOR3 expected;
    };
    const Case cases[] = {
        {"z: x to y", D3DXMatrixRotationZ, D3DXVECTOR3(1, 0, 0), D3DXVECTOR3(0, 1, 0)},
        {"z: y to -x", D3DXMatrixRotationZ, D3DXVECTOR3(0, 1, 0), D3DXVECTOR3(-1, 0, 0)},
        {"x: y to z", D3DXMatrixRotationX, D3DXVECTOR3(0, 1, 0), D3DXVECTOR3(0, 0, 1)},
        {"x: z to -y", D3DXMatrixRotationX, D3DXVECTOR3(0, 0, 1), D3DXVECTOR3(0, -1, 0)},
        {"y: z to x", D3DXMatrixRotationY, D3DXVECTOR3(0, 0, 1), D3DXVECTOR3(1, 0, 0)},
        {"y: x to -z", D3DXMatrixRotationY, D3DXVECTOR3(1, 0, 0), D3DXVECTOR3(0, 0, -1)},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        D3DXMATRIX m;
        EXPECT_EQ(c.rotation(&m, kHalfPi), &m);
        expectVectorNear(transformed(c.input, m), c.expected);
    }
}

// D3DXMatrixRotationZ is the documented matrix (cos, sin / -sin, cos).
TEST(D3DXMathTest, RotationZIsTheDocumentedMatrix)
{
    const float c = static_cast<float>(cos(0.3));
    const float s = static_cast<float>(sin(0.3));
    D3DXMATRIX m;
    D3DXMatrixRotationZ(&m, 0.3f);
    const float expected[4][4] = {{c, s, 0, 0}, {-s, c, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    expectMatrixNear(m, expected);
}

// LookAtLH is the documented matrix of the axes zaxis = norm(At - Eye),
// xaxis = norm(Up x zaxis), yaxis = zaxis x xaxis, and minus their dot products with the eye.
TEST(D3DXMathTest, LookAtLHIsTheDocumentedMatrix)
{
    struct Case
    {
        const char* name;
        D3DXVECTOR3 eye;
        D3DXVECTOR3 at;
        float expected[4][4];
    };
    const Case cases[] = {
        // Looking down +z from z = -5: the axes stay, the eye moves to the origin.
        {"down +z",
         D3DXVECTOR3(0, 0, -5),
         D3DXVECTOR3(0, 0, 0),
         {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 5, 1}}},
        // Looking down -x from x = 10: zaxis = -x, xaxis = +z.
        {"down -x",
         D3DXVECTOR3(10, 0, 0),
         D3DXVECTOR3(0, 0, 0),
         {{0, 0, -1, 0}, {0, 1, 0, 0}, {1, 0, 0, 0}, {0, 0, 10, 1}}},
        // zaxis = (0.6, 0.8, 0), xaxis = (0, 0, -1), yaxis = (-0.8, 0.6, 0).
        {"oblique",
         D3DXVECTOR3(1, 2, 3),
         D3DXVECTOR3(4, 6, 3),
         {{0, -0.8f, 0.6f, 0}, {0, 0.6f, 0.8f, 0}, {-1, 0, 0, 0}, {3, -0.4f, -2.2f, 1}}},
    };
    const D3DXVECTOR3 up(0.0f, 1.0f, 0.0f);
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        D3DXMATRIX view;
        EXPECT_EQ(D3DXMatrixLookAtLH(&view, &c.eye, &c.at, &up), &view);
        expectMatrixNear(view, c.expected);
        expectVectorNear(transformed(c.eye, view), D3DXVECTOR3(0, 0, 0));
    }
}

// PerspectiveFovLH is the documented matrix: yScale = cot(fovy / 2),
// xScale = yScale / aspect, depth zf / (zf - zn) and -zn zf / (zf - zn), w = z.
TEST(D3DXMathTest, PerspectiveFovLHIsTheDocumentedMatrix)
{
    D3DXMATRIX projection;
    EXPECT_EQ(D3DXMatrixPerspectiveFovLH(&projection, kHalfPi, 2.0f, 1.0f, 101.0f), &projection);
    const float expected[4][4] = {
        {0.5f, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1.01f, 1}, {0, 0, -1.01f, 0}};
    expectMatrixNear(projection, expected);

    // The near plane maps to depth 0 and the far plane to depth 1.
    EXPECT_NEAR(transformed(D3DXVECTOR3(0, 0, 1), projection).z, 0.0f, kTolerance);
    EXPECT_NEAR(transformed(D3DXVECTOR3(0, 0, 101), projection).z, 1.0f, kTolerance);

    D3DXMatrixPerspectiveFovLH(&projection, 1.0f, 1.7777778f, 1.0f, 5000.0f);
    EXPECT_FLOAT_EQ(projection._22, static_cast<float>(1.0 / tan(0.5)));
    EXPECT_FLOAT_EQ(projection._11, static_cast<float>(1.0 / tan(0.5) / 1.7777778));
}

// Inverse undoes a scale-then-move, reports the determinant, and refuses a singular matrix.
TEST(D3DXMathTest, MatrixInverse)
{
    D3DXMATRIX scaling, translation;
    D3DXMatrixScaling(&scaling, 2.0f, 4.0f, 8.0f);
    D3DXMatrixTranslation(&translation, 1.0f, 2.0f, 3.0f);
    const D3DXMATRIX m = scaling * translation;

    D3DXMATRIX inverse;
    float determinant = 0.0f;
    EXPECT_EQ(D3DXMatrixInverse(&inverse, &determinant, &m), &inverse);
    EXPECT_FLOAT_EQ(determinant, 64.0f);
    const float expected[4][4] = {
        {0.5f, 0, 0, 0}, {0, 0.25f, 0, 0}, {0, 0, 0.125f, 0}, {-0.5f, -0.5f, -0.375f, 1}};
    expectMatrixNear(inverse, expected);

    // A general matrix times its inverse is the identity; no determinant asked for.
    const D3DXMATRIX general(2, 1, 0, 3, 1, 3, 1, 0, 0, 1, 4, 1, 1, 0, 2, 5);
    ASSERT_NE(D3DXMatrixInverse(&inverse, nullptr, &general), nullptr);
    const float identity[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    expectMatrixNear(general * inverse, identity);

    const D3DXMATRIX singular(1, 2, 3, 4, 2, 4, 6, 8, 0, 0, 1, 0, 0, 0, 0, 1);
    D3DXMATRIX untouched = m;
    EXPECT_EQ(D3DXMatrixInverse(&untouched, &determinant, &singular), nullptr);
    EXPECT_EQ(determinant, 0.0f);
    EXPECT_EQ(untouched, m);
}

// Length, dot, cross and normalisation of vectors; a zero vector normalises to zero.
TEST(D3DXMathTest, VectorBasics)
{
    const D3DXVECTOR3 v(3.0f, 4.0f, 12.0f);
    EXPECT_FLOAT_EQ(D3DXVec3Length(&v), 13.0f);
    const D3DXVECTOR3 w(1.0f, -2.0f, 0.5f);
    EXPECT_FLOAT_EQ(D3DXVec3Dot(&v, &w), 1.0f);

    const D3DXVECTOR3 x(1, 0, 0), y(0, 1, 0);
    D3DXVECTOR3 cross;
    EXPECT_EQ(D3DXVec3Cross(&cross, &x, &y), &cross);
    EXPECT_EQ(cross, D3DXVECTOR3(0, 0, 1));
    EXPECT_EQ(*D3DXVec3Cross(&cross, &v, &w), D3DXVECTOR3(26.0f, 10.5f, -10.0f));

    struct Case
    {
        D3DXVECTOR3 input;
        D3DXVECTOR3 expected;
    };
    const Case cases[] = {
        {D3DXVECTOR3(3, 4, 12), D3DXVECTOR3(3.0f / 13, 4.0f / 13, 12.0f / 13)},
        {D3DXVECTOR3(0, -5, 0), D3DXVECTOR3(0, -1, 0)},
        {D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 0, 0)},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message()
                     << "(" << c.input.x << ", " << c.input.y << ", " << c.input.z << ")");
        D3DXVECTOR3 normal;
        EXPECT_EQ(D3DXVec3Normalize(&normal, &c.input), &normal);
        expectVectorNear(normal, c.expected);
    }

    D3DXVECTOR4 v4(1.0f, 2.0f, 2.0f, 4.0f);
    EXPECT_EQ(D3DXVec4Normalize(&v4, &v4), &v4);
    EXPECT_EQ(v4, D3DXVECTOR4(0.2f, 0.4f, 0.4f, 0.8f));
    const D3DXVECTOR4 zero(0, 0, 0, 0);
    EXPECT_EQ(*D3DXVec4Normalize(&v4, &zero), zero);
}

// Quaternion identity, dot, conjugate, inverse and normalisation; zero stays zero.
TEST(D3DXMathTest, QuaternionBasics)
{
    D3DXQUATERNION q;
    EXPECT_EQ(D3DXQuaternionIdentity(&q), &q);
    EXPECT_EQ(q, D3DXQUATERNION(0, 0, 0, 1));

    const D3DXQUATERNION a(1.0f, 2.0f, 2.0f, 4.0f);
    EXPECT_FLOAT_EQ(D3DXQuaternionDot(&a, &a), 25.0f);
    EXPECT_EQ(*D3DXQuaternionConjugate(&q, &a), D3DXQUATERNION(-1, -2, -2, 4));
    expectQuaternionNear(*D3DXQuaternionInverse(&q, &a),
                         D3DXQUATERNION(-0.04f, -0.08f, -0.08f, 0.16f));
    expectQuaternionNear(*D3DXQuaternionNormalize(&q, &a), D3DXQUATERNION(0.2f, 0.4f, 0.4f, 0.8f));

    // The inverse undoes the rotation: q x inverse(q) is the identity.
    D3DXQUATERNION inverse, product;
    D3DXQuaternionInverse(&inverse, &a);
    expectQuaternionNear(*D3DXQuaternionMultiply(&product, &a, &inverse),
                         D3DXQUATERNION(0, 0, 0, 1));

    const D3DXQUATERNION zero(0, 0, 0, 0);
    EXPECT_EQ(*D3DXQuaternionNormalize(&q, &zero), zero);
    EXPECT_EQ(*D3DXQuaternionInverse(&q, &zero), zero);
}

// RotationAxis builds (sin(a/2) axis, cos(a/2)) from any non-zero axis length,
// and its matrix is the matching axis rotation.
TEST(D3DXMathTest, QuaternionRotationAxisAndMatrix)
{
    const D3DXVECTOR3 longZ(0.0f, 0.0f, 2.0f);
    D3DXQUATERNION q;
    EXPECT_EQ(D3DXQuaternionRotationAxis(&q, &longZ, kHalfPi), &q);
    expectQuaternionNear(q, D3DXQUATERNION(0, 0, kSqrtHalf, kSqrtHalf));

    struct Case
    {
        const char* name;
        D3DXVECTOR3 axis;
        Rotation rotation;
    };
    const Case cases[] = {
        {"x", D3DXVECTOR3(1, 0, 0), D3DXMatrixRotationX},
        {"y", D3DXVECTOR3(0, 1, 0), D3DXMatrixRotationY},
        {"z", D3DXVECTOR3(0, 0, 1), D3DXMatrixRotationZ},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        D3DXQuaternionRotationAxis(&q, &c.axis, 0.7f);
        D3DXMATRIX fromQuaternion, expected;
        EXPECT_EQ(D3DXMatrixRotationQuaternion(&fromQuaternion, &q), &fromQuaternion);
        c.rotation(&expected, 0.7f);
        expectMatrixNear(fromQuaternion, expected.m);
    }
}

// D3DXQuaternionMultiply(Q1, Q2) is the rotation Q1 followed by Q2, i.e. Q2 * Q1
// in the usual notation, and concatenates like D3DXMatrixMultiply.
TEST(D3DXMathTest, QuaternionMultiplyIsQ1ThenQ2)
{
    const D3DXQUATERNION aboutX(kSqrtHalf, 0.0f, 0.0f, kSqrtHalf);  // quarter turn about x
    const D3DXQUATERNION aboutY(0.0f, kSqrtHalf, 0.0f, kSqrtHalf);  // quarter turn about y

    D3DXQUATERNION product;
    EXPECT_EQ(D3DXQuaternionMultiply(&product, &aboutX, &aboutY), &product);
    // aboutY * aboutX by hand, with s = sqrt(1/2): w = s s = 1/2 and
    // v = s (s, 0, 0) + s (0, s, 0) + (0, s, 0) x (s, 0, 0) = (1/2, 1/2, -1/2).
    expectQuaternionNear(product, D3DXQUATERNION(0.5f, 0.5f, -0.5f, 0.5f));
    expectQuaternionNear(aboutX * aboutY, product);

    // +y turns to +z about x, then +z to +x about y.
    D3DXMATRIX m;
    D3DXMatrixRotationQuaternion(&m, &product);
    expectVectorNear(transformed(D3DXVECTOR3(0, 1, 0), m), D3DXVECTOR3(1, 0, 0));

    D3DXMATRIX mx, my;
    D3DXMatrixRotationQuaternion(&mx, &aboutX);
    D3DXMatrixRotationQuaternion(&my, &aboutY);
    expectMatrixNear(m, (mx * my).m);
}

// Ln and Exp map (sin(theta) v, cos(theta)) and (theta v, 0) into each other.
TEST(D3DXMathTest, QuaternionLnAndExp)
{
    const double theta = 0.6;
    const D3DXQUATERNION unit(0.0f, static_cast<float>(sin(theta) * 0.6),
                              static_cast<float>(sin(theta) * 0.8), static_cast<float>(cos(theta)));
    const D3DXQUATERNION logarithm(0.0f, 0.36f, 0.48f, 0.0f);

    D3DXQUATERNION q;
    EXPECT_EQ(D3DXQuaternionLn(&q, &unit), &q);
    expectQuaternionNear(q, logarithm);
    EXPECT_EQ(D3DXQuaternionExp(&q, &logarithm), &q);
    expectQuaternionNear(q, unit);

    const D3DXQUATERNION identity(0, 0, 0, 1);
    const D3DXQUATERNION zero(0, 0, 0, 0);
    EXPECT_EQ(*D3DXQuaternionLn(&q, &identity), zero);
    EXPECT_EQ(*D3DXQuaternionExp(&q, &zero), identity);
}

// Slerp runs along the great arc, takes the shorter way when the keys lie in
// opposite hemispheres, and returns its ends at t = 0 and 1.
TEST(D3DXMathTest, QuaternionSlerp)
{
    const D3DXQUATERNION identity(0, 0, 0, 1);
    const D3DXQUATERNION quarter = zRotation(M_PI / 4);  // a quarter turn about z
    const D3DXQUATERNION eighth = zRotation(M_PI / 8);

    D3DXQUATERNION q;
    EXPECT_EQ(D3DXQuaternionSlerp(&q, &identity, &quarter, 0.5f), &q);
    expectQuaternionNear(q, eighth);
    EXPECT_EQ(*D3DXQuaternionSlerp(&q, &identity, &quarter, 0.0f), identity);
    expectQuaternionNear(*D3DXQuaternionSlerp(&q, &identity, &quarter, 1.0f), quarter);
    expectQuaternionNear(*D3DXQuaternionSlerp(&q, &identity, &quarter, 0.25f),
                         zRotation(M_PI / 16));

    const D3DXQUATERNION flipped = -quarter;
    expectQuaternionNear(*D3DXQuaternionSlerp(&q, &identity, &flipped, 0.5f), eighth);

    // Equal keys give the key.
    expectQuaternionNear(*D3DXQuaternionSlerp(&q, &quarter, &quarter, 0.3f), quarter);
}

// For keys about one axis, squad interpolates the half-angles: with half-angles
// 0, 0.1, 0.5, 0.6 the control points are 0.1 - (0.4 - 0.1) / 4 = 0.025 and
// 0.5 - (0.1 - 0.4) / 4 = 0.575, and at t = 0.25 the curve is at
// 0.2 + 2(0.25)(0.75)(0.1625 - 0.2) = 0.1859375.
TEST(D3DXMathTest, SquadAboutOneAxis)
{
    const D3DXQUATERNION keys[4] = {zRotation(0.0), zRotation(0.1), zRotation(0.5), zRotation(0.6)};
    D3DXQUATERNION a, b, c;
    D3DXQuaternionSquadSetup(&a, &b, &c, &keys[0], &keys[1], &keys[2], &keys[3]);
    expectQuaternionNear(a, zRotation(0.025));
    expectQuaternionNear(b, zRotation(0.575));
    expectQuaternionNear(c, keys[2]);

    D3DXQUATERNION q;
    EXPECT_EQ(D3DXQuaternionSquad(&q, &keys[1], &a, &b, &c, 0.25f), &q);
    expectQuaternionNear(q, zRotation(0.1859375));
    expectQuaternionNear(*D3DXQuaternionSquad(&q, &keys[1], &a, &b, &c, 0.5f), zRotation(0.3));
}

// For keys about different axes the control points and a mid value match the
// published formulas evaluated independently in the usual notation; the
// curve starts at Q1 and ends at C.
TEST(D3DXMathTest, SquadMatchesThePublishedFormulas)
{
    D3DXQUATERNION keys[4];
    Quat reference[4];
    for (int i = 0; i < 4; ++i)
    {
        keys[i] = generalKey(i);
        reference[i] = toQuat(keys[i]);
    }
    D3DXQUATERNION a, b, c;
    D3DXQuaternionSquadSetup(&a, &b, &c, &keys[0], &keys[1], &keys[2], &keys[3]);

    const Quat q0 = nearer(reference[1], reference[0]);
    const Quat q1 = reference[1];
    const Quat q2 = nearer(reference[1], reference[2]);
    const Quat q3 = nearer(q2, reference[3]);
    const Quat expectedA = inner(q1, q2, q0);
    const Quat expectedB = inner(q2, q3, q1);
    expectQuaternionNear(a, toD3DX(expectedA));
    expectQuaternionNear(b, toD3DX(expectedB));
    expectQuaternionNear(c, toD3DX(q2));

    const double t = 0.3;
    const Quat expectedMid =
        slerp(slerp(q1, q2, t), slerp(expectedA, expectedB, t), 2.0 * t * (1.0 - t));
    D3DXQUATERNION q;
    expectQuaternionNear(*D3DXQuaternionSquad(&q, &keys[1], &a, &b, &c, 0.3f), toD3DX(expectedMid));

    EXPECT_EQ(*D3DXQuaternionSquad(&q, &keys[1], &a, &b, &c, 0.0f), keys[1]);
    expectQuaternionNear(*D3DXQuaternionSquad(&q, &keys[1], &a, &b, &c, 1.0f), c);
}

// q and -q are the same rotation: negating Q0, Q2 or Q3 changes none of the
// control points, because each key takes the sign nearer to its predecessor
// as already adjusted.
TEST(D3DXMathTest, SquadSetupIgnoresTheKeysSigns)
{
    D3DXQUATERNION keys[4];
    for (int i = 0; i < 4; ++i)
        keys[i] = generalKey(i);
    D3DXQUATERNION a, b, c;
    D3DXQuaternionSquadSetup(&a, &b, &c, &keys[0], &keys[1], &keys[2], &keys[3]);

    const char* names[] = {"none", "Q0", "Q2", "Q3", "Q2 and Q3", "Q0, Q2 and Q3"};
    const bool flips[][4] = {{false, false, false, false}, {true, false, false, false},
                             {false, false, true, false},  {false, false, false, true},
                             {false, false, true, true},   {true, false, true, true}};
    for (size_t row = 0; row < sizeof(flips) / sizeof(flips[0]); ++row)
    {
        SCOPED_TRACE(std::string("negated: ") + names[row]);
        D3DXQUATERNION given[4];
        for (int i = 0; i < 4; ++i)
            given[i] = flips[row][i] ? -keys[i] : keys[i];
        D3DXQUATERNION a2, b2, c2;
        D3DXQuaternionSquadSetup(&a2, &b2, &c2, &given[0], &given[1], &given[2], &given[3]);
        expectQuaternionNear(a2, a);
        expectQuaternionNear(b2, b);
        expectQuaternionNear(c2, c);
    }
}

// D3DX computes its quaternion functions on any four floats, unit length or
// not, and programs feed it keys that have drifted off unit length. The
// expected values are what D3DX returns for these inputs.
TEST(D3DXMathTest, QuaternionsNotOfUnitLengthComeOutAsD3DXComputesThem)
{
    const D3DXQUATERNION q(1.0f, 2.0f, 4.0f, 10.0f);
    const D3DXQUATERNION r(-3.0f, 4.0f, -5.0f, 7.0f);
    const D3DXQUATERNION t(-1111.0f, 111.0f, -11.0f, 1.0f);
    const D3DXQUATERNION u(91.0f, -82.0f, 7.3f, -6.4f);
    const D3DXQUATERNION shorter(0.2f, 0.1f, 0.3f, 0.9f);  // length below 1
    const D3DXQUATERNION smallQ(0.1f, 0.2f, 0.3f, 0.4f);
    const D3DXQUATERNION smallR(0.5f, 0.6f, 0.7f, 0.8f);
    const D3DXQUATERNION zero(0.0f, 0.0f, 0.0f, 0.0f);
    const D3DXQUATERNION unitQ = q / 11.0f;

    struct Case
    {
        const char* name;
        D3DXQUATERNION actual;
        D3DXQUATERNION expected;
        float tolerance;
    };
    D3DXQUATERNION out;
    const Case cases[] = {
        // Ln reads the angle from w; from w = 1 on (x, y, z) stays as it is.
        {"Ln, w above 1", *D3DXQuaternionLn(&out, &q), D3DXQUATERNION(1.0f, 2.0f, 4.0f, 0.0f),
         1e-5f},
        {"Ln, w = 7", *D3DXQuaternionLn(&out, &r), D3DXQUATERNION(-3.0f, 4.0f, -5.0f, 0.0f), 1e-5f},
        {"Ln, q / 11", *D3DXQuaternionLn(&out, &unitQ),
         D3DXQUATERNION(0.093768f, 0.187536f, 0.375073f, 0.0f), 1e-5f},
        {"Ln, length below 1", *D3DXQuaternionLn(&out, &shorter),
         D3DXQUATERNION(0.206945f, 0.103473f, 0.310418f, 0.0f), 1e-5f},
        // Exp ignores w and takes the length of (x, y, z) as the angle.
        {"Exp", *D3DXQuaternionExp(&out, &q),
         D3DXQUATERNION(-0.216382f, -0.432764f, -0.865527f, -0.129449f), 1e-5f},
        {"Exp, length below 1", *D3DXQuaternionExp(&out, &shorter),
         D3DXQUATERNION(0.195366f, 0.097683f, 0.293049f, 0.930813f), 1e-5f},
        {"Exp of zero", *D3DXQuaternionExp(&out, &zero), D3DXQUATERNION(0.0f, 0.0f, 0.0f, 1.0f),
         0.0f},
        // Inverse divides the conjugate by the squared length.
        {"Inverse", *D3DXQuaternionInverse(&out, &q),
         D3DXQUATERNION(-1.0f / 121.0f, -2.0f / 121.0f, -4.0f / 121.0f, 10.0f / 121.0f), 1e-6f},
        {"Multiply", *D3DXQuaternionMultiply(&out, &q, &r),
         D3DXQUATERNION(3.0f, 61.0f, -32.0f, 85.0f), 0.0f},
        // Slerp blends linearly once the dot product reaches 1 (here 55 and
        // -923, the second with Q2 negated).
        {"Slerp, dot far above 1", *D3DXQuaternionSlerp(&out, &q, &r, 0.3f),
         D3DXQUATERNION(-0.2f, 2.6f, 1.3f, 9.1f), 1e-5f},
        {"Slerp, dot far below -1", *D3DXQuaternionSlerp(&out, &q, &t, 0.3f),
         D3DXQUATERNION(334.0f, -31.9f, 6.1f, 6.7f), 1e-4f},
        {"Slerp, short keys", *D3DXQuaternionSlerp(&out, &smallQ, &smallR, 0.3f),
         D3DXQUATERNION(0.239485f, 0.346580f, 0.453676f, 0.560772f), 1e-5f},
        {"Squad", *D3DXQuaternionSquad(&out, &q, &r, &t, &u, 0.3f),
         D3DXQUATERNION(-156.296f, 30.242f, -2.5022f, 7.3576f), 1e-3f},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        EXPECT_NEAR(c.actual.x, c.expected.x, c.tolerance);
        EXPECT_NEAR(c.actual.y, c.expected.y, c.tolerance);
        EXPECT_NEAR(c.actual.z, c.expected.z, c.tolerance);
        EXPECT_NEAR(c.actual.w, c.expected.w, c.tolerance);
    }
}

// D3DXQuaternionSquadSetup on keys that are not of unit length, with the
// control points D3DX returns, also when an output is one of the inputs.
TEST(D3DXMathTest, SquadSetupOnKeysNotOfUnitLength)
{
    struct Case
    {
        const char* name;
        D3DXQUATERNION keys[4];
        D3DXQUATERNION a, b, c;
        float tolerance;
    };
    const Case cases[] = {
        {"large keys",
         {{1.0f, 2.0f, 4.0f, 10.0f},
          {-3.0f, 4.0f, -5.0f, 7.0f},
          {-1111.0f, 111.0f, -11.0f, 1.0f},
          {91.0f, -82.0f, 7.3f, -6.4f}},
         {7.121285f, 2.159964f, -3.855094f, 5.362844f},
         {-1113.492920f, 82.679260f, -6.696645f, -4.090050f},
         {-1111.0f, 111.0f, -11.0f, 1.0f},
         2e-3f},
        {"Q2 kept, Q3 kept",
         {{0.2f, 0.3f, 1.3f, -0.6f},
          {-3.0f, -2.0f, 4.0f, 0.2f},
          {1.1f, -0.7f, 9.2f, 0.0f},
          {0.4f, 8.3f, -3.1f, -2.7f}},
         {-4.139569f, -2.469115f, 2.364477f, 0.465494f},
         {2.342533f, 2.365127f, 8.628538f, -0.898356f},
         {1.1f, -0.7f, 9.2f, 0.0f},
         2e-5f},
        {"Q2 negated",
         {{0.2f, 0.3f, 1.3f, -0.6f},
          {-3.0f, -2.0f, 4.0f, 0.2f},
          {0.4f, 8.3f, -3.1f, -2.7f},
          {1.1f, -0.7f, 9.2f, 0.0f}},
         {-3.754567f, -0.586085f, 3.815818f, -0.198150f},
         {0.140773f, -8.737090f, -0.516593f, 3.053942f},
         {-0.4f, -8.3f, 3.1f, 2.7f},
         2e-5f},
        {"opposite pure keys",
         {{-1.0f, 0.0f, 0.0f, 0.0f},
          {1.0f, 0.0f, 0.0f, 0.0f},
          {1.0f, 0.0f, 0.0f, 0.0f},
          {-1.0f, 0.0f, 0.0f, 0.0f}},
         {1.0f, 0.0f, 0.0f, 0.0f},
         {1.0f, 0.0f, 0.0f, 0.0f},
         {1.0f, 0.0f, 0.0f, 0.0f},
         0.0f},
    };
    auto expectNear = [](const D3DXQUATERNION& a_actual, const D3DXQUATERNION& a_expected,
                         float a_tolerance) {
        // Relative for the large values.
        const float scale = std::max(1.0f, std::max(fabs(a_expected.x), fabs(a_expected.w)));
        EXPECT_NEAR(a_actual.x, a_expected.x, a_tolerance * scale);
        EXPECT_NEAR(a_actual.y, a_expected.y, a_tolerance * scale);
        EXPECT_NEAR(a_actual.z, a_expected.z, a_tolerance * scale);
        EXPECT_NEAR(a_actual.w, a_expected.w, a_tolerance * scale);
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        D3DXQUATERNION a, b, cOut;
        D3DXQuaternionSquadSetup(&a, &b, &cOut, &c.keys[0], &c.keys[1], &c.keys[2], &c.keys[3]);
        {
            SCOPED_TRACE("A");
            expectNear(a, c.a, c.tolerance);
        }
        {
            SCOPED_TRACE("B");
            expectNear(b, c.b, c.tolerance);
        }
        {
            SCOPED_TRACE("C");
            expectNear(cOut, c.c, 0.0f);
        }
        // Every output may be one of the inputs: D3DX reads all four keys
        // before it writes.
        for (int output = 0; output < 3; ++output)
            for (int input = 0; input < 4; ++input)
            {
                SCOPED_TRACE("output " + std::to_string(output) + " is key " +
                             std::to_string(input));
                D3DXQUATERNION keys[4] = {c.keys[0], c.keys[1], c.keys[2], c.keys[3]};
                D3DXQUATERNION outs[3];
                D3DXQUATERNION* targets[3] = {&outs[0], &outs[1], &outs[2]};
                targets[output] = &keys[input];
                D3DXQuaternionSquadSetup(targets[0], targets[1], targets[2], &keys[0], &keys[1],
                                         &keys[2], &keys[3]);
                const D3DXQUATERNION* expected[3] = {&c.a, &c.b, &c.c};
                expectNear(*targets[output], *expected[output], output == 2 ? 0.0f : c.tolerance);
            }
    }
}

// Outputs may alias inputs in every quaternion function: each reads its
// inputs before writing.
TEST(D3DXMathTest, QuaternionOutputsMayBeTheirInputs)
{
    const D3DXQUATERNION q(1.0f, 2.0f, 4.0f, 10.0f);
    const D3DXQUATERNION r(-3.0f, 4.0f, -5.0f, 7.0f);
    const D3DXQUATERNION shorter(0.2f, 0.1f, 0.3f, 0.9f);
    struct Case
    {
        const char* name;
        std::function<void(D3DXQUATERNION*, const D3DXQUATERNION*, const D3DXQUATERNION*)> run;
    };
    const Case cases[] = {
        {"Inverse",
         [](D3DXQUATERNION* o, const D3DXQUATERNION* a, const D3DXQUATERNION*) {
             D3DXQuaternionInverse(o, a);
         }},
        {"Ln",
         [](D3DXQUATERNION* o, const D3DXQUATERNION* a, const D3DXQUATERNION*) {
             D3DXQuaternionLn(o, a);
         }},
        {"Exp",
         [](D3DXQUATERNION* o, const D3DXQUATERNION* a, const D3DXQUATERNION*) {
             D3DXQuaternionExp(o, a);
         }},
        {"Multiply",
         [](D3DXQUATERNION* o, const D3DXQUATERNION* a, const D3DXQUATERNION* b) {
             D3DXQuaternionMultiply(o, a, b);
         }},
        {"Slerp",
         [](D3DXQUATERNION* o, const D3DXQUATERNION* a, const D3DXQUATERNION* b) {
             D3DXQuaternionSlerp(o, a, b, 0.3f);
         }},
    };
    const D3DXQUATERNION* firsts[] = {&q, &shorter};
    for (const Case& c : cases)
        for (const D3DXQUATERNION* first : firsts)
        {
            SCOPED_TRACE(c.name);
            D3DXQUATERNION expected;
            c.run(&expected, first, &r);
            D3DXQUATERNION a = *first;
            c.run(&a, &a, &r);
            EXPECT_EQ(a, expected) << "output is the first input";
            D3DXQUATERNION b = r;
            c.run(&b, first, &b);
            EXPECT_EQ(b, expected) << "output is the second input";
        }
}
