// The scene-file writer: records out in order, little-endian, unpadded.
#include "scene/format/QorWriter.h"

#include <math.h>
#include <string.h>

#include <type_traits>

namespace
{

constexpr size_t kMaxNameLength = 254;
constexpr size_t kTextureNameSize = 260;

class Output
{
public:
    Output(std::vector<uint8_t>& a_bytes, std::vector<QorField>* a_fields)
        : m_bytes(a_bytes), m_fields(a_fields)
    {
    }

    void setRecord(size_t a_record) { m_record = a_record; }

    template <typename T>
    void value(const char* a_field, const T& a_value)
    {
        static_assert(std::is_trivially_copyable<T>::value, "written as bytes");
        bytes(a_field, &a_value, sizeof(T));
    }

    template <typename T>
    void array(const char* a_field, const std::vector<T>& a_items)
    {
        static_assert(std::is_trivially_copyable<T>::value, "written as bytes");
        bytes(a_field, a_items.data(), a_items.size() * sizeof(T));
    }

    void name(const std::string& a_name)
    {
        value("nameLength", uint8_t(a_name.size() + 1));
        bytes("name", a_name.c_str(), a_name.size() + 1);
    }

    void bytes(const char* a_field, const void* a_data, size_t a_size)
    {
        if (m_fields)
            m_fields->push_back(QorField{m_record, a_field, m_bytes.size(), a_size});
        const uint8_t* data = static_cast<const uint8_t*>(a_data);
        if (a_size != 0)
            m_bytes.insert(m_bytes.end(), data, data + a_size);
    }

private:
    std::vector<uint8_t>& m_bytes;
    std::vector<QorField>* m_fields;
    size_t m_record = QorField::kHeader;
};

// Checks what the writer cannot express, before anything is written.
class Checker
{
public:
    explicit Checker(uint32_t a_frameCount) : m_frameCount(a_frameCount) {}

    std::string operator()(const QorMesh& a_mesh) const
    {
        std::string fault = name(a_mesh.name);
        if (fault.empty() && a_mesh.sourceIndex == -1)
        {
            if (a_mesh.extra.size() != size_t(a_mesh.extraSize > 0 ? a_mesh.extraSize : 0))
                fault = "its extra bytes disagree with its extra size";
            else if (a_mesh.kind != 0 && a_mesh.points.empty())
                fault = "a sprite mesh needs points";
            else if (a_mesh.kind == 0 && (a_mesh.vertices.empty() || a_mesh.indices.empty()))
                fault = "a triangle mesh needs vertices and indices";
            else if (a_mesh.vertices.size() > INT32_MAX || a_mesh.indices.size() > INT32_MAX ||
                     a_mesh.points.size() > INT32_MAX)
                fault = "more vertices or indices than the format counts";
        }
        const size_t counts[3] = {a_mesh.animation.translation.size(),
                                  a_mesh.animation.rotation.size(), a_mesh.animation.scale.size()};
        for (size_t count : counts)
        {
            if (fault.empty() && count != 1 && count != m_frameCount)
                fault = "an animation track needs 1 key or one per frame";
        }
        return fault;
    }

    std::string operator()(const QorMaterial& a_material) const
    {
        if (a_material.textures.size() > 255)
            return "more than 255 textures";
        for (const QorTextureEntry& entry : a_material.textures)
        {
            if (entry.fileName.size() >= kTextureNameSize)
                return "texture name \"" + entry.fileName + "\" is longer than 259 bytes";
        }
        return name(a_material.name);
    }

    std::string operator()(const QorCamera& a_camera) const
    {
        if (!perFrame(a_camera.positions) || !perFrame(a_camera.targets) ||
            !perFrame(a_camera.roll) || !perFrame(a_camera.fov))
            return "a camera track needs one key per frame";
        for (float fov : a_camera.fov)
        {
            if (!(fov > 0.0f) || !isfinite(fov))
                return "a camera's field of view must be above 0";
        }
        return name(a_camera.name);
    }

    std::string operator()(const QorLight& a_light) const
    {
        if (!perFrame(a_light.intensities) || !perFrame(a_light.positions) ||
            (a_light.spot ? !perFrame(a_light.targets) : !a_light.targets.empty()))
            return "a light track needs one key per frame (targets for spot lights only)";
        return name(a_light.name);
    }

private:
    static std::string name(const std::string& a_name)
    {
        if (a_name.size() > kMaxNameLength)
            return "name \"" + a_name + "\" is longer than 254 bytes";
        if (a_name.find('\0') != std::string::npos)
            return "name holds a zero byte";
        return std::string();
    }

    template <typename T>
    bool perFrame(const std::vector<T>& a_keys) const
    {
        return a_keys.size() == m_frameCount;
    }

