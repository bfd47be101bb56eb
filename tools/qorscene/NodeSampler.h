// Where the nodes of an imported scene are at any time: each node's own
// transform, animated by whichever animation drives it, times its parents'.
// All of the scene's animations play together from time 0, since editors
// often export one animation per object.
#pragma once

#include <assimp/scene.h>

#include <map>
#include <string>
#include <vector>

class NodeSampler
{
public:
    // a_warnings gains one line for every node that two animations drive
    // (the first one wins).
    NodeSampler(const aiScene& a_scene, std::vector<std::string>& a_warnings);

    // Seconds of the longest animation; 0 without animation.
    double duration() const { return m_duration; }

    // a_node's transform into the scene root's space at a_seconds.
    aiMatrix4x4 global(const aiNode& a_node, double a_seconds) const;

    // Scale, then rotate, then move, as glTF composes a node. (assimp's own
    // matrix constructor from these three scales after rotating.)
    static aiMatrix4x4 compose(const aiVector3D& a_scaling, const aiQuaternion& a_rotation,
                               const aiVector3D& a_position);

private:
    struct Channel
    {
        const aiNodeAnim* keys;
        double ticksPerSecond;
    };

    aiMatrix4x4 local(const aiNode& a_node, double a_seconds) const;

    std::map<std::string, Channel> m_channels;
    double m_duration = 0.0;
};
