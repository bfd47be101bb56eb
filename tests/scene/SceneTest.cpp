// Scenes from scene files, on the real application: what the loader makes
// of each record, the calls the three passes make, and whole deferred frames
// read back (a lit mesh, the fog, a glow, sprites facing the camera, the
// height map's tilt).
//
// Untested ideas: a scene animated over many frames drawn at negative times.
#include "scene/SceneFixture.h"

#include "scene/QorLoader.h"

#include "core/FatalError.h"
#include "core/LauncherSettings.h"
#include "app/MainWindow.h"
#include "app/Tarvo.h"
#include "render/DeferredShading.h"
#include "render/IndexBuffer.h"
#include "render/RenderTarget.h"
#include "render/Renderer.h"
#include "render/RendererFixture.h"
#include "render/TestJpeg.h"
#include "render/TestPrograms.h"
#include "render/VertexBuffer.h"
#include "scene/Scene.h"
#include "support/ArchiveBuilder.h"
#include "support/LoggingDevice.h"
#include "support/SceneFiles.h"
#include "support/TemporaryFolder.h"

#include <D3D9Testing.h>
#include <MessageBoxRecorder.h>

#include <gtest/gtest.h>

#include <math.h>
#include <stdio.h>
#include <stdlib.h>

#include <algorithm>

using SceneTest = SceneFixture;

// Each record becomes its object: instances share the source's buffers and
// material, sprites expand to six 20-byte corners per point, cameras get
// their tracks and the near plane 1.
TEST_F(SceneTest, LoaderMakesEveryRecord)
{
    QorFile file;
    file.frameCount = 4;
    file.records.push_back(SceneFiles::material("paint", D3DXVECTOR3(1, 0, 0)));
    file.records.push_back(
        SceneFiles::box("box", D3DXVECTOR3(-1, -1, -1), D3DXVECTOR3(1, 1, 1), 0));
    QorMesh instance;
    instance.name = "copy";
    instance.sourceIndex = 0;
    instance.animation = SceneFiles::still(D3DXVECTOR3(3, 0, 0));
    file.records.push_back(instance);
    QorMesh dust;
    dust.name = "dust";
    dust.kind = 2;
    dust.materialIndex = -1;
    for (int i = 0; i < 10; ++i)
        dust.points.push_back(D3DXVECTOR3(float(i), 1, 2));
    dust.animation = SceneFiles::still();
    file.records.push_back(dust);
    file.records.push_back(
        SceneFiles::camera("Camera01", D3DXVECTOR3(0, 0, -5), D3DXVECTOR3(0, 0, 0), 4));

    Scene* scene = load(file);
    ASSERT_NE(scene, nullptr);
    ASSERT_EQ(scene->m_meshes.count(), 3u);
    EXPECT_EQ(scene->m_materials.count(), 1u);
    ASSERT_EQ(scene->m_cameras.count(), 1u);
    EXPECT_EQ(scene->m_lights.count(), 0u);
    EXPECT_EQ(scene->m_camera, nullptr);
    EXPECT_EQ(scene->m_selfIllumVertexShader, m_tarvo.m_shaders.find("selfillum.vsh"));
    EXPECT_EQ(scene->m_depthPixelShader, m_tarvo.m_shaders.find("depth.psh"));

    Mesh* box = scene->m_meshes.find("box");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->m_vertexBuffer->m_vertexCount, 24u);
    EXPECT_EQ(box->m_vertexBuffer->m_vertexSize, 64u);
    EXPECT_EQ(box->m_vertexBuffer->m_fvf, 0x01400412u);
    EXPECT_EQ(box->m_indexBuffer->m_count, 36u);
    EXPECT_EQ(box->m_primitiveCount, 12u);
    EXPECT_EQ(box->m_material, scene->m_materials.at(0));
    EXPECT_FALSE(box->m_sharedBuffers);

    Mesh* copy = scene->m_meshes.at(1);
    EXPECT_TRUE(copy->m_sharedBuffers);
    EXPECT_EQ(copy->m_vertexBuffer, box->m_vertexBuffer);
    EXPECT_EQ(copy->m_indexBuffer, box->m_indexBuffer);
    EXPECT_EQ(copy->m_material, box->m_material);
    EXPECT_TRUE(copy->m_translationTrack.sample(0.0f) == D3DXVECTOR3(3, 0, 0));

    Mesh* sprites = scene->m_meshes.at(2);
    EXPECT_EQ(sprites->m_vertexBuffer->m_vertexCount, 60u);
    EXPECT_EQ(sprites->m_vertexBuffer->m_vertexSize, 20u);
    EXPECT_EQ(sprites->m_vertexBuffer->m_fvf, 0x102u);
    EXPECT_EQ(sprites->m_indexBuffer, nullptr);
    EXPECT_EQ(sprites->m_primitiveCount, 20u);
    EXPECT_EQ(sprites->m_material, nullptr);

    Camera* camera = scene->m_cameras.find("Camera01");
    ASSERT_NE(camera, nullptr);
    EXPECT_EQ(camera->m_near, 1.0f);
    EXPECT_EQ(camera->m_fovTrack.count(), 4u);
    EXPECT_TRUE(camera->eye() == D3DXVECTOR3(0, 0, -5));
}

