// The shipped scenes load through the demo's own loader on the content
// folder, with every image their materials name, and each shot of the
// contact sheet, drawn through the whole deferred pipeline in its part's
// look, shows a lit subject: not black, not blown out, something in the
// middle of the frame.
//
// Untested ideas: frames across a whole part, sampled at every beat.
#include "ShotRenderer.h"

#include "render/Texture.h"
#include "scene/Scene.h"
#include "scene/format/QorReader.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

namespace
{

ShotRenderer& renderer()
{
    static ShotRenderer* instance = [] {
        ShotRenderer* made = new ShotRenderer();
        EXPECT_TRUE(made->init(TARVO_CONTENT_FILES));
        return made;
    }();
    return *instance;
}

QorFile records(const std::string& a_name)
{
    std::ifstream stream(std::string(TARVO_CONTENT_FILES) + "/" + a_name, std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(stream)),
                                     std::istreambuf_iterator<char>());
    QorFile file;
    std::string error;
    EXPECT_TRUE(QorReader::read(bytes.data(), bytes.size(), file, error)) << error;
    return file;
}

}  // namespace

TEST(ShippedScenesRenderTest, EverySceneLoadsWithItsImages)
{
    for (const char* name : {"test.qor", "hog.qor", "balls.qor", "blob.qor", "satellite.qor"})
    {
        SCOPED_TRACE(name);
        Scene* scene = renderer().scene(name);
        ASSERT_NE(scene, nullptr);
        const QorFile file = records(name);
        size_t meshes = 0, materials = 0, cameras = 0, lights = 0;
        for (const QorRecord& record : file.records)
        {
            meshes += std::holds_alternative<QorMesh>(record);
            materials += std::holds_alternative<QorMaterial>(record);
            cameras += std::holds_alternative<QorCamera>(record);
            lights += std::holds_alternative<QorLight>(record);
            if (const QorMaterial* material = std::get_if<QorMaterial>(&record))
            {
                for (const QorTextureEntry& entry : material->textures)
                {
                    if (entry.fileName == "autogen_cubemap.jpg")
                        continue;
                    EXPECT_NE(renderer().m_tarvo.m_textures.find(entry.fileName.c_str()), nullptr)
                        << entry.fileName;
                }
            }
        }
        EXPECT_EQ(scene->m_meshes.count(), meshes);
        EXPECT_EQ(scene->m_materials.count(), materials);
        EXPECT_EQ(scene->m_cameras.count(), cameras);
        EXPECT_EQ(scene->m_lights.count(), lights);
    }
}

TEST(ShippedScenesRenderTest, EveryShotShowsALitSubject)
{
    for (const Shot& shot : contactSheetShots())
    {
        SCOPED_TRACE(shot.scene + " camera " + std::to_string(shot.camera) + " at " +
                     std::to_string(shot.cameraTime) + ", scene at " +
                     std::to_string(shot.sceneTime));
        const std::vector<uint8_t> frame = renderer().render(shot);
        ASSERT_EQ(frame.size(), size_t(ShotRenderer::kWidth) * ShotRenderer::kHeight * 3);
        size_t lit = 0, blown = 0, middleLit = 0, middle = 0;
        for (int32_t y = 0; y < ShotRenderer::kHeight; ++y)
        {
            for (int32_t x = 0; x < ShotRenderer::kWidth; ++x)
            {
                const uint8_t* pixel = &frame[(size_t(y) * ShotRenderer::kWidth + size_t(x)) * 3];
                const uint8_t brightest = std::max({pixel[0], pixel[1], pixel[2]});
                const bool isLit = brightest > 40;
                lit += isLit;
                blown += pixel[0] > 250 && pixel[1] > 250 && pixel[2] > 250;
                if (x > ShotRenderer::kWidth / 3 && x < 2 * ShotRenderer::kWidth / 3 &&
                    y > ShotRenderer::kHeight / 4 && y < 3 * ShotRenderer::kHeight / 4)
                {
                    ++middle;
                    middleLit += isLit;
                }
            }
        }
        const double pixels = double(ShotRenderer::kWidth) * ShotRenderer::kHeight;
        EXPECT_GT(double(lit) / pixels, 0.15) << "mostly black";
        EXPECT_LT(double(blown) / pixels, 0.08) << "blown out";
        // Close-ups (the satellite at half its field of view) may show a
        // shaded face filling the middle; a fifth of it lit or more elsewhere.
        EXPECT_GT(double(middleLit) / double(middle), 0.15) << "nothing in the middle";
    }
}
