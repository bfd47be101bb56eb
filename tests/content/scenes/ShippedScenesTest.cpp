// The shipped scene files hold what the demo's parts rely on, use
// every kind of record the format has, name only images that ship, and loop
// every animated track seamlessly (period count - 1).
//
// Untested ideas: a camera's distance to every surface over its whole path
// (the near plane is 1 unit); the part's light flicker read against each
// first light's reach.
#include "scene/format/QorFile.h"
#include "scene/format/QorReader.h"

#include <gtest/gtest.h>

#include <math.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace
{

const char* const kScenes[] = {"primitives.qor", "test.qor", "hog.qor",
                               "balls.qor",      "blob.qor", "satellite.qor"};

QorFile readScene(const std::string& a_name)
{
    const std::string path = std::string(TARVO_CONTENT_FILES) + "/" + a_name;
    std::ifstream stream(path, std::ios::binary);
    EXPECT_TRUE(stream) << path;
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(stream)),
                                     std::istreambuf_iterator<char>());
    QorFile file;
    std::string error;
    EXPECT_TRUE(QorReader::read(bytes.data(), bytes.size(), file, error))
        << a_name << ": " << error;
    return file;
}

template <typename Record>
std::vector<const Record*> records(const QorFile& a_file)
{
    std::vector<const Record*> result;
    for (const QorRecord& record : a_file.records)
    {
        if (const Record* found = std::get_if<Record>(&record))
            result.push_back(found);
    }
    return result;
}

// Keys as flat arrays of floats, so one check serves every key type.
std::vector<float> flat(const D3DXVECTOR3& a_key)
{
    return {a_key.x, a_key.y, a_key.z};
}
std::vector<float> flat(float a_key)
{
    return {a_key};
}
std::vector<float> flat(const D3DXQUATERNION& a_key)
{
    return {a_key.x, a_key.y, a_key.z, a_key.w};
}

float distance(const std::vector<float>& a_first, const std::vector<float>& a_second)
{
    float sum = 0.0f;
    for (size_t i = 0; i < a_first.size(); ++i)
        sum += (a_first[i] - a_second[i]) * (a_first[i] - a_second[i]);
    return sqrtf(sum);
}

// The tracks' sampling: period n = count - 1,
// i = trunc(t) mod n, j = (i + 1) mod n, f = t - trunc(t).
template <typename Key>
std::vector<float> sample(const std::vector<Key>& a_keys, double a_time)
{
    const int64_t whole = int64_t(a_time);
    const uint32_t period = uint32_t(a_keys.size() - 1);
    const uint32_t i = uint32_t(whole) % period;
    const uint32_t j = (i + 1) % period;
    const float f = float(a_time - double(whole));
    const std::vector<float> a = flat(a_keys[i]), b = flat(a_keys[j]);
    std::vector<float> result(a.size());
    for (size_t k = 0; k < a.size(); ++k)
        result[k] = a[k] * (1.0f - f) + b[k] * f;
    return result;
}

// A track loops seamlessly: its last key is its first, so just before the
// end of the period it samples (almost) what it samples at 0, and the step
// across the wrap (from key count - 2 to key 0) is no larger than the
// largest step inside the loop. Quaternions count q and -q as one turn; the
// demo turns meshes by a spline whose setup picks the near sign of each
// neighbour, so their plain blend is not checked.
template <typename Key>
void expectSeamless(const std::vector<Key>& a_keys, const std::string& a_what,
                    bool a_rotation = false)
{
    SCOPED_TRACE(a_what);
    if (a_keys.size() < 2)
        return;
    auto apart = [a_rotation](std::vector<float> a_first, std::vector<float> a_second) {
        if (a_rotation)
        {
            float dot = 0.0f;
            for (size_t k = 0; k < a_first.size(); ++k)
                dot += a_first[k] * a_second[k];
            if (dot < 0.0f)
                for (float& value : a_second)
                    value = -value;
        }
        return distance(a_first, a_second);
    };
    EXPECT_EQ(flat(a_keys.front()), flat(a_keys.back()));
    const double period = double(a_keys.size() - 1);
    const std::vector<float> start = sample(a_keys, 0.0);
    const std::vector<float> end = sample(a_keys, period - 1.0e-3);
    float largest = 0.0f;
    for (size_t i = 0; i + 2 < a_keys.size(); ++i)
        largest = std::max(largest, apart(flat(a_keys[i]), flat(a_keys[i + 1])));
    const float wrap = apart(flat(a_keys[a_keys.size() - 2]), flat(a_keys.front()));
    if (!a_rotation)
    {
        EXPECT_LE(apart(start, end), 1.0e-3f * std::max(largest, 1.0f) + 1.0e-4f);
    }
    EXPECT_LE(wrap, 1.05f * largest + 1.0e-4f);
}

class ShippedScenesTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        for (const char* name : kScenes)
            s_files.emplace_back(name, readScene(name));
    }
    static const QorFile& scene(const std::string& a_name)
    {
        for (const auto& entry : s_files)
        {
            if (entry.first == a_name)
                return entry.second;
        }
        static const QorFile none;
        ADD_FAILURE() << a_name << " was not read";
        return none;
    }
    static std::vector<std::pair<std::string, QorFile>> s_files;
};

std::vector<std::pair<std::string, QorFile>> ShippedScenesTest::s_files;

}  // namespace

// The properties the parts rely on, per scene.
TEST_F(ShippedScenesTest, EachSceneHoldsWhatItsPartUses)
{
    const struct
    {
        const char* scene;
        size_t cameras;  // at least
        size_t lights;   // at least
    } cases[] = {
        {"hog.qor", 3, 2},  // the part cycles cameras 0, 1, 2 and flickers light 0
        {"test.qor", 3, 2}, {"balls.qor", 1, 2}, {"blob.qor", 1, 2}, {"satellite.qor", 1, 2},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.scene);
        const QorFile& file = scene(c.scene);
        EXPECT_GE(records<QorCamera>(file).size(), c.cameras);
        EXPECT_GE(records<QorLight>(file).size(), c.lights);
        EXPECT_GE(file.frameCount, 2u);
        for (const QorLight* light : records<QorLight>(file))
        {
            EXPECT_EQ(light->spot, 0)
                << light->name << ": the parts' scenes light with omni lights";
            EXPECT_GT(light->farRange, light->nearRange) << light->name;
            EXPECT_LE(light->farRange, 2000.0f)
                << light->name << ": the loader lowers a farther reach";
        }
    }
    // The test part looks its cameras up by name.
    std::set<std::string> names;
    for (const QorCamera* camera : records<QorCamera>(scene("test.qor")))
        names.insert(camera->name);
    for (const char* name : {"Camera01", "Camera02", "Camera03"})
        EXPECT_EQ(names.count(name), 1u) << name;
    // The omni lights' volume: a mesh first, and no lights, in the primitives.
    const QorFile& primitives = scene("primitives.qor");
    ASSERT_FALSE(primitives.records.empty());
    EXPECT_TRUE(std::holds_alternative<QorMesh>(primitives.records.front()));
    EXPECT_TRUE(records<QorLight>(primitives).empty());
}

// Cameras keep the near plane (1 unit) and the far plane (5000) in mind:
// every exported field of view is a sensible horizontal angle, and no eye
// sits on its target.
TEST_F(ShippedScenesTest, CamerasLookAtSomething)
{
    for (const char* name : kScenes)
    {
        for (const QorCamera* camera : records<QorCamera>(scene(name)))
        {
            SCOPED_TRACE(std::string(name) + " " + camera->name);
            for (size_t i = 0; i < camera->positions.size(); ++i)
            {
                const D3DXVECTOR3 gap = camera->positions[i] - camera->targets[i];
                EXPECT_GT(sqrtf(gap.x * gap.x + gap.y * gap.y + gap.z * gap.z), 20.0f)
                    << "frame " << i;
                EXPECT_GT(camera->fov[i], 0.8f) << "frame " << i;
                EXPECT_LT(camera->fov[i], 2.2f) << "frame " << i;
                EXPECT_LT(sqrtf(gap.x * gap.x + gap.y * gap.y + gap.z * gap.z), 1000.0f)
                    << "frame " << i;
            }
        }
    }
}

