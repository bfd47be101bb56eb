// MeshBuilder's shapes face the way their normals say: every triangle winds
// clockwise seen from the side its vertices' normals point to (the front
// Direct3D keeps), which in the left-handed frame means (b - a) x (c - a)
// points along the normal; closed shapes enclose a positive volume; a
// mirroring transform and flip keep the rule.
#include "scene/format/MeshBuilder.h"

#include <gtest/gtest.h>

#include <math.h>

#include <functional>

namespace
{

struct Case
{
    const char* name;
    std::function<void(MeshBuilder&)> build;
};

void expectFacesFollowNormals(const QorMesh& a_mesh)
{
    ASSERT_EQ(a_mesh.indices.size() % 3, 0u);
    ASSERT_FALSE(a_mesh.indices.empty());
    for (size_t i = 0; i < a_mesh.indices.size(); i += 3)
    {
        const QorVertex& a = a_mesh.vertices.at(a_mesh.indices[i]);
        const QorVertex& b = a_mesh.vertices.at(a_mesh.indices[i + 1]);
        const QorVertex& c = a_mesh.vertices.at(a_mesh.indices[i + 2]);
        const D3DXVECTOR3 ab = b.position - a.position, ac = c.position - a.position;
        D3DXVECTOR3 face;
        D3DXVec3Cross(&face, &ab, &ac);
        const D3DXVECTOR3 normal = a.normal + b.normal + c.normal;
        EXPECT_GT(D3DXVec3Dot(&face, &normal), 0.0f) << "triangle " << i / 3;
    }
}

}  // namespace

TEST(MeshBuilderTest, EveryShapeWindsTowardItsNormals)
{
    const Case cases[] = {
        {"sphere",
         [](MeshBuilder& b) {
             b.sphere(2.0f, 12, 8);
         }},
        {"box",
         [](MeshBuilder& b) {
             b.box(D3DXVECTOR3(-1, -2, -3), D3DXVECTOR3(1, 2, 3));
         }},
        {"cylinder with caps",
         [](MeshBuilder& b) {
             b.cylinder(2.0f, 1.0f, 3.0f, 10, true);
         }},
        {"cone",
         [](MeshBuilder& b) {
             b.cylinder(2.0f, 0.0f, 3.0f, 10, true);
         }},
        {"inverted cone",
         [](MeshBuilder& b) {
             b.cylinder(0.0f, 2.0f, 3.0f, 10, true);
         }},
        {"torus",
         [](MeshBuilder& b) {
             b.torus(5.0f, 1.0f, 16, 8);
         }},
        {"plane",
         [](MeshBuilder& b) {
             b.plane(4.0f, 2.0f, 3, 2, 1.0f);
         }},
        {"box turned inside out",
         [](MeshBuilder& b) {
             b.box(D3DXVECTOR3(-1, -1, -1), D3DXVECTOR3(1, 1, 1));
             b.flip(0);
         }},
        {"sphere mirrored",
         [](MeshBuilder& b) {
             b.sphere(1.0f, 8, 6);
             D3DXMATRIX mirror;
             D3DXMatrixScaling(&mirror, -1.0f, 2.0f, 1.0f);
             b.transform(0, mirror);
         }},
        {"torus displaced",
         [](MeshBuilder& b) {
             b.torus(5.0f, 1.5f, 24, 12);
             b.displace(0, [](const D3DXVECTOR3& a_point, const D3DXVECTOR3&) {
                 return 0.2f * sinf(a_point.x);
             });
         }},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        MeshBuilder builder;
        c.build(builder);
        QorMesh mesh;
        builder.finish(mesh);
        expectFacesFollowNormals(mesh);
    }
}

// A transform moves positions by the matrix and normals by its inverse
// transpose, kept at unit length.
TEST(MeshBuilderTest, TransformMovesPositionsAndNormals)
{
    MeshBuilder builder;
    builder.plane(2.0f, 2.0f, 1, 1, 1.0f);
    const uint32_t second = builder.vertexCount();
    builder.plane(2.0f, 2.0f, 1, 1, 1.0f);
    D3DXMATRIX stretch, move, both;
    D3DXMatrixScaling(&stretch, 1.0f, 4.0f, 1.0f);
    D3DXMatrixRotationZ(&move, 0.5f * 3.14159265f);
    D3DXMatrixMultiply(&both, &stretch, &move);
    builder.transform(second, both);
    QorMesh mesh;
    builder.finish(mesh);
    ASSERT_EQ(mesh.vertices.size(), 8u);
    EXPECT_FLOAT_EQ(mesh.vertices[0].normal.y, 1.0f);
    // +y turned a quarter about z points along -x.
    EXPECT_NEAR(mesh.vertices[4].normal.x, -1.0f, 1e-5f);
    EXPECT_NEAR(mesh.vertices[4].normal.y, 0.0f, 1e-5f);
    EXPECT_NEAR(mesh.vertices[4].position.y, mesh.vertices[0].position.x, 1e-5f);
}
