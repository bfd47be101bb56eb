// Scene import over assimp: nodes to mesh records, materials, cameras and
// lights, with the editor's space mirrored into the demo's.
#include "SceneImporter.h"

#include "CameraPose.h"
#include "Handedness.h"
#include "NodeSampler.h"

#include <assimp/GltfMaterial.h>
#include <assimp/postprocess.h>

#include <ctype.h>
#include <math.h>
#include <stdio.h>

#include <algorithm>
#include <filesystem>
#include <set>

namespace
{

// Vertical fields of view the projection can be built from: above zero and
// short of half a turn. An orthographic camera's stand-in is kept inside.
constexpr float kMinFov = 1e-4f;
constexpr float kMaxFov = 3.1f;
// The spot image is projected through a square 60-degree frustum.
constexpr float kSpotHalfAngle = 0.5235988f;
constexpr size_t kMaxName = 254;
// Every animated track keeps one key per frame: an hour at 30 frames a
// second is already far more than any part of the demo plays.
constexpr double kMaxFrames = 108000.0;
const char kCubeMap[] = "autogen_cubemap.jpg";

// Specular exponents this large light a single texel; rougher surfaces
// than roughness 0.025 gain nothing visible.
constexpr float kMaxSpecularPower = 2048.0f;

std::string fit(std::string a_name)
{
    if (a_name.size() > kMaxName)
        a_name.resize(kMaxName);
    return a_name;
}

// The Blinn-Phong exponent whose highlight is as wide as a microfacet
// highlight of a_roughness (alpha = roughness squared): 2 / alpha^2 - 2.
float specularPowerFor(float a_roughness)
{
    const float alpha = a_roughness * a_roughness;
    if (alpha * alpha <= 2.0f / (kMaxSpecularPower + 2.0f))
        return kMaxSpecularPower;
    return std::max(0.0f, 2.0f / (alpha * alpha) - 2.0f);
}

// A number an editor left on a node (glTF "extras", custom properties).
bool metaNumber(const aiNode& a_node, const char* a_key, float& a_value)
{
    const aiMetadata* meta = a_node.mMetaData;
    if (!meta)
        return false;
    for (unsigned i = 0; i < meta->mNumProperties; ++i)
    {
        if (meta->mKeys[i] != aiString(a_key))
            continue;
        const aiMetadataEntry& entry = meta->mValues[i];
        switch (entry.mType)
        {
        case AI_FLOAT:
            a_value = *static_cast<const float*>(entry.mData);
            return true;
        case AI_DOUBLE:
            a_value = float(*static_cast<const double*>(entry.mData));
            return true;
        case AI_INT32:
            a_value = float(*static_cast<const int32_t*>(entry.mData));
            return true;
        case AI_UINT64:
            a_value = float(*static_cast<const uint64_t*>(entry.mData));
            return true;
        default:
            return false;
        }
    }
    return false;
}

// One key when no frame differs from the first by more than rounding
// (taking a matrix apart gives scales of 0.9999999 now and then), else all
// of them.
template <typename K>
void collapse(std::vector<K>& a_keys)
{
    const float* first = reinterpret_cast<const float*>(&a_keys.front());
    for (const K& key : a_keys)
    {
        const float* values = reinterpret_cast<const float*>(&key);
        for (size_t i = 0; i < sizeof(K) / sizeof(float); ++i)
        {
            if (fabsf(values[i] - first[i]) > 1e-6f * std::max(1.0f, fabsf(first[i])))
                return;
        }
    }
    a_keys.resize(1);
}

bool isDefaultMaterial(const aiMaterial& a_material)
{
    aiString name;
    return a_material.Get(AI_MATKEY_NAME, name) != AI_SUCCESS || name.length == 0 ||
           name == aiString(AI_DEFAULT_MATERIAL_NAME);
}

// assimp's OBJ reader keeps a file of bare positions (a scan's point
// cloud) as a mesh without faces, which its own checks then refuse: each
// position becomes a point of its own.
void givePointsFaces(aiScene& a_scene)
{
    for (unsigned m = 0; m < a_scene.mNumMeshes; ++m)
    {
        aiMesh& mesh = *a_scene.mMeshes[m];
        if (mesh.mNumFaces != 0 || mesh.mNumVertices == 0 || !mesh.mVertices)
            continue;
        delete[] mesh.mFaces;
        mesh.mFaces = new aiFace[mesh.mNumVertices];
        for (unsigned i = 0; i < mesh.mNumVertices; ++i)
        {
            mesh.mFaces[i].mNumIndices = 1;
            mesh.mFaces[i].mIndices = new unsigned[1]{i};
        }
        mesh.mNumFaces = mesh.mNumVertices;
        mesh.mPrimitiveTypes = aiPrimitiveType_POINT;
    }
}

}  // namespace

