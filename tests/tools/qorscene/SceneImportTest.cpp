// qorscene import: glTF scenes written by the test come out as scene files
// the demo's reader accepts, with the editor's picture mirrored into the
// demo's left-handed space, animation sampled per frame with the mesh
// rotation read one frame ahead, materials mapped to the material pass's
// slots, and what the format cannot carry reported by node.
//
// Untested ideas: .glb and embedded pictures, OBJ and FBX input, skinning
// and morph targets (assimp needs a skeleton to keep a skin).
#include "GltfBuilder.h"
#include "QorsceneRun.h"

#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <stb_image.h>

#include <math.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using Json = GltfBuilder::Json;

namespace
{

constexpr float kAspect = 1.7777778f;
const float kUnitLow[3] = {-1, -1, -1};
const float kUnitHigh[3] = {1, 1, 1};

template <typename T>
const T& record(const QorFile& a_file, size_t a_index)
{
    EXPECT_LT(a_index, a_file.records.size());
    const T* item = std::get_if<T>(&a_file.records.at(a_index));
    EXPECT_NE(item, nullptr) << "record " << a_index << " is of another kind";
    static const T none{};
    return item ? *item : none;
}

void expectVector(const D3DXVECTOR3& a_actual, const D3DXVECTOR3& a_expected,
                  float a_tolerance = 1e-5f)
{
    EXPECT_NEAR(a_actual.x, a_expected.x, a_tolerance);
    EXPECT_NEAR(a_actual.y, a_expected.y, a_tolerance);
    EXPECT_NEAR(a_actual.z, a_expected.z, a_tolerance);
}

// Where the demo turns a_point at frame a_frame: it shows rotation key
// f + 1 (period frameCount - 1) and negates w before building the matrix.
D3DXVECTOR3 demoRotated(const QorAnimation& a_animation, uint32_t a_frames, uint32_t a_frame,
                        const D3DXVECTOR3& a_point)
{
    const std::vector<D3DXQUATERNION>& keys = a_animation.rotation;
    const D3DXQUATERNION& key = keys.size() == 1 ? keys[0] : keys[(a_frame + 1) % (a_frames - 1)];
    const D3DXQUATERNION turned(key.x, key.y, key.z, -key.w);
    D3DXMATRIX rotation;
    D3DXMatrixRotationQuaternion(&rotation, &turned);
    D3DXVECTOR3 result;
    D3DXVec3TransformCoord(&result, &a_point, &rotation);
    return result;
}

struct Picture
{
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;
};

Picture readPicture(const std::string& a_path)
{
    Picture picture;
    int channels = 0;
    stbi_uc* pixels = stbi_load(a_path.c_str(), &picture.width, &picture.height, &channels, 3);
    EXPECT_NE(pixels, nullptr) << a_path;
    if (pixels)
    {
        picture.rgb.assign(pixels, pixels + picture.width * picture.height * 3);
        stbi_image_free(pixels);
    }
    return picture;
}

class SceneImportTest : public testing::Test
{
protected:
    QorFile import(GltfBuilder& a_gltf, const std::string& a_options = "")
    {
        a_gltf.write(m_folder.file("scene.gltf"));
        const ToolRun run = qorscene("import scene.gltf scene.qor " + a_options);
        EXPECT_EQ(run.status, 0) << run.output;
        m_output = run.output;
        return readScene("scene.qor");
    }

    TemporaryFolder m_folder{true};
    std::string m_output;
};

}  // namespace

