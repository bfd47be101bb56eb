// Node transforms sampled between animation keys: straight lines for
// positions and scales, spherical ones for rotations, the first and last
// keys held outside the animation's time.
#include "NodeSampler.h"

namespace
{

// assimp's documented fallback when a file does not say.
constexpr double kDefaultTicksPerSecond = 25.0;

// The index of the last key at or before a_ticks (0 before the first).
template <typename Key>
unsigned keyBefore(const Key* a_keys, unsigned a_count, double a_ticks)
{
    unsigned index = 0;
    while (index + 1 < a_count && a_keys[index + 1].mTime <= a_ticks)
        ++index;
    return index;
}

// How far a_ticks lies from key a_index toward the next one, 0 to 1.
template <typename Key>
float between(const Key* a_keys, unsigned a_count, unsigned a_index, double a_ticks)
{
    if (a_index + 1 >= a_count)
        return 0.0f;
    const double span = a_keys[a_index + 1].mTime - a_keys[a_index].mTime;
    if (span <= 0.0 || a_ticks <= a_keys[a_index].mTime)
        return 0.0f;
    const double f = (a_ticks - a_keys[a_index].mTime) / span;
    return float(f > 1.0 ? 1.0 : f);
}

aiVector3D sampleVector(const aiVectorKey* a_keys, unsigned a_count, double a_ticks)
{
    const unsigned i = keyBefore(a_keys, a_count, a_ticks);
    const float f = between(a_keys, a_count, i, a_ticks);
    if (f == 0.0f)
        return a_keys[i].mValue;
    return a_keys[i].mValue + (a_keys[i + 1].mValue - a_keys[i].mValue) * f;
}

aiQuaternion sampleRotation(const aiQuatKey* a_keys, unsigned a_count, double a_ticks)
{
    const unsigned i = keyBefore(a_keys, a_count, a_ticks);
    const float f = between(a_keys, a_count, i, a_ticks);
    if (f == 0.0f)
        return a_keys[i].mValue;
    aiQuaternion result;
    aiQuaternion::Interpolate(result, a_keys[i].mValue, a_keys[i + 1].mValue, f);
    return result.Normalize();
}

}  // namespace

NodeSampler::NodeSampler(const aiScene& a_scene, std::vector<std::string>& a_warnings)
{
    for (unsigned a = 0; a < a_scene.mNumAnimations; ++a)
    {
        const aiAnimation& animation = *a_scene.mAnimations[a];
        const double ticksPerSecond =
            animation.mTicksPerSecond > 0.0 ? animation.mTicksPerSecond : kDefaultTicksPerSecond;
        if (animation.mDuration > 0.0 && animation.mDuration / ticksPerSecond > m_duration)
            m_duration = animation.mDuration / ticksPerSecond;
        for (unsigned c = 0; c < animation.mNumChannels; ++c)
        {
            const aiNodeAnim* channel = animation.mChannels[c];
            const std::string name = channel->mNodeName.C_Str();
            if (!m_channels.emplace(name, Channel{channel, ticksPerSecond}).second)
                a_warnings.push_back("node \"" + name +
                                     "\": moved by more than one animation; animation \"" +
                                     animation.mName.C_Str() + "\" is left out for it");
        }
    }
}

aiMatrix4x4 NodeSampler::local(const aiNode& a_node, double a_seconds) const
{
    const auto found = m_channels.find(a_node.mName.C_Str());
    if (found == m_channels.end())
        return a_node.mTransformation;

    // A channel may leave a component without keys: the node's own holds.
    aiVector3D scaling, position;
    aiQuaternion rotation;
    a_node.mTransformation.Decompose(scaling, rotation, position);
    const aiNodeAnim& keys = *found->second.keys;
    const double ticks = a_seconds * found->second.ticksPerSecond;
    if (keys.mNumPositionKeys != 0)
        position = sampleVector(keys.mPositionKeys, keys.mNumPositionKeys, ticks);
    if (keys.mNumRotationKeys != 0)
        rotation = sampleRotation(keys.mRotationKeys, keys.mNumRotationKeys, ticks);
    if (keys.mNumScalingKeys != 0)
        scaling = sampleVector(keys.mScalingKeys, keys.mNumScalingKeys, ticks);
    return compose(scaling, rotation, position);
}

aiMatrix4x4 NodeSampler::compose(const aiVector3D& a_scaling, const aiQuaternion& a_rotation,
                                 const aiVector3D& a_position)
{
    aiMatrix4x4 translation, scaling;
    aiMatrix4x4::Translation(a_position, translation);
    aiMatrix4x4::Scaling(a_scaling, scaling);
    return translation * aiMatrix4x4(a_rotation.GetMatrix()) * scaling;
}

aiMatrix4x4 NodeSampler::global(const aiNode& a_node, double a_seconds) const
{
    aiMatrix4x4 transform = local(a_node, a_seconds);
    for (const aiNode* parent = a_node.mParent; parent; parent = parent->mParent)
        transform = local(*parent, a_seconds) * transform;
    return transform;
}