SceneImporter::SceneImporter(const Options& a_options) : m_options(a_options) {}

SceneImporter::~SceneImporter() = default;

void SceneImporter::warn(const std::string& a_warning)
{
    m_warnings.push_back(a_warning);
}

// Joining vertices matters for formats that list every corner apart; the
// normals and tangents the material pass needs are made where the file has
// none; texture coordinates are kept top row first, as Direct3D reads them.
bool SceneImporter::import(const std::string& a_path, QorFile& a_file, std::string& a_error)
{
    // Meshes stay whole (no sorting by primitive kind): geometry() tells
    // the points of a point cloud from the loose points of a surface.
    const unsigned flags = aiProcess_Triangulate | aiProcess_JoinIdenticalVertices |
                           aiProcess_GenSmoothNormals | aiProcess_CalcTangentSpace |
                           aiProcess_FlipUVs | aiProcess_ValidateDataStructure;
    std::string extension = std::filesystem::path(a_path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char a_c) { return char(tolower(a_c)); });
    m_gltf = extension == ".gltf" || extension == ".glb";
    m_scene = m_importer.ReadFile(a_path, 0);
    if (m_scene)
    {
        givePointsFaces(const_cast<aiScene&>(*m_scene));
        m_scene = m_importer.ApplyPostProcessing(flags);
    }
    if (!m_scene)
    {
        a_error = m_importer.GetErrorString();
        return false;
    }
    if (!m_scene->mRootNode)
    {
        a_error = "the file holds no scene";
        return false;
    }
    // assimp calls a scene without meshes incomplete (and may give it a
    // stand-in mesh of its own).
    if (m_scene->mNumMeshes == 0 || (m_scene->mFlags & AI_SCENE_FLAGS_INCOMPLETE))
    {
        a_error = "the file holds no mesh (" + std::to_string(m_scene->mNumCameras) + " cameras, " +
                  std::to_string(m_scene->mNumLights) +
                  " lights); the demo needs something to draw; nothing written";
        return false;
    }
    m_sampler = std::make_unique<NodeSampler>(*m_scene, m_warnings);
    m_textures = std::make_unique<TextureWriter>(
        *m_scene, std::filesystem::path(a_path).parent_path().string());
    const double frames = m_options.frames != 0
                              ? double(m_options.frames)
                              : floor(m_sampler->duration() * m_options.fps + 0.5) + 1.0;
    if (!(frames <= kMaxFrames))
    {
        char count[64];
        snprintf(count, sizeof(count), "%.0f", frames);
        a_error = "the animation would take " + std::string(count) + " frames, more than " +
                  std::to_string(uint32_t(kMaxFrames)) + "; choose fewer with --frames or --fps";
        return false;
    }
    m_frameCount = uint32_t(frames);

    QorFile file;
    file.frameCount = m_frameCount;

    std::vector<Placement> placements;
    collect(*m_scene->mRootNode, placements);

    // Materials first, in the file's order; the editor's default material
    // stands for none.
    std::map<unsigned, int32_t> materialRecords;
    int32_t materialCount = 0;
    for (unsigned index = 0; index < m_scene->mNumMaterials; ++index)
    {
        const aiMaterial& source = *m_scene->mMaterials[index];
        if (isDefaultMaterial(source))
            continue;
        aiString name;
        source.Get(AI_MATKEY_NAME, name);
        materialRecords[index] = materialCount++;
        file.records.push_back(material(source, index, fit(name.C_Str())));
    }

    // Meshes: the first node to use an editor mesh carries its geometry,
    // later ones become instances of it.
    std::map<unsigned, int32_t> firstRecord;
    std::set<unsigned> nothingDrawn;
    int32_t meshRecords = 0;
    aiVector3D low(1e30f, 1e30f, 1e30f), high(-1e30f, -1e30f, -1e30f);
    for (const Placement& placement : placements)
    {
        const aiNode& node = *placement.node;
        const aiMesh& mesh = *m_scene->mMeshes[placement.mesh];
        if (nothingDrawn.count(placement.mesh))
        {
            ++m_tally.emptyNodes;
            continue;
        }
        QorMesh record;
        record.name =
            node.mNumMeshes == 1
                ? node.mName.C_Str()
                : std::string(node.mName.C_Str()) + "." +
                      (mesh.mName.length ? mesh.mName.C_Str() : std::to_string(placement.mesh));
        record.name = fit(record.name);
        const auto first = firstRecord.find(placement.mesh);
        const QorMesh* geometrySource = &record;
        if (first != firstRecord.end())
        {
            record.sourceIndex = first->second;
            geometrySource =
                &std::get<QorMesh>(file.records[size_t(materialCount + first->second)]);
        }
        else
        {
            // Formats without names (PLY, STL) leave the node unnamed.
            const std::string where = node.mName.length != 0
                                          ? "node \"" + std::string(node.mName.C_Str()) + "\""
                                          : "mesh " + std::to_string(placement.mesh) + " (unnamed)";
            if (!geometry(mesh, where, record))
            {
                nothingDrawn.insert(placement.mesh);
                ++m_tally.emptyNodes;
                continue;
            }
            record.materialIndex = materialRecords.count(mesh.mMaterialIndex)
                                       ? materialRecords[mesh.mMaterialIndex]
                                       : -1;
            firstRecord[placement.mesh] = meshRecords;
        }
        record.animation = animation(node);
        // The bounds take only what is drawn, back in the editor's space.
        const aiMatrix4x4 start = world(node, 0);
        auto grow = [&](const D3DXVECTOR3& a_position) {
            const aiVector3D point = start * Handedness::toEditor(a_position);
            low = aiVector3D(std::min(low.x, point.x), std::min(low.y, point.y),
                             std::min(low.z, point.z));
            high = aiVector3D(std::max(high.x, point.x), std::max(high.y, point.y),
                              std::max(high.z, point.z));
        };
        for (const QorVertex& vertex : geometrySource->vertices)
            grow(vertex.position);
        for (const D3DXVECTOR3& point : geometrySource->points)
            grow(point);
        file.records.push_back(std::move(record));
        ++meshRecords;
    }
    if (meshRecords == 0)
    {
        a_error = placements.empty() && m_scene->mNumMeshes != 0
                      ? "the file holds " + std::to_string(m_scene->mNumMeshes) +
                            " meshes, but no node places one; nothing written"
                      : nothingToDraw();
        return false;
    }

    // A camera with no target node looks at the middle of the scene's
    // geometry, at the distance it starts from it.
    const aiVector3D middle = meshRecords != 0 ? (low + high) * 0.5f : aiVector3D(0.0f, 0.0f, 0.0f);
    for (unsigned i = 0; i < m_scene->mNumCameras; ++i)
    {
        const aiCamera& source = *m_scene->mCameras[i];
        const aiNode* node = m_scene->mRootNode->FindNode(source.mName);
        const float focus =
            node
                ? std::max(1.0f, (world(*node, 0) * aiVector3D(0.0f, 0.0f, 0.0f) - middle).Length())
                : 1.0f;
        QorCamera record;
        if (camera(source, focus, record))
            file.records.push_back(std::move(record));
    }
    for (unsigned i = 0; i < m_scene->mNumLights; ++i)
    {
        QorLight record;
        if (light(*m_scene->mLights[i], record))
            file.records.push_back(std::move(record));
    }
    a_file = std::move(file);
    return true;
}

