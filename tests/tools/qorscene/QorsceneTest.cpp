// qorscene: the dump of a file with every kind of record against its golden
// text, verify's verdicts and exit status, and both over every scene file
// the demo ships.
#include "QorsceneRun.h"

#include "support/ArchiveBuilder.h"
#include "support/SceneFiles.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace
{

std::string readText(const std::string& a_path)
{
    std::ifstream stream(a_path, std::ios::binary);
    std::ostringstream text;
    text << stream.rdbuf();
    return text.str();
}

// Two frames; a material with slots, a moving box, its instance, sprites,
// a camera whose field of view breathes, an omni and a spot light.
QorFile sample()
{
    QorFile file;
    file.frameCount = 2;
    QorMaterial metal =
        SceneFiles::material("metal", D3DXVECTOR3(0.5f, 0.25f, 1), D3DXVECTOR3(0, 1, 0));
    metal.textures = {
        {kQorSlotColour, "metal.jpg"}, {kQorSlotHeight, "bumps.jpg"}, {3, "other.jpg"}};
    file.records.push_back(metal);
    QorMesh box = SceneFiles::box("box", D3DXVECTOR3(-1, -2, -3), D3DXVECTOR3(1, 2, 3), 0);
    box.animation.translation = {D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 1, 0)};
    file.records.push_back(box);
    QorMesh copy;
    copy.name = "copy";
    copy.sourceIndex = 0;
    copy.animation = SceneFiles::still(D3DXVECTOR3(4, 0, 0));
    file.records.push_back(copy);
    QorMesh dust;
    dust.name = "dust";
    dust.kind = 1;
    dust.extraSize = 2;
    dust.extra = {1, 2};
    dust.points = {D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(1, 5, -1)};
    dust.animation = SceneFiles::still();
    file.records.push_back(dust);
    QorCamera camera =
        SceneFiles::camera("Camera01", D3DXVECTOR3(0, 0, -10), D3DXVECTOR3(0, 0, 0), 2);
    camera.fov = {0.5f, 1.5f};
    file.records.push_back(camera);
    QorLight lamp;
    lamp.name = "lamp";
    lamp.color = D3DXVECTOR3(1, 0.5f, 0);
    lamp.nearRange = 5;
    lamp.farRange = 50;
    lamp.intensities = {1, 2};
    lamp.positions = {D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 1, 0)};
    file.records.push_back(lamp);
    QorLight spot = lamp;
    spot.name = "spot";
    spot.spot = 1;
    spot.positions.assign(2, D3DXVECTOR3(0, 9, 0));
    spot.targets.assign(2, D3DXVECTOR3(0, 0, 0));
    file.records.push_back(spot);
    return file;
}

}  // namespace

TEST(QorsceneTest, DumpMatchesItsGoldenText)
{
    TemporaryFolder folder(true);
    writeBytes("sample.qor", SceneFiles::bytes(sample()));
    const ToolRun run = qorscene("dump sample.qor");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output, readText(std::string(TARVO_TEST_DATA) + "/qorscene/sample.dump"));
}

// verify names each file's verdict and fails when any file is damaged or
// missing; the usage goes to standard error with status 2.
TEST(QorsceneTest, VerifyReportsEveryFile)
{
    TemporaryFolder folder(true);
    std::vector<uint8_t> bytes = SceneFiles::bytes(sample());
    writeBytes("good.qor", bytes);
    bytes.resize(30);
    writeBytes("cut.qor", bytes);

    const struct
    {
        const char* arguments;
        int status;
        const char* output;
    } cases[] = {
        {"verify good.qor", 0, "good.qor: ok, 7 records, 2 frames\n"},
        {"verify cut.qor good.qor", 1,
         "cut.qor: material record \"metal\" at byte 4: 12 bytes for the self-illumination "
         "colour, but 5 remain (byte 25)\ngood.qor: ok, 7 records, 2 frames\n"},
        {"verify none.qor", 1, "none.qor: cannot read: No such file or directory\n"},
        {"dump cut.qor", 1,
         "cut.qor: material record \"metal\" at byte 4: 12 bytes for the self-illumination "
         "colour, but 5 remain (byte 25)\n"},
        {"frobnicate", 2, nullptr},
        {"--help", 0, nullptr},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.arguments);
        const ToolRun run = qorscene(c.arguments);
        EXPECT_EQ(run.status, c.status);
        if (c.output)
        {
            EXPECT_EQ(run.output, c.output);
        }
        else
        {
            EXPECT_NE(run.output.find("usage: qorscene dump FILE"), std::string::npos);
        }
    }
}

#ifdef TARVO_CONTENT_DIR
// Every scene file the demo ships reads cleanly and dumps.
TEST(QorsceneTest, ShippedScenesVerifyAndDump)
{
    const std::vector<std::string> scenes = shippedScenes();
    for (const std::string& scene : scenes)
    {
        SCOPED_TRACE(scene);
        const std::string path = "'" + scene + "'";
        EXPECT_EQ(qorscene("verify " + path).status, 0);
        const ToolRun dump = qorscene("dump " + path);
        EXPECT_EQ(dump.status, 0);
        EXPECT_EQ(dump.output.rfind("frames ", 0), 0u);
    }
    EXPECT_GE(scenes.size(), 1u) << "primitives.qor at least";
}
#endif