// A textured cube, a camera and a point light: every record, the
// mirrored geometry with Direct3D's clockwise fronts, the pictures, the
// camera's vertical field of view times 16:9 and the light's range.
TEST_F(SceneImportTest, TexturedCubeCameraAndLight)
{
    GltfBuilder gltf;
    // 4 x 2: red and opaque on the left, blue and clear on the right.
    std::vector<uint8_t> rgba;
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            rgba.insert(rgba.end(), x < 2 ? std::initializer_list<uint8_t>{255, 0, 0, 255}
                                          : std::initializer_list<uint8_t>{0, 0, 255, 0});
    const int texture = gltf.image(m_folder.path().string(), "Checker Board.png", 4, 2, rgba);
    const int paint = gltf.add("materials", {{"name", "paint"},
                                             {"alphaMode", "MASK"},
                                             {"pbrMetallicRoughness",
                                              {{"baseColorTexture", {{"index", texture}}},
                                               {"metallicFactor", 0.0},
                                               {"roughnessFactor", 0.5}}}});
    const int cube = gltf.box("cube", kUnitLow, kUnitHigh, paint);
    gltf.root({{"name", "cube"}, {"mesh", cube}, {"translation", {0, 0, -5}}});
    const int camera = gltf.add(
        "cameras", {{"type", "perspective"},
                    {"perspective", {{"yfov", 0.5}, {"aspectRatio", 1.5}, {"znear", 0.1}}}});
    gltf.root({{"name", "Camera01"}, {"camera", camera}, {"translation", {0, 1, 10}}});
    const int lamp =
        gltf.light({{"type", "point"}, {"color", {1, 0.5, 0.25}}, {"intensity", 1}, {"range", 30}});
    gltf.root({{"name", "lamp"},
               {"translation", {2, 3, 4}},
               {"extensions", {{"KHR_lights_punctual", {{"light", lamp}}}}}});

    const QorFile file = import(gltf);
    EXPECT_EQ(file.frameCount, 1u);
    ASSERT_EQ(file.records.size(), 4u);

    const QorMaterial& material = record<QorMaterial>(file, 0);
    EXPECT_EQ(material.name, "paint");
    expectVector(material.diffuse, D3DXVECTOR3(1, 1, 1));
    expectVector(material.selfIllum, D3DXVECTOR3(-1, -1, -1));
    EXPECT_NEAR(material.glossiness, 0.5f, 1e-6f);
    EXPECT_NEAR(material.specularPower, 30.0f, 1e-3f);  // 2 / 0.5^4 - 2
    ASSERT_EQ(material.textures.size(), 2u);
    EXPECT_EQ(material.textures[0].slot, kQorSlotColour);
    EXPECT_EQ(material.textures[0].fileName, "checker_board.jpg");
    EXPECT_EQ(material.textures[1].slot, kQorSlotOpacity);
    EXPECT_EQ(material.textures[1].fileName, "checker_board_alpha.jpg");
    const Picture colour = readPicture("checker_board.jpg");
    const Picture alpha = readPicture("checker_board_alpha.jpg");
    ASSERT_EQ(colour.width, 4);
    ASSERT_EQ(alpha.width, 4);
    EXPECT_GT(colour.rgb[0], 200);  // red left
    EXPECT_LT(colour.rgb[2], 60);
    EXPECT_GT(colour.rgb[3 * 3 + 2], 200);  // blue right
    EXPECT_GT(alpha.rgb[2], 200);           // the loader reads blue as alpha
    EXPECT_LT(alpha.rgb[3 * 3 + 2], 60);

    const QorMesh& mesh = record<QorMesh>(file, 1);
    EXPECT_EQ(mesh.name, "cube");
    EXPECT_EQ(mesh.materialIndex, 0);
    ASSERT_EQ(mesh.vertices.size(), 24u);
    ASSERT_EQ(mesh.indices.size(), 36u);
    for (size_t i = 0; i < mesh.indices.size(); i += 3)
    {
        SCOPED_TRACE(i / 3);
        const QorVertex& a = mesh.vertices[mesh.indices[i]];
        const QorVertex& b = mesh.vertices[mesh.indices[i + 1]];
        const QorVertex& c = mesh.vertices[mesh.indices[i + 2]];
        // Clockwise seen from the front in a left-handed space: the cross
        // product of the edges points out along the normal.
        D3DXVECTOR3 face;
        const D3DXVECTOR3 ab = b.position - a.position, ac = c.position - a.position;
        D3DXVec3Cross(&face, &ab, &ac);
        EXPECT_GT(D3DXVec3Dot(&face, &a.normal), 0.0f);
        EXPECT_GT(D3DXVec3Dot(&a.position, &a.normal), 0.0f);  // normals still point outward
    }
    // The editor's +z face is the demo's -z face; its top-left corner,
    // seen from outside with x to the right, keeps texture coordinate 0, 0.
    bool topLeft = false;
    for (const QorVertex& vertex : mesh.vertices)
    {
        if (vertex.normal == D3DXVECTOR3(0, 0, -1) && vertex.position == D3DXVECTOR3(-1, 1, -1))
        {
            topLeft = true;
            EXPECT_EQ(vertex.uv[0], 0.0f);
            EXPECT_EQ(vertex.uv[1], 0.0f);
            EXPECT_NEAR(D3DXVec3Length(&vertex.tangent), 1.0f, 1e-4f);
            EXPECT_NEAR(vertex.tangent.x, 1.0f, 1e-4f);  // u grows along +x there
        }
    }
    EXPECT_TRUE(topLeft);
    ASSERT_EQ(mesh.animation.translation.size(), 1u);
    expectVector(mesh.animation.translation[0], D3DXVECTOR3(0, 0, 5));

    const QorCamera& cameraRecord = record<QorCamera>(file, 2);
    EXPECT_EQ(cameraRecord.name, "Camera01");
    ASSERT_EQ(cameraRecord.positions.size(), 1u);
    expectVector(cameraRecord.positions[0], D3DXVECTOR3(0, 1, -10));
    D3DXVECTOR3 looking = cameraRecord.targets[0] - cameraRecord.positions[0];
    D3DXVec3Normalize(&looking, &looking);
    expectVector(looking, D3DXVECTOR3(0, 0, 1));
    EXPECT_NEAR(cameraRecord.roll[0], 0.0f, 1e-6f);
    EXPECT_NEAR(cameraRecord.fov[0] / kAspect, 0.5f, 1e-6f);

    const QorLight& light = record<QorLight>(file, 3);
    EXPECT_EQ(light.name, "lamp");
    EXPECT_EQ(light.spot, 0);
    expectVector(light.color, D3DXVECTOR3(1, 0.5f, 0.25f));
    EXPECT_EQ(light.nearRange, 0.0f);
    EXPECT_NEAR(light.farRange, 30.0f, 1e-5f);
    EXPECT_EQ(light.intensities.back(), 1.0f);
    expectVector(light.positions[0], D3DXVECTOR3(2, 3, -4));
}

