// Scene-file loading: the records first, all checked, then the device
// resources, so a damaged file creates nothing.
#include "scene/QorLoader.h"

#include "core/FatalError.h"
#include "app/Tarvo.h"
#include "archive/FileSystem.h"
#include "core/Assert.h"
#include "lights/LightOmni.h"
#include "lights/LightSpot.h"
#include "render/IndexBuffer.h"
#include "render/RenderTarget.h"
#include "render/Texture.h"
#include "render/VertexBuffer.h"
#include "scene/Scene.h"
#include "scene/format/QorReader.h"

#include <string.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace
{

// A sprite corner: the centre, and which corner in texture set 0.
struct SpriteVertex
{
    D3DXVECTOR3 position;
    float corner[2];
};
static_assert(sizeof(SpriteVertex) == 20, "sprite vertices are 20 bytes");

// Two triangles per point, as the material pass's vertex program expects.
const float g_spriteCorners[6][2] = {{-0.5f, -0.5f}, {0.5f, 0.5f},  {-0.5f, 0.5f},
                                     {-0.5f, -0.5f}, {0.5f, -0.5f}, {0.5f, 0.5f}};

// Texture::load's limits: a four-character extension, and room for the
// "_alpha.jpg" companion's name in 260 bytes.
constexpr size_t kMinTextureName = 4;
constexpr size_t kMaxTextureName = 253;

const char kCubeMapName[] = "autogen_cubemap.jpg";

// The farthest any light of a scene file reaches.
constexpr float kMaxFarFallOff = 2000.0f;

template <typename K>
void fillTrack(Track<K>& a_track, const std::vector<K>& a_keys)
{
    a_track.reset(uint32_t(a_keys.size()));
    for (const K& key : a_keys)
        a_track.append(key);
}

}  // namespace

Scene* QorLoader::load(Renderer* a_renderer, Tarvo* a_tarvo, const char* a_filename)
{
    TARVO_ASSERT(a_tarvo && a_renderer && a_filename);
    File file;
    ReturnCode read = FileSystem::readFile(a_filename, file);
    if (read.failed())
        return nullptr;

    QorFile records;
    std::string error;
    if (!QorReader::read(file.m_data, file.m_size, records, error))
    {
        fatalError(a_filename, ("Damaged scene file: " + error + ".").c_str());
        return nullptr;
    }
    return create(a_renderer, a_tarvo, a_filename, records);
}

Scene* QorLoader::create(Renderer* a_renderer, Tarvo* a_tarvo, const char* a_filename,
                         const QorFile& a_records)
{
    TARVO_ASSERT(a_tarvo && a_renderer && a_filename);
    QorLoader loader(a_renderer, a_tarvo);
    loader.m_scene = a_tarvo->createScene();
    if (!loader.m_scene)
        return nullptr;

    for (const QorRecord& record : a_records.records)
    {
        bool made = true;
        if (const QorMesh* mesh = std::get_if<QorMesh>(&record))
            made = loader.addMesh(*mesh);
        else if (const QorMaterial* material = std::get_if<QorMaterial>(&record))
            loader.addMaterial(*material);
        else if (const QorCamera* camera = std::get_if<QorCamera>(&record))
            loader.addCamera(*camera);
        else if (!loader.addLight(std::get<QorLight>(record)))
        {
            fatalError(a_filename, ("Cannot create the light \"" + std::get<QorLight>(record).name +
                                    "\": its programs or the light volume are missing.")
                                       .c_str());
            return loader.abandon();
        }
        if (!made)
        {
            fatalError(a_filename, "The device cannot hold a mesh of this scene.");
            return loader.abandon();
        }
    }
    return loader.m_scene;
}

// The reader has checked the indices into the scene's meshes and materials.
bool QorLoader::addMesh(const QorMesh& a_record)
{
    Mesh* mesh = nullptr;
    if (a_record.sourceIndex != -1)
    {
        mesh = Mesh::createInstance(*m_scene->m_meshes.at(uint32_t(a_record.sourceIndex)));
    }
    else
    {
        const bool made =
            a_record.kind == 0 ? addTriangles(a_record, mesh) : addSprites(a_record, mesh);
        if (!made)
            return false;
        if (a_record.materialIndex != -1)
            mesh->m_material = m_scene->m_materials.at(uint32_t(a_record.materialIndex));
    }
    fillTrack(mesh->m_translationTrack, a_record.animation.translation);
    fillTrack(mesh->m_rotationTrack, a_record.animation.rotation);
    fillTrack(mesh->m_scaleTrack, a_record.animation.scale);
    m_scene->m_meshes.add(a_record.name.c_str(), mesh);
    return true;
}

// Nothing is copied into a buffer the device did not make or lock.
bool QorLoader::addTriangles(const QorMesh& a_record, Mesh*& a_mesh)
{
    const uint32_t vertexCount = uint32_t(a_record.vertices.size());
    VertexBuffer* vertices =
        VertexBuffer::create(m_renderer, vertexCount, sizeof(QorVertex), kQorMeshFvf);
    if (!vertices)
        return false;
    ReturnCode filled = vertices->fill(a_record.vertices.data(), vertexCount);
    IndexBuffer* indices = filled.succeeded()
                               ? IndexBuffer::create(m_renderer, uint32_t(a_record.indices.size()))
                               : nullptr;
    void* pointer = nullptr;
    ReturnCode locked = indices ? indices->lock(pointer) : ReturnCode(ReturnCode::kFailure, true);
    if (locked.failed())
    {
        delete indices;
        delete vertices;
        return false;
    }
    memcpy(pointer, a_record.indices.data(), a_record.indices.size() * sizeof(uint32_t));
    indices->unlock();
    a_mesh = Mesh::create(vertices, m_renderer, indices);
    return true;
}

