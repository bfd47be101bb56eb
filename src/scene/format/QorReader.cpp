// The scene-file parser: one cursor, front to back, every count checked
// against the bytes that remain before anything is allocated for it.
#include "scene/format/QorReader.h"

#include <math.h>
#include <stdio.h>
#include <string.h>

#include <type_traits>

namespace
{

constexpr size_t kTextureEntrySize = 265;
constexpr size_t kTextureNameSize = 260;

const char* const g_recordKinds[4] = {"mesh", "material", "camera", "light"};

}  // namespace

bool QorReader::read(const uint8_t* a_data, size_t a_size, QorFile& a_file, std::string& a_error)
{
    QorReader reader(a_data, a_size);
    QorFile file;
    if (!reader.readFile(file))
    {
        a_error = reader.m_error;
        return false;
    }
    a_file = std::move(file);
    return true;
}

bool QorReader::readFile(QorFile& a_file)
{
    m_recordKind = "header";
    if (!readValue(m_frameCount, "the frame count"))
        return false;
    if (m_frameCount == 0)
        return fail("the frame count is 0; every animated track needs at least one key");
    a_file.frameCount = m_frameCount;

    // A tag of 4 or more ends the file, and so does the end of the data.
    while (m_position < m_size && m_data[m_position] < 4)
    {
        const uint8_t tag = m_data[m_position];
        m_recordStart = m_position++;
        m_recordKind = g_recordKinds[tag];
        m_recordName.clear();
        bool read = false;
        switch (tag)
        {
        case 0:
            read = readMesh(a_file.records.emplace_back().emplace<QorMesh>());
            ++m_meshes;
            break;
        case 1:
            read = readMaterial(a_file.records.emplace_back().emplace<QorMaterial>());
            ++m_materials;
            break;
        case 2:
            read = readCamera(a_file.records.emplace_back().emplace<QorCamera>());
            break;
        default:
            read = readLight(a_file.records.emplace_back().emplace<QorLight>());
            break;
        }
        if (!read)
            return false;
    }
    return true;
}

bool QorReader::readMesh(QorMesh& a_mesh)
{
    if (!readName(a_mesh.name) || !readValue(a_mesh.sourceIndex, "the source index"))
        return false;
    if (a_mesh.sourceIndex != -1)
    {
        if (uint32_t(a_mesh.sourceIndex) >= m_meshes)
            return fail("instances mesh " + std::to_string(a_mesh.sourceIndex) + ", but only " +
                        std::to_string(m_meshes) + " come before it");
        return readAnimation(a_mesh.animation);
    }

    if (!readValue(a_mesh.materialIndex, "the material index"))
        return false;
    if (a_mesh.materialIndex != -1 && uint32_t(a_mesh.materialIndex) >= m_materials)
        return fail("uses material " + std::to_string(a_mesh.materialIndex) + ", but only " +
                    std::to_string(m_materials) + " come before it");
    if (!readValue(a_mesh.extraSize, "the extra size"))
        return false;
    if (a_mesh.extraSize > 0 && !readArray(a_mesh.extra, uint64_t(a_mesh.extraSize), "extra bytes"))
        return false;

    int32_t vertexCount = 0;
    int32_t indexCount = 0;
    if (!readValue(vertexCount, "the vertex count") || !readValue(indexCount, "the index count") ||
        !readValue(a_mesh.kind, "the mesh kind"))
        return false;
    if (vertexCount <= 0)
        return fail("has " + std::to_string(vertexCount) + " vertices; a mesh needs at least one");

    D3DXVECTOR3 reserved;
    if (a_mesh.kind != 0)
    {
        if (!readArray(a_mesh.points, uint64_t(vertexCount), "sprite points") ||
            !readValue(reserved, "the reserved vector"))
            return false;
        return readAnimation(a_mesh.animation);
    }

    // The device refuses an empty index buffer, and an index past the
    // vertices would make it read outside the vertex buffer.
    if (indexCount <= 0)
        return fail("has " + std::to_string(indexCount) +
                    " indices; a triangle mesh needs at least one");
    if (!readArray(a_mesh.vertices, uint64_t(vertexCount), "vertices") ||
        !readValue(reserved, "the reserved vector"))
        return false;
    const size_t indicesStart = m_position;
    if (!readArray(a_mesh.indices, uint64_t(indexCount), "indices"))
        return false;
    for (size_t i = 0; i < a_mesh.indices.size(); ++i)
    {
        if (a_mesh.indices[i] >= uint32_t(vertexCount))
        {
            m_position = indicesStart + i * 4;
            return fail("index " + std::to_string(i) + " is " + std::to_string(a_mesh.indices[i]) +
                        ", past its " + std::to_string(vertexCount) + " vertices");
        }
    }
    return readAnimation(a_mesh.animation);
}

bool QorReader::readAnimation(QorAnimation& a_animation)
{
    uint8_t translated = 0;
    uint8_t rotated = 0;
    uint8_t scaled = 0;
    if (!readValue(translated, "the translation flag") ||
        !readValue(rotated, "the rotation flag") || !readValue(scaled, "the scale flag"))
        return false;
    return readArray(a_animation.translation, translated ? m_frameCount : 1, "translation keys") &&
           readArray(a_animation.rotation, rotated ? m_frameCount : 1, "rotation keys") &&
           readArray(a_animation.scale, scaled ? m_frameCount : 1, "scale keys");
}

