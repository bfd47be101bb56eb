// An editor's scene imported with qorscene in place of the satellite part's
// scene, in a copy of the shipped archive, rendered by the offline renderer
// as a user would: the part's frame shows the imported box, lit red by the
// imported light, in the middle of the imported camera's view, with empty
// space around it; the shipped archive's frame at that time does not.
#include "CaptureRun.h"
#include "GltfBuilder.h"
#include "QorsceneRun.h"

#include "archive/format/ArchiveReader.h"
#include "support/ArchiveBuilder.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

constexpr uint32_t kWidth = 160;
constexpr uint32_t kHeight = 90;
// Beat 200 at 170 beats a minute, inside the satellite part (beats 192 to
// 256), clear of its flashes.
constexpr uint32_t kFrame = 2118;

struct Region
{
    double red = 0.0, green = 0.0, blue = 0.0;
};

// The mean colour of the pixels from a_left to a_right, a_top to a_bottom
// (fractions of the frame).
Region mean(const std::vector<uint8_t>& a_rgb, float a_left, float a_top, float a_right,
            float a_bottom)
{
    Region region;
    int count = 0;
    for (uint32_t y = uint32_t(a_top * kHeight); y < uint32_t(a_bottom * kHeight); ++y)
        for (uint32_t x = uint32_t(a_left * kWidth); x < uint32_t(a_right * kWidth); ++x)
        {
            const uint8_t* pixel = &a_rgb[(y * kWidth + x) * 3];
            region.red += pixel[0];
            region.green += pixel[1];
            region.blue += pixel[2];
            ++count;
        }
    if (count != 0)
    {
        region.red /= count;
        region.green /= count;
        region.blue /= count;
    }
    return region;
}

// The shipped archive with a_name's contents replaced by a_contents.
void replaceInArchive(const std::string& a_path, const std::string& a_name,
                      const std::vector<uint8_t>& a_contents)
{
    ArchiveReader shipped;
    ASSERT_TRUE(shipped.read(TARVO_ARCHIVE_FILE));
    ASSERT_TRUE(shipped.valid());
    ArchiveBuilder archive;
    bool replaced = false;
    for (const FileEntry& entry : shipped.entries())
    {
        if (entry.name == a_name)
        {
            archive.add(entry.name, std::string(a_contents.begin(), a_contents.end()));
            replaced = true;
            continue;
        }
        const char* data = reinterpret_cast<const char*>(shipped.data() + entry.offset);
        archive.add(entry.name, std::string(data, data + entry.size));
    }
    ASSERT_TRUE(replaced) << a_name << " is not in the archive";
    archive.write(a_path, true);
}

std::vector<uint8_t> capture(const TemporaryFolder& a_folder, const std::string& a_archive,
                             const std::string& a_frames)
{
    const CaptureRun run = CaptureRun::start(
        a_folder.path().string(),
        {"--width", std::to_string(kWidth), "--height", std::to_string(kHeight), "--fps", "30",
         "--frames", std::to_string(kFrame) + ":" + std::to_string(kFrame + 1), "--png", a_frames,
         a_archive});
    EXPECT_EQ(run.status, 0) << run.messages;
    char name[32];
    snprintf(name, sizeof(name), "/frame-%06u.png", kFrame);
    return CaptureRun::readPng(a_folder.file(a_frames) + name);
}

}  // namespace

TEST(ImportedSceneCaptureTest, ImportedSceneReplacesAPartsScene)
{
    TemporaryFolder folder(true);
    GltfBuilder gltf;
    const int red = gltf.add("materials", {{"name", "red"},
                                           {"pbrMetallicRoughness",
                                            {{"baseColorFactor", {1.0, 0.1, 0.1, 1.0}},
                                             {"metallicFactor", 0.0},
                                             {"roughnessFactor", 0.6}}}});
    const float low[3] = {-2, -2, -2}, high[3] = {2, 2, 2};
    gltf.root({{"name", "box"}, {"mesh", gltf.box("box", low, high, red)}});
    const int camera = gltf.add(
        "cameras", {{"type", "perspective"}, {"perspective", {{"yfov", 0.8}, {"znear", 0.1}}}});
    gltf.root({{"name", "Camera01"}, {"camera", camera}, {"translation", {0, 0, 8}}});
    const int lamp =
        gltf.light({{"type", "point"}, {"color", {1, 1, 1}}, {"intensity", 1}, {"range", 30}});
    gltf.root({{"name", "lamp"},
               {"translation", {1, 3, 6}},
               {"extensions", {{"KHR_lights_punctual", {{"light", lamp}}}}}});
    gltf.write(folder.file("scene.gltf"));

    // Ten demo units to the editor's one: the part's camera shake and fog
    // are made for scenes of that size.
    const ToolRun run = qorscene("import scene.gltf satellite.qor --scale 10");
    ASSERT_EQ(run.status, 0) << run.output;
    replaceInArchive(folder.file("imported.fs"), "satellite.qor", readBytes("satellite.qor"));

    const std::vector<uint8_t> imported = capture(folder, "imported.fs", "imported");
    const std::vector<uint8_t> shipped = capture(folder, TARVO_ARCHIVE_FILE, "shipped");
    ASSERT_EQ(imported.size(), size_t(kWidth * kHeight * 3));
    ASSERT_EQ(shipped.size(), imported.size());

    // The middle of the view is the box, lit: red well above black and well
    // above green and blue, which the grey fog alone cannot give.
    const Region middle = mean(imported, 0.4f, 0.4f, 0.6f, 0.6f);
    EXPECT_GT(middle.red, 80.0);
    EXPECT_GT(middle.red, 2.0 * middle.green + 20.0);
    EXPECT_GT(middle.red, 2.0 * middle.blue + 20.0);
    // Around it, nothing: dark, not red (the box does not fill the view).
    const Region corner = mean(imported, 0.0f, 0.0f, 0.1f, 0.1f);
    EXPECT_LT(corner.red, 40.0);
    EXPECT_LT(corner.red, corner.green + 20.0);
    // The shipped scene at that time shows no such red middle.
    const Region before = mean(shipped, 0.4f, 0.4f, 0.6f, 0.6f);
    EXPECT_LT(before.red, 2.0 * before.green + 20.0);
}
