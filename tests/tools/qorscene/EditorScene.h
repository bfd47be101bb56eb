// Scenes built the way assimp holds what it read from an editor's file, for
// assimp's own exporters to write in every format an editor exports: a
// surface of polygons, a mesh mixing triangles with lines and points, a
// point cloud, a moving hierarchy, perspective and orthographic cameras.
#pragma once

#include <assimp/scene.h>

#include <stdint.h>

#include <memory>
#include <string>
#include <vector>

class EditorScene
{
public:
    EditorScene();

    // A mesh of a_faces, each a list of corners into a_positions, on a new
    // node under a_parent (the root when null). Returns the node.
    aiNode* mesh(const std::string& a_name, const std::vector<aiVector3D>& a_positions,
                 const std::vector<std::vector<unsigned>>& a_faces, aiNode* a_parent = nullptr);
    // An empty node under a_parent (the root when null), moved by a_offset.
    aiNode* group(const std::string& a_name, const aiVector3D& a_offset,
                  aiNode* a_parent = nullptr);
    // A camera on a node of its own at a_position looking down -z: a
    // perspective one of vertical angle a_verticalFov at 16:9, or, with
    // a_orthographicHalfWidth above 0, an orthographic one that wide.
    void camera(const std::string& a_name, const aiVector3D& a_position, float a_verticalFov,
                float a_orthographicHalfWidth = 0.0f);
    // a_node turns about y by a_turns whole turns from 0 to a_seconds.
    void spin(const aiNode& a_node, float a_turns, double a_seconds);

    const aiScene& scene() const { return *m_scene; }

    // Writes the scene through assimp's exporter a_format ("gltf2", "obj",
    // ...); an empty string, or assimp's message.
    std::string write(const std::string& a_format, const std::string& a_path) const;

private:
    std::unique_ptr<aiScene> m_scene;
};
