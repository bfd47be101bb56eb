// Mesh building: vertices, triangles, shapes and tangents.
#include "scene/format/MeshBuilder.h"

#include <math.h>

#include <map>
#include <tuple>

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
            const D3DXVECTOR3 normal(sinf(polar) * cosf(azimuth), cosf(polar),
                                     sinf(polar) * sinf(azimuth));
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
        {{0, 0, -1}, {1, 0, 0}, {0, -1, 0}},   // front, seen from -z
        {{0, 0, 1}, {-1, 0, 0}, {0, -1, 0}},   // back
        {{-1, 0, 0}, {0, 0, -1}, {0, -1, 0}},  // left
        {{1, 0, 0}, {0, 0, 1}, {0, -1, 0}},    // right
        {{0, 1, 0}, {1, 0, 0}, {0, 0, -1}},    // top, seen from +y
        {{0, -1, 0}, {1, 0, 0}, {0, 0, 1}},    // bottom
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

void MeshBuilder::quad(uint32_t a_topLeft, uint32_t a_topRight, uint32_t a_bottomLeft,
                       uint32_t a_bottomRight)
{
    triangle(a_topLeft, a_topRight, a_bottomLeft);
    triangle(a_topRight, a_bottomRight, a_bottomLeft);
}

// Laid out like the sphere's bands: seen from outside, u grows to the right
// and v downward, so each quad goes clockwise on screen.
void MeshBuilder::cylinder(float a_bottomRadius, float a_topRadius, float a_height,
                           uint32_t a_segments, bool a_caps)
{
    const float pi = 3.14159265358979f;
    // The side's normal leans up by the slope: (height, radius change) across.
    const float slope = a_bottomRadius - a_topRadius;
    const float length = sqrtf(slope * slope + a_height * a_height);
    const float across = length > 0.0f ? a_height / length : 1.0f;
    const float up = length > 0.0f ? slope / length : 0.0f;
    const uint32_t first = uint32_t(m_vertices.size());
    for (uint32_t row = 0; row < 2; ++row)
    {
        const float radius = row == 0 ? a_topRadius : a_bottomRadius;
        const float y = row == 0 ? a_height : 0.0f;
        for (uint32_t segment = 0; segment <= a_segments; ++segment)
        {
            const float u = float(segment) / float(a_segments);
            const float azimuth = u * 2.0f * pi;
            const D3DXVECTOR3 out(cosf(azimuth), 0.0f, sinf(azimuth));
            const D3DXVECTOR3 normal(out.x * across, up, out.z * across);
            vertex(D3DXVECTOR3(out.x * radius, y, out.z * radius), normal, u, float(row));
        }
    }
    const uint32_t row = a_segments + 1;
    for (uint32_t segment = 0; segment < a_segments; ++segment)
    {
        const uint32_t northWest = first + segment;
        const uint32_t southWest = northWest + row;
        if (a_topRadius > 0.0f)
            triangle(northWest, northWest + 1, southWest);
        if (a_bottomRadius > 0.0f)
            triangle(northWest + 1, southWest + 1, southWest);
    }
    if (!a_caps)
        return;
    // Each cap is a fan around its centre, planar-mapped.
    for (uint32_t end = 0; end < 2; ++end)
    {
        const float radius = end == 0 ? a_topRadius : a_bottomRadius;
        if (radius <= 0.0f)
            continue;
        const float y = end == 0 ? a_height : 0.0f;
        const D3DXVECTOR3 normal(0.0f, end == 0 ? 1.0f : -1.0f, 0.0f);
        const uint32_t centre = vertex(D3DXVECTOR3(0.0f, y, 0.0f), normal, 0.5f, 0.5f);
        for (uint32_t segment = 0; segment <= a_segments; ++segment)
        {
            const float azimuth = float(segment) / float(a_segments) * 2.0f * pi;
            const float c = cosf(azimuth), s = sinf(azimuth);
            vertex(D3DXVECTOR3(c * radius, y, s * radius), normal, 0.5f + 0.5f * c,
                   0.5f + 0.5f * s);
        }
        for (uint32_t segment = 0; segment < a_segments; ++segment)
        {
            const uint32_t a = centre + 1 + segment;
            if (end == 0)
                triangle(centre, a + 1, a);
            else
                triangle(centre, a, a + 1);
        }
    }
}

void MeshBuilder::torus(float a_majorRadius, float a_minorRadius, uint32_t a_segments,
                        uint32_t a_sides)
{
    const float pi = 3.14159265358979f;
    const uint32_t first = uint32_t(m_vertices.size());
    for (uint32_t side = 0; side <= a_sides; ++side)
    {
        const float v = float(side) / float(a_sides);
        // From the top of the tube outward and down, as the sphere's bands go.
        const float around = 0.5f * pi - v * 2.0f * pi;
        for (uint32_t segment = 0; segment <= a_segments; ++segment)
        {
            const float u = float(segment) / float(a_segments);
            const float azimuth = u * 2.0f * pi;
            const D3DXVECTOR3 out(cosf(azimuth), 0.0f, sinf(azimuth));
            const D3DXVECTOR3 normal = out * cosf(around) + D3DXVECTOR3(0.0f, sinf(around), 0.0f);
            vertex(out * a_majorRadius + normal * a_minorRadius, normal, u, v);
        }
    }
    const uint32_t row = a_segments + 1;
    for (uint32_t side = 0; side < a_sides; ++side)
    {
        for (uint32_t segment = 0; segment < a_segments; ++segment)
        {
            const uint32_t northWest = first + side * row + segment;
            quad(northWest, northWest + 1, northWest + row, northWest + row + 1);
        }
    }
}