void SceneImporter::collect(const aiNode& a_node, std::vector<Placement>& a_placements)
{
    for (unsigned i = 0; i < a_node.mNumMeshes; ++i)
        a_placements.push_back(Placement{&a_node, a_node.mMeshes[i]});
    for (unsigned i = 0; i < a_node.mNumChildren; ++i)
        collect(*a_node.mChildren[i], a_placements);
}

aiMatrix4x4 SceneImporter::world(const aiNode& a_node, uint32_t a_frame) const
{
    aiMatrix4x4 scale;
    aiMatrix4x4::Scaling(aiVector3D(m_options.scale, m_options.scale, m_options.scale), scale);
    return scale * m_sampler->global(a_node, double(a_frame) / m_options.fps);
}

// Roughness and metalness (or a specular colour and shininess) become the
// demo's specular strength ("glossiness") and exponent; a metal reflects
// the material's own cube map. Slots follow the material pass's samplers.
QorMaterial SceneImporter::material(const aiMaterial& a_material, unsigned a_index,
                                    const std::string& a_name)
{
    QorMaterial record;
    record.name = a_name;
    const std::string where = "material \"" + a_name + "\"";

    aiColor4D colour(1.0f, 1.0f, 1.0f, 1.0f);
    if (a_material.Get(AI_MATKEY_BASE_COLOR, colour) != AI_SUCCESS)
        a_material.Get(AI_MATKEY_COLOR_DIFFUSE, colour);
    record.diffuse = D3DXVECTOR3(colour.r, colour.g, colour.b);

    aiColor4D emissive(0.0f, 0.0f, 0.0f, 1.0f);
    float emissiveStrength = 1.0f;
    a_material.Get(AI_MATKEY_COLOR_EMISSIVE, emissive);
    a_material.Get(AI_MATKEY_EMISSIVE_INTENSITY, emissiveStrength);
    if (emissive.r > 0.0f || emissive.g > 0.0f || emissive.b > 0.0f)
        record.selfIllum = D3DXVECTOR3(emissive.r, emissive.g, emissive.b) * emissiveStrength;

    float metallic = 0.0f;
    float roughness = 1.0f;
    float glossinessFactor = 0.0f;
    aiColor4D specular(1.0f, 1.0f, 1.0f, 1.0f);
    const bool metalRough = a_material.Get(AI_MATKEY_ROUGHNESS_FACTOR, roughness) == AI_SUCCESS;
    a_material.Get(AI_MATKEY_METALLIC_FACTOR, metallic);
    if (a_material.Get(AI_MATKEY_GLOSSINESS_FACTOR, glossinessFactor) == AI_SUCCESS)
    {
        // Specular and glossiness: the specular colour is the strength.
        a_material.Get(AI_MATKEY_COLOR_SPECULAR, specular);
        record.glossiness = std::max(specular.r, std::max(specular.g, specular.b));
        record.specularPower = specularPowerFor(1.0f - glossinessFactor);
    }
    else if (metalRough)
    {
        record.glossiness = 1.0f - std::clamp(roughness, 0.0f, 1.0f);
        record.specularPower = specularPowerFor(std::clamp(roughness, 0.0f, 1.0f));
    }
    else
    {
        float shininess = 0.0f;
        float strength = 1.0f;
        specular = aiColor4D(0.0f, 0.0f, 0.0f, 1.0f);
        a_material.Get(AI_MATKEY_SHININESS, shininess);
        a_material.Get(AI_MATKEY_SHININESS_STRENGTH, strength);
        a_material.Get(AI_MATKEY_COLOR_SPECULAR, specular);
        record.glossiness = std::max(specular.r, std::max(specular.g, specular.b)) * strength;
        record.specularPower = std::clamp(shininess, 0.0f, kMaxSpecularPower);
    }

    auto texture = [&](aiTextureType a_type, aiString& a_path, unsigned* a_set = nullptr) {
        return a_material.GetTextureCount(a_type) != 0 &&
               a_material.GetTexture(a_type, 0, &a_path, nullptr, a_set) == AI_SUCCESS;
    };
    auto add = [&](uint8_t a_slot, const std::string& a_name2) {
        record.textures.push_back({a_slot, a_name2});
    };
    std::string problem;

    aiString path;
    aiString alphaMode;
    a_material.Get(AI_MATKEY_GLTF_ALPHAMODE, alphaMode);
    const bool cutOut = alphaMode == aiString("MASK") || alphaMode == aiString("BLEND");
    if (texture(aiTextureType_BASE_COLOR, path) || texture(aiTextureType_DIFFUSE, path))
    {
        std::string name, alphaName;
        if (m_textures->colour(path, name, alphaName, problem))
        {
            add(kQorSlotColour, name);
            // The opacity sampler cuts away texels whose red is below one
            // half: the alpha companion, grey, serves as it is.
            if (cutOut && !alphaName.empty())
                add(kQorSlotOpacity, alphaName);
        }
        else
        {
            warn(where + ": " + problem + "; the colour map is left out");
        }
    }
    if (alphaMode == aiString("BLEND"))
        warn(where + ": blended transparency is drawn as a cut-out at one half");
    if (metallic >= 0.5f)
        add(kQorSlotColour, kCubeMap);

    auto greyMap = [&](uint8_t a_slot, int a_channel, const char* a_use) {
        std::string name;
        if (m_textures->grey(path, a_channel, a_use, name, problem))
            add(a_slot, name);
        else
            warn(where + ": " + problem + "; the " + a_use + " map is left out");
    };
    unsigned occlusionSet = 0;
    if (texture(aiTextureType_LIGHTMAP, path, &occlusionSet) ||
        texture(aiTextureType_AMBIENT_OCCLUSION, path, &occlusionSet))
    {
        // glTF keeps occlusion in the red channel of a shared picture.
        m_occlusionSets[a_index] = int(occlusionSet);
        greyMap(kQorSlotOcclusion, 0, "occlusion");
    }
    if (texture(aiTextureType_HEIGHT, path) || texture(aiTextureType_DISPLACEMENT, path))
    {
        greyMap(kQorSlotHeight, 0, "height");
    }
    else if (texture(aiTextureType_NORMALS, path))
    {
        warn(where + ": the normal map \"" + std::string(path.C_Str()) +
             "\" is left out; the material pass tilts normals by a height map (grey, mid-grey "
             "flat)");
    }
    // glTF keeps metalness in the blue channel of its metal-roughness
    // picture, which assimp files as an unknown kind.
    if (metallic >= 0.5f &&
        (texture(aiTextureType_METALNESS, path) || texture(aiTextureType_UNKNOWN, path)))
        greyMap(kQorSlotReflection, 2, "reflection");
    if (texture(aiTextureType_OPACITY, path))
        greyMap(kQorSlotOpacity, 0, "opacity");
    if (texture(aiTextureType_EMISSIVE, path))
        warn(where + ": the emissive map is left out; self-illumination shows the colour map times "
                     "the emissive colour");
    return record;
}

