// Textures: a JPEG of the archive or the working directory as an A8R8G8B8
// default-pool texture with automatic mip-maps, its alpha from the companion
// named by dropping the last four characters and adding "_alpha.jpg" (blue
// channel, or grey level), opaque without one; the generated null textures;
// missing files with the file system's message; damaged files with one
// message naming them; names outside the limits end the process by assertion.
//
// Untested: a level the device cannot lock, and a device that cannot make the
// texture (the layer offers no way to fail either for a valid texture).
#include "render/Texture.h"

#include "core/FatalError.h"
#include "archive/FileSystem.h"
#include "render/JpegDecoder.h"
#include "render/RendererFixture.h"
#include "render/TestJpeg.h"
#include "support/ArchiveBuilder.h"

#include <gtest/gtest.h>

#include <string.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace
{

// Colour file's blocks: red, green, blue and grey quadrants of 16 x 16 pixels.
const std::vector<uint32_t> kColours = {0xFF0000, 0x00FF00, 0x0000FF, 0x808080};

class TextureTest : public RendererFixture
{
protected:
    // Tests that open an archive leave it to be released here, whatever their outcome.
    void TearDown() override
    {
        FileSystem::close();
        RendererFixture::TearDown();
    }

    // Level 0 of the texture as 0xAARRGGBB, top row first.
    static std::vector<DWORD> readTexels(Texture* a_texture)
    {
        IDirect3DSurface9* surface = nullptr;
        EXPECT_EQ(a_texture->m_texture->GetSurfaceLevel(0, &surface), D3D_OK);
        if (!surface)
            return {};
        std::vector<DWORD> texels = readArgb(surface);
        surface->Release();
        return texels;
    }

    // Every texel is its quadrant's colour with its quadrant's alpha.
    static void expectQuadrants(Texture* a_texture, const std::vector<uint32_t>& a_alphas)
    {
        const std::vector<DWORD> texels = readTexels(a_texture);
        ASSERT_EQ(texels.size(), 16u * 16u);
        for (int32_t y = 0; y < 16; ++y)
        {
            for (int32_t x = 0; x < 16; ++x)
            {
                const size_t quadrant = size_t(y / 8) * 2 + size_t(x / 8);
                ASSERT_EQ(texels[size_t(y) * 16 + x], a_alphas[quadrant] << 24 | kColours[quadrant])
                    << "at " << x << ", " << y;
            }
        }
    }
};

std::string readText(const std::string& a_path)
{
    const std::vector<uint8_t> bytes = readBytes(a_path);
    return std::string(bytes.begin(), bytes.end());
}

}

// The texture is the picture's size in A8R8G8B8 in the default pool, with
// the chain the device builds (one level to fill), and binds to a stage.
TEST_F(TextureTest, MakesAnAutomaticMipMapTextureAndBindsIt)
{
    writeJpeg("wide.jpg", blockPicture(3, 1, {1, 2, 3}), JpegKind::Rgb);
    Texture* texture = Texture::load("wide.jpg", m_renderer);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->m_renderer, m_renderer);
    D3DSURFACE_DESC description;
    ASSERT_EQ(texture->m_texture->GetLevelDesc(0, &description), D3D_OK);
    EXPECT_EQ(description.Width, 24u);
    EXPECT_EQ(description.Height, 8u);
    EXPECT_EQ(description.Format, D3DFMT_A8R8G8B8);
    EXPECT_EQ(description.Pool, D3DPOOL_DEFAULT);
    // Default-pool textures lock only when dynamic, on the real Direct3D 9.
    EXPECT_EQ(description.Usage, DWORD(D3DUSAGE_DYNAMIC | D3DUSAGE_AUTOGENMIPMAP));
    EXPECT_EQ(texture->m_texture->GetLevelCount(), 1u);

    texture->bind(3);
    IDirect3DBaseTexture9* bound = nullptr;
    ASSERT_EQ(device()->GetTexture(3, &bound), D3D_OK);
    EXPECT_EQ(bound, texture->m_texture);
    if (bound)
        bound->Release();
    device()->SetTexture(3, nullptr);
    delete texture;
}

