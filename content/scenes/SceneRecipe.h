// What every scene recipe shares: the records of one file in the making, and
// animation tracks made from functions of the loop's phase, so that every
// animated track loops seamlessly.
//
// The demo samples a track of n keys with the period n - 1 and wraps any
// frame time into it: key n - 1 is never shown, and after key
// n - 2 the motion runs on toward key 0. A recipe therefore describes motion
// as a function of the phase p = frame / (n - 1), periodic over p in [0, 1),
// and the last key is written equal to the first.
#pragma once

#include "scene/format/MeshBuilder.h"
#include "scene/format/QorFile.h"

#include <stdint.h>

#include <string>
#include <vector>

class SceneRecipe
{
public:
    explicit SceneRecipe(uint32_t a_frameCount);

    uint32_t frameCount() const { return m_file.frameCount; }
    // Frames per loop: frameCount - 1.
    uint32_t period() const { return m_file.frameCount - 1; }

    // Appends a record; the index is what later records refer to it by.
    int32_t add(QorMaterial a_material);
    int32_t add(QorMesh a_mesh);
    void add(QorCamera a_camera);
    void add(QorLight a_light);
    // A triangle mesh from what a_builder holds (which it empties).
    int32_t add(const std::string& a_name, int32_t a_material, MeshBuilder& a_builder,
                QorAnimation a_animation);
    // A cloud of point sprites, one object unit across before the mesh's scale.
    int32_t sprites(const std::string& a_name, int32_t a_material,
                    std::vector<D3DXVECTOR3> a_points, QorAnimation a_animation);
    // A mesh record that reuses mesh a_source's geometry and material.
    int32_t instance(const std::string& a_name, int32_t a_source, QorAnimation a_animation);

    // One key per frame of a_shape(phase); phase runs 0 to 1 over the
    // period, and the last key repeats the first.
    template <typename Shape>
    auto keys(Shape a_shape) const -> std::vector<decltype(a_shape(0.0f))>;
    // Rotation keys for a mesh from the rotation wanted at each phase. The
    // demo turns a mesh by the stored quaternion with its w negated, which
    // is the inverse turn; these keys store the inverse of the
    // wanted turn, so the mesh turns as described. Neighbouring keys keep
    // to one hemisphere, so the spline between them takes the short way.
    template <typename Shape>
    std::vector<D3DXQUATERNION> rotations(Shape a_shape) const;

    // A camera from its eye, target, roll (radians) and exported field of
    // view (radians, horizontal at 16:9) as functions of the phase.
    template <typename Eye, typename Target, typename Roll, typename Fov>
    QorCamera camera(const std::string& a_name, Eye a_eye, Target a_target, Roll a_roll,
                     Fov a_fov) const
    {
        QorCamera result;
        result.name = a_name;
        result.positions = keys(a_eye);
        result.targets = keys(a_target);
        result.roll = keys(a_roll);
        result.fov = keys(a_fov);
        return result;
    }

    const QorFile& file() const { return m_file; }
    // Meshes counted so far: the index the next one gets.
    int32_t meshCount() const { return m_meshes; }

private:
    std::vector<D3DXQUATERNION> storedRotations(std::vector<D3DXQUATERNION> a_wanted) const;

    QorFile m_file;
    int32_t m_meshes = 0;
    int32_t m_materials = 0;
};

// A turn of a_angle radians about a_axis (need not be unit length).
D3DXQUATERNION turn(const D3DXVECTOR3& a_axis, float a_angle);
// a_first, then a_second.
D3DXQUATERNION then(const D3DXQUATERNION& a_first, const D3DXQUATERNION& a_second);

// A plateau: vertices a_first onward of a flat ground lowered smoothly
// beyond a_radius from the y axis, by a_drop at twice that distance, so the
// ground's far part, which the fog would turn into a flat grey wall, falls
// away below the horizon.
void plateau(MeshBuilder& a_builder, uint32_t a_first, float a_radius, float a_drop);

// Animation blocks: one key for each track.
QorAnimation still(const D3DXVECTOR3& a_position = D3DXVECTOR3(0.0f, 0.0f, 0.0f),
                   const D3DXVECTOR3& a_scale = D3DXVECTOR3(1.0f, 1.0f, 1.0f),
                   const D3DXQUATERNION& a_rotation = D3DXQUATERNION(0.0f, 0.0f, 0.0f, 1.0f));

// A material: diffuse colour, glossiness and specular power; texture
// entries and self-illumination are added by the recipes.
QorMaterial material(const std::string& a_name, const D3DXVECTOR3& a_diffuse, float a_glossiness,
                     float a_specularPower);
// A material that glows a_color times its colour map in the dark; with no
// map, evenly (the default white texture).
QorMaterial glowMaterial(const std::string& a_name, const D3DXVECTOR3& a_color,
                         const std::string& a_map);

// An omni light: colour, reach, and its path over the loop.
QorLight omni(const std::string& a_name, const D3DXVECTOR3& a_color, float a_near, float a_far,
              std::vector<D3DXVECTOR3> a_positions);

constexpr float kPi = 3.14159265358979f;
constexpr float kTau = 2.0f * kPi;

template <typename Shape>
auto SceneRecipe::keys(Shape a_shape) const -> std::vector<decltype(a_shape(0.0f))>
{
    std::vector<decltype(a_shape(0.0f))> result;
    result.reserve(frameCount());
    for (uint32_t frame = 0; frame < period(); ++frame)
        result.push_back(a_shape(float(frame) / float(period())));
    result.push_back(result.front());
    return result;
}

template <typename Shape>
std::vector<D3DXQUATERNION> SceneRecipe::rotations(Shape a_shape) const
{
    return storedRotations(keys(a_shape));
}