// Scene and camera times run both ways and far past the frame count; every
// track with a key per frame must come round to where it started.
TEST_F(ShippedScenesTest, EveryAnimatedTrackLoopsSeamlessly)
{
    size_t tracks = 0;
    for (const char* name : kScenes)
    {
        const QorFile& file = scene(name);
        for (const QorMesh* mesh : records<QorMesh>(file))
        {
            const std::string what = std::string(name) + " mesh " + mesh->name;
            if (mesh->animation.translation.size() > 1)
                expectSeamless(mesh->animation.translation, what + " translation"), ++tracks;
            if (mesh->animation.rotation.size() > 1)
                expectSeamless(mesh->animation.rotation, what + " rotation", true), ++tracks;
            if (mesh->animation.scale.size() > 1)
                expectSeamless(mesh->animation.scale, what + " scale"), ++tracks;
        }
        for (const QorCamera* camera : records<QorCamera>(file))
        {
            const std::string what = std::string(name) + " camera " + camera->name;
            expectSeamless(camera->positions, what + " positions");
            expectSeamless(camera->targets, what + " targets");
            expectSeamless(camera->roll, what + " roll");
            expectSeamless(camera->fov, what + " fov");
            tracks += 4;
        }
        for (const QorLight* light : records<QorLight>(file))
            expectSeamless(light->positions, std::string(name) + " light " + light->name), ++tracks;
    }
    EXPECT_GT(tracks, 100u);
}

// Shipped content exercises every record kind and material slot of the
// format: instances, point sprites, each texture slot, the cube map,
// self-illumination and omni lights.
TEST_F(ShippedScenesTest, EveryRecordKindIsUsed)
{
    bool instance = false, sprites = false, cube = false, glow = false, omni = false;
    std::set<int> slots;
    for (const char* name : kScenes)
    {
        const QorFile& file = scene(name);
        for (const QorMesh* mesh : records<QorMesh>(file))
        {
            instance = instance || mesh->sourceIndex != -1;
            sprites = sprites || (mesh->sourceIndex == -1 && mesh->kind != 0);
        }
        for (const QorMaterial* material : records<QorMaterial>(file))
        {
            glow = glow || !(material->selfIllum == D3DXVECTOR3(-1.0f, -1.0f, -1.0f));
            for (const QorTextureEntry& entry : material->textures)
            {
                slots.insert(entry.slot);
                cube = cube ||
                       (entry.slot == kQorSlotColour && entry.fileName == "autogen_cubemap.jpg");
            }
        }
        for (const QorLight* light : records<QorLight>(file))
            omni = omni || light->spot == 0;
    }
    EXPECT_TRUE(instance);
    EXPECT_TRUE(sprites);
    EXPECT_TRUE(cube);
    EXPECT_TRUE(glow);
    EXPECT_TRUE(omni);
    for (int slot :
         {kQorSlotColour, kQorSlotHeight, kQorSlotOcclusion, kQorSlotReflection, kQorSlotOpacity})
        EXPECT_EQ(slots.count(slot), 1u) << "slot " << slot;
}

// Every image a material names ships in the content folder (the cube map is
// made by the loader, not read).
TEST_F(ShippedScenesTest, EveryNamedImageShips)
{
    for (const char* name : kScenes)
    {
        for (const QorMaterial* material : records<QorMaterial>(scene(name)))
        {
            for (const QorTextureEntry& entry : material->textures)
            {
                if (entry.fileName == "autogen_cubemap.jpg")
                    continue;
                EXPECT_TRUE(std::filesystem::exists(std::string(TARVO_CONTENT_FILES) + "/" +
                                                    entry.fileName))
                    << name << " " << material->name << ": " << entry.fileName;
            }
        }
    }
}

// Meshes stay light enough for the software rasteriser at 1280 x 720:
// triangles drawn per frame (instances draw their source's triangles again,
// sprites two each) stay under 40000 in every scene.
TEST_F(ShippedScenesTest, TriangleCountsStayModerate)
{
    for (const char* name : kScenes)
    {
        const QorFile& file = scene(name);
        const std::vector<const QorMesh*> meshes = records<QorMesh>(file);
        std::vector<size_t> triangles;
        size_t total = 0;
        for (const QorMesh* mesh : meshes)
        {
            size_t count = 0;
            if (mesh->sourceIndex >= 0)
                count = triangles.at(size_t(mesh->sourceIndex));
            else if (mesh->kind == 0)
                count = mesh->indices.size() / 3;
            else
                count = mesh->points.size() * 2;
            triangles.push_back(count);
            total += count;
        }
        EXPECT_LT(total, 40000u) << name;
    }
}
