// The scene-file reader over files from the writer: every record kind back
// as written, the layout of the kind-0 mesh record, extra bytes, constant
// tracks, and damaged files (every cut, every oversized count, bad indices
// and names, fields of view a camera cannot project with) refused with a
// message, never read outside their bytes.
//
// Untested ideas: files of several megabytes; names of exactly 254 bytes.
#include "scene/format/QorReader.h"

#include "support/SceneFiles.h"

#include <gtest/gtest.h>

#include <math.h>
#include <string.h>

#include <memory>

namespace
{

// Reads a_bytes from a heap copy of exactly their size, so that the
// sanitizers see any read past the end.
bool readExact(const std::vector<uint8_t>& a_bytes, QorFile& a_file, std::string& a_error)
{
    std::unique_ptr<uint8_t[]> copy(new uint8_t[a_bytes.size() + 1]);
    if (!a_bytes.empty())
        memcpy(copy.get(), a_bytes.data(), a_bytes.size());
    return QorReader::read(a_bytes.empty() ? nullptr : copy.get(), a_bytes.size(), a_file, a_error);
}

QorFile read(const std::vector<uint8_t>& a_bytes)
{
    QorFile file;
    std::string error;
    EXPECT_TRUE(readExact(a_bytes, file, error)) << error;
    return file;
}

// A small file with one record of every kind and variant, three frames.
QorFile everyKind()
{
    QorFile file;
    file.frameCount = 3;
    QorMaterial metal =
        SceneFiles::material("metal", D3DXVECTOR3(0.5f, 0.25f, 1.0f), D3DXVECTOR3(0, 1, 0));
    metal.textures = {
        {kQorSlotColour, "metal.jpg"}, {kQorSlotHeight, "bumps.jpg"}, {42, "ignored.jpg"}};
    file.records.push_back(metal);

    QorMesh box = SceneFiles::box("box", D3DXVECTOR3(-1, -1, -1), D3DXVECTOR3(1, 1, 1), 0);
    box.extraSize = 3;
    box.extra = {7, 8, 9};
    box.animation.translation = {D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(1, 2, 3), D3DXVECTOR3(0, 0, 0)};
    file.records.push_back(box);

    QorMesh instance;
    instance.name = "box2";
    instance.sourceIndex = 0;
    instance.animation = SceneFiles::still(D3DXVECTOR3(5, 0, 0), 2.0f);
    instance.animation.rotation = {D3DXQUATERNION(0, 0, 0, 1), D3DXQUATERNION(0, 1, 0, 0),
                                   D3DXQUATERNION(0, 0, 0, 1)};
    file.records.push_back(instance);

    QorMesh sprites;
    sprites.name = "dust";
    sprites.kind = 1;
    for (int i = 0; i < 10; ++i)
        sprites.points.push_back(D3DXVECTOR3(float(i), 0, 0));
    sprites.animation = SceneFiles::still();
    file.records.push_back(sprites);

    file.records.push_back(
        SceneFiles::camera("Camera01", D3DXVECTOR3(0, 0, -10), D3DXVECTOR3(0, 0, 0), 3));

    QorLight omni;
    omni.name = "lamp";
    omni.color = D3DXVECTOR3(1, 0.5f, 0.25f);
    omni.nearRange = 10;
    omni.farRange = 100;
    omni.intensities = {1, 2, 3};
    omni.positions.assign(3, D3DXVECTOR3(0, 5, 0));
    file.records.push_back(omni);

    QorLight spot = omni;
    spot.name = "spot";
    spot.spot = 1;
    spot.targets.assign(3, D3DXVECTOR3(0, 0, 0));
    file.records.push_back(spot);
    return file;
}

}  // namespace

