// Makes a Scene from a scene file of the archive: parses it with QorReader,
// then creates the meshes' buffers, the materials with their textures, the
// cameras and the lights.
#pragma once

#include "scene/format/QorFile.h"

#include <string>

class Mesh;
class Renderer;
class Scene;
class Tarvo;
class Texture;

class QorLoader
{
public:
    // The scene of file a_filename, owned by the caller, or null when the
    // file is missing or damaged, a scene shader is missing, or the device
    // refuses a buffer (each shows its message, at most one per run).
    static Scene* load(Renderer* a_renderer, Tarvo* a_tarvo, const char* a_filename);
    // The device half of load, for records already parsed from a_filename.
    static Scene* create(Renderer* a_renderer, Tarvo* a_tarvo, const char* a_filename,
                         const QorFile& a_records);

private:
    QorLoader(Renderer* a_renderer, Tarvo* a_tarvo) : m_tarvo(a_tarvo), m_renderer(a_renderer) {}

    bool addMesh(const QorMesh& a_record);
    bool addSprites(const QorMesh& a_record, Mesh*& a_mesh);
    bool addTriangles(const QorMesh& a_record, Mesh*& a_mesh);
    void addMaterial(const QorMaterial& a_record);
    void addCamera(const QorCamera& a_record);
    bool addLight(const QorLight& a_record);
    // Deletes the scene being filled; returns null for the caller to pass on.
    Scene* abandon();
    Texture* texture(const std::string& a_fileName);

    Tarvo* m_tarvo;
    Renderer* m_renderer;
    Scene* m_scene = nullptr;  // handed to the caller
};