bool QorReader::readMaterial(QorMaterial& a_material)
{
    uint8_t textureCount = 0;
    if (!readName(a_material.name) || !readValue(textureCount, "the texture count") ||
        !readValue(a_material.diffuse, "the diffuse colour") ||
        !readValue(a_material.selfIllum, "the self-illumination colour") ||
        !readValue(a_material.glossiness, "the glossiness") ||
        !readValue(a_material.specularPower, "the specular power") ||
        !need(uint64_t(textureCount) * kTextureEntrySize, "texture entries"))
        return false;
    a_material.textures.resize(textureCount);
    for (QorTextureEntry& entry : a_material.textures)
    {
        // slot, 4 reserved bytes, then the zero-terminated name in 260 bytes
        entry.slot = m_data[m_position];
        const char* name = reinterpret_cast<const char*>(m_data + m_position + 5);
        const size_t length = strnlen(name, kTextureNameSize);
        if (length == kTextureNameSize)
        {
            m_position += 5;
            return fail("a texture file name fills its 260 bytes without a terminating zero");
        }
        entry.fileName.assign(name, length);
        m_position += kTextureEntrySize;
    }
    return true;
}

bool QorReader::readCamera(QorCamera& a_camera)
{
    if (!readName(a_camera.name) || !need(8, "the reserved bytes"))
        return false;
    m_position += 8;
    if (!readArray(a_camera.positions, m_frameCount, "positions") ||
        !readArray(a_camera.targets, m_frameCount, "targets") ||
        !readArray(a_camera.roll, m_frameCount, "roll angles"))
        return false;
    const size_t fovStart = m_position;
    if (!readArray(a_camera.fov, m_frameCount, "fields of view"))
        return false;
    // The projection divides by the tangent of half the angle: a field of
    // view of 0, below it or not a number shows nothing, or garbage.
    for (size_t i = 0; i < a_camera.fov.size(); ++i)
    {
        const float fov = a_camera.fov[i];
        if (!(fov > 0.0f) || !isfinite(fov))
        {
            m_position = fovStart + i * sizeof(float);
            return fail("field of view " + std::to_string(i) + " is " + std::to_string(fov) +
                        "; a camera needs an angle above 0");
        }
    }
    return true;
}

bool QorReader::readLight(QorLight& a_light)
{
    if (!readName(a_light.name) || !readValue(a_light.spot, "the spot flag") ||
        !readValue(a_light.color, "the colour") ||
        !readValue(a_light.nearRange, "the near range") ||
        !readValue(a_light.farRange, "the far range") ||
        !readArray(a_light.intensities, m_frameCount, "intensities") ||
        !readArray(a_light.positions, m_frameCount, "positions"))
        return false;
    return !a_light.spot || readArray(a_light.targets, m_frameCount, "targets");
}

bool QorReader::need(uint64_t a_bytes, const char* a_what)
{
    const size_t remaining = m_size - m_position;
    if (a_bytes <= remaining)
        return true;
    return fail(std::to_string(a_bytes) + " bytes for " + a_what + ", but " +
                std::to_string(remaining) + " remain");
}

// A length byte L, then L bytes that hold the name and its zero.
bool QorReader::readName(std::string& a_name)
{
    uint8_t length = 0;
    if (!readValue(length, "the name's length") || !need(length, "the name"))
        return false;
    const char* name = reinterpret_cast<const char*>(m_data + m_position);
    const size_t text = strnlen(name, length);
    if (text == length)
        return fail("the name of " + std::to_string(length) + " bytes has no terminating zero");
    a_name.assign(name, text);
    m_recordName = a_name;
    m_position += length;
    return true;
}

template <typename T>
bool QorReader::readValue(T& a_value, const char* a_what)
{
    static_assert(std::is_trivially_copyable<T>::value, "read as bytes");
    if (!need(sizeof(T), a_what))
        return false;
    memcpy(&a_value, m_data + m_position, sizeof(T));
    m_position += sizeof(T);
    return true;
}

template <typename T>
bool QorReader::readArray(std::vector<T>& a_items, uint64_t a_count, const char* a_what)
{
    static_assert(std::is_trivially_copyable<T>::value, "read as bytes");
    if (!need(a_count * sizeof(T), a_what))
        return false;
    a_items.resize(size_t(a_count));
    if (a_count != 0)
        memcpy(a_items.data(), m_data + m_position, size_t(a_count) * sizeof(T));
    m_position += size_t(a_count) * sizeof(T);
    return true;
}

// "mesh record "box" at byte 21: ... (byte 40)"
bool QorReader::fail(const std::string& a_message)
{
    std::string where = m_recordKind;
    if (m_recordStart != 0 || where != "header")
    {
        where += " record";
        if (!m_recordName.empty())
            where += " \"" + m_recordName + "\"";
        where += " at byte " + std::to_string(m_recordStart);
    }
    m_error = where + ": " + a_message + " (byte " + std::to_string(m_position) + ")";
    return false;
}
