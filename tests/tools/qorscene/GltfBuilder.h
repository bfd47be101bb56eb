// Small glTF 2.0 scenes written by the tests themselves: JSON for the
// scene, its numbers in a ".bin" buffer beside it, pictures as PNG files.
// Everything is built from glTF's own rules (right-handed, y up,
// counter-clockwise fronts, texture rows top first), not from the
// importer's.
#pragma once

#include <nlohmann/json.hpp>

#include <stdint.h>

#include <string>
#include <vector>

class GltfBuilder
{
public:
    using Json = nlohmann::json;

    GltfBuilder();

    // An accessor over a_values: "SCALAR", "VEC2", "VEC3" or "VEC4" floats.
    int floats(const std::vector<float>& a_values, const char* a_type);
    int indices(const std::vector<uint32_t>& a_values);

    // A box from a_low to a_high: 24 vertices with outward normals, each
    // face mapped 0 to 1 (u to the right, v down, seen from outside), 36
    // indices counter-clockwise seen from outside. Returns the mesh index.
    int box(const std::string& a_name, const float a_low[3], const float a_high[3], int a_material);

    // Appends a_item to the top-level array a_array; returns its index.
    int add(const char* a_array, const Json& a_item);
    // A node added to the scene's roots.
    int root(const Json& a_node);
    // A point or spot light of KHR_lights_punctual.
    int light(const Json& a_light);
    // A picture as a PNG file in a_folder, RGBA rows top first.
    int image(const std::string& a_folder, const std::string& a_name, int a_width, int a_height,
              const std::vector<uint8_t>& a_rgba);
    // An animation channel moving a_node's a_path ("translation", "rotation",
    // "scale") through a_values at a_times seconds.
    void animate(int a_node, const char* a_path, const std::vector<float>& a_times,
                 const std::vector<float>& a_values);

    Json& json() { return m_json; }
    // Writes a_path and its buffer "<stem>.bin" beside it.
    void write(const std::string& a_path);

private:
    Json m_json;
    std::vector<uint8_t> m_buffer;
    int m_animation = -1;
};