    uint32_t m_frameCount;
};

class RecordWriter
{
public:
    explicit RecordWriter(Output& a_out) : m_out(a_out) {}

    void operator()(const QorMesh& a_mesh)
    {
        m_out.value("tag", uint8_t(0));
        m_out.name(a_mesh.name);
        m_out.value("sourceIndex", a_mesh.sourceIndex);
        if (a_mesh.sourceIndex == -1)
        {
            const bool sprites = a_mesh.kind != 0;
            m_out.value("materialIndex", a_mesh.materialIndex);
            m_out.value("extraSize", a_mesh.extraSize);
            m_out.array("extra", a_mesh.extra);
            m_out.value("vertexCount",
                        int32_t(sprites ? a_mesh.points.size() : a_mesh.vertices.size()));
            m_out.value("indexCount", int32_t(sprites ? 0 : a_mesh.indices.size()));
            m_out.value("kind", a_mesh.kind);
            if (sprites)
            {
                m_out.array("points", a_mesh.points);
                m_out.value("reserved", D3DXVECTOR3(0.0f, 0.0f, 0.0f));
            }
            else
            {
                m_out.array("vertices", a_mesh.vertices);
                m_out.value("reserved", D3DXVECTOR3(0.0f, 0.0f, 0.0f));
                m_out.array("indices", a_mesh.indices);
            }
        }
        const QorAnimation& animation = a_mesh.animation;
        m_out.value("translationAnimated", animated(animation.translation.size()));
        m_out.value("rotationAnimated", animated(animation.rotation.size()));
        m_out.value("scaleAnimated", animated(animation.scale.size()));
        m_out.array("translationKeys", animation.translation);
        m_out.array("rotationKeys", animation.rotation);
        m_out.array("scaleKeys", animation.scale);
    }

    void operator()(const QorMaterial& a_material)
    {
        m_out.value("tag", uint8_t(1));
        m_out.name(a_material.name);
        m_out.value("textureCount", uint8_t(a_material.textures.size()));
        m_out.value("diffuse", a_material.diffuse);
        m_out.value("selfIllum", a_material.selfIllum);
        m_out.value("glossiness", a_material.glossiness);
        m_out.value("specularPower", a_material.specularPower);
        for (const QorTextureEntry& entry : a_material.textures)
        {
            m_out.value("slot", entry.slot);
            m_out.value("reserved", uint32_t(0));
            char fileName[kTextureNameSize] = {};
            memcpy(fileName, entry.fileName.data(), entry.fileName.size());
            m_out.bytes("fileName", fileName, sizeof(fileName));
        }
    }

    void operator()(const QorCamera& a_camera)
    {
        m_out.value("tag", uint8_t(2));
        m_out.name(a_camera.name);
        m_out.value("reserved", uint64_t(0));
        m_out.array("positions", a_camera.positions);
        m_out.array("targets", a_camera.targets);
        m_out.array("roll", a_camera.roll);
        m_out.array("fov", a_camera.fov);
    }

    void operator()(const QorLight& a_light)
    {
        m_out.value("tag", uint8_t(3));
        m_out.name(a_light.name);
        m_out.value("isSpot", a_light.spot);
        m_out.value("color", a_light.color);
        m_out.value("nearRange", a_light.nearRange);
        m_out.value("farRange", a_light.farRange);
        m_out.array("intensities", a_light.intensities);
        m_out.array("positions", a_light.positions);
        if (a_light.spot)
            m_out.array("targets", a_light.targets);
    }

private:
    // One key is a constant track, even when the file has one frame.
    static uint8_t animated(size_t a_keys) { return a_keys == 1 ? 0 : 1; }

    Output& m_out;
};

}  // namespace

bool QorWriter::write(const QorFile& a_file, std::vector<uint8_t>& a_bytes, std::string& a_error,
                      std::vector<QorField>* a_fields)
{
    if (a_file.frameCount == 0)
    {
        a_error = "the frame count must be at least 1";
        return false;
    }
    const Checker checker(a_file.frameCount);
    for (size_t i = 0; i < a_file.records.size(); ++i)
    {
        const std::string fault = std::visit(checker, a_file.records[i]);
        if (!fault.empty())
        {
            a_error = "record " + std::to_string(i) + ": " + fault;
            return false;
        }
    }

    std::vector<uint8_t> bytes;
    if (a_fields)
        a_fields->clear();
    Output out(bytes, a_fields);
    out.value("frameCount", a_file.frameCount);
    RecordWriter writer(out);
    for (size_t i = 0; i < a_file.records.size(); ++i)
    {
        out.setRecord(i);
        std::visit(writer, a_file.records[i]);
    }
    out.setRecord(QorField::kHeader);
    out.value("endTag", kEndTag);
    a_bytes = std::move(bytes);
    return true;
}