// Textures by slot: images load once and are shared under the file's name,
// the last entry of a slot wins, unknown slots are ignored, a missing image
// leaves its slot to the default (after the file system's message), and
// "autogen_cubemap.jpg" gives each material a cube target of its own.
TEST_F(SceneTest, MaterialTexturesAndDefaults)
{
    writeJpeg("rust.jpg", blockPicture(1, 1, {0x804020}), JpegKind::Rgb);
    writeJpeg("moss.jpg", blockPicture(1, 1, {0x208040}), JpegKind::Rgb);
    QorFile file;
    QorMaterial plain = SceneFiles::material("plain", D3DXVECTOR3(1, 1, 1));
    QorMaterial rusty = SceneFiles::material("rusty", D3DXVECTOR3(1, 1, 1));
    rusty.textures = {{kQorSlotColour, "moss.jpg"},
                      {kQorSlotColour, "rust.jpg"},
                      {kQorSlotHeight, "rust.jpg"},
                      {kQorSlotOcclusion, "gone.jpg"},
                      {3, "moss.jpg"},
                      {kQorSlotReflection, "x"}};
    QorMaterial shiny = SceneFiles::material("shiny", D3DXVECTOR3(1, 1, 1));
    shiny.textures = {{kQorSlotColour, "autogen_cubemap.jpg"}, {kQorSlotOpacity, "rust.jpg"}};
    QorMaterial shiny2 = shiny;
    shiny2.name = "shiny2";
    file.records = {plain, rusty, shiny, shiny2};
    Scene* scene = load(file);
    ASSERT_NE(scene, nullptr);

    Texture* white = m_tarvo.m_textures.find("null_white");
    Texture* grey = m_tarvo.m_textures.find("null_grey");
    Texture* rust = m_tarvo.m_textures.find("rust.jpg");
    ASSERT_NE(rust, nullptr);
    EXPECT_NE(m_tarvo.m_textures.find("moss.jpg"), nullptr);
    EXPECT_EQ(m_tarvo.m_textures.count(), 5u) << "rust.jpg loaded once";

    const struct
    {
        const char* name;
        Texture* expected[5];  // samplers 0, 1, 3, 4, 5
        bool cube;
    } cases[] = {
        {"plain", {white, grey, white, white, white}, false},
        {"rusty", {rust, rust, white, white, white}, false},
        {"shiny", {white, grey, white, white, rust}, true},
        {"shiny2", {white, grey, white, white, rust}, true},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        Material* material = scene->m_materials.find(c.name);
        ASSERT_NE(material, nullptr);
        Texture* actual[5] = {material->m_texture0, material->m_texture1, material->m_texture3,
                              material->m_texture4, material->m_texture5};
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(actual[i], c.expected[i]) << "texture " << i;
        EXPECT_EQ(material->m_cubeTarget != nullptr, c.cube);
        if (c.cube)
        {
            EXPECT_TRUE(material->m_cubeTarget->m_cubemap);
        }
    }
    EXPECT_NE(scene->m_materials.find("shiny")->m_cubeTarget,
              scene->m_materials.find("shiny2")->m_cubeTarget);
    ASSERT_EQ(m_boxes.boxes().size(), 1u);
    EXPECT_EQ(m_boxes.boxes()[0].text, "gone.jpg: File not found.");
}

