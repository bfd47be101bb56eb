// Mesh building: vertices, triangles, shapes and tangents.
#include "scene/format/MeshBuilder.h"

#include <math.h>

uint32_t MeshBuilder::vertex(const D3DXVECTOR3& a_position, const D3DXVECTOR3& a_normal, float a_u,
                             float a_v)
{
    QorVertex vertex = {};
    vertex.position = a_position;
    vertex.normal = a_normal;
    vertex.uv[0] = a_u;
    vertex.uv[1] = a_v;
    vertex.uv1[0] = a_u;
    vertex.uv1[1] = a_v;
    m_vertices.push_back(vertex);
    return uint32_t(m_vertices.size() - 1);
}

void MeshBuilder::triangle(uint32_t a_a, uint32_t a_b, uint32_t a_c)
{
    m_indices.insert(m_indices.end(), {a_a, a_b, a_c});
}

// Seen from outside with y up, u grows eastward and v southward; the two
// triangles of each quad go clockwise on screen (north-west, north-east,
// south-west; north-east, south-east, south-west), the front Direct3D keeps.
void MeshBuilder::sphere(float a_radius, uint32_t a_segments, uint32_t a_rings)
{
    const float pi = 3.14159265358979f;
    const uint32_t first = uint32_t(m_vertices.size());
    for (uint32_t ring = 0; ring <= a_rings; ++ring)
    {
        const float v = float(ring) / float(a_rings);
        const float polar = v * pi;
        for (uint32_t segment = 0; segment <= a_segments; ++segment)
        {
            const float u = float(segment) / float(a_segments);
            const float azimuth = u * 2.0f * pi;
            const D3DXVECTOR3 normal(sinf(polar) * cosf(azimuth), cosf(polar), sinf(polar) * sinf(azimuth));
            vertex(normal * a_radius, normal, u, v);
        }
    }
    const uint32_t row = a_segments + 1;
    for (uint32_t ring = 0; ring < a_rings; ++ring)
    {
        for (uint32_t segment = 0; segment < a_segments; ++segment)
        {
            const uint32_t northWest = first + ring * row + segment;
            const uint32_t northEast = northWest + 1;
            const uint32_t southWest = northWest + row;
            const uint32_t southEast = southWest + 1;
            if (ring != 0)
                triangle(northWest, northEast, southWest);
            if (ring + 1 != a_rings)
                triangle(northEast, southEast, southWest);
        }
    }
}

// Each face is seen from outside with its u axis to the right and v down.
void MeshBuilder::box(const D3DXVECTOR3& a_low, const D3DXVECTOR3& a_high)
{
    const struct
    {
        D3DXVECTOR3 normal, right, down;
    } faces[6] = {
        {{0, 0, -1}, {1, 0, 0}, {0, -1, 0}},  // front, seen from -z
        {{0, 0, 1}, {-1, 0, 0}, {0, -1, 0}},  // back
        {{-1, 0, 0}, {0, 0, -1}, {0, -1, 0}}, // left
        {{1, 0, 0}, {0, 0, 1}, {0, -1, 0}},   // right
        {{0, 1, 0}, {1, 0, 0}, {0, 0, -1}},   // top, seen from +y
        {{0, -1, 0}, {1, 0, 0}, {0, 0, 1}},   // bottom
    };
    const D3DXVECTOR3 centre = (a_low + a_high) * 0.5f;
    const D3DXVECTOR3 half = (a_high - a_low) * 0.5f;
    auto scaled = [&](const D3DXVECTOR3& a_unit) {
        return D3DXVECTOR3(a_unit.x * half.x, a_unit.y * half.y, a_unit.z * half.z);
    };
    for (const auto& face : faces)
    {
        const D3DXVECTOR3 middle = centre + scaled(face.normal);
        const D3DXVECTOR3 right = scaled(face.right);
        const D3DXVECTOR3 down = scaled(face.down);
        const uint32_t topLeft = vertex(middle - right - down, face.normal, 0.0f, 0.0f);
        const uint32_t topRight = vertex(middle + right - down, face.normal, 1.0f, 0.0f);
        const uint32_t bottomLeft = vertex(middle - right + down, face.normal, 0.0f, 1.0f);
        const uint32_t bottomRight = vertex(middle + right + down, face.normal, 1.0f, 1.0f);
        triangle(topLeft, topRight, bottomLeft);
        triangle(topRight, bottomRight, bottomLeft);
    }
}

void MeshBuilder::finish(QorMesh& a_mesh)
{
    std::vector<D3DXVECTOR3> tangents(m_vertices.size(), D3DXVECTOR3(0.0f, 0.0f, 0.0f));
    for (size_t i = 0; i + 2 < m_indices.size(); i += 3)
    {
        const QorVertex& a = m_vertices[m_indices[i]];
        const QorVertex& b = m_vertices[m_indices[i + 1]];
        const QorVertex& c = m_vertices[m_indices[i + 2]];
        const D3DXVECTOR3 e1 = b.position - a.position;
        const D3DXVECTOR3 e2 = c.position - a.position;
        const float du1 = b.uv[0] - a.uv[0], dv1 = b.uv[1] - a.uv[1];
        const float du2 = c.uv[0] - a.uv[0], dv2 = c.uv[1] - a.uv[1];
        const float determinant = du1 * dv2 - du2 * dv1;
        if (fabsf(determinant) < 1e-12f)
            continue;
        const D3DXVECTOR3 tangent = (e1 * dv2 - e2 * dv1) / determinant;
        for (size_t k = 0; k < 3; ++k)
            tangents[m_indices[i + k]] += tangent;
    }
    for (size_t i = 0; i < m_vertices.size(); ++i)
    {
        // Only the part across the normal tilts it.
        D3DXVECTOR3 tangent = tangents[i];
        const D3DXVECTOR3& normal = m_vertices[i].normal;
        tangent -= normal * D3DXVec3Dot(&normal, &tangent);
        if (D3DXVec3Length(&tangent) > 1e-6f)
            D3DXVec3Normalize(&m_vertices[i].tangent, &tangent);
    }
    a_mesh.kind = 0;
    a_mesh.vertices = std::move(m_vertices);
    a_mesh.indices = std::move(m_indices);
    m_vertices.clear();
    m_indices.clear();
}
