// Builds the triangle meshes of the generated scenes: vertices with their
// normals, texture coordinates and tangents, and the triangles over them,
// wound clockwise as seen from the side the normals face.
#pragma once

#include "scene/format/QorFile.h"

#include <stdint.h>

#include <vector>

class MeshBuilder
{
public:
    // Appends a vertex; the tangent is worked out by finish().
    uint32_t vertex(const D3DXVECTOR3& a_position, const D3DXVECTOR3& a_normal, float a_u,
                    float a_v);
    // One triangle, a, b, c clockwise as seen from its front.
    void triangle(uint32_t a_a, uint32_t a_b, uint32_t a_c);

    // A sphere of a_radius around the origin, its normals outward: a_rings
    // bands from pole to pole, a_segments around; u runs once around, v from
    // the top pole (0) to the bottom (1).
    void sphere(float a_radius, uint32_t a_segments, uint32_t a_rings);

    // An axis-aligned box from a_low to a_high, four vertices of its own per
    // face (24 in all, 36 indices), normals outward, each face mapped 0 to 1.
    void box(const D3DXVECTOR3& a_low, const D3DXVECTOR3& a_high);

    // Two triangles over four vertices given as seen from the front: top
    // left, top right, bottom left, bottom right.
    void quad(uint32_t a_topLeft, uint32_t a_topRight, uint32_t a_bottomLeft,
              uint32_t a_bottomRight);

    // A tube along +y from y = 0 to a_height, a_bottomRadius at the bottom
    // and a_topRadius at the top (0 makes a cone), normals outward across
    // the slope; u runs once around, v from the top (0) to the bottom (1).
    // With a_caps, flat discs close the ends that have a radius.
    void cylinder(float a_bottomRadius, float a_topRadius, float a_height, uint32_t a_segments,
                  bool a_caps);

    // A ring around the y axis: a tube of a_minorRadius whose centre runs on
    // a circle of a_majorRadius in the xz plane. u runs once around the y
    // axis, v once around the tube, starting at its top.
    void torus(float a_majorRadius, float a_minorRadius, uint32_t a_segments, uint32_t a_sides);

    // A flat a_width x a_depth rectangle in the xz plane centred on the
    // origin, facing +y, cut into a_cellsX x a_cellsZ quads; its texture
    // coordinates run from 0 to a_repeat across it.
    void plane(float a_width, float a_depth, uint32_t a_cellsX, uint32_t a_cellsZ, float a_repeat);

    // Vertices added from now on: the index the next one gets.
    uint32_t vertexCount() const { return uint32_t(m_vertices.size()); }
    // Moves vertices a_first onward by a_matrix (row vectors, as D3DX);
    // normals go through its inverse transpose. A mirroring matrix turns
    // the triangles' winding along with the shape.
    void transform(uint32_t a_first, const D3DXMATRIX& a_matrix);
    // Every vertex a_first onward pushed along its normal by a_offset(its
    // position, its normal), then every normal re-derived from the faces
    // around it, vertices at the same place sharing one.
    template <typename Offset>
    void displace(uint32_t a_first, Offset a_offset);
    // Turns vertices a_first onward and their triangles inside out: the
    // inside of a box becomes a room.
    void flip(uint32_t a_first);

    size_t triangleCount() const { return m_indices.size() / 3; }

    // Moves the mesh's vertices into a_mesh, with tangents along growing u
    // averaged over the triangles that share each vertex.
    void finish(QorMesh& a_mesh);

private:
    // Normals of vertices a_first onward from the faces around them.
    void smoothNormals(uint32_t a_first);

    std::vector<QorVertex> m_vertices;
    std::vector<uint32_t> m_indices;
};

template <typename Offset>
void MeshBuilder::displace(uint32_t a_first, Offset a_offset)
{
    for (size_t i = a_first; i < m_vertices.size(); ++i)
    {
        QorVertex& vertex = m_vertices[i];
        vertex.position += vertex.normal * a_offset(vertex.position, vertex.normal);
    }
    smoothNormals(a_first);
}
