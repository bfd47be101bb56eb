// The dump's text, one record after another.
#include "SceneDump.h"

#include <stdarg.h>
#include <stdio.h>

#include <algorithm>
#include <vector>

namespace
{

void print(std::string& a_out, const char* a_format, ...) __attribute__((format(printf, 2, 3)));

void print(std::string& a_out, const char* a_format, ...)
{
    char buffer[512];
    va_list arguments;
    va_start(arguments, a_format);
    vsnprintf(buffer, sizeof(buffer), a_format, arguments);
    va_end(arguments);
    a_out += buffer;
}

std::string vector3(const D3DXVECTOR3& a_value)
{
    std::string text;
    print(text, "(%g, %g, %g)", double(a_value.x), double(a_value.y), double(a_value.z));
    return text;
}

// "constant" for one key or equal keys, else "animated".
template <typename K>
const char* motion(const std::vector<K>& a_keys)
{
    for (const K& key : a_keys)
    {
        if (!(key == a_keys.front()))
            return "animated";
    }
    return "constant";
}

template <typename K>
std::string track(const char* a_name, const std::vector<K>& a_keys)
{
    std::string text;
    print(text, "%s %s (%zu key%s)", a_name, motion(a_keys), a_keys.size(),
          a_keys.size() == 1 ? "" : "s");
    return text;
}

std::string bounds(const std::vector<D3DXVECTOR3>& a_points)
{
    D3DXVECTOR3 low = a_points.front();
    D3DXVECTOR3 high = a_points.front();
    for (const D3DXVECTOR3& point : a_points)
    {
        low = D3DXVECTOR3(std::min(low.x, point.x), std::min(low.y, point.y),
                          std::min(low.z, point.z));
        high = D3DXVECTOR3(std::max(high.x, point.x), std::max(high.y, point.y),
                           std::max(high.z, point.z));
    }
    return vector3(low) + " to " + vector3(high);
}

const char* slotName(uint8_t a_slot)
{
    switch (a_slot)
    {
    case kQorSlotOcclusion:
        return "occlusion";
    case kQorSlotColour:
        return "colour";
    case kQorSlotOpacity:
        return "opacity";
    case kQorSlotHeight:
        return "height";
    case kQorSlotReflection:
        return "reflection";
    default:
        return "ignored";
    }
}

class Dumper
{
public:
    explicit Dumper(std::string& a_out) : m_out(a_out) {}

    void operator()(const QorMesh& a_mesh)
    {
        print(m_out, "%zu mesh \"%s\"", m_index, a_mesh.name.c_str());
        if (a_mesh.sourceIndex != -1)
        {
            print(m_out, ": instance of mesh %d \"%s\"\n", a_mesh.sourceIndex,
                  m_meshes[size_t(a_mesh.sourceIndex)].c_str());
        }
        else
        {
            if (a_mesh.kind == 0)
                print(m_out, ": %zu vertices, %zu indices (%zu triangles)", a_mesh.vertices.size(),
                      a_mesh.indices.size(), a_mesh.indices.size() / 3);
            else
                print(m_out, ": %zu sprites (kind %u)", a_mesh.points.size(),
                      unsigned(a_mesh.kind));
            if (a_mesh.materialIndex == -1)
                print(m_out, ", no material");
            else
                print(m_out, ", material %d \"%s\"", a_mesh.materialIndex,
                      m_materials[size_t(a_mesh.materialIndex)].c_str());
            print(m_out, ", %zu extra bytes\n", a_mesh.extra.size());
            std::vector<D3DXVECTOR3> positions;
            for (const QorVertex& vertex : a_mesh.vertices)
                positions.push_back(vertex.position);
            print(m_out, "    bounds %s\n",
                  bounds(a_mesh.kind == 0 ? positions : a_mesh.points).c_str());
        }
        const QorAnimation& animation = a_mesh.animation;
        print(m_out, "    %s, %s, %s\n", track("translation", animation.translation).c_str(),
              track("rotation", animation.rotation).c_str(),
              track("scale", animation.scale).c_str());
        m_meshes.push_back(a_mesh.name);
    }

    void operator()(const QorMaterial& a_material)
    {
        print(m_out, "%zu material \"%s\": diffuse %s, ", m_index, a_material.name.c_str(),
              vector3(a_material.diffuse).c_str());
        if (a_material.selfIllum == D3DXVECTOR3(-1.0f, -1.0f, -1.0f))
            print(m_out, "no self-illumination");
        else
            print(m_out, "self-illumination %s", vector3(a_material.selfIllum).c_str());
        print(m_out, ", glossiness %g, specular power %g\n", double(a_material.glossiness),
              double(a_material.specularPower));
        for (const QorTextureEntry& entry : a_material.textures)
            print(m_out, "    slot %u (%s) \"%s\"\n", unsigned(entry.slot), slotName(entry.slot),
                  entry.fileName.c_str());
        m_materials.push_back(a_material.name);
    }

    void operator()(const QorCamera& a_camera)
    {
        const auto fov = std::minmax_element(a_camera.fov.begin(), a_camera.fov.end());
        print(m_out, "%zu camera \"%s\": field of view %g to %g\n", m_index, a_camera.name.c_str(),
              double(*fov.first), double(*fov.second));
        print(m_out, "    positions %s\n", bounds(a_camera.positions).c_str());
        print(m_out, "    %s, %s, %s\n", track("position", a_camera.positions).c_str(),
              track("target", a_camera.targets).c_str(), track("roll", a_camera.roll).c_str());
    }

    void operator()(const QorLight& a_light)
    {
        print(m_out, "%zu light \"%s\": %s, colour %s, near %g, far %g, last intensity %g\n",
              m_index, a_light.name.c_str(), a_light.spot ? "spot" : "omni",
              vector3(a_light.color).c_str(), double(a_light.nearRange), double(a_light.farRange),
              double(a_light.intensities.back()));
        print(m_out, "    %s", track("position", a_light.positions).c_str());
        if (a_light.spot)
            print(m_out, ", %s", track("target", a_light.targets).c_str());
        print(m_out, "\n");
    }

    size_t m_index = 0;

private:
    std::string& m_out;
    std::vector<std::string> m_meshes;
    std::vector<std::string> m_materials;
};

}  // namespace

std::string dumpScene(const QorFile& a_file)
{
    std::string out;
    print(out, "frames %u\n", a_file.frameCount);
    Dumper dumper(out);
    for (const QorRecord& record : a_file.records)
    {
        std::visit(dumper, record);
        ++dumper.m_index;
    }
    return out;
}
