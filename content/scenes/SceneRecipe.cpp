// Scene records in the making and looping tracks.
#include "SceneRecipe.h"

#include <math.h>

SceneRecipe::SceneRecipe(uint32_t a_frameCount)
{
    m_file.frameCount = a_frameCount;
}

int32_t SceneRecipe::add(QorMaterial a_material)
{
    m_file.records.push_back(std::move(a_material));
    return m_materials++;
}

int32_t SceneRecipe::add(QorMesh a_mesh)
{
    m_file.records.push_back(std::move(a_mesh));
    return m_meshes++;
}

void SceneRecipe::add(QorCamera a_camera)
{
    m_file.records.push_back(std::move(a_camera));
}

void SceneRecipe::add(QorLight a_light)
{
    m_file.records.push_back(std::move(a_light));
}

int32_t SceneRecipe::add(const std::string& a_name, int32_t a_material, MeshBuilder& a_builder,
                         QorAnimation a_animation)
{
    QorMesh mesh;
    mesh.name = a_name;
    mesh.materialIndex = a_material;
    a_builder.finish(mesh);
    mesh.animation = std::move(a_animation);
    return add(std::move(mesh));
}

int32_t SceneRecipe::sprites(const std::string& a_name, int32_t a_material,
                             std::vector<D3DXVECTOR3> a_points, QorAnimation a_animation)
{
    QorMesh mesh;
    mesh.name = a_name;
    mesh.materialIndex = a_material;
    mesh.kind = 1;
    mesh.points = std::move(a_points);
    mesh.animation = std::move(a_animation);
    return add(std::move(mesh));
}

int32_t SceneRecipe::instance(const std::string& a_name, int32_t a_source, QorAnimation a_animation)
{
    QorMesh mesh;
    mesh.name = a_name;
    mesh.sourceIndex = a_source;
    mesh.animation = std::move(a_animation);
    return add(std::move(mesh));
}

std::vector<D3DXQUATERNION> SceneRecipe::storedRotations(std::vector<D3DXQUATERNION> a_wanted) const
{
    for (size_t i = 0; i < a_wanted.size(); ++i)
    {
        D3DXQUATERNION& key = a_wanted[i];
        D3DXQuaternionConjugate(&key, &key);
        if (i != 0 && D3DXQuaternionDot(&key, &a_wanted[i - 1]) < 0.0f)
            key = -key;
    }
    // The loop closes on the first key exactly, whichever sign the walk
    // ended with; the spline setup picks the near sign itself.
    a_wanted.back() = a_wanted.front();
    return a_wanted;
}

D3DXQUATERNION turn(const D3DXVECTOR3& a_axis, float a_angle)
{
    D3DXQUATERNION result;
    D3DXQuaternionRotationAxis(&result, &a_axis, a_angle);
    return result;
}

D3DXQUATERNION then(const D3DXQUATERNION& a_first, const D3DXQUATERNION& a_second)
{
    D3DXQUATERNION result;
    D3DXQuaternionMultiply(&result, &a_first, &a_second);
    return result;
}

QorAnimation still(const D3DXVECTOR3& a_position, const D3DXVECTOR3& a_scale,
                   const D3DXQUATERNION& a_rotation)
{
    QorAnimation animation;
    animation.translation = {a_position};
    D3DXQUATERNION stored;
    D3DXQuaternionConjugate(&stored, &a_rotation);
    animation.rotation = {stored};
    animation.scale = {a_scale};
    return animation;
}

QorMaterial material(const std::string& a_name, const D3DXVECTOR3& a_diffuse, float a_glossiness,
                     float a_specularPower)
{
    QorMaterial result;
    result.name = a_name;
    result.diffuse = a_diffuse;
    result.glossiness = a_glossiness;
    result.specularPower = a_specularPower;
    return result;
}

QorMaterial glowMaterial(const std::string& a_name, const D3DXVECTOR3& a_color,
                         const std::string& a_map)
{
    QorMaterial result = material(a_name, D3DXVECTOR3(0.0f, 0.0f, 0.0f), 0.0f, 1.0f);
    result.selfIllum = a_color;
    if (!a_map.empty())
        result.textures = {{kQorSlotColour, a_map}};
    return result;
}

QorLight omni(const std::string& a_name, const D3DXVECTOR3& a_color, float a_near, float a_far,
              std::vector<D3DXVECTOR3> a_positions)
{
    QorLight light;
    light.name = a_name;
    light.color = a_color;
    light.nearRange = a_near;
    light.farRange = a_far;
    light.intensities.assign(a_positions.size(), 1.0f);
    light.positions = std::move(a_positions);
    return light;
}

void plateau(MeshBuilder& a_builder, uint32_t a_first, float a_radius, float a_drop)
{
    a_builder.displace(a_first, [a_radius, a_drop](const D3DXVECTOR3& a_point, const D3DXVECTOR3&) {
        const float beyond =
            fmaxf(0.0f, sqrtf(a_point.x * a_point.x + a_point.z * a_point.z) / a_radius - 1.0f);
        return -a_drop * beyond * beyond;
    });
}
