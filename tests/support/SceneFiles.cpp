// Test scene records.
#include "support/SceneFiles.h"

#include "scene/format/MeshBuilder.h"

#include <gtest/gtest.h>

#include <string.h>

namespace SceneFiles
{

std::vector<uint8_t> bytes(const QorFile& a_file, std::vector<QorField>* a_fields)
{
    std::vector<uint8_t> written;
    std::string error;
    EXPECT_TRUE(QorWriter::write(a_file, written, error, a_fields)) << error;
    return written;
}

const QorField& field(const std::vector<QorField>& a_fields, size_t a_record, const char* a_name)
{
    for (const QorField& field : a_fields)
    {
        if (field.record == a_record && field.name == a_name)
            return field;
    }
    ADD_FAILURE() << "no field " << a_name << " in record " << a_record;
    static const QorField none = {QorField::kHeader, "", 0, 0};
    return none;
}

QorAnimation still(const D3DXVECTOR3& a_position, float a_scale)
{
    QorAnimation animation;
    animation.translation = {a_position};
    animation.rotation = {D3DXQUATERNION(0.0f, 0.0f, 0.0f, 1.0f)};
    animation.scale = {D3DXVECTOR3(a_scale, a_scale, a_scale)};
    return animation;
}

QorMesh box(const char* a_name, const D3DXVECTOR3& a_low, const D3DXVECTOR3& a_high,
            int32_t a_material)
{
    QorMesh mesh;
    mesh.name = a_name;
    mesh.materialIndex = a_material;
    MeshBuilder builder;
    builder.box(a_low, a_high);
    builder.finish(mesh);
    mesh.animation = still();
    return mesh;
}

QorMaterial material(const char* a_name, const D3DXVECTOR3& a_diffuse,
                     const D3DXVECTOR3& a_selfIllum)
{
    QorMaterial material;
    material.name = a_name;
    material.diffuse = a_diffuse;
    material.selfIllum = a_selfIllum;
    material.glossiness = 0.5f;
    material.specularPower = 16.0f;
    return material;
}

QorCamera camera(const char* a_name, const D3DXVECTOR3& a_eye, const D3DXVECTOR3& a_target,
                 uint32_t a_frames, float a_fov)
{
    QorCamera camera;
    camera.name = a_name;
    camera.positions.assign(a_frames, a_eye);
    camera.targets.assign(a_frames, a_target);
    camera.roll.assign(a_frames, 0.0f);
    camera.fov.assign(a_frames, a_fov);
    return camera;
}

QorFile primitives()
{
    QorMesh sphere;
    sphere.name = "lightVolume";
    MeshBuilder builder;
    builder.sphere(0.5f, 16, 8);
    builder.finish(sphere);
    sphere.animation = still();
    QorFile file;
    file.records.push_back(sphere);
    return file;
}

}
