// Writes a scene file's records as a glTF 2.0 scene an editor opens:
// meshes on nodes (instances share their source's mesh), materials with
// the pictures they name, the mesh animation once per frame, cameras and
// point and spot lights. assimp writes the geometry, materials and
// animation; its glTF writer has no cameras or lights, which are added to
// the JSON it wrote. Importing the result gives the same records back.
#pragma once

#include "scene/format/QorFile.h"

#include <string>
#include <vector>

class SceneExporter
{
public:
    explicit SceneExporter(double a_fps) : m_fps(a_fps) {}

    // Writes a_path (".gltf", with its ".bin" beside it) and copies the
    // pictures the materials name from a_pictureFolder beside it. False
    // with a_error when it cannot be written.
    bool write(const QorFile& a_file, const std::string& a_path, const std::string& a_pictureFolder,
               std::string& a_error);

    const std::vector<std::string>& warnings() const { return m_warnings; }

private:
    double m_fps;
    std::vector<std::string> m_warnings;
};