// A node that moves and turns a quarter around (0, 1, 1) in one second, sampled at
// 4 frames a second: translation keys per frame, the demo's rotation of
// each frame equal to the editor's, a scale that does not change kept as
// one key; --frames and --scale change what they say.
TEST_F(SceneImportTest, AnimatedNodeSampledPerFrame)
{
    GltfBuilder gltf;
    const int box = gltf.box("box", kUnitLow, kUnitHigh, -1);
    const int node = gltf.root({{"name", "spinner"}, {"mesh", box}});
    // Half angles of 0, 22.5 and 45 degrees about the unit axis (0, 1, 1) / sqrt 2.
    const float r = float(M_SQRT1_2);
    const float s = sinf(float(M_PI) / 8.0f) * r, c = cosf(float(M_PI) / 8.0f);
    gltf.animate(node, "rotation", {0.0f, 0.5f, 1.0f}, {0, 0, 0, 1, 0, s, s, c, 0, 0.5f, 0.5f, r});
    gltf.animate(node, "translation", {0.0f, 1.0f}, {0, 0, 0, 3, 0, -6});

    const QorFile file = import(gltf, "--fps 4");
    EXPECT_EQ(file.frameCount, 5u);
    const QorMesh& mesh = record<QorMesh>(file, 0);
    const QorAnimation& animation = mesh.animation;
    ASSERT_EQ(animation.translation.size(), 5u);
    ASSERT_EQ(animation.rotation.size(), 5u);
    ASSERT_EQ(animation.scale.size(), 1u);
    expectVector(animation.scale[0], D3DXVECTOR3(1, 1, 1));
    for (uint32_t frame = 0; frame < 4; ++frame)
    {
        SCOPED_TRACE(frame);
        const float t = float(frame) / 4.0f;
        // The editor's point (1, 0, 0) turned by an angle a about the axis
        // n = (0, 1, 1) / sqrt 2 is v cos a + (n x v) sin a + n (n . v)(1 - cos a)
        // = (cos a, sin a / sqrt 2, -sin a / sqrt 2); mirrored, z changes sign.
        const float angle = t * float(M_PI) / 2.0f;
        expectVector(demoRotated(animation, file.frameCount, frame, D3DXVECTOR3(1, 0, 0)),
                     D3DXVECTOR3(cosf(angle), sinf(angle) * r, sinf(angle) * r), 1e-4f);
        expectVector(animation.translation[frame], D3DXVECTOR3(3 * t, 0, 6 * t), 1e-5f);
    }

    const QorFile shorter = import(gltf, "--fps 4 --frames 3 --scale 2");
    EXPECT_EQ(shorter.frameCount, 3u);
    const QorAnimation& scaled = record<QorMesh>(shorter, 0).animation;
    ASSERT_EQ(scaled.translation.size(), 3u);
    expectVector(scaled.translation[2], D3DXVECTOR3(3, 0, 6));  // t = 0.5, doubled
    expectVector(scaled.scale[0], D3DXVECTOR3(2, 2, 2));
}

