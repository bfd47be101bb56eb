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
    uint32_t vertex(const D3DXVECTOR3& a_position, const D3DXVECTOR3& a_normal, float a_u, float a_v);
    // One triangle, a, b, c clockwise as seen from its front.
    void triangle(uint32_t a_a, uint32_t a_b, uint32_t a_c);

    // A sphere of a_radius around the origin, its normals outward: a_rings
    // bands from pole to pole, a_segments around; u runs once around, v from
    // the top pole (0) to the bottom (1).
    void sphere(float a_radius, uint32_t a_segments, uint32_t a_rings);

    // An axis-aligned box from a_low to a_high, four vertices of its own per
    // face (24 in all, 36 indices), normals outward, each face mapped 0 to 1.
    void box(const D3DXVECTOR3& a_low, const D3DXVECTOR3& a_high);

    // Moves the mesh's vertices into a_mesh, with tangents along growing u
    // averaged over the triangles that share each vertex.
    void finish(QorMesh& a_mesh);

private:
    std::vector<QorVertex> m_vertices;
    std::vector<uint32_t> m_indices;
};