// Every record comes back with the values written.
TEST(QorReaderTest, ReadsEveryRecordKindBackAsWritten)
{
    const QorFile written = everyKind();
    const QorFile file = read(SceneFiles::bytes(written));
    ASSERT_EQ(file.frameCount, 3u);
    ASSERT_EQ(file.records.size(), written.records.size());

    const QorMaterial& metal = std::get<QorMaterial>(file.records[0]);
    EXPECT_EQ(metal.name, "metal");
    EXPECT_TRUE(metal.diffuse == D3DXVECTOR3(0.5f, 0.25f, 1.0f));
    EXPECT_TRUE(metal.selfIllum == D3DXVECTOR3(0, 1, 0));
    EXPECT_EQ(metal.glossiness, 0.5f);
    EXPECT_EQ(metal.specularPower, 16.0f);
    ASSERT_EQ(metal.textures.size(), 3u);
    EXPECT_EQ(metal.textures[1].slot, kQorSlotHeight);
    EXPECT_EQ(metal.textures[1].fileName, "bumps.jpg");
    EXPECT_EQ(metal.textures[2].slot, 42);

    const QorMesh& box = std::get<QorMesh>(file.records[1]);
    const QorMesh& writtenBox = std::get<QorMesh>(written.records[1]);
    EXPECT_EQ(box.materialIndex, 0);
    EXPECT_EQ(box.extra, (std::vector<uint8_t>{7, 8, 9}));
    ASSERT_EQ(box.vertices.size(), 24u);
    EXPECT_EQ(memcmp(box.vertices.data(), writtenBox.vertices.data(), 24 * sizeof(QorVertex)), 0);
    EXPECT_EQ(box.indices, writtenBox.indices);
    EXPECT_EQ(box.animation.translation.size(), 3u);
    EXPECT_TRUE(box.animation.translation[1] == D3DXVECTOR3(1, 2, 3));
    EXPECT_EQ(box.animation.rotation.size(), 1u);

    const QorMesh& instance = std::get<QorMesh>(file.records[2]);
    EXPECT_EQ(instance.sourceIndex, 0);
    EXPECT_TRUE(instance.vertices.empty());
    EXPECT_EQ(instance.animation.rotation.size(), 3u);
    EXPECT_TRUE(instance.animation.scale[0] == D3DXVECTOR3(2, 2, 2));

    const QorMesh& sprites = std::get<QorMesh>(file.records[3]);
    EXPECT_EQ(sprites.kind, 1);
    ASSERT_EQ(sprites.points.size(), 10u);
    EXPECT_TRUE(sprites.points[9] == D3DXVECTOR3(9, 0, 0));

    const QorCamera& camera = std::get<QorCamera>(file.records[4]);
    EXPECT_EQ(camera.name, "Camera01");
    EXPECT_EQ(camera.fov.size(), 3u);
    EXPECT_TRUE(camera.positions[2] == D3DXVECTOR3(0, 0, -10));

    const QorLight& omni = std::get<QorLight>(file.records[5]);
    EXPECT_EQ(omni.spot, 0);
    EXPECT_EQ(omni.intensities, (std::vector<float>{1, 2, 3}));
    EXPECT_TRUE(omni.targets.empty());
    const QorLight& spot = std::get<QorLight>(file.records[6]);
    EXPECT_EQ(spot.spot, 1);
    EXPECT_EQ(spot.targets.size(), 3u);
}

// The one layout pinned by hand: with no extra bytes, a kind-0 record of
// 24 vertices and 36 indices holds 4 + 4 + 4 + 4 + 1 + 24 x 64 + 12 + 36 x 4
// = 1709 bytes between its source index and its animation block.
TEST(QorReaderTest, TriangleMeshRecordLayout)
{
    QorFile file;
    file.records.push_back(SceneFiles::box("box", D3DXVECTOR3(-1, -1, -1), D3DXVECTOR3(1, 1, 1)));
    std::vector<QorField> fields;
    const std::vector<uint8_t> bytes = SceneFiles::bytes(file, &fields);
    const QorField& source = SceneFiles::field(fields, 0, "sourceIndex");
    const QorField& flags = SceneFiles::field(fields, 0, "translationAnimated");
    EXPECT_EQ(flags.offset - (source.offset + source.size), 1709u);
    // tag, name "box" (length byte and 4 bytes), then the source index
    EXPECT_EQ(source.offset, 4u + 1 + 1 + 4);
    EXPECT_EQ(bytes.size(), flags.offset + 3 + 12 + 16 + 12 + 1);
}