// Positions, normals and tangents mirrored into the demo's space; texture
// set 1 is the one the occlusion map reads, else a copy of set 0.
bool SceneImporter::geometry(const aiMesh& a_mesh, const std::string& a_where, QorMesh& a_record)
{
    if (a_mesh.HasBones())
        warn(a_where + ": skinning is left out; the mesh keeps its bind pose");
    if (a_mesh.mNumAnimMeshes != 0)
        warn(a_where + ": morph targets are left out");
    if (a_mesh.GetNumColorChannels() != 0)
        warn(a_where + ": vertex colours are left out");
    if (a_mesh.GetNumUVChannels() > 2)
        warn(a_where + ": texture coordinate sets past the second are left out");

    uint64_t triangles = 0, lines = 0, points = 0;
    for (unsigned f = 0; f < a_mesh.mNumFaces; ++f)
    {
        const unsigned corners = a_mesh.mFaces[f].mNumIndices;
        triangles += corners == 3;
        lines += corners == 2;
        points += corners == 1;
    }
    if (lines != 0)
    {
        m_tally.lines += lines;
        warn(a_where + ": " + std::to_string(lines) +
             " line segments are left out; the demo draws triangles and point sprites");
    }

    if (triangles == 0)
    {
        if (points == 0)
        {
            if (lines == 0)
                warn(a_where + ": the mesh holds no triangles, lines or points; left out");
            return false;
        }
        // A point cloud: each point becomes one of the demo's sprites, a
        // screen-facing disc.
        a_record.kind = 1;
        for (unsigned f = 0; f < a_mesh.mNumFaces; ++f)
        {
            const aiFace& face = a_mesh.mFaces[f];
            if (face.mNumIndices == 1)
                a_record.points.push_back(Handedness::toDemo(a_mesh.mVertices[face.mIndices[0]]));
        }
        m_tally.points += points;
        return true;
    }
    // Points beside a surface are an editor's loose vertices, not a cloud
    // meant to be seen; a record is either triangles or sprites.
    if (points != 0)
    {
        m_tally.loosePoints += points;
        warn(a_where + ": " + std::to_string(points) +
             " loose points beside its triangles are left out");
    }
    m_tally.triangles += triangles;

    const int occlusionSet =
        m_occlusionSets.count(a_mesh.mMaterialIndex) ? m_occlusionSets[a_mesh.mMaterialIndex] : -1;
    const unsigned secondSet =
        (occlusionSet >= 0 && a_mesh.HasTextureCoords(unsigned(occlusionSet)))
            ? unsigned(occlusionSet)
            : (a_mesh.HasTextureCoords(1) ? 1u : 0u);
    // Only the vertices a triangle uses are kept, in their order: those of
    // points and lines carry no normal (assimp leaves NaN there).
    constexpr uint32_t kUnused = UINT32_MAX;
    std::vector<uint32_t> kept(a_mesh.mNumVertices, kUnused);
    for (unsigned f = 0; f < a_mesh.mNumFaces; ++f)
    {
        const aiFace& face = a_mesh.mFaces[f];
        if (face.mNumIndices == 3)
            kept[face.mIndices[0]] = kept[face.mIndices[1]] = kept[face.mIndices[2]] = 0;
    }
    a_record.kind = 0;
    a_record.vertices.reserve(a_mesh.mNumVertices);
    for (unsigned i = 0; i < a_mesh.mNumVertices; ++i)
    {
        if (kept[i] == kUnused)
            continue;
        kept[i] = uint32_t(a_record.vertices.size());
        QorVertex& vertex = a_record.vertices.emplace_back();
        vertex = QorVertex{};
        vertex.position = Handedness::toDemo(a_mesh.mVertices[i]);
        if (a_mesh.HasNormals())
            vertex.normal = Handedness::toDemo(a_mesh.mNormals[i]);
        if (a_mesh.HasTextureCoords(0))
        {
            vertex.uv[0] = a_mesh.mTextureCoords[0][i].x;
            vertex.uv[1] = a_mesh.mTextureCoords[0][i].y;
        }
        if (a_mesh.HasTextureCoords(secondSet))
        {
            vertex.uv1[0] = a_mesh.mTextureCoords[secondSet][i].x;
            vertex.uv1[1] = a_mesh.mTextureCoords[secondSet][i].y;
        }
        if (a_mesh.HasTangentsAndBitangents())
        {
            // Only the part across the normal tilts it.
            D3DXVECTOR3 tangent = Handedness::toDemo(a_mesh.mTangents[i]);
            tangent -= vertex.normal * D3DXVec3Dot(&vertex.normal, &tangent);
            if (D3DXVec3Length(&tangent) > 1e-6f)
                D3DXVec3Normalize(&vertex.tangent, &tangent);
        }
    }
    a_record.indices.reserve(size_t(triangles) * 3);
    for (unsigned f = 0; f < a_mesh.mNumFaces; ++f)
    {
        const aiFace& face = a_mesh.mFaces[f];
        if (face.mNumIndices != 3)
            continue;
        uint32_t corners[3] = {kept[face.mIndices[0]], kept[face.mIndices[1]],
                               kept[face.mIndices[2]]};
        Handedness::flipWinding(corners[1], corners[2]);
        a_record.indices.insert(a_record.indices.end(), corners, corners + 3);
    }
    return true;
}