// Without a companion every texel is opaque; a greyscale companion gives each
// texel its grey level as alpha, a colour one its blue channel.
TEST_F(TextureTest, AlphaComesFromTheCompanion)
{
    struct Case
    {
        const char* name;  // the colour file; the companion is name_alpha.jpg
        JpegKind kind;     // the companion's; Rgb with no colours: no companion
        std::vector<uint32_t> companion;
        std::vector<uint32_t> alphas;
    };
    const Case cases[] = {
        {"opaque.jpg", JpegKind::Rgb, {}, {255, 255, 255, 255}},
        {"grey.jpg", JpegKind::Grey, {0x00, 0x40, 0x80, 0xFF}, {0x00, 0x40, 0x80, 0xFF}},
        {"blue.jpg",
         JpegKind::Rgb,
         {0xFF0011, 0x00FF22, 0x123433, 0xFFFF44},
         {0x11, 0x22, 0x33, 0x44}},
    };
    for (const Case& testCase : cases)
    {
        SCOPED_TRACE(testCase.name);
        const std::string name = testCase.name;
        writeJpeg(name, blockPicture(2, 2, kColours), JpegKind::Rgb);
        if (!testCase.companion.empty())
            writeJpeg(name.substr(0, name.size() - 4) + "_alpha.jpg",
                      blockPicture(2, 2, testCase.companion), testCase.kind);
        Texture* texture = Texture::load(testCase.name, m_renderer);
        ASSERT_NE(texture, nullptr);
        expectQuadrants(texture, testCase.alphas);
        delete texture;
    }
    EXPECT_TRUE(m_boxes.boxes().empty());
}

// The companion's name drops the colour name's last four characters whatever
// they are and always ends in "_alpha.jpg", in that letter case.
TEST_F(TextureTest, CompanionNameReplacesTheLastFourCharacters)
{
    struct Case
    {
        const char* name;
        const char* companion;
        uint32_t alpha;
    };
    const Case cases[] = {
        {"tile.jpg", "tile_alpha.jpg", 77},
        {"tile.JPG", "tile_alpha.jpg", 77},
        {"tile.png", "tile_alpha.jpg", 77},
        {"tile.jpeg", "tile._alpha.jpg", 77},
        {"abcd", "_alpha.jpg", 77},
        {"tile.JPG", "tile_alpha.JPG", 255},
        {"tile.jpg", "tile.jpg_alpha.jpg", 255},
    };
    for (const Case& testCase : cases)
    {
        SCOPED_TRACE(testing::Message() << testCase.name << " with " << testCase.companion);
        writeJpeg(testCase.name, blockPicture(2, 2, kColours), JpegKind::Rgb);
        writeJpeg(testCase.companion, blockPicture(2, 2, {77, 77, 77, 77}), JpegKind::Grey);
        Texture* texture = Texture::load(testCase.name, m_renderer);
        ASSERT_NE(texture, nullptr);
        expectQuadrants(texture, std::vector<uint32_t>(4, testCase.alpha));
        delete texture;
        std::filesystem::remove(testCase.name);
        std::filesystem::remove(testCase.companion);
    }
}

// Names of 253 characters are the longest whose companion name (259
// characters) fits the 260-byte buffer; in the archive, where names may be
// that long, such a texture still finds its companion.
TEST_F(TextureTest, LongestNameFindsItsCompanionInTheArchive)
{
    const std::string stem(249, 'n');
    const std::string name = stem + ".jpg";
    const std::string companion = stem + "_alpha.jpg";
    ASSERT_EQ(name.size(), 253u);
    ASSERT_EQ(companion.size(), 259u);
    writeJpeg("colour", blockPicture(2, 2, kColours), JpegKind::Rgb);
    writeJpeg("alpha", blockPicture(2, 2, {1, 2, 3, 4}), JpegKind::Grey);
    ArchiveBuilder()
        .add(name, readText("colour"))
        .add(companion, readText("alpha"))
        .write("tarvo.fs", true);
    ReturnCode opened = FileSystem::open();
    ASSERT_TRUE(opened.succeeded());
    Texture* texture = Texture::load(name.c_str(), m_renderer);
    ASSERT_NE(texture, nullptr);
    expectQuadrants(texture, {1, 2, 3, 4});
    delete texture;
}

