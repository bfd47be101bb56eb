// Scene export: records to an assimp scene in the editors' space, written
// by assimp's glTF writer, then cameras, lights and the material values
// glTF's core leaves out added to its JSON.
#include "SceneExporter.h"

#include "CameraPose.h"
#include "Handedness.h"
#include "NodeSampler.h"

#include <assimp/Exporter.hpp>
#include <assimp/GltfMaterial.h>
#include <assimp/scene.h>

#include <nlohmann/json.hpp>

#include <math.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <set>

namespace fs = std::filesystem;
using Json = nlohmann::json;

namespace
{

constexpr float kSpotHalfAngle = 0.5235988f;
const char kCubeMap[] = "autogen_cubemap.jpg";

template <typename T>
T* copyArray(const std::vector<T>& a_items)
{
    T* array = new T[a_items.size()];
    std::copy(a_items.begin(), a_items.end(), array);
    return array;
}

// The roughness whose highlight the importer turns into a_power: the
// inverse of its 2 / roughness^4 - 2.
float roughnessFor(float a_power)
{
    return powf(2.0f / (std::max(a_power, 0.0f) + 2.0f), 0.25f);
}

// The rotation that turns an editor's camera (looking along -z, y up)
// toward a_target from a_eye with a_up as its up direction.
aiQuaternion lookRotation(const aiVector3D& a_eye, const aiVector3D& a_target,
                          const aiVector3D& a_up)
{
    aiVector3D back = a_eye - a_target;
    if (back.Length() < 1e-12f)
        return aiQuaternion();
    back.Normalize();
    aiVector3D right = a_up ^ back;
    if (right.Length() < 1e-6f)
        right = aiVector3D(1.0f, 0.0f, 0.0f) ^ back;
    right.Normalize();
    const aiVector3D up = back ^ right;
    const aiMatrix3x3 basis(right.x, up.x, back.x, right.y, up.y, back.y, right.z, up.z, back.z);
    return aiQuaternion(basis);
}

// One node's keys, every frame, or one key when the file has one frame.
struct Motion
{
    std::string node;
    std::vector<aiVector3D> positions;
    std::vector<aiQuaternion> rotations;
    std::vector<aiVector3D> scales;
};

aiNodeAnim* channelOf(const Motion& a_motion)
{
    aiNodeAnim* channel = new aiNodeAnim();
    channel->mNodeName = aiString(a_motion.node);
    std::vector<aiVectorKey> positions, scales;
    std::vector<aiQuatKey> rotations;
    for (size_t f = 0; f < a_motion.positions.size(); ++f)
    {
        positions.push_back(aiVectorKey(double(f), a_motion.positions[f]));
        rotations.push_back(aiQuatKey(double(f), a_motion.rotations[f]));
        scales.push_back(aiVectorKey(double(f), a_motion.scales[f]));
    }
    channel->mNumPositionKeys = unsigned(positions.size());
    channel->mPositionKeys = copyArray(positions);
    channel->mNumRotationKeys = unsigned(rotations.size());
    channel->mRotationKeys = copyArray(rotations);
    channel->mNumScalingKeys = unsigned(scales.size());
    channel->mScalingKeys = copyArray(scales);
    return channel;
}

aiNode* nodeOf(const Motion& a_motion)
{
    aiNode* node = new aiNode(a_motion.node);
    node->mTransformation = NodeSampler::compose(
        a_motion.scales.front(), a_motion.rotations.front(), a_motion.positions.front());
    return node;
}

template <typename K>
const K& keyAt(const std::vector<K>& a_keys, size_t a_index)
{
    return a_keys.size() == 1 ? a_keys.front() : a_keys[a_index];
}

// The file's records by kind, each in file order.
struct Records
{
    std::vector<const QorMaterial*> materials;
    std::vector<const QorMesh*> meshes;
    std::vector<const QorCamera*> cameras;
    std::vector<const QorLight*> lights;
};

Records sortRecords(const QorFile& a_file)
{
    Records records;
    for (const QorRecord& record : a_file.records)
    {
        if (const auto* mesh = std::get_if<QorMesh>(&record))
            records.meshes.push_back(mesh);
        else if (const auto* material = std::get_if<QorMaterial>(&record))
            records.materials.push_back(material);
        else if (const auto* camera = std::get_if<QorCamera>(&record))
            records.cameras.push_back(camera);
        else
            records.lights.push_back(&std::get<QorLight>(record));
    }
    return records;
}

// What the export builds for assimp: materials, meshes and the mesh each
// mesh record shows, one motion per node (meshes, then cameras with their
// targets, then lights with theirs), and the pictures the materials name.
struct Build
{
    std::vector<aiMaterial*> materials;
    std::vector<aiMesh*> meshes;
    std::vector<unsigned> meshOfRecord;
    std::vector<Motion> motions;
    std::vector<std::string> pictures;
    // Meshes without a material use a stand-in, which leaves the JSON again
    // afterwards: a glTF primitive may go without.
    int32_t unnamedMaterial = -1;
};

void addMaterials(const Records& a_records, Build& a_build, std::vector<std::string>& a_warnings)
{
    for (const QorMaterial* record : a_records.materials)
    {
        const std::string where = "material \"" + record->name + "\"";
        aiMaterial* material = new aiMaterial();
        const aiString name(record->name);
        material->AddProperty(&name, AI_MATKEY_NAME);
        const aiColor4D diffuse(record->diffuse.x, record->diffuse.y, record->diffuse.z, 1.0f);
        material->AddProperty(&diffuse, 1, AI_MATKEY_BASE_COLOR);
        material->AddProperty(&diffuse, 1, AI_MATKEY_COLOR_DIFFUSE);
        aiColor3D emissive(0.0f, 0.0f, 0.0f);
        if (!(record->selfIllum == D3DXVECTOR3(-1.0f, -1.0f, -1.0f)))
            emissive = aiColor3D(record->selfIllum.x, record->selfIllum.y, record->selfIllum.z);
        material->AddProperty(&emissive, 1, AI_MATKEY_COLOR_EMISSIVE);
        const float roughness = roughnessFor(record->specularPower);
        material->AddProperty(&roughness, 1, AI_MATKEY_ROUGHNESS_FACTOR);
        float metallic = 0.0f;
        for (const QorTextureEntry& entry : record->textures)
        {
            const aiString file(entry.fileName);
            if (entry.slot == kQorSlotColour && entry.fileName == kCubeMap)
            {
                metallic = 1.0f;
            }
            else if (entry.slot == kQorSlotColour)
            {
                material->AddProperty(&file, AI_MATKEY_TEXTURE(aiTextureType_DIFFUSE, 0));
                material->AddProperty(&file, AI_MATKEY_TEXTURE(aiTextureType_BASE_COLOR, 0));
                a_build.pictures.push_back(entry.fileName);
            }
            else if (entry.slot == kQorSlotOcclusion)
            {
                material->AddProperty(&file, AI_MATKEY_TEXTURE(aiTextureType_LIGHTMAP, 0));
                a_build.pictures.push_back(entry.fileName);
            }
            else if (entry.slot == kQorSlotHeight || entry.slot == kQorSlotReflection ||
                     entry.slot == kQorSlotOpacity)
            {
                a_warnings.push_back(where + ": glTF has no place for its picture \"" +
                                     entry.fileName + "\" in slot " + std::to_string(entry.slot) +
                                     "; left out");
            }
        }
        material->AddProperty(&metallic, 1, AI_MATKEY_METALLIC_FACTOR);
        a_build.materials.push_back(material);
    }
}

// The mesh of one mesh record that is no instance: points, or triangles
// with normals and two texture sets.
aiMesh* meshOf(const QorMesh& a_record)
{
    aiMesh* mesh = new aiMesh();
    mesh->mName = aiString(a_record.name);
    std::vector<aiVector3D> positions, normals, uv0, uv1;
    std::vector<aiFace> faces;
    if (a_record.kind != 0)
    {
        mesh->mPrimitiveTypes = aiPrimitiveType_POINT;
        for (size_t i = 0; i < a_record.points.size(); ++i)
        {
            positions.push_back(Handedness::toEditor(a_record.points[i]));
            aiFace face;
            face.mNumIndices = 1;
            face.mIndices = new unsigned[1]{unsigned(i)};
            faces.push_back(face);
        }
    }
    else
    {
        // assimp's scenes keep texture rows bottom first, and its glTF
        // writer turns them top first again.
        mesh->mPrimitiveTypes = aiPrimitiveType_TRIANGLE;
        for (const QorVertex& vertex : a_record.vertices)
        {
            positions.push_back(Handedness::toEditor(vertex.position));
            normals.push_back(Handedness::toEditor(vertex.normal));
            uv0.push_back(aiVector3D(vertex.uv[0], 1.0f - vertex.uv[1], 0.0f));
            uv1.push_back(aiVector3D(vertex.uv1[0], 1.0f - vertex.uv1[1], 0.0f));
        }
        for (size_t i = 0; i + 2 < a_record.indices.size(); i += 3)
        {
            aiFace face;
            face.mNumIndices = 3;
            face.mIndices = new unsigned[3]{a_record.indices[i], a_record.indices[i + 1],
                                            a_record.indices[i + 2]};
            Handedness::flipWinding(face.mIndices[1], face.mIndices[2]);
            faces.push_back(face);
        }
        mesh->mNormals = copyArray(normals);
        mesh->mTextureCoords[0] = copyArray(uv0);
        mesh->mNumUVComponents[0] = 2;
        mesh->mTextureCoords[1] = copyArray(uv1);
        mesh->mNumUVComponents[1] = 2;
    }
    mesh->mNumVertices = unsigned(positions.size());
    mesh->mVertices = copyArray(positions);
    mesh->mNumFaces = unsigned(faces.size());
    mesh->mFaces = new aiFace[faces.size()];
    for (size_t i = 0; i < faces.size(); ++i)
    {
        // aiFace frees its indices: hand them over, not copy them.
        mesh->mFaces[i].mNumIndices = faces[i].mNumIndices;
        mesh->mFaces[i].mIndices = faces[i].mIndices;
        faces[i].mIndices = nullptr;
        faces[i].mNumIndices = 0;
    }
    return mesh;
}

// The demo shows rotation key f + 1 at frame f (wrapping with the tracks'
// period of frameCount - 1): the editor gets what it shows.
Motion motionOf(const QorMesh& a_record, uint32_t a_frames)
{
    Motion motion;
    motion.node = a_record.name;
    const QorAnimation& animation = a_record.animation;
    const size_t period = a_frames > 1 ? a_frames - 1 : 1;
    for (uint32_t f = 0; f < a_frames; ++f)
    {
        const D3DXVECTOR3 position = keyAt(animation.translation, f);
        const D3DXVECTOR3 scale = keyAt(animation.scale, f);
        const D3DXQUATERNION rotation = keyAt(animation.rotation, (f + 1) % period);
        motion.positions.push_back(Handedness::toEditor(position));
        motion.rotations.push_back(Handedness::fromStoredRotation(rotation));
        motion.scales.push_back(aiVector3D(scale.x, scale.y, scale.z));
    }
    return motion;
}

void addMeshes(const Records& a_records, uint32_t a_frames, Build& a_build,
               std::vector<std::string>& a_warnings)
{
    for (const QorMesh* record : a_records.meshes)
    {
        if (record->sourceIndex != -1)
        {
            a_build.meshOfRecord.push_back(a_build.meshOfRecord[size_t(record->sourceIndex)]);
        }
        else
        {
            if (!record->extra.empty())
                a_warnings.push_back("mesh \"" + record->name + "\": its " +
                                     std::to_string(record->extra.size()) +
                                     " extra bytes are left out");
            aiMesh* mesh = meshOf(*record);
            if (record->materialIndex == -1)
            {
                if (a_build.unnamedMaterial == -1)
                {
                    a_build.unnamedMaterial = int32_t(a_build.materials.size());
                    a_build.materials.push_back(new aiMaterial());
                }
                mesh->mMaterialIndex = unsigned(a_build.unnamedMaterial);
            }
            else
            {
                mesh->mMaterialIndex = unsigned(record->materialIndex);
            }
            a_build.meshOfRecord.push_back(unsigned(a_build.meshes.size()));
            a_build.meshes.push_back(mesh);
        }
        a_build.motions.push_back(motionOf(*record, a_frames));
    }
}

// A node that moves along a_positions, turned by a_rotations (none: not
// turned), every frame.
Motion pathOf(const std::string& a_name, const std::vector<D3DXVECTOR3>& a_positions,
              const std::vector<aiQuaternion>& a_rotations, uint32_t a_frames)
{
    Motion motion;
    motion.node = a_name;
    for (uint32_t f = 0; f < a_frames; ++f)
    {
        motion.positions.push_back(Handedness::toEditor(a_positions[f]));
        motion.rotations.push_back(a_rotations.empty() ? aiQuaternion() : a_rotations[f]);
        motion.scales.push_back(aiVector3D(1.0f, 1.0f, 1.0f));
    }
    return motion;
}

// Cameras and spot lights look at a node of their own, "<name>.target".
void addCameraAndLightMotions(const Records& a_records, uint32_t a_frames, Build& a_build,
                              std::vector<std::string>& a_warnings)
{
    for (const QorCamera* record : a_records.cameras)
    {
        std::vector<aiQuaternion> rotations;
        for (uint32_t f = 0; f < a_frames; ++f)
        {
            const D3DXVECTOR3 up =
                CameraPose::up(record->positions[f], record->targets[f], record->roll[f]);
            rotations.push_back(lookRotation(Handedness::toEditor(record->positions[f]),
                                             Handedness::toEditor(record->targets[f]),
                                             Handedness::toEditor(up)));
        }
        a_build.motions.push_back(pathOf(record->name, record->positions, rotations, a_frames));
        a_build.motions.push_back(pathOf(record->name + ".target", record->targets, {}, a_frames));
        for (float fov : record->fov)
        {
            if (fov != record->fov.front())
            {
                a_warnings.push_back(
                    "camera \"" + record->name +
                    "\": glTF cameras keep one field of view; the first frame's is written");
                break;
            }
        }
    }
    for (const QorLight* record : a_records.lights)
    {
        std::vector<aiQuaternion> rotations;
        if (record->spot)
        {
            for (uint32_t f = 0; f < a_frames; ++f)
                rotations.push_back(lookRotation(Handedness::toEditor(record->positions[f]),
                                                 Handedness::toEditor(record->targets[f]),
                                                 aiVector3D(0.0f, 1.0f, 0.0f)));
        }
        a_build.motions.push_back(pathOf(record->name, record->positions, rotations, a_frames));
        if (record->spot)
            a_build.motions.push_back(
                pathOf(record->name + ".target", record->targets, {}, a_frames));
    }
}

// The scene assimp writes: a node per motion under the root (the first ones
// carrying the meshes), the materials and meshes, and with more than one
// frame an animation in which every node moves on every frame, so that its
// length is the file's whatever moves.
std::unique_ptr<aiScene> sceneOf(Build& a_build, size_t a_meshRecords, uint32_t a_frames,
                                 double a_fps)
{
    auto scene = std::make_unique<aiScene>();
    scene->mRootNode = new aiNode("root");
    std::vector<aiNode*> children;
    for (size_t i = 0; i < a_build.motions.size(); ++i)
    {
        aiNode* node = nodeOf(a_build.motions[i]);
        if (i < a_meshRecords)
        {
            node->mNumMeshes = 1;
            node->mMeshes = new unsigned[1]{a_build.meshOfRecord[i]};
        }
        children.push_back(node);
    }
    if (!children.empty())
        scene->mRootNode->addChildren(unsigned(children.size()), children.data());
    if (a_build.materials.empty())
        a_build.materials.push_back(new aiMaterial());
    scene->mNumMaterials = unsigned(a_build.materials.size());
    scene->mMaterials = copyArray(a_build.materials);
    scene->mNumMeshes = unsigned(a_build.meshes.size());
    scene->mMeshes = copyArray(a_build.meshes);
    if (a_frames > 1)
    {
        aiAnimation* animation = new aiAnimation();
        animation->mName = aiString("scene");
        animation->mTicksPerSecond = a_fps;
        animation->mDuration = double(a_frames - 1);
        std::vector<aiNodeAnim*> channels;
        for (const Motion& motion : a_build.motions)
            channels.push_back(channelOf(motion));
        animation->mNumChannels = unsigned(channels.size());
        animation->mChannels = copyArray(channels);
        scene->mNumAnimations = 1;
        scene->mAnimations = new aiAnimation* [1] {
            animation
        };
    }
    return scene;
}

// The JSON node of motion a_motion: the writer lays the root out first,
// then its children in order. Null when it is not there under a_name.
Json* nodeAt(Json& a_nodes, const std::string& a_name, size_t a_motion)
{
    const size_t index = a_motion + 1;
    if (index >= a_nodes.size() || a_nodes[index].value("name", std::string()) != a_name)
        return nullptr;
    return &a_nodes[index];
}

// The cameras and lights on their nodes, which follow the meshes' nodes
// (cameras and spot lights with their targets). False with a_error when a
// node is not where it was put.
bool addCamerasAndLights(Json& a_gltf, const Records& a_records, const std::string& a_path,
                         std::string& a_error)
{
    Json& nodes = a_gltf["nodes"];
    size_t motion = a_records.meshes.size();
    Json cameraList = Json::array();
    for (const QorCamera* record : a_records.cameras)
    {
        Json* node = nodeAt(nodes, record->name, motion);
        if (!node)
        {
            a_error = a_path + ": camera node \"" + record->name + "\" is not where it was put";
            return false;
        }
        (*node)["camera"] = cameraList.size();
        cameraList.push_back({{"name", record->name},
                              {"type", "perspective"},
                              {"perspective",
                               {{"yfov", record->fov.front() / kQorFovAspect},
                                {"aspectRatio", kQorFovAspect},
                                {"znear", 1.0},
                                {"zfar", 5000.0}}}});
        motion += 2;
    }
    if (!cameraList.empty())
        a_gltf["cameras"] = cameraList;
    Json lightList = Json::array();
    for (const QorLight* record : a_records.lights)
    {
        Json* node = nodeAt(nodes, record->name, motion);
        if (!node)
        {
            a_error = a_path + ": light node \"" + record->name + "\" is not where it was put";
            return false;
        }
        const float intensity = record->intensities.back();
        Json light = {{"name", record->name},
                      {"type", record->spot ? "spot" : "point"},
                      {"color", {record->color.x, record->color.y, record->color.z}},
                      {"intensity", intensity}};
        if (record->farRange > 0.0f)
            light["range"] = record->farRange;
        if (record->spot)
            light["spot"] = {{"innerConeAngle", 0.0}, {"outerConeAngle", kSpotHalfAngle}};
        (*node)["extensions"]["KHR_lights_punctual"]["light"] = lightList.size();
        (*node)["extras"] = {{"nearFallOff", record->nearRange},
                             {"farFallOff", record->farRange},
                             {"intensity", intensity}};
        lightList.push_back(light);
        motion += record->spot ? 2 : 1;
    }
    if (!lightList.empty())
    {
        a_gltf["extensions"]["KHR_lights_punctual"]["lights"] = lightList;
        a_gltf["extensionsUsed"].push_back("KHR_lights_punctual");
    }
    return true;
}

// The stand-in material leaves the primitives that use it, and the list.
void removeStandInMaterial(Json& a_gltf, int32_t a_standIn)
{
    if (a_standIn == -1 || !a_gltf.contains("materials") || !a_gltf.contains("meshes"))
        return;
    for (Json& mesh : a_gltf["meshes"])
    {
        for (Json& primitive : mesh["primitives"])
        {
            if (primitive.value("material", -1) == a_standIn)
                primitive.erase("material");
        }
    }
    // The stand-in came last: no other index moves.
    a_gltf["materials"].erase(size_t(a_standIn));
    if (a_gltf["materials"].empty())
        a_gltf.erase("materials");
}

// Specular strength and exponent, which metalness and roughness alone cannot
// both carry.
void addSpecular(Json& a_gltf, const Records& a_records)
{
    if (!a_gltf.contains("materials"))
        return;
    for (Json& material : a_gltf["materials"])
    {
        const std::string name = material.value("name", std::string());
        for (const QorMaterial* record : a_records.materials)
        {
            if (record->name != name)
                continue;
            const float glossiness = record->glossiness;
            material["extensions"]["KHR_materials_pbrSpecularGlossiness"] = {
                {"diffuseFactor", {record->diffuse.x, record->diffuse.y, record->diffuse.z, 1.0}},
                {"specularFactor", {glossiness, glossiness, glossiness}},
                {"glossinessFactor", 1.0f - roughnessFor(record->specularPower)}};
            if (material.contains("pbrMetallicRoughness") &&
                material["pbrMetallicRoughness"].contains("baseColorTexture"))
                material["extensions"]["KHR_materials_pbrSpecularGlossiness"]["diffuseTexture"] =
                    material["pbrMetallicRoughness"]["baseColorTexture"];
            // Occlusion reads the second texture set, as in the demo.
            if (material.contains("occlusionTexture"))
                material["occlusionTexture"]["texCoord"] = 1;
            break;
        }
    }
    a_gltf["extensionsUsed"].push_back("KHR_materials_pbrSpecularGlossiness");
}

// The pictures beside the glTF, so that an editor finds them.
void copyPictures(const std::vector<std::string>& a_pictures, const std::string& a_path,
                  const std::string& a_pictureFolder, std::vector<std::string>& a_warnings)
{
    const fs::path outputFolder = fs::absolute(fs::path(a_path)).parent_path();
    std::set<std::string> copied;
    for (const std::string& picture : a_pictures)
    {
        if (!copied.insert(picture).second)
            continue;
        const fs::path source = fs::path(a_pictureFolder) / picture;
        const fs::path target = outputFolder / picture;
        std::error_code error;
        if (fs::exists(target, error) && fs::equivalent(source, target, error))
            continue;
        if (!fs::copy_file(source, target, fs::copy_options::overwrite_existing, error))
            a_warnings.push_back("picture \"" + picture + "\": cannot be copied from " +
                                 a_pictureFolder + ": " + error.message());
    }
}

}  // namespace

