// An imported glTF scene drawn through the whole deferred frame looks as
// the editor shows it: each object where the editor's camera projects it,
// the editor's left still on the left, a picture the right way round.
#include "GltfBuilder.h"
#include "SceneImporter.h"

#include "scene/SceneFixture.h"

#include <math.h>

#include <vector>

namespace
{

constexpr float kFov = 0.6f;  // the editor camera's vertical field of view

// Where the editor's camera (at (0, 0, 10), looking down -z, 16:9) puts
// a_point on the 1280 x 720 frame.
POINT editorPixel(float a_x, float a_y, float a_z)
{
    const float depth = 10.0f - a_z;
    const float halfHeight = tanf(kFov * 0.5f);
    const float x = a_x / depth / (halfHeight * 16.0f / 9.0f);
    const float y = a_y / depth / halfHeight;
    return POINT{LONG((x + 1.0f) * 0.5f * SceneFixture::kWidth),
                 LONG((1.0f - y) * 0.5f * SceneFixture::kHeight)};
}

class ImportedSceneRenderTest : public SceneFixture
{
};

}  // namespace

TEST_F(ImportedSceneRenderTest, DrawsAsTheEditorShowsIt)
{
    GltfBuilder gltf;
    // Eight texels across: four green on the left, four blue on the right.
    std::vector<uint8_t> stripes;
    for (int x = 0; x < 8; ++x)
        stripes.insert(stripes.end(), {0, uint8_t(x < 4 ? 255 : 0), uint8_t(x < 4 ? 0 : 255), 255});
    const int picture = gltf.image(m_folder.path().string(), "stripes.png", 8, 1, stripes);
    const int red = gltf.add(
        "materials",
        {{"name", "red"},
         {"pbrMetallicRoughness", {{"baseColorFactor", {1, 0, 0, 1}}, {"metallicFactor", 0}}}});
    const int striped = gltf.add(
        "materials", {{"name", "striped"},
                      {"pbrMetallicRoughness",
                       {{"baseColorTexture", {{"index", picture}}}, {"metallicFactor", 0}}}});
    const float low[3] = {-0.5f, -0.5f, -0.5f}, high[3] = {0.5f, 0.5f, 0.5f};
    gltf.root({{"name", "left"},
               {"mesh", gltf.box("left", low, high, red)},
               {"translation", {-2, 0, 0}}});
    gltf.root({{"name", "right"},
               {"mesh", gltf.box("right", low, high, striped)},
               {"translation", {2, 0, 0}}});
    const int camera = gltf.add(
        "cameras", {{"type", "perspective"}, {"perspective", {{"yfov", kFov}, {"znear", 0.1}}}});
    gltf.root({{"name", "Camera01"}, {"camera", camera}, {"translation", {0, 0, 10}}});
    gltf.write(m_folder.file("scene.gltf"));

    SceneImporter importer(SceneImporter::Options{});
    QorFile file;
    std::string error;
    ASSERT_TRUE(importer.import(m_folder.file("scene.gltf"), file, error)) << error;
    ASSERT_TRUE(importer.textures().write(m_folder.path().string(), error)) << error;
    Scene* scene = load(file);
    ASSERT_NE(scene, nullptr);
    Camera* sceneCamera = scene->m_cameras.find("Camera01");
    ASSERT_NE(sceneCamera, nullptr);
    drawFrame(sceneCamera);
    const std::vector<Texel> frame = readOutput();

    // The ambient light of one half lights every colour.
    const struct
    {
        const char* what;
        POINT pixel;
        float colour[4];
    } cases[] = {
        {"red box, on the left", editorPixel(-2.0f, 0.0f, 0.5f), {0.5f, 0.0f, 0.0f, 1.0f}},
        {"left of the striped face", editorPixel(1.7f, 0.2f, 0.5f), {0.0f, 0.5f, 0.0f, 1.0f}},
        {"right of the striped face", editorPixel(2.3f, -0.2f, 0.5f), {0.0f, 0.0f, 0.5f, 1.0f}},
        {"between the boxes", editorPixel(0.0f, 0.0f, 0.0f), {0.0f, 0.0f, 0.0f, 1.0f}},
        {"above the red box", editorPixel(-2.0f, 0.7f, 0.5f), {0.0f, 0.0f, 0.0f, 1.0f}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        RendererFixture::expectTexel(at(frame, c.pixel), c.colour, 0.05f);
    }
    EXPECT_LT(editorPixel(-2.0f, 0.0f, 0.5f).x, kWidth / 2);
}