// The generated null textures are 8 x 8 pictures that decode to exactly
// white, grey 128 and black, and load from the archive as opaque textures of
// those levels: no companion is packed beside them.
#ifdef TARVO_NULL_TEXTURES
TEST_F(TextureTest, NullTexturesAreOpaqueWhiteGreyAndBlack)
{
    struct Case
    {
        const char* name;
        uint32_t level;
    };
    const Case cases[] = {
        {"null_white.jpg", 255},
        {"null_grey.jpg", 128},
        {"null_black.jpg", 0},
    };
    ArchiveBuilder archive;
    for (const Case& testCase : cases)
        archive.add(testCase.name,
                    readText(std::string(TARVO_NULL_TEXTURES) + "/" + testCase.name));
    archive.write("tarvo.fs", true);
    ReturnCode opened = FileSystem::open();
    ASSERT_TRUE(opened.succeeded());
    for (const Case& testCase : cases)
    {
        SCOPED_TRACE(testCase.name);
        const uint32_t grey = testCase.level * 0x010101u;
        File file;
        ReturnCode read = FileSystem::readFile(testCase.name, file);
        ASSERT_TRUE(read.succeeded());
        std::unique_ptr<Image> image = decodeJpeg(file.m_data, file.m_size);
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->width, 8);
        EXPECT_EQ(image->height, 8);
        for (int32_t i = 0; i < 64; ++i)
            EXPECT_EQ(image->pixels[size_t(i)], grey) << "pixel " << i;

        Texture* texture = Texture::load(testCase.name, m_renderer);
        ASSERT_NE(texture, nullptr);
        for (DWORD texel : readTexels(texture))
            ASSERT_EQ(texel, 0xFF000000u | grey);
        delete texture;
    }
}
#endif

// A missing colour file gives null after the file system's one message.
TEST_F(TextureTest, MissingFileGivesNullWithTheFileSystemsMessage)
{
    EXPECT_EQ(Texture::load("missing.jpg", m_renderer), nullptr);
    ASSERT_EQ(m_boxes.boxes().size(), 1u);
    EXPECT_EQ(m_boxes.boxes()[0].text, "missing.jpg: File not found.");
}

// A colour or companion file that is not a whole JPEG, a companion that
// cannot be read or is of another size: the load fails with one message
// naming the file at fault, as the file system's messages do, and the process
// goes on.
TEST_F(TextureTest, DamagedFilesFailTheLoadWithAMessage)
{
    std::vector<uint8_t> cut = encodeJpeg(blockPicture(2, 2, kColours), JpegKind::Rgb);
    cut.resize(cut.size() / 2);
    writeBytes("text.jpg", {'n', 'o', 't', ' ', 'J', 'P', 'E', 'G'});
    writeBytes("cut.jpg", cut);
    writeJpeg("paired.jpg", blockPicture(2, 2, kColours), JpegKind::Rgb);
    writeBytes("paired_alpha.jpg", cut);
    writeJpeg("small.jpg", blockPicture(2, 2, kColours), JpegKind::Rgb);
    writeJpeg("small_alpha.jpg", blockPicture(1, 2, {1, 2}), JpegKind::Grey);
    writeJpeg("empty.jpg", blockPicture(2, 2, kColours), JpegKind::Rgb);
    writeBytes("empty_alpha.jpg", {});

    const struct
    {
        const char* name;
        const char* message;
    } kCases[] = {
        {"text.jpg", "text.jpg: File is not a whole JPEG image."},
        {"cut.jpg", "cut.jpg: File is not a whole JPEG image."},
        {"paired.jpg", "paired_alpha.jpg: File is not a whole JPEG image."},
        {"small.jpg", "small_alpha.jpg: Alpha image is not the size of its colour image."},
        {"empty.jpg", "empty_alpha.jpg: File is empty."},
    };
    for (const auto& testCase : kCases)
    {
        SCOPED_TRACE(testCase.name);
        g_fatalErrorShown = false;
        MessageBoxRecorder boxes;
        EXPECT_EQ(Texture::load(testCase.name, m_renderer), nullptr);
        ASSERT_EQ(boxes.boxes().size(), 1u);
        EXPECT_EQ(boxes.boxes()[0].text, testCase.message);
    }
}

// Names shorter than 4 or longer than 253 characters are the program's own
// fault and end the process with their assertion before anything is read.
TEST_F(TextureTest, NamesOutsideTheLimitsFailTheirAssertion)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const std::string tooLong(254, 'n');
    const char* names[] = {"", "a.j", tooLong.c_str()};
    for (const char* name : names)
    {
        SCOPED_TRACE(strlen(name));
        EXPECT_DEATH(Texture::load(name, m_renderer),
                     "nameLength >= kExtensionLength && nameLength <= kMaxNameLength, "
                     "file Texture\\.cpp");
    }
    EXPECT_DEATH(Texture::load(nullptr, m_renderer), "nameLength >= kExtensionLength");
}