void MeshBuilder::plane(float a_width, float a_depth, uint32_t a_cellsX, uint32_t a_cellsZ,
                        float a_repeat)
{
    const uint32_t first = uint32_t(m_vertices.size());
    const D3DXVECTOR3 up(0.0f, 1.0f, 0.0f);
    // Seen from above with +z up the screen: row 0 is the far edge.
    for (uint32_t row = 0; row <= a_cellsZ; ++row)
    {
        const float v = float(row) / float(a_cellsZ);
        for (uint32_t column = 0; column <= a_cellsX; ++column)
        {
            const float u = float(column) / float(a_cellsX);
            vertex(D3DXVECTOR3((u - 0.5f) * a_width, 0.0f, (0.5f - v) * a_depth), up, u * a_repeat,
                   v * a_repeat);
        }
    }
    const uint32_t stride = a_cellsX + 1;
    for (uint32_t row = 0; row < a_cellsZ; ++row)
    {
        for (uint32_t column = 0; column < a_cellsX; ++column)
        {
            const uint32_t topLeft = first + row * stride + column;
            quad(topLeft, topLeft + 1, topLeft + stride, topLeft + stride + 1);
        }
    }
}

void MeshBuilder::transform(uint32_t a_first, const D3DXMATRIX& a_matrix)
{
    D3DXMATRIX inverse;
    D3DXMATRIX normalMatrix;
    float determinant = 0.0f;
    D3DXMatrixInverse(&inverse, &determinant, &a_matrix);
    D3DXMatrixTranspose(&normalMatrix, &inverse);
    for (size_t i = a_first; i < m_vertices.size(); ++i)
    {
        QorVertex& vertex = m_vertices[i];
        D3DXVECTOR3 position;
        D3DXVec3TransformCoord(&position, &vertex.position, &a_matrix);
        vertex.position = position;
        D3DXVECTOR3 normal;
        D3DXVec3TransformNormal(&normal, &vertex.normal, &normalMatrix);
        D3DXVec3Normalize(&vertex.normal, &normal);
    }
    // A mirror turns the faces inside out; turn the triangles back.
    if (determinant < 0.0f)
    {
        for (size_t i = 0; i + 2 < m_indices.size(); i += 3)
        {
            if (m_indices[i] >= a_first)
                std::swap(m_indices[i + 1], m_indices[i + 2]);
        }
    }
}

void MeshBuilder::flip(uint32_t a_first)
{
    for (size_t i = a_first; i < m_vertices.size(); ++i)
        m_vertices[i].normal = -m_vertices[i].normal;
    for (size_t i = 0; i + 2 < m_indices.size(); i += 3)
    {
        if (m_indices[i] >= a_first)
            std::swap(m_indices[i + 1], m_indices[i + 2]);
    }
}

// Face normals weighted by area, summed per place: the seams of a shape's
// texture mapping carry several vertices at one place, and they must bend
// the same way.
void MeshBuilder::smoothNormals(uint32_t a_first)
{
    using Place = std::tuple<int32_t, int32_t, int32_t>;
    auto placeOf = [](const D3DXVECTOR3& a_position) {
        const float grain = 1.0e4f;
        return Place(int32_t(lroundf(a_position.x * grain)), int32_t(lroundf(a_position.y * grain)),
                     int32_t(lroundf(a_position.z * grain)));
    };
    std::map<Place, D3DXVECTOR3> sums;
    for (size_t i = 0; i + 2 < m_indices.size(); i += 3)
    {
        if (m_indices[i] < a_first)
            continue;
        const D3DXVECTOR3& a = m_vertices[m_indices[i]].position;
        const D3DXVECTOR3& b = m_vertices[m_indices[i + 1]].position;
        const D3DXVECTOR3& c = m_vertices[m_indices[i + 2]].position;
        const D3DXVECTOR3 ab = b - a, ac = c - a;
        D3DXVECTOR3 face;
        D3DXVec3Cross(&face, &ab, &ac);
        for (size_t k = 0; k < 3; ++k)
        {
            const Place place = placeOf(m_vertices[m_indices[i + k]].position);
            auto found = sums.find(place);
            if (found == sums.end())
                sums.emplace(place, face);
            else
                found->second += face;
        }
    }
    for (size_t i = a_first; i < m_vertices.size(); ++i)
    {
        auto found = sums.find(placeOf(m_vertices[i].position));
        if (found != sums.end() && D3DXVec3Length(&found->second) > 0.0f)
            D3DXVec3Normalize(&m_vertices[i].normal, &found->second);
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