std::string SceneImporter::nothingToDraw() const
{
    return "the file holds " + std::to_string(m_scene->mNumMeshes) +
           " meshes, none with triangles or points: " + std::to_string(m_tally.lines) +
           " line segments on " + std::to_string(m_tally.emptyNodes) +
           " nodes are left out (the demo draws triangles and point sprites); nothing written";
}

// The node's place in the world at every frame, split into translation,
// rotation and scale. The demo reads a mesh's rotation track one frame
// ahead of the others (frame f shows key f + 1, wrapping with the tracks'
// period of frameCount - 1), so rotation key j holds frame j - 1.
QorAnimation SceneImporter::animation(const aiNode& a_node) const
{
    const uint32_t frames = m_frameCount;
    QorAnimation result;
    std::vector<D3DXQUATERNION> rotations(frames);
    for (uint32_t f = 0; f < frames; ++f)
    {
        aiVector3D scaling, position;
        aiQuaternion rotation;
        world(a_node, f).Decompose(scaling, rotation, position);
        result.translation.push_back(Handedness::toDemo(position));
        result.scale.push_back(D3DXVECTOR3(scaling.x, scaling.y, scaling.z));
        rotations[f] = Handedness::toStoredRotation(rotation.Normalize());
        // Neighbouring keys on one side of the sphere, so that equal
        // rotations compare equal and interpolation takes the short way.
        if (f != 0 && D3DXQuaternionDot(&rotations[f], &rotations[f - 1]) < 0.0f)
            rotations[f] = -rotations[f];
    }
    result.rotation = rotations;
    if (frames > 1)
    {
        const uint32_t period = frames - 1;
        for (uint32_t j = 0; j < frames; ++j)
            result.rotation[j] = rotations[(j + period - 1) % period];
    }
    collapse(result.translation);
    collapse(result.rotation);
    collapse(result.scale);
    return result;
}

