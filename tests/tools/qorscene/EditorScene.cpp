// The arrays grow one item at a time; assimp frees them with delete[] when
// the scene goes.
#include "EditorScene.h"

#include <assimp/Exporter.hpp>

#include <math.h>

namespace
{

template <typename T>
void append(T**& a_items, unsigned& a_count, T* a_item)
{
    T** grown = new T*[a_count + 1];
    for (unsigned i = 0; i < a_count; ++i)
        grown[i] = a_items[i];
    grown[a_count++] = a_item;
    delete[] a_items;
    a_items = grown;
}

void adopt(aiNode* a_parent, aiNode* a_child)
{
    a_child->mParent = a_parent;
    append(a_parent->mChildren, a_parent->mNumChildren, a_child);
}

}  // namespace

EditorScene::EditorScene() : m_scene(std::make_unique<aiScene>())
{
    m_scene->mRootNode = new aiNode("root");
    // Every exporter wants a material; a plain grey one.
    aiMaterial* paint = new aiMaterial();
    const aiString name("paint");
    paint->AddProperty(&name, AI_MATKEY_NAME);
    const aiColor3D grey(0.8f, 0.8f, 0.8f);
    paint->AddProperty(&grey, 1, AI_MATKEY_COLOR_DIFFUSE);
    append(m_scene->mMaterials, m_scene->mNumMaterials, paint);
}

aiNode* EditorScene::mesh(const std::string& a_name, const std::vector<aiVector3D>& a_positions,
                          const std::vector<std::vector<unsigned>>& a_faces, aiNode* a_parent)
{
    aiMesh* mesh = new aiMesh();
    mesh->mName = a_name;
    mesh->mMaterialIndex = 0;
    mesh->mNumVertices = unsigned(a_positions.size());
    mesh->mVertices = new aiVector3D[a_positions.size()];
    for (size_t i = 0; i < a_positions.size(); ++i)
        mesh->mVertices[i] = a_positions[i];
    mesh->mNumFaces = unsigned(a_faces.size());
    mesh->mFaces = new aiFace[a_faces.size()];
    for (size_t f = 0; f < a_faces.size(); ++f)
    {
        aiFace& face = mesh->mFaces[f];
        face.mNumIndices = unsigned(a_faces[f].size());
        face.mIndices = new unsigned[a_faces[f].size()];
        for (size_t c = 0; c < a_faces[f].size(); ++c)
            face.mIndices[c] = a_faces[f][c];
        const unsigned n = face.mNumIndices;
        mesh->mPrimitiveTypes |= n == 1   ? aiPrimitiveType_POINT
                                 : n == 2 ? aiPrimitiveType_LINE
                                 : n == 3 ? aiPrimitiveType_TRIANGLE
                                          : aiPrimitiveType_POLYGON;
    }
    const unsigned index = m_scene->mNumMeshes;
    append(m_scene->mMeshes, m_scene->mNumMeshes, mesh);

    aiNode* node = new aiNode(a_name);
    node->mNumMeshes = 1;
    node->mMeshes = new unsigned[1]{index};
    adopt(a_parent ? a_parent : m_scene->mRootNode, node);
    return node;
}

aiNode* EditorScene::group(const std::string& a_name, const aiVector3D& a_offset, aiNode* a_parent)
{
    aiNode* node = new aiNode(a_name);
    aiMatrix4x4::Translation(a_offset, node->mTransformation);
    adopt(a_parent ? a_parent : m_scene->mRootNode, node);
    return node;
}

void EditorScene::camera(const std::string& a_name, const aiVector3D& a_position,
                         float a_verticalFov, float a_orthographicHalfWidth)
{
    aiCamera* camera = new aiCamera();
    camera->mName = a_name;
    camera->mAspect = 16.0f / 9.0f;
    camera->mLookAt = aiVector3D(0.0f, 0.0f, -1.0f);
    camera->mUp = aiVector3D(0.0f, 1.0f, 0.0f);
    camera->mClipPlaneNear = 0.1f;
    camera->mClipPlaneFar = 1000.0f;
    camera->mHorizontalFOV = a_orthographicHalfWidth > 0.0f
                                 ? 0.0f
                                 : 2.0f * atanf(tanf(a_verticalFov * 0.5f) * camera->mAspect);
    camera->mOrthographicWidth = a_orthographicHalfWidth;
    append(m_scene->mCameras, m_scene->mNumCameras, camera);
    group(a_name, a_position);
}

void EditorScene::spin(const aiNode& a_node, float a_turns, double a_seconds)
{
    aiNodeAnim* channel = new aiNodeAnim();
    channel->mNodeName = a_node.mName;
    aiVector3D scaling, position;
    aiQuaternion rotation;
    a_node.mTransformation.Decompose(scaling, rotation, position);
    constexpr unsigned kKeys = 5;
    channel->mNumRotationKeys = kKeys;
    channel->mRotationKeys = new aiQuatKey[kKeys];
    for (unsigned k = 0; k < kKeys; ++k)
    {
        const double time = a_seconds * k / (kKeys - 1);
        const float angle = float(2.0 * M_PI * a_turns * k / (kKeys - 1));
        channel->mRotationKeys[k] =
            aiQuatKey(time, aiQuaternion(aiVector3D(0.0f, 1.0f, 0.0f), angle));
    }
    channel->mNumPositionKeys = 1;
    channel->mPositionKeys = new aiVectorKey[1]{aiVectorKey(0.0, position)};
    channel->mNumScalingKeys = 1;
    channel->mScalingKeys = new aiVectorKey[1]{aiVectorKey(0.0, scaling)};

    aiAnimation* animation = new aiAnimation();
    animation->mName = std::string(a_node.mName.C_Str()) + " spin";
    animation->mDuration = a_seconds;
    animation->mTicksPerSecond = 1.0;
    animation->mNumChannels = 1;
    animation->mChannels = new aiNodeAnim* [1] {
        channel
    };
    append(m_scene->mAnimations, m_scene->mNumAnimations, animation);
}

std::string EditorScene::write(const std::string& a_format, const std::string& a_path) const
{
    Assimp::Exporter exporter;
    if (exporter.Export(m_scene.get(), a_format, a_path) != AI_SUCCESS)
        return exporter.GetErrorString();
    return std::string();
}