// A damaged or missing file, or a scene pass program missing, gives no
// scene; a damaged file says what is wrong and where.
TEST_F(SceneTest, FailedLoadsGiveNoScene)
{
    QorFile file;
    file.records.push_back(SceneFiles::box("box", D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(1, 1, 1)));
    std::vector<uint8_t> bytes = SceneFiles::bytes(file);
    bytes.resize(bytes.size() - 20);
    writeBytes("cut.qor", bytes);
    EXPECT_EQ(QorLoader::load(m_renderer, &m_tarvo, "cut.qor"), nullptr);
    ASSERT_EQ(m_boxes.boxes().size(), 1u);
    EXPECT_EQ(
        m_boxes.boxes()[0].text,
        "cut.qor: Damaged scene file: mesh record \"box\" at byte 4: 16 bytes for rotation keys, "
        "but 9 remain (byte 1738).");

    g_fatalErrorShown = false;
    EXPECT_EQ(QorLoader::load(m_renderer, &m_tarvo, "none.qor"), nullptr);
    ASSERT_EQ(m_boxes.boxes().size(), 2u);
    EXPECT_EQ(m_boxes.boxes()[1].text, "none.qor: File not found.");

    Tarvo bare;
    bare.m_renderer = m_renderer;
    EXPECT_EQ(bare.createScene(), nullptr) << "no pass programs registered";
    bare.m_renderer = nullptr;
}

// Draw calls: 36 indices draw 12 indexed triangles over the buffer's 24
// vertices; 10 sprites draw 20 plain triangles; the light volume of the
// primitives draws without touching the animation constants.
TEST_F(SceneTest, MeshDrawCalls)
{
    QorFile file;
    file.records.push_back(SceneFiles::box("box", D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(1, 1, 1)));
    QorMesh dust;
    dust.name = "dust";
    dust.kind = 1;
    dust.points.assign(10, D3DXVECTOR3(0, 0, 0));
    dust.animation = SceneFiles::still();
    file.records.push_back(dust);
    Scene* scene = load(file);
    ASSERT_NE(scene, nullptr);

    IDirect3DDevice9* device = m_renderer->m_device;
    LoggingDevice logging(device);
    m_renderer->m_device = &logging;
    m_tarvo.m_deferred->beginGeometryPass();
    logging.clear();
    scene->m_meshes.at(0)->draw(0.0f, true);
    scene->m_meshes.at(1)->draw(0.0f, true);
    const std::vector<std::string> meshes = logging.calls("Draw");
    logging.clear();
    m_tarvo.m_primitives->m_meshes.at(0)->draw(0.0f, false);
    const std::vector<std::string> constants = logging.calls("SetVertexShaderConstant");
    m_renderer->m_device = device;
    m_tarvo.m_deferred->endGeometryPass();

    EXPECT_EQ(meshes, (std::vector<std::string>{"DrawIndexedPrimitive 4 0 0 24 0 12",
                                                "DrawPrimitive 4 0 20"}));
    EXPECT_TRUE(constants.empty());
}

// The material pass binds a material only when it changes from one mesh to
// the next (each bind sets "cubemap" once), re-applies the recorded cull
// mode first, and copies the scene's world matrix into every mesh.
TEST_F(SceneTest, MaterialPassBindsOnChangeAndReappliesCulling)
{
    QorFile file;
    file.records.push_back(SceneFiles::material("a", D3DXVECTOR3(1, 0, 0)));
    file.records.push_back(
        SceneFiles::material("b", D3DXVECTOR3(0, 1, 0), D3DXVECTOR3(0, 0.5f, 0)));
    const int32_t materials[6] = {0, 0, 0, 1, -1, 0};
    for (int32_t material : materials)
        file.records.push_back(
            SceneFiles::box("box", D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(1, 1, 1), material));
    file.records.push_back(
        SceneFiles::camera("Camera01", D3DXVECTOR3(0, 0, -5), D3DXVECTOR3(0, 0, 0)));
    Scene* scene = load(file);
    ASSERT_NE(scene, nullptr);
    scene->m_camera = scene->m_cameras.at(0);
    D3DXMatrixTranslation(&scene->m_worldMatrix, 0.0f, 7.0f, 0.0f);

    IDirect3DDevice9* device = m_renderer->m_device;
    LoggingDevice logging(device);
    m_renderer->m_device = &logging;
    m_tarvo.m_deferred->beginGeometryPass();
    logging.clear();
    scene->render();
    const std::vector<std::string> first = logging.calls();
    scene->renderSelfIllumination();
    const D3DCULL recorded = m_renderer->m_cullMode;
    m_renderer->setShaders(
        {m_tarvo.m_deferred->m_deferredVertexShader, m_tarvo.m_deferred->m_deferredPixelShader});
    logging.clear();
    scene->render();
    const std::vector<std::string> second = logging.calls();
    m_renderer->m_device = device;
    m_tarvo.m_deferred->endGeometryPass();

    ASSERT_FALSE(first.empty());
    EXPECT_EQ(first.front(), "SetRenderState 22 2") << "the renderer starts out culling clockwise";
    EXPECT_EQ(std::count(first.begin(), first.end(), "SetPixelShaderConstantB 0 1"), 3)
        << "a, b, then a again after the mesh without material";
    EXPECT_EQ(recorded, D3DCULL_CCW);
    ASSERT_FALSE(second.empty());
    EXPECT_EQ(second.front(), "SetRenderState 22 3");
    for (uint32_t i = 0; i < scene->m_meshes.count(); ++i)
        EXPECT_EQ(scene->m_meshes.at(i)->m_baseMatrix._42, 7.0f);
}