// Cameras and lights sit at their node's origin. assimp's glTF reader also
// copies the node's translation into the camera's own position, which the
// node's transform would then apply a second time, so that is not used.
bool SceneImporter::camera(const aiCamera& a_camera, float a_focus, QorCamera& a_record)
{
    const std::string name = a_camera.mName.C_Str();
    const aiNode* node = m_scene->mRootNode->FindNode(a_camera.mName);
    if (!node)
    {
        warn("camera \"" + name + "\": no node places it; left out");
        return false;
    }
    // An empty node named "<camera>.target" is what the camera looks at.
    const aiNode* target = m_scene->mRootNode->FindNode((name + ".target").c_str());
    // assimp gives glTF's vertical angle times the camera's aspect, and
    // the horizontal angle of the other formats' cameras (at 16:9 when the
    // file names no aspect).
    const float aspect = a_camera.mAspect > 0.0f ? a_camera.mAspect : kQorFovAspect;
    const bool orthographic = a_camera.mOrthographicWidth > 0.0f;
    const float vertical = m_gltf
                               ? a_camera.mHorizontalFOV / (a_camera.mAspect > 0.0f ? aspect : 1.0f)
                               : 2.0f * atanf(tanf(a_camera.mHorizontalFOV * 0.5f) / aspect);
    if (orthographic)
    {
        warn("camera \"" + name +
             "\": orthographic; drawn in perspective, framing the same view at the distance of "
             "what it looks at");
    }
    else if (!(vertical > kMinFov && vertical < kMaxFov))
    {
        warn("camera \"" + name + "\": its field of view (" + std::to_string(vertical) +
             " radians) cannot be drawn; left out");
        return false;
    }
    a_record.name = fit(name);
    for (uint32_t f = 0; f < m_frameCount; ++f)
    {
        const aiMatrix4x4 transform = world(*node, f);
        const aiMatrix3x3 turn(transform);
        const aiVector3D eye = transform * aiVector3D(0.0f, 0.0f, 0.0f);
        aiVector3D forward = turn * a_camera.mLookAt;
        aiVector3D up = turn * a_camera.mUp;
        forward.Normalize();
        up.Normalize();
        const aiVector3D aim =
            target ? world(*target, f) * aiVector3D(0.0f, 0.0f, 0.0f) : eye + forward * a_focus;
        const D3DXVECTOR3 demoEye = Handedness::toDemo(eye);
        const D3DXVECTOR3 demoTarget = Handedness::toDemo(aim);
        a_record.positions.push_back(demoEye);
        a_record.targets.push_back(demoTarget);
        a_record.roll.push_back(CameraPose::roll(demoEye, demoTarget, Handedness::toDemo(up)));
        float fov = vertical;
        if (orthographic)
        {
            // The box's half height, scaled as every length is, seen whole
            // at the aim's distance.
            const float halfHeight = a_camera.mOrthographicWidth * m_options.scale / aspect;
            const float distance = std::max((aim - eye).Length(), 1e-6f);
            fov = std::clamp(2.0f * atanf(halfHeight / distance), kMinFov, kMaxFov);
        }
        a_record.fov.push_back(fov * kQorFovAspect);
    }
    return true;
}