// Extra bytes are skipped by their count; a count of 0 or below skips
// nothing. Flags of 0 mean one key per track, whatever the frame count.
TEST(QorReaderTest, ExtraBytesAndConstantTracks)
{
    const struct
    {
        int32_t extraSize;
        size_t bytes;
    } cases[] = {{0, 0}, {-5, 0}, {-2147483647 - 1, 0}, {9, 9}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.extraSize);
        QorFile file;
        file.frameCount = 10;
        QorMesh box = SceneFiles::box("box", D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(1, 1, 1));
        box.extraSize = c.extraSize;
        box.extra.assign(c.bytes, 0xAB);
        file.records.push_back(box);
        file.records.push_back(SceneFiles::box("next", D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(2, 2, 2)));
        const QorFile back = read(SceneFiles::bytes(file));
        ASSERT_EQ(back.records.size(), 2u);
        const QorMesh& mesh = std::get<QorMesh>(back.records[0]);
        EXPECT_EQ(mesh.extraSize, c.extraSize);
        EXPECT_EQ(mesh.extra.size(), c.bytes);
        EXPECT_EQ(mesh.animation.translation.size(), 1u);
        EXPECT_EQ(mesh.animation.rotation.size(), 1u);
        EXPECT_EQ(mesh.animation.scale.size(), 1u);
        EXPECT_EQ(std::get<QorMesh>(back.records[1]).name, "next");
    }
}

// The file ends at a tag of 4 or more, or where the data ends between
// records; what follows an end tag is not read.
TEST(QorReaderTest, EndsAtAnEndTagOrTheEndOfTheData)
{
    QorFile empty;
    empty.frameCount = 7;
    std::vector<uint8_t> bytes = SceneFiles::bytes(empty);
    ASSERT_EQ(bytes.size(), 5u);
    EXPECT_EQ(read(bytes).records.size(), 0u);
    EXPECT_EQ(read(bytes).frameCount, 7u);

    bytes.pop_back();
    EXPECT_EQ(read(bytes).records.size(), 0u) << "no end tag";

    QorFile one = empty;
    one.records.push_back(SceneFiles::material("m", D3DXVECTOR3(1, 1, 1)));
    bytes = SceneFiles::bytes(one);
    bytes.back() = 4;
    bytes.insert(bytes.end(), {0, 1, 2, 3});  // not records: never read
    EXPECT_EQ(read(bytes).records.size(), 1u);
}

// Cut anywhere, the file is refused unless the cut falls between records,
// and nothing outside the bytes is read (the sanitizer builds check that).
TEST(QorReaderTest, EveryCutIsRefusedOrEndsBetweenRecords)
{
    std::vector<QorField> fields;
    const std::vector<uint8_t> bytes = SceneFiles::bytes(everyKind(), &fields);
    std::vector<size_t> boundaries;
    for (const QorField& field : fields)
    {
        if (field.name == "tag" || field.name == "endTag")
            boundaries.push_back(field.offset);
    }
    ASSERT_EQ(boundaries.size(), 8u);
    for (size_t length = 0; length < bytes.size(); ++length)
    {
        SCOPED_TRACE(length);
        const std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + ptrdiff_t(length));
        QorFile file;
        std::string error;
        const bool read = readExact(cut, file, error);
        size_t records = 0;
        while (records < boundaries.size() && boundaries[records] < length)
            ++records;
        const bool between = records < boundaries.size() && boundaries[records] == length;
        EXPECT_EQ(read, between) << error;
        if (read)
        {
            EXPECT_EQ(file.records.size(), records);
        }
        else
        {
            EXPECT_NE(error.find("remain"), std::string::npos) << error;
        }
    }
}

