// The zlib-only PNG writer of the Windows build: what it writes reads back
// through libpng, pixel for pixel, at sizes whose rows are not a multiple of
// four bytes; a picture of the wrong size or a path that cannot be written
// is refused and leaves no file.
#include "PngWriter.h"
#include "support/TemporaryFolder.h"

#include <png.h>
#include <string.h>

#include <filesystem>

#include <gtest/gtest.h>

namespace
{

bool readBack(const std::string& a_path, uint32_t* a_width, uint32_t* a_height,
              std::vector<uint8_t>* a_rgb)
{
    png_image image;
    memset(&image, 0, sizeof(image));
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, a_path.c_str()))
        return false;
    image.format = PNG_FORMAT_RGB;
    a_rgb->resize(PNG_IMAGE_SIZE(image));
    *a_width = image.width;
    *a_height = image.height;
    return png_image_finish_read(&image, nullptr, a_rgb->data(), 0, nullptr) != 0;
}

}  // namespace

TEST(ZlibPngWriterTest, WrittenPicturesReadBackThroughLibpng)
{
    TemporaryFolder folder;
    const struct
    {
        uint32_t width, height;
    } sizes[] = {{1, 1}, {3, 2}, {17, 5}, {640, 360}};
    for (const auto& size : sizes)
    {
        SCOPED_TRACE(testing::Message() << size.width << " x " << size.height);
        std::vector<uint8_t> rgb(size_t(size.width) * size.height * 3);
        for (size_t i = 0; i < rgb.size(); ++i)
            rgb[i] = uint8_t((i * 2654435761u) >> 13);
        const std::string path = folder.file("picture.png");
        ASSERT_TRUE(writePng(path, size.width, size.height, rgb));
        uint32_t width = 0;
        uint32_t height = 0;
        std::vector<uint8_t> read;
        ASSERT_TRUE(readBack(path, &width, &height, &read));
        EXPECT_EQ(width, size.width);
        EXPECT_EQ(height, size.height);
        EXPECT_EQ(read, rgb);
    }
}

TEST(ZlibPngWriterTest, RefusesAPictureOfTheWrongSizeAndAnUnwritablePath)
{
    TemporaryFolder folder;
    const std::string path = folder.file("picture.png");
    EXPECT_FALSE(writePng(path, 4, 4, std::vector<uint8_t>(4 * 4 * 3 - 1)));
    EXPECT_FALSE(writePng(path, 0, 4, {}));
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_FALSE(writePng(folder.file("missing/picture.png"), 1, 1, {1, 2, 3}));
}