// An editor's light is a colour times an intensity with an inverse-square
// fall-off; the demo's fades from full strength at its near distance to
// nothing at its far one. Without the editor saying where ("farFallOff" on
// the node, or glTF's range), the far distance is where the inverse-square
// light would have dropped to 1/256 of its intensity.
bool SceneImporter::light(const aiLight& a_light, QorLight& a_record)
{
    const std::string name = a_light.mName.C_Str();
    const std::string where = "light \"" + name + "\"";
    if (a_light.mType != aiLightSource_POINT && a_light.mType != aiLightSource_SPOT)
    {
        warn(where + ": only point and spot lights exist in the demo; left out");
        return false;
    }
    const aiNode* node = m_scene->mRootNode->FindNode(a_light.mName);
    if (!node)
    {
        warn(where + ": no node places it; left out");
        return false;
    }
    const bool spot = a_light.mType == aiLightSource_SPOT;
    if (spot && fabsf(a_light.mAngleOuterCone - kSpotHalfAngle) > 1e-3f)
        warn(where +
             ": the demo's spot lights light a 60-degree cone; the light's own cone is left out");

    const aiColor3D& power = a_light.mColorDiffuse;
    const float strongest = std::max(power.r, std::max(power.g, power.b));
    float intensity = 1.0f;
    float nearFallOff = 0.0f;
    float farFallOff = 16.0f * sqrtf(std::max(strongest, 0.0f));
    const bool ownIntensity = metaNumber(*node, "intensity", intensity) && intensity > 0.0f;
    if (!metaNumber(*node, "farFallOff", farFallOff))
        metaNumber(*node, "PBR_LightRange", farFallOff);
    metaNumber(*node, "nearFallOff", nearFallOff);
    farFallOff *= m_options.scale;
    nearFallOff *= m_options.scale;
    D3DXVECTOR3 colour(power.r, power.g, power.b);
    if (ownIntensity)
        colour /= intensity;
    else if (strongest > 1.0f)
        colour /= strongest;

    a_record.name = fit(name);
    a_record.spot = spot ? 1 : 0;
    a_record.color = colour;
    a_record.nearRange = nearFallOff;
    a_record.farRange = farFallOff;
    a_record.intensities.assign(m_frameCount, intensity);
    const aiNode* target = m_scene->mRootNode->FindNode((name + ".target").c_str());
    for (uint32_t f = 0; f < m_frameCount; ++f)
    {
        const aiMatrix4x4 transform = world(*node, f);
        const aiVector3D position = transform * aiVector3D(0.0f, 0.0f, 0.0f);
        a_record.positions.push_back(Handedness::toDemo(position));
        if (!spot)
            continue;
        aiVector3D direction = aiMatrix3x3(transform) * a_light.mDirection;
        direction.Normalize();
        const float reach = std::max(farFallOff, 1.0f);
        const aiVector3D aim = target ? world(*target, f) * aiVector3D(0.0f, 0.0f, 0.0f)
                                      : position + direction * reach;
        a_record.targets.push_back(Handedness::toDemo(aim));
    }
    return true;
}