// One editor mesh on two nodes, the second inside a moved group: the
// second record is an instance of the first, placed by both transforms.
TEST_F(SceneImportTest, ReusedMeshBecomesAnInstance)
{
    GltfBuilder gltf;
    const int box = gltf.box("box", kUnitLow, kUnitHigh, -1);
    gltf.root({{"name", "first"}, {"mesh", box}, {"translation", {1, 0, 0}}});
    const int second = gltf.add(
        "nodes",
        {{"name", "second"}, {"mesh", box}, {"translation", {-1, 0, 0}}, {"scale", {2, 2, 2}}});
    gltf.root({{"name", "group"}, {"translation", {0, 5, 1}}, {"children", {second}}});

    const QorFile file = import(gltf);
    ASSERT_EQ(file.records.size(), 2u);
    const QorMesh& first = record<QorMesh>(file, 0);
    const QorMesh& copy = record<QorMesh>(file, 1);
    EXPECT_EQ(first.sourceIndex, -1);
    EXPECT_EQ(first.materialIndex, -1);
    EXPECT_EQ(first.vertices.size(), 24u);
    EXPECT_EQ(copy.name, "second");
    EXPECT_EQ(copy.sourceIndex, 0);
    EXPECT_TRUE(copy.vertices.empty());
    expectVector(first.animation.translation[0], D3DXVECTOR3(1, 0, 0));
    expectVector(copy.animation.translation[0], D3DXVECTOR3(-1, 5, -1));
    expectVector(copy.animation.scale[0], D3DXVECTOR3(2, 2, 2));
}