// The steps in order: the records to an assimp scene, assimp's glTF writer,
// then what it leaves out added to the JSON it wrote, and the pictures.
bool SceneExporter::write(const QorFile& a_file, const std::string& a_path,
                          const std::string& a_pictureFolder, std::string& a_error)
{
    if (fs::path(a_path).extension() != ".gltf")
    {
        a_error = a_path + ": export writes glTF as JSON; name the file \".gltf\"";
        return false;
    }
    const uint32_t frames = a_file.frameCount;
    const Records records = sortRecords(a_file);
    Build build;
    addMaterials(records, build, m_warnings);
    addMeshes(records, frames, build, m_warnings);
    addCameraAndLightMotions(records, frames, build, m_warnings);
    std::unique_ptr<aiScene> scene = sceneOf(build, records.meshes.size(), frames, m_fps);

    Assimp::Exporter exporter;
    if (exporter.Export(scene.get(), "gltf2", a_path) != AI_SUCCESS)
    {
        a_error = a_path + ": " + exporter.GetErrorString();
        return false;
    }

    Json gltf;
    {
        std::ifstream stream(a_path);
        gltf = Json::parse(stream, nullptr, false);
    }
    if (gltf.is_discarded() || !gltf.contains("nodes"))
    {
        a_error = a_path + ": the glTF writer's output cannot be read back";
        return false;
    }
    if (!addCamerasAndLights(gltf, records, a_path, a_error))
        return false;
    removeStandInMaterial(gltf, build.unnamedMaterial);
    addSpecular(gltf, records);
    {
        std::ofstream stream(a_path, std::ios::trunc);
        stream << gltf.dump(1);
        if (!stream)
        {
            a_error = a_path + ": cannot be written";
            return false;
        }
    }

    copyPictures(build.pictures, a_path, a_pictureFolder, m_warnings);
    return true;
}
