// Turns a scene made in a 3D editor (glTF 2.0 first, and whatever else
// assimp reads) into the records of a scene file: meshes with their node
// animation sampled once per frame, materials and the pictures they name,
// cameras and point and spot lights. What the format cannot carry is left
// out with a warning that names the node or material.
#pragma once

#include "TextureWriter.h"

#include "scene/format/QorFile.h"

#include <assimp/Importer.hpp>
#include <assimp/scene.h>

#include <stdint.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

class NodeSampler;

class SceneImporter
{
public:
    struct Options
    {
        double fps = 30.0;    // frames per second of animation
        uint32_t frames = 0;  // 0: enough for the longest animation
        float scale = 1.0f;   // demo units per editor unit
    };

    explicit SceneImporter(const Options& a_options);
    ~SceneImporter();

    // Reads a_path and fills a_file. False with a_error (assimp's message
    // for a file it cannot read, or what the file held when none of it is
    // a mesh the demo can draw) when there is nothing to convert.
    bool import(const std::string& a_path, QorFile& a_file, std::string& a_error);

    const std::vector<std::string>& warnings() const { return m_warnings; }
    // The pictures the materials name, to be written beside the scene file.
    const TextureWriter& textures() const { return *m_textures; }

private:
    struct Placement
    {
        const aiNode* node;
        unsigned mesh;  // index into the scene's meshes
    };

    // What the editor's meshes held and what of it the demo cannot draw.
    struct Tally
    {
        uint64_t triangles = 0;
        uint64_t points = 0;       // in point clouds, drawn as sprites
        uint64_t lines = 0;        // line segments, left out
        uint64_t loosePoints = 0;  // points beside triangles, left out
        uint32_t emptyNodes = 0;   // nodes whose mesh has nothing to draw
    };

    void collect(const aiNode& a_node, std::vector<Placement>& a_placements);
    // a_node's transform in the editor's space at frame a_frame, the
    // import's scale included.
    aiMatrix4x4 world(const aiNode& a_node, uint32_t a_frame) const;

    QorMaterial material(const aiMaterial& a_material, unsigned a_index, const std::string& a_name);
    bool geometry(const aiMesh& a_mesh, const std::string& a_where, QorMesh& a_record);
    QorAnimation animation(const aiNode& a_node) const;
    bool camera(const aiCamera& a_camera, float a_focus, QorCamera& a_record);
    // Why an import with no drawable mesh writes nothing.
    std::string nothingToDraw() const;
    bool light(const aiLight& a_light, QorLight& a_record);
    void warn(const std::string& a_warning);

    Options m_options;
    Assimp::Importer m_importer;
    const aiScene* m_scene = nullptr;
    std::unique_ptr<NodeSampler> m_sampler;
    std::unique_ptr<TextureWriter> m_textures;
    uint32_t m_frameCount = 1;
    bool m_gltf = false;  // read by assimp's glTF side, which keeps cameras its own way
    std::map<unsigned, int> m_occlusionSets;  // material -> texture set its occlusion map reads
    std::vector<std::string> m_warnings;
    Tally m_tally;
};