// Each kind of editor material against the demo's: emissive colour to
// self-illumination, roughness to specular strength and exponent, metals
// to the material's cube map, specular-glossiness taken as it is.
TEST_F(SceneImportTest, MaterialsMapToTheMaterialPass)
{
    const struct
    {
        const char* name;
        Json material;
        D3DXVECTOR3 diffuse;
        D3DXVECTOR3 selfIllum;
        float glossiness;
        float specularPower;
        bool cubeMap;
    } cases[] = {
        {"glowing",
         {{"emissiveFactor", {1, 0.5, 0}},
          {"pbrMetallicRoughness",
           {{"baseColorFactor", {0.2, 0.4, 0.6, 1}}, {"metallicFactor", 0}}}},
         {0.2f, 0.4f, 0.6f},
         {1, 0.5f, 0},
         0.0f,
         0.0f,
         false},
        {"mirror",
         {{"pbrMetallicRoughness", {{"metallicFactor", 1}, {"roughnessFactor", 0}}}},
         {1, 1, 1},
         {-1, -1, -1},
         1.0f,
         2048.0f,
         true},
        {"rough metal default",
         {{"pbrMetallicRoughness", {{"roughnessFactor", 1}}}},
         {1, 1, 1},
         {-1, -1, -1},
         0.0f,
         0.0f,
         true},
        {"specular",
         {{"extensions",
           {{"KHR_materials_pbrSpecularGlossiness",
             {{"diffuseFactor", {0.5, 0.5, 0.5, 1}},
              {"specularFactor", {0.25, 0.25, 0.25}},
              {"glossinessFactor", 0.5}}}}},
          {"pbrMetallicRoughness",
           {{"baseColorFactor", {0.5, 0.5, 0.5, 1}}, {"metallicFactor", 0}}}},
         {0.5f, 0.5f, 0.5f},
         {-1, -1, -1},
         0.25f,
         30.0f,
         false},
    };
    GltfBuilder gltf;
    gltf.add("extensionsUsed", "KHR_materials_pbrSpecularGlossiness");
    for (const auto& c : cases)
    {
        Json material = c.material;
        material["name"] = c.name;
        const int mesh = gltf.box(c.name, kUnitLow, kUnitHigh, gltf.add("materials", material));
        gltf.root({{"name", c.name}, {"mesh", mesh}});
    }
    const QorFile file = import(gltf);
    for (size_t i = 0; i < std::size(cases); ++i)
    {
        SCOPED_TRACE(cases[i].name);
        const QorMaterial& material = record<QorMaterial>(file, i);
        EXPECT_EQ(material.name, cases[i].name);
        expectVector(material.diffuse, cases[i].diffuse);
        expectVector(material.selfIllum, cases[i].selfIllum);
        EXPECT_NEAR(material.glossiness, cases[i].glossiness, 1e-5f);
        EXPECT_NEAR(material.specularPower, cases[i].specularPower, 1e-2f);
        const bool cubeMap = std::any_of(
            material.textures.begin(), material.textures.end(), [](const QorTextureEntry& a_entry) {
                return a_entry.slot == kQorSlotColour && a_entry.fileName == "autogen_cubemap.jpg";
            });
        EXPECT_EQ(cubeMap, cases[i].cubeMap);
    }
}

// An orthographic camera becomes a perspective one that shows the same
// height (ymag above and below) at the distance of what it looks at, with
// a warning; a perspective camera with no angle is left out with a warning:
// no camera without a field of view is written.
TEST_F(SceneImportTest, OrthographicCameraFramedInPerspective)
{
    GltfBuilder gltf;
    gltf.root({{"name", "box"}, {"mesh", gltf.box("box", kUnitLow, kUnitHigh, -1)}});
    const int orthographic = gltf.add(
        "cameras",
        {{"type", "orthographic"},
         {"orthographic", {{"xmag", 4.0}, {"ymag", 2.25}, {"znear", 0.1}, {"zfar", 100.0}}}});
    gltf.root({{"name", "Ortho"}, {"camera", orthographic}, {"translation", {0, 0, 10}}});
    gltf.root({{"name", "Ortho.target"}, {"translation", {0, 0, -2}}});
    const int flat = gltf.add(
        "cameras", {{"type", "perspective"}, {"perspective", {{"yfov", 0.0}, {"znear", 0.1}}}});
    gltf.root({{"name", "Flat"}, {"camera", flat}, {"translation", {0, 0, 10}}});

    const QorFile file = import(gltf, "--scale 2");
    ASSERT_EQ(file.records.size(), 2u);
    const QorCamera& camera = record<QorCamera>(file, 1);
    EXPECT_EQ(camera.name, "Ortho");
    expectVector(camera.positions[0], D3DXVECTOR3(0, 0, -20));
    expectVector(camera.targets[0], D3DXVECTOR3(0, 0, 4));
    // Half the height, 2.25 x 2, seen at 24.
    EXPECT_NEAR(camera.fov[0] / kAspect, 2.0f * atanf(4.5f / 24.0f), 1e-5f);
    EXPECT_NE(m_output.find("warning: camera \"Ortho\": orthographic; drawn in perspective, "
                            "framing the same view at the distance of what it looks at"),
              std::string::npos)
        << m_output;
    EXPECT_NE(m_output.find("warning: camera \"Flat\": its field of view (0.000000 radians) "
                            "cannot be drawn; left out"),
              std::string::npos)
        << m_output;
}