// A damaged field is refused before anything is allocated for it, with a
// message naming the record and what is wrong.
TEST(QorReaderTest, RefusesDamagedFields)
{
    const struct
    {
        const char* what;
        size_t record;  // in everyKind(); kHeader for the frame count
        const char* field;
        uint32_t value;
        size_t size;  // bytes of value written over the field
        const char* message;
    } cases[] = {
        // counts the remaining bytes cannot hold
        {"frame count", QorField::kHeader, "frameCount", 0xFFFFFFFF, 4, "remain"},
        {"texture count", 0, "textureCount", 255, 1, "67575 bytes for texture entries,"},
        {"name length", 6, "nameLength", 255, 1, "255 bytes for the name,"},
        {"extra size", 1, "extraSize", 0x7FFFFFFF, 4, "2147483647 bytes for extra bytes,"},
        {"vertex count", 1, "vertexCount", 0x7FFFFFFF, 4, "137438953408 bytes for vertices,"},
        {"index count", 1, "indexCount", 0x7FFFFFFF, 4, "8589934588 bytes for indices,"},
        {"sprite count", 3, "vertexCount", 0x40000000, 4, "bytes for sprite points,"},
        // values the device or the scene cannot take
        {"no frames", QorField::kHeader, "frameCount", 0, 4, "the frame count is 0"},
        {"no vertices", 1, "vertexCount", 0, 4, "has 0 vertices"},
        {"negative vertices", 1, "vertexCount", 0xFFFFFFFF, 4, "has -1 vertices"},
        {"no indices", 1, "indexCount", 0, 4, "has 0 indices"},
        {"source after", 2, "sourceIndex", 1, 4, "instances mesh 1, but only 1 come before it"},
        {"source negative", 2, "sourceIndex", 0xFFFFFFFE, 4, "instances mesh -2"},
        {"material after", 1, "materialIndex", 1, 4, "uses material 1, but only 1 come before it"},
        {"unterminated name", 4, "nameLength", 1, 1, "has no terminating zero"},
        {"empty name field", 4, "nameLength", 0, 1, "has no terminating zero"},
        // a camera the projection cannot be built for (the first key: 0,
        // NaN, negative, infinite)
        {"no field of view", 4, "fov", 0x00000000, 4, "field of view 0 is 0.0"},
        {"field of view NaN", 4, "fov", 0x7FC00000, 4, "field of view 0 is nan"},
        {"negative field of view", 4, "fov", 0xBF800000, 4, "field of view 0 is -1.0"},
        {"infinite field of view", 4, "fov", 0x7F800000, 4, "field of view 0 is inf"},
    };
    std::vector<QorField> fields;
    const std::vector<uint8_t> bytes = SceneFiles::bytes(everyKind(), &fields);
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        std::vector<uint8_t> damaged = bytes;
        const QorField& field = SceneFiles::field(fields, c.record, c.field);
        memcpy(damaged.data() + field.offset, &c.value, c.size);
        QorFile file;
        std::string error;
        EXPECT_FALSE(readExact(damaged, file, error));
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
    }
}

// Indices past the vertices and file names without their zero are refused;
// the message names the record and the byte.
TEST(QorReaderTest, RefusesIndicesAndNamesOutOfBounds)
{
    QorFile file;
    QorMaterial material = SceneFiles::material("paint", D3DXVECTOR3(1, 1, 1));
    material.textures = {{kQorSlotColour, "a.jpg"}};
    file.records.push_back(material);
    QorMesh box = SceneFiles::box("box", D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(1, 1, 1));
    box.indices[35] = 24;
    file.records.push_back(box);
    std::vector<QorField> fields;
    std::vector<uint8_t> bytes = SceneFiles::bytes(file, &fields);

    QorFile back;
    std::string error;
    EXPECT_FALSE(readExact(bytes, back, error));
    const size_t index35 = SceneFiles::field(fields, 1, "indices").offset + 35 * 4;
    EXPECT_EQ(error, "mesh record \"box\" at byte " +
                         std::to_string(SceneFiles::field(fields, 1, "tag").offset) +
                         ": index 35 is 24, past its 24 vertices (byte " + std::to_string(index35) +
                         ")");

    const QorField& name = SceneFiles::field(fields, 0, "fileName");
    memset(bytes.data() + name.offset, 'x', name.size);
    EXPECT_FALSE(readExact(bytes, back, error));
    EXPECT_NE(error.find("material record \"paint\""), std::string::npos) << error;
    EXPECT_NE(error.find("fills its 260 bytes without a terminating zero"), std::string::npos)
        << error;
}

// Nor does the writer make such a camera: a field of view of 0, below it,
// not a number or infinite is refused before anything is written.
TEST(QorReaderTest, WriterRefusesAFieldOfViewTheReaderRefuses)
{
    for (float fov : {0.0f, -1.0f, NAN, INFINITY})
    {
        SCOPED_TRACE(fov);
        QorFile file;
        file.records.push_back(
            SceneFiles::camera("Camera01", D3DXVECTOR3(0, 0, -10), D3DXVECTOR3(0, 0, 0), 1, fov));
        std::vector<uint8_t> bytes;
        std::string error;
        EXPECT_FALSE(QorWriter::write(file, bytes, error));
        EXPECT_EQ(error, "record 0: a camera's field of view must be above 0");
        EXPECT_TRUE(bytes.empty());
    }
}
