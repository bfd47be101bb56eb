// qorscene export then import: a scene file comes back with the same
// records, geometry, materials and animation as the demo shows them, for
// every scene the demo ships and for a scene with every kind of record.
// Compared as the demo sees them: triangles corner by corner (the reader
// may drop vertices no triangle uses), rotation keys as the frames show
// them (the key the demo never shows is free), camera targets and lights
// exactly. Tangents are made again on import and are not compared; what
// glTF has no place for (height, reflection and opacity slots, extra
// bytes, a field of view that changes) is reported by export.
#include "QorsceneRun.h"

#include "support/ArchiveBuilder.h"
#include "support/SceneFiles.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <stb_image_write.h>

#include <math.h>

#include <algorithm>
#include <filesystem>
#include <tuple>

namespace fs = std::filesystem;

namespace
{

constexpr float kTolerance = 1e-4f;

void expectClose(const D3DXVECTOR3& a_actual, const D3DXVECTOR3& a_expected, const char* a_what)
{
    const D3DXVECTOR3 difference = a_actual - a_expected;
    const float scale = std::max(1.0f, D3DXVec3Length(&a_expected));
    EXPECT_LE(D3DXVec3Length(&difference), kTolerance * scale)
        << a_what << ": (" << a_actual.x << ", " << a_actual.y << ", " << a_actual.z
        << ") against (" << a_expected.x << ", " << a_expected.y << ", " << a_expected.z << ")";
}

template <typename T>
std::vector<const T*> ofKind(const QorFile& a_file)
{
    std::vector<const T*> items;
    for (const QorRecord& record : a_file.records)
    {
        if (const T* item = std::get_if<T>(&record))
            items.push_back(item);
    }
    return items;
}

template <typename K>
const K& keyAt(const std::vector<K>& a_keys, size_t a_frame)
{
    return a_keys.size() == 1 ? a_keys[0] : a_keys[a_frame];
}

void expectSameAnimation(const QorAnimation& a_original, const QorAnimation& a_back,
                         uint32_t a_frames)
{
    const uint32_t period = a_frames > 1 ? a_frames - 1 : 1;
    for (uint32_t f = 0; f < a_frames; ++f)
    {
        SCOPED_TRACE("frame " + std::to_string(f));
        expectClose(keyAt(a_back.translation, f), keyAt(a_original.translation, f), "translation");
        expectClose(keyAt(a_back.scale, f), keyAt(a_original.scale, f), "scale");
        // Frame f shows rotation key f + 1; q and -q turn alike.
        const D3DXQUATERNION& original = keyAt(a_original.rotation, (f + 1) % period);
        const D3DXQUATERNION& back = keyAt(a_back.rotation, (f + 1) % period);
        EXPECT_NEAR(fabsf(D3DXQuaternionDot(&original, &back)), 1.0f, kTolerance);
    }
}

// a_sourceName and a_backSourceName: the names of the meshes the two
// instance (empty for meshes of their own); an editor may list meshes in
// another order, so instances are matched by what they show.
// The same for the materials the two use ("" for none).
void expectSameMesh(const QorMesh& a_original, const QorMesh& a_back, uint32_t a_frames,
                    const std::string& a_sourceName, const std::string& a_backSourceName,
                    const std::string& a_materialName, const std::string& a_backMaterialName)
{
    SCOPED_TRACE("mesh " + a_original.name);
    EXPECT_EQ(a_back.name, a_original.name);
    EXPECT_EQ(a_backSourceName, a_sourceName);
    if (a_original.sourceIndex == -1)
    {
        EXPECT_EQ(a_backMaterialName, a_materialName);
        EXPECT_EQ(a_back.kind != 0, a_original.kind != 0);
        ASSERT_EQ(a_back.points.size(), a_original.points.size());
        for (size_t i = 0; i < a_original.points.size(); ++i)
            expectClose(a_back.points[i], a_original.points[i], "point");
        ASSERT_EQ(a_back.indices.size(), a_original.indices.size());
        for (size_t i = 0; i < a_original.indices.size(); ++i)
        {
            const QorVertex& original = a_original.vertices[a_original.indices[i]];
            const QorVertex& back = a_back.vertices[a_back.indices[i]];
            SCOPED_TRACE("corner " + std::to_string(i));
            expectClose(back.position, original.position, "position");
            expectClose(back.normal, original.normal, "normal");
            expectClose(D3DXVECTOR3(back.uv[0], back.uv[1], back.uv1[0]),
                        D3DXVECTOR3(original.uv[0], original.uv[1], original.uv1[0]), "uv");
            EXPECT_NEAR(back.uv1[1], original.uv1[1], kTolerance);
        }
    }
    expectSameAnimation(a_original.animation, a_back.animation, a_frames);
}

// Slots that glTF carries: colour, the cube map and occlusion.
std::vector<QorTextureEntry> carried(const QorMaterial& a_material)
{
    std::vector<QorTextureEntry> entries;
    for (const QorTextureEntry& entry : a_material.textures)
    {
        if (entry.slot == kQorSlotColour || entry.slot == kQorSlotOcclusion)
            entries.push_back(entry);
    }
    std::sort(entries.begin(), entries.end(),
              [](const QorTextureEntry& a_a, const QorTextureEntry& a_b) {
                  return std::tie(a_a.slot, a_a.fileName) < std::tie(a_b.slot, a_b.fileName);
              });
    return entries;
}

void expectSameMaterial(const QorMaterial& a_original, const QorMaterial& a_back,
                        const std::string& a_exportSaid)
{
    SCOPED_TRACE("material " + a_original.name);
    EXPECT_EQ(a_back.name, a_original.name);
    expectClose(a_back.diffuse, a_original.diffuse, "diffuse");
    expectClose(a_back.selfIllum, a_original.selfIllum, "self-illumination");
    EXPECT_NEAR(a_back.glossiness, a_original.glossiness, kTolerance);
    EXPECT_NEAR(a_back.specularPower, a_original.specularPower,
                std::max(1.0f, a_original.specularPower) * 1e-3f);
    const std::vector<QorTextureEntry> original = carried(a_original), back = carried(a_back);
    ASSERT_EQ(back.size(), original.size());
    for (size_t i = 0; i < original.size(); ++i)
    {
        EXPECT_EQ(back[i].slot, original[i].slot);
        EXPECT_EQ(back[i].fileName, original[i].fileName);
    }
    for (const QorTextureEntry& entry : a_original.textures)
    {
        if (entry.slot == kQorSlotHeight || entry.slot == kQorSlotReflection ||
            entry.slot == kQorSlotOpacity)
        {
            EXPECT_NE(a_exportSaid.find("\"" + entry.fileName + "\" in slot"), std::string::npos)
                << a_exportSaid;
        }
    }
}

void expectSameCamera(const QorCamera& a_original, const QorCamera& a_back,
                      const std::string& a_exportSaid)
{
    SCOPED_TRACE("camera " + a_original.name);
    EXPECT_EQ(a_back.name, a_original.name);
    ASSERT_EQ(a_back.positions.size(), a_original.positions.size());
    const bool fovChanges =
        std::any_of(a_original.fov.begin(), a_original.fov.end(),
                    [&](float a_fov) { return a_fov != a_original.fov.front(); });
    EXPECT_EQ(fovChanges,
              a_exportSaid.find("\"" + a_original.name +
                                "\": glTF cameras keep one field of view") != std::string::npos);
    for (size_t f = 0; f < a_original.positions.size(); ++f)
    {
        SCOPED_TRACE("frame " + std::to_string(f));
        expectClose(a_back.positions[f], a_original.positions[f], "position");
        expectClose(a_back.targets[f], a_original.targets[f], "target");
        EXPECT_NEAR(sinf(a_back.roll[f]), sinf(a_original.roll[f]), kTolerance);
        EXPECT_NEAR(cosf(a_back.roll[f]), cosf(a_original.roll[f]), kTolerance);
        EXPECT_NEAR(a_back.fov[f], a_original.fov.front(), kTolerance);
    }
}

void expectSameLight(const QorLight& a_original, const QorLight& a_back)
{
    SCOPED_TRACE("light " + a_original.name);
    EXPECT_EQ(a_back.name, a_original.name);
    EXPECT_EQ(a_back.spot != 0, a_original.spot != 0);
    expectClose(a_back.color, a_original.color, "colour");
    EXPECT_NEAR(a_back.nearRange, a_original.nearRange, kTolerance);
    EXPECT_NEAR(a_back.farRange, a_original.farRange,
                kTolerance * std::max(1.0f, a_original.farRange));
    EXPECT_NEAR(a_back.intensities.back(), std::max(0.0f, a_original.intensities.back()),
                kTolerance);
    ASSERT_EQ(a_back.positions.size(), a_original.positions.size());
    ASSERT_EQ(a_back.targets.size(), a_original.targets.size());
    for (size_t f = 0; f < a_original.positions.size(); ++f)
        expectClose(a_back.positions[f], a_original.positions[f], "position");
    for (size_t f = 0; f < a_original.targets.size(); ++f)
        expectClose(a_back.targets[f], a_original.targets[f], "target");
}

// Exports a_path, imports the result into a_folder and compares.
void expectRoundTrip(const std::string& a_path, const TemporaryFolder& a_folder)
{
    const QorFile original = readScene(a_path);
    const std::string gltf = a_folder.file("exported.gltf");
    const ToolRun exported = qorscene("export '" + a_path + "' '" + gltf + "'");
    ASSERT_EQ(exported.status, 0) << exported.output;
    const std::string back = a_folder.file("back.qor");
    const ToolRun imported = qorscene("import '" + gltf + "' '" + back + "'");
    ASSERT_EQ(imported.status, 0) << imported.output;
    const QorFile file = readScene(back);

    EXPECT_EQ(file.frameCount, original.frameCount);
    const auto meshes = ofKind<QorMesh>(original), backMeshes = ofKind<QorMesh>(file);
    const auto materials = ofKind<QorMaterial>(original), backMaterials = ofKind<QorMaterial>(file);
    const auto cameras = ofKind<QorCamera>(original), backCameras = ofKind<QorCamera>(file);
    const auto lights = ofKind<QorLight>(original), backLights = ofKind<QorLight>(file);
    ASSERT_EQ(backMeshes.size(), meshes.size());
    ASSERT_EQ(backMaterials.size(), materials.size());
    ASSERT_EQ(backCameras.size(), cameras.size());
    ASSERT_EQ(backLights.size(), lights.size());
    // Meshes by name, in the order of the original; each back mesh once.
    auto sourceName = [](const std::vector<const QorMesh*>& a_meshes, const QorMesh& a_mesh) {
        return a_mesh.sourceIndex == -1 ? std::string()
                                        : a_meshes[size_t(a_mesh.sourceIndex)]->name;
    };
    auto materialName = [](const std::vector<const QorMaterial*>& a_materials,
                           const QorMesh& a_mesh) {
        return a_mesh.sourceIndex != -1 || a_mesh.materialIndex == -1
                   ? std::string()
                   : a_materials[size_t(a_mesh.materialIndex)]->name;
    };
    std::vector<bool> used(backMeshes.size(), false);
    for (const QorMesh* mesh : meshes)
    {
        size_t match = 0;
        while (match < backMeshes.size() && (used[match] || backMeshes[match]->name != mesh->name))
            ++match;
        ASSERT_LT(match, backMeshes.size()) << "no mesh \"" << mesh->name << "\" came back";
        used[match] = true;
        expectSameMesh(*mesh, *backMeshes[match], original.frameCount, sourceName(meshes, *mesh),
                       sourceName(backMeshes, *backMeshes[match]), materialName(materials, *mesh),
                       materialName(backMaterials, *backMeshes[match]));
    }
    for (const QorMaterial* material : materials)
    {
        const auto match =
            std::find_if(backMaterials.begin(), backMaterials.end(),
                         [&](const QorMaterial* a_back) { return a_back->name == material->name; });
        ASSERT_NE(match, backMaterials.end())
            << "no material \"" << material->name << "\" came back";
        expectSameMaterial(*material, **match, exported.output);
    }
    for (size_t i = 0; i < cameras.size(); ++i)
        expectSameCamera(*cameras[i], *backCameras[i], exported.output);
    for (size_t i = 0; i < lights.size(); ++i)
        expectSameLight(*lights[i], *backLights[i]);
}

// Five frames of everything: materials with pictures, a cube map and
// self-illumination; a box that moves, turns and grows; its instance;
// sprites; a camera that rolls and moves; an omni and a spot light.
QorFile everything()
{
    QorFile file;
    file.frameCount = 5;
    QorMaterial metal =
        SceneFiles::material("metal", D3DXVECTOR3(0.5f, 0.25f, 1), D3DXVECTOR3(0, 1, 0.5f));
    metal.glossiness = 0.75f;
    metal.specularPower = 24.0f;
    metal.textures = {{kQorSlotColour, "metal.jpg"},
                      {kQorSlotColour, "autogen_cubemap.jpg"},
                      {kQorSlotOcclusion, "dirt.jpg"},
                      {kQorSlotHeight, "bumps.jpg"}};
    file.records.push_back(metal);
    QorMaterial plain = SceneFiles::material("plain", D3DXVECTOR3(1, 1, 1));
    plain.specularPower = 1.0f;
    file.records.push_back(plain);

    QorMesh box = SceneFiles::box("box", D3DXVECTOR3(-1, -2, -3), D3DXVECTOR3(1, 2, 3), 0);
    box.animation = QorAnimation();
    for (uint32_t f = 0; f < file.frameCount; ++f)
    {
        const float t = float(f);
        box.animation.translation.push_back(D3DXVECTOR3(t, 2 * t, -t));
        D3DXQUATERNION turn;
        const D3DXVECTOR3 axis(1, 2, 3);
        D3DXQuaternionRotationAxis(&turn, &axis, 0.3f * t);
        box.animation.rotation.push_back(turn);
        box.animation.scale.push_back(D3DXVECTOR3(1 + t, 1, 2));
    }
    for (QorVertex& vertex : box.vertices)
    {
        vertex.uv1[0] = vertex.uv[0] * 0.5f;
        vertex.uv1[1] = vertex.uv[1] * 0.25f;
    }
    file.records.push_back(box);
    QorMesh copy;
    copy.name = "copy";
    copy.sourceIndex = 0;
    copy.animation = SceneFiles::still(D3DXVECTOR3(4, 0, 0), 3.0f);
    file.records.push_back(copy);
    QorMesh dust;
    dust.name = "dust";
    dust.kind = 1;
    dust.materialIndex = 1;
    dust.points = {D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(1, 5, -1), D3DXVECTOR3(-2, 0.5f, 7)};
    dust.animation = SceneFiles::still();
    file.records.push_back(dust);
    QorMesh bare = SceneFiles::box("bare", D3DXVECTOR3(5, 5, 5), D3DXVECTOR3(6, 7, 8), -1);
    bare.animation = SceneFiles::still(D3DXVECTOR3(0, 0, 1));
    file.records.push_back(bare);

    QorCamera camera =
        SceneFiles::camera("Camera01", D3DXVECTOR3(0, 0, -10), D3DXVECTOR3(0, 0, 0), 5, 1.2f);
    for (uint32_t f = 0; f < file.frameCount; ++f)
    {
        camera.positions[f] = D3DXVECTOR3(float(f), 3, -10);
        camera.targets[f] = D3DXVECTOR3(0, 1, float(f) * 2);
        camera.roll[f] = 0.2f * float(f) - 0.3f;
    }
    file.records.push_back(camera);
    QorLight lamp;
    lamp.name = "lamp";
    lamp.color = D3DXVECTOR3(1, 0.5f, 0);
    lamp.nearRange = 5;
    lamp.farRange = 50;
    lamp.intensities.assign(5, 2.0f);
    for (uint32_t f = 0; f < file.frameCount; ++f)
        lamp.positions.push_back(D3DXVECTOR3(0, float(f), 0));
    file.records.push_back(lamp);
    QorLight spot = lamp;
    spot.name = "spot";
    spot.spot = 1;
    spot.positions.assign(5, D3DXVECTOR3(0, 9, 0));
    for (uint32_t f = 0; f < file.frameCount; ++f)
        spot.targets.push_back(D3DXVECTOR3(float(f), 0, 1));
    file.records.push_back(spot);
    return file;
}

void writePicture(const char* a_name, uint8_t a_red, uint8_t a_green, uint8_t a_blue)
{
    std::vector<uint8_t> rgb;
    for (int i = 0; i < 16; ++i)
        rgb.insert(rgb.end(), {a_red, a_green, a_blue});
    stbi_write_jpg(a_name, 4, 4, 3, rgb.data(), 95);
}

}  // namespace

TEST(SceneRoundTripTest, EveryKindOfRecord)
{
    TemporaryFolder folder(true);
    fs::create_directory("scenes");
    writeBytes("scenes/everything.qor", SceneFiles::bytes(everything()));
    writePicture("scenes/metal.jpg", 200, 100, 50);
    writePicture("scenes/dirt.jpg", 90, 90, 90);
    writePicture("scenes/bumps.jpg", 128, 128, 128);
    TemporaryFolder out;
    expectRoundTrip("scenes/everything.qor", out);
}

#ifdef TARVO_CONTENT_DIR
TEST(SceneRoundTripTest, ShippedScenes)
{
    const std::vector<std::string> scenes = shippedScenes();
    for (const std::string& scene : scenes)
    {
        SCOPED_TRACE(scene);
        TemporaryFolder folder;
        expectRoundTrip(scene, folder);
    }
    EXPECT_GE(scenes.size(), 1u) << "primitives.qor at least";
}
#endif