// What the format cannot carry is named and left out while the rest is
// converted; a file assimp cannot read, or bad options, end with a message
// and a non-zero status and write nothing.
TEST_F(SceneImportTest, LimitsAndFailures)
{
    GltfBuilder gltf;
    std::vector<uint8_t> flat(4 * 4 * 4, 128);
    const int normals = gltf.image(m_folder.path().string(), "bumps.png", 4, 4, flat);
    const int material = gltf.add("materials", {{"name", "bumpy"},
                                                {"normalTexture", {{"index", normals}}},
                                                {"pbrMetallicRoughness", {{"metallicFactor", 0}}}});
    const int box = gltf.box("box", kUnitLow, kUnitHigh, material);
    gltf.root({{"name", "box"}, {"mesh", box}});
    const int sun = gltf.light({{"type", "directional"}});
    gltf.root({{"name", "sun"}, {"extensions", {{"KHR_lights_punctual", {{"light", sun}}}}}});
    gltf.write(m_folder.file("limits.gltf"));
    std::string damaged = gltf.json().dump();
    damaged.resize(damaged.size() / 2);
    std::ofstream("damaged.gltf") << damaged;

    const struct
    {
        const char* arguments;
        int status;
        std::vector<const char*> said;
        bool written;
    } cases[] = {
        {"import limits.gltf out.qor",
         0,
         {"warning: light \"sun\": only point and spot lights exist in the demo; left out",
          "warning: material \"bumpy\": the normal map \"bumps.png\" is left out",
          "out.qor: 2 records, 1 frames"},
         true},
        {"import damaged.gltf out.qor", 1, {"damaged.gltf: "}, false},
        {"import missing.gltf out.qor", 1, {"missing.gltf: "}, false},
        {"import limits.gltf out.qor --fps 0", 2, {"--fps needs a number above 0"}, false},
        {"import limits.gltf out.qor --frames 1.5",
         2,
         {"--frames needs a whole number above 0"},
         false},
        {"import limits.gltf", 2, {"usage: qorscene"}, false},
        {"import limits.gltf out.qor --frames 200000",
         1,
         {"choose fewer with --frames or --fps"},
         false},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.arguments);
        fs::remove("out.qor");
        const ToolRun run = qorscene(c.arguments);
        EXPECT_EQ(run.status, c.status) << run.output;
        for (const char* text : c.said)
            EXPECT_NE(run.output.find(text), std::string::npos) << run.output;
        EXPECT_EQ(fs::exists("out.qor"), c.written);
        if (c.written)
        {
            const QorFile file = readScene("out.qor");
            ASSERT_EQ(file.records.size(), 2u);
            EXPECT_TRUE(std::get<QorMaterial>(file.records[0]).textures.empty());
            EXPECT_EQ(std::get<QorMesh>(file.records[1]).vertices.size(), 24u);
        }
    }
}
