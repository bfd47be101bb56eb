// glTF scenes for the import tests.
#include "GltfBuilder.h"

#include <stb_image_write.h>

#include <string.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace
{

int componentCount(const char* a_type)
{
    return strcmp(a_type, "SCALAR") == 0 ? 1 : a_type[3] - '0';
}

}  // namespace

GltfBuilder::GltfBuilder()
{
    m_json = {
        {"asset", {{"version", "2.0"}}}, {"scene", 0}, {"scenes", {{{"nodes", Json::array()}}}}};
}

int GltfBuilder::add(const char* a_array, const Json& a_item)
{
    Json& array = m_json[a_array];
    if (array.is_null())
        array = Json::array();
    array.push_back(a_item);
    return int(array.size() - 1);
}

int GltfBuilder::floats(const std::vector<float>& a_values, const char* a_type)
{
    const size_t offset = m_buffer.size();
    m_buffer.resize(offset + a_values.size() * 4);
    memcpy(m_buffer.data() + offset, a_values.data(), a_values.size() * 4);
    const int view =
        add("bufferViews",
            {{"buffer", 0}, {"byteOffset", offset}, {"byteLength", a_values.size() * 4}});
    const int components = componentCount(a_type);
    Json accessor = {{"bufferView", view},
                     {"componentType", 5126},
                     {"count", a_values.size() / size_t(components)},
                     {"type", a_type}};
    // Positions and animation times must say their range.
    Json low = Json::array(), high = Json::array();
    for (int c = 0; c < components; ++c)
    {
        float lo = a_values[size_t(c)], hi = a_values[size_t(c)];
        for (size_t i = size_t(c); i < a_values.size(); i += size_t(components))
        {
            lo = std::min(lo, a_values[i]);
            hi = std::max(hi, a_values[i]);
        }
        low.push_back(lo);
        high.push_back(hi);
    }
    accessor["min"] = low;
    accessor["max"] = high;
    return add("accessors", accessor);
}

int GltfBuilder::indices(const std::vector<uint32_t>& a_values)
{
    const size_t offset = m_buffer.size();
    m_buffer.resize(offset + a_values.size() * 4);
    memcpy(m_buffer.data() + offset, a_values.data(), a_values.size() * 4);
    const int view =
        add("bufferViews",
            {{"buffer", 0}, {"byteOffset", offset}, {"byteLength", a_values.size() * 4}});
    return add("accessors", {{"bufferView", view},
                             {"componentType", 5125},
                             {"count", a_values.size()},
                             {"type", "SCALAR"}});
}

// Each face is seen from outside along -normal, with "right" to the right
// and "up" up: right x up = normal in a right-handed space.
int GltfBuilder::box(const std::string& a_name, const float a_low[3], const float a_high[3],
                     int a_material)
{
    const float faces[6][3][3] = {
        {{1, 0, 0}, {0, 0, -1}, {0, 1, 0}}, {{-1, 0, 0}, {0, 0, 1}, {0, 1, 0}},
        {{0, 0, 1}, {1, 0, 0}, {0, 1, 0}},  {{0, 0, -1}, {-1, 0, 0}, {0, 1, 0}},
        {{0, 1, 0}, {1, 0, 0}, {0, 0, -1}}, {{0, -1, 0}, {1, 0, 0}, {0, 0, 1}},
    };
    std::vector<float> positions, normals, uvs;
    std::vector<uint32_t> corners;
    for (const auto& face : faces)
    {
        const uint32_t first = uint32_t(positions.size() / 3);
        // (-right, -up), (+right, -up), (+right, +up), (-right, +up)
        const float signs[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
        for (const auto& sign : signs)
        {
            for (int c = 0; c < 3; ++c)
            {
                const float middle = (a_low[c] + a_high[c]) * 0.5f;
                const float half = (a_high[c] - a_low[c]) * 0.5f;
                positions.push_back(
                    middle + (face[0][c] + face[1][c] * sign[0] + face[2][c] * sign[1]) * half);
                normals.push_back(face[0][c]);
            }
            uvs.push_back(sign[0] < 0 ? 0.0f : 1.0f);
            uvs.push_back(sign[1] < 0 ? 1.0f : 0.0f);
        }
        corners.insert(corners.end(), {first, first + 1, first + 2, first, first + 2, first + 3});
    }
    Json primitive = {{"attributes",
                       {{"POSITION", floats(positions, "VEC3")},
                        {"NORMAL", floats(normals, "VEC3")},
                        {"TEXCOORD_0", floats(uvs, "VEC2")}}},
                      {"indices", indices(corners)}};
    if (a_material >= 0)
        primitive["material"] = a_material;
    return add("meshes", {{"name", a_name}, {"primitives", {primitive}}});
}

int GltfBuilder::root(const Json& a_node)
{
    const int node = add("nodes", a_node);
    m_json["scenes"][0]["nodes"].push_back(node);
    return node;
}

int GltfBuilder::light(const Json& a_light)
{
    Json& lights = m_json["extensions"]["KHR_lights_punctual"]["lights"];
    if (lights.is_null())
    {
        lights = Json::array();
        add("extensionsUsed", "KHR_lights_punctual");
    }
    lights.push_back(a_light);
    return int(lights.size() - 1);
}

int GltfBuilder::image(const std::string& a_folder, const std::string& a_name, int a_width,
                       int a_height, const std::vector<uint8_t>& a_rgba)
{
    stbi_write_png((fs::path(a_folder) / a_name).string().c_str(), a_width, a_height, 4,
                   a_rgba.data(), a_width * 4);
    const int image = add("images", {{"uri", a_name}});
    return add("textures", {{"source", image}});
}

void GltfBuilder::animate(int a_node, const char* a_path, const std::vector<float>& a_times,
                          const std::vector<float>& a_values)
{
    if (m_animation < 0)
        m_animation = add("animations", {{"channels", Json::array()}, {"samplers", Json::array()}});
    Json& animation = m_json["animations"][size_t(m_animation)];
    const char* type = strcmp(a_path, "rotation") == 0 ? "VEC4" : "VEC3";
    animation["samplers"].push_back(
        {{"input", floats(a_times, "SCALAR")}, {"output", floats(a_values, type)}});
    animation["channels"].push_back({{"sampler", animation["samplers"].size() - 1},
                                     {"target", {{"node", a_node}, {"path", a_path}}}});
}

void GltfBuilder::write(const std::string& a_path)
{
    const fs::path path(a_path);
    const std::string bin = path.stem().string() + ".bin";
    m_json["buffers"] = {{{"byteLength", m_buffer.size()}, {"uri", bin}}};
    std::ofstream(path.parent_path() / bin, std::ios::binary)
        .write(reinterpret_cast<const char*>(m_buffer.data()), std::streamsize(m_buffer.size()));
    std::ofstream(path) << m_json.dump(1);
}