bool QorLoader::addSprites(const QorMesh& a_record, Mesh*& a_mesh)
{
    std::vector<SpriteVertex> corners;
    corners.reserve(a_record.points.size() * 6);
    for (const D3DXVECTOR3& point : a_record.points)
    {
        for (const float* corner : g_spriteCorners)
            corners.push_back(SpriteVertex{point, {corner[0], corner[1]}});
    }
    const uint64_t vertexCount = corners.size();
    VertexBuffer* vertices = vertexCount <= UINT32_MAX
                                 ? VertexBuffer::create(m_renderer, uint32_t(vertexCount),
                                                        sizeof(SpriteVertex), kQorSpriteFvf)
                                 : nullptr;
    if (!vertices)
        return false;
    ReturnCode filled = vertices->fill(corners.data(), uint32_t(vertexCount));
    if (filled.failed())
    {
        delete vertices;
        return false;
    }
    a_mesh = Mesh::create(vertices, m_renderer, nullptr);
    return true;
}

// Slots 0, 6, 8 and 9 fill samplers 3, 5, 1 and 4; slot 1 fills sampler 0,
// or makes the material a cube target of its own for "autogen_cubemap.jpg".
// A later entry for a slot wins. Slots left empty take the shared defaults.
void QorLoader::addMaterial(const QorMaterial& a_record)
{
    Material* material = new Material(m_renderer);
    material->m_diffuseColor =
        D3DXVECTOR4(a_record.diffuse.x, a_record.diffuse.y, a_record.diffuse.z, 1.0f);
    material->m_selfIllumColor =
        D3DXVECTOR4(a_record.selfIllum.x, a_record.selfIllum.y, a_record.selfIllum.z, 1.0f);
    material->m_glossiness = a_record.glossiness;
    material->m_specularPower = a_record.specularPower;

    for (const QorTextureEntry& entry : a_record.textures)
    {
        switch (entry.slot)
        {
        case kQorSlotColour:
            if (!m_tarvo->m_textures.find(entry.fileName.c_str()) && entry.fileName == kCubeMapName)
            {
                RenderTarget* cubeTarget = RenderTarget::createCube(m_renderer);
                TARVO_ASSERT(cubeTarget);
                delete material->m_cubeTarget;
                material->m_cubeTarget = cubeTarget;
            }
            else
            {
                material->m_texture0 = texture(entry.fileName);
            }
            break;
        case kQorSlotHeight:
            material->m_texture1 = texture(entry.fileName);
            break;
        case kQorSlotOcclusion:
            material->m_texture3 = texture(entry.fileName);
            break;
        case kQorSlotReflection:
            material->m_texture4 = texture(entry.fileName);
            break;
        case kQorSlotOpacity:
            material->m_texture5 = texture(entry.fileName);
            break;
        default:
            break;
        }
    }

    Container<Texture>& shared = m_tarvo->m_textures;
    if (!material->m_texture0)
        material->m_texture0 = shared.find("null_white");
    if (!material->m_texture1)
        material->m_texture1 = shared.find("null_grey");
    if (!material->m_texture3)
        material->m_texture3 = shared.find("null_white");
    if (!material->m_texture4)
        material->m_texture4 = shared.find("null_white");
    if (!material->m_texture5)
        material->m_texture5 = shared.find("null_white");
    m_scene->m_materials.add(a_record.name.c_str(), material);
}

// The reach is capped at 2000 and the fall-off never starts beyond it; a
// negative intensity is none. A light that cannot be made (its programs
// missing) leaves the scene without it, and the load fails.
bool QorLoader::addLight(const QorLight& a_record)
{
    Light* light = a_record.spot ? static_cast<Light*>(LightSpot::create(m_renderer, m_tarvo))
                                 : static_cast<Light*>(LightOmni::create(m_renderer, m_tarvo));
    if (!light)
        return false;
    light->m_color = D3DXVECTOR4(a_record.color.x, a_record.color.y, a_record.color.z, 1.0f);
    light->m_farFallOff = std::min(a_record.farRange, kMaxFarFallOff);
    light->m_nearFallOff = std::min(a_record.nearRange, light->m_farFallOff);
    light->m_intensity = std::max(a_record.intensities.back(), 0.0f);
    fillTrack(light->m_positionTrack, a_record.positions);
    if (a_record.spot)
        fillTrack(light->m_targetTrack, a_record.targets);
    m_scene->m_lights.add(a_record.name.c_str(), light);
    return true;
}

Scene* QorLoader::abandon()
{
    delete m_scene;
    m_scene = nullptr;
    return nullptr;
}

void QorLoader::addCamera(const QorCamera& a_record)
{
    Camera* camera = new Camera();
    camera->m_near = 1.0f;
    fillTrack(camera->m_positionTrack, a_record.positions);
    fillTrack(camera->m_targetTrack, a_record.targets);
    fillTrack(camera->m_rollTrack, a_record.roll);
    fillTrack(camera->m_fovTrack, a_record.fov);
    m_scene->m_cameras.add(a_record.name.c_str(), camera);
}

// A registered texture, or the image loaded and registered under the name
// the file gives; null when it cannot be loaded (a name Texture::load cannot
// take counts as such).
Texture* QorLoader::texture(const std::string& a_fileName)
{
    Texture* found = m_tarvo->m_textures.find(a_fileName.c_str());
    if (found)
        return found;
    if (a_fileName.size() < kMinTextureName || a_fileName.size() > kMaxTextureName)
        return nullptr;
    Texture* loaded = Texture::load(a_fileName.c_str(), m_renderer);
    if (loaded)
        m_tarvo->m_textures.add(a_fileName.c_str(), loaded);
    return loaded;
}