// Scale 2 and translation (1, 0, 0) take the point (1, 0, 0) to (3, 0, 0);
// the normal matrix has no translation.
TEST_F(SceneTest, MeshUpdateBuildsTheAnimationMatrices)
{
    QorFile file;
    QorMesh box = SceneFiles::box("box", D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(1, 1, 1));
    box.animation = SceneFiles::still(D3DXVECTOR3(1, 0, 0), 2.0f);
    file.records.push_back(box);
    Scene* scene = load(file);
    ASSERT_NE(scene, nullptr);
    Mesh* mesh = scene->m_meshes.at(0);
    mesh->update(12.5f);
    const D3DXVECTOR3 point(1, 0, 0);
    D3DXVECTOR3 world, normal;
    D3DXVec3TransformCoord(&world, &point, &mesh->m_worldAnimationMatrix);
    D3DXVec3TransformCoord(&normal, &point, &mesh->m_normalAnimationMatrix);
    EXPECT_NEAR(world.x, 3.0f, 1e-6f);
    EXPECT_NEAR(world.y, 0.0f, 1e-6f);
    EXPECT_NEAR(normal.x, 2.0f, 1e-6f);
}

// A whole frame from the named camera: the red box it looks at is lit by
// the ambient light, the wall far behind is lost in the blue fog, the green
// box glows in the dark whatever the light, and nothing is drawn around.
TEST_F(SceneTest, FrameShowsLitFoggedAndGlowingMeshes)
{
    QorFile file;
    file.records.push_back(SceneFiles::material("red", D3DXVECTOR3(1, 0, 0)));
    file.records.push_back(
        SceneFiles::material("glow", D3DXVECTOR3(1, 1, 1), D3DXVECTOR3(0, 1, 0)));
    file.records.push_back(
        SceneFiles::box("red", D3DXVECTOR3(-1, -1, -1), D3DXVECTOR3(1, 1, 1), 0));
    file.records.push_back(
        SceneFiles::box("glow", D3DXVECTOR3(-6, -1, -1), D3DXVECTOR3(-4, 1, 1), 1));
    file.records.push_back(
        SceneFiles::box("wall", D3DXVECTOR3(-100, 20, 400), D3DXVECTOR3(100, 80, 410), 0));
    file.records.push_back(
        SceneFiles::camera("Camera01", D3DXVECTOR3(0, 0, 10), D3DXVECTOR3(0, 0, 0)));
    file.records.push_back(
        SceneFiles::camera("Camera02", D3DXVECTOR3(0, 0, -10), D3DXVECTOR3(0, 0, 0)));
    Scene* scene = load(file);
    ASSERT_NE(scene, nullptr);
    Camera* camera = scene->m_cameras.find("Camera02");
    ASSERT_NE(camera, nullptr);
    drawFrame(camera);
    const std::vector<Texel> frame = readOutput();

    const struct
    {
        const char* what;
        D3DXVECTOR3 point;
        float colour[4];
    } cases[] = {
        {"lit", D3DXVECTOR3(0, 0, -1), {0.5f, 0.0f, 0.0f, 1.0f}},
        {"fogged", D3DXVECTOR3(0, 50, 400), {0.0f, 0.0f, 1.0f, 1.0f}},
        {"glowing", D3DXVECTOR3(-5, 0, -1), {0.0f, 1.0f, 0.0f, 1.0f}},
        {"empty", D3DXVECTOR3(0, -5, 0), {0.0f, 0.0f, 0.0f, 1.0f}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        RendererFixture::expectTexel(at(frame, pixelOf(*camera, c.point)), c.colour, 0.01f);
    }
}

// Point sprites turn to the camera wherever it stands: seen at an angle,
// each sprite's middle faces back along the view axis (sprites lie in the
// screen's plane), and it is cut to a disc of one object unit times its
// scale.
TEST_F(SceneTest, SpritesFaceTheCamera)
{
    QorFile file;
    file.records.push_back(SceneFiles::material("white", D3DXVECTOR3(1, 1, 1)));
    QorMesh cloud;
    cloud.name = "cloud";
    cloud.kind = 1;
    cloud.materialIndex = 0;
    cloud.points = {D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(3, 1, 2), D3DXVECTOR3(-3, -1, 1)};
    cloud.animation = SceneFiles::still(D3DXVECTOR3(0, 0, 0), 2.0f);
    file.records.push_back(cloud);
    const D3DXVECTOR3 eye(6, 4, -8);
    file.records.push_back(SceneFiles::camera("Camera01", eye, D3DXVECTOR3(0, 0, 0)));
    Scene* scene = load(file);
    ASSERT_NE(scene, nullptr);
    Camera* camera = scene->m_cameras.at(0);
    drawFrame(camera);
    const std::vector<Texel> normals =
        RendererFixture::readTexels(*m_tarvo.m_deferred->m_gbuffer[1], D3DFMT_A16B16G16R16F);
    const std::vector<Texel> distances =
        RendererFixture::readTexels(*m_tarvo.m_deferred->m_gbuffer[3], D3DFMT_G32R32F);

    const D3DXMATRIX view = camera->viewMatrix();
    const D3DXVECTOR3 right(view._11, view._21, view._31);
    const D3DXVECTOR3 up(view._12, view._22, view._32);
    const D3DXVECTOR3 back(-view._13, -view._23, -view._33);
    for (const D3DXVECTOR3& point : cloud.points)
    {
        SCOPED_TRACE(point.x);
        const D3DXVECTOR3 centre = point * 2.0f;  // the mesh's scale moves the centres too
        const Texel middle = at(normals, pixelOf(*camera, centre));
        EXPECT_NEAR(D3DXVec3Dot(&back, reinterpret_cast<const D3DXVECTOR3*>(middle.c)), 1.0f,
                    0.01f);
        // radius 1 (scale 2): inside at 0.8 along the right axis, outside
        // at the quad's corner (0.9, 0.9)
        EXPECT_GT(at(distances, pixelOf(*camera, centre + right * 0.8f)).c[0], 0.0f);
        EXPECT_EQ(at(distances, pixelOf(*camera, centre + (right + up) * 0.9f)).c[0], 0.0f);
    }
}

// The height map tilts the normal against its slope along the tangent; the
// default grey map leaves the face's normal exactly as it is.
TEST_F(SceneTest, HeightMapTiltsTheNormal)
{
    TestPicture ramp;
    ramp.width = 256;
    ramp.height = 8;
    for (int32_t y = 0; y < ramp.height; ++y)
    {
        for (int32_t x = 0; x < ramp.width; ++x)
            ramp.pixels.push_back(uint32_t(x) * 0x010101u);
    }
    writeJpeg("ramp.jpg", ramp, JpegKind::Grey);
    QorFile file;
    file.records.push_back(SceneFiles::material("flat", D3DXVECTOR3(1, 1, 1)));
    QorMaterial bumpy = SceneFiles::material("bumpy", D3DXVECTOR3(1, 1, 1));
    bumpy.textures = {{kQorSlotHeight, "ramp.jpg"}};
    file.records.push_back(bumpy);
    file.records.push_back(
        SceneFiles::box("flat", D3DXVECTOR3(-3, -1, -1), D3DXVECTOR3(-1, 1, 1), 0));
    file.records.push_back(
        SceneFiles::box("bumpy", D3DXVECTOR3(1, -1, -1), D3DXVECTOR3(3, 1, 1), 1));
    file.records.push_back(
        SceneFiles::camera("Camera01", D3DXVECTOR3(0, 0, -10), D3DXVECTOR3(0, 0, 0)));
    Scene* scene = load(file);
    ASSERT_NE(scene, nullptr);
    Camera* camera = scene->m_cameras.at(0);
    drawFrame(camera);
    const std::vector<Texel> normals =
        RendererFixture::readTexels(*m_tarvo.m_deferred->m_gbuffer[1], D3DFMT_A16B16G16R16F);

    const Texel flat = at(normals, pixelOf(*camera, D3DXVECTOR3(-2, 0, -1)));
    EXPECT_EQ(flat.c[0], 0.0f);
    EXPECT_EQ(flat.c[1], 0.0f);
    EXPECT_EQ(flat.c[2], -1.0f);
    // The front face's u runs along +x, so the rising ramp leans the
    // normal toward -x.
    const Texel bumpyNormal = at(normals, pixelOf(*camera, D3DXVECTOR3(2, 0, -1)));
    EXPECT_LT(bumpyNormal.c[0], -0.1f);
    EXPECT_NEAR(bumpyNormal.c[1], 0.0f, 0.05f);
    EXPECT_LT(bumpyNormal.c[2], -0.5f);
}
