// Tests of BmpWriter: files it writes read back through SDL_LoadBMP pixel for pixel.
#include "BmpFile.h"

#include "BmpWriter.h"
#include "Image.h"
#include "PalettedImage.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <math.h>
#include <stdio.h>

// 8-bit pictures of every row length modulo 4 read back with their indices and palette: rows
// are bottom-up and padded to a multiple of 4 bytes, as the BMP format lays them out.
TEST(BmpWriterTest, PalettedPicturesReadBackExactly)
{
    const struct
    {
        int width;
        int height;
        int colours;
    } cases[] = {
        {1, 1, 1},    // smallest picture, 3 padding bytes
        {2, 3, 4},    // 2 padding bytes
        {3, 2, 8},    // 1 padding byte
        {4, 2, 8},    // no padding
        {5, 3, 16},   // one byte into the next group of 4
        {7, 2, 256},  // full palette
    };
    const TemporaryFolder folder;
    for (const auto& testCase : cases)
    {
        SCOPED_TRACE(std::to_string(testCase.width) + " x " + std::to_string(testCase.height));
        PalettedImage image;
        image.width = testCase.width;
        image.height = testCase.height;
        for (int i = 0; i < testCase.colours; ++i)
            image.palette.push_back({static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i),
                                     static_cast<uint8_t>((i * 37) % 256)});
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x)
                image.indices.push_back(static_cast<uint8_t>((x * 3 + y * 5) % testCase.colours));

        const std::string path = folder.file("picture.bmp");
        std::string error;
        ASSERT_TRUE(BmpWriter::writePaletted(image, path, error)) << error;

        const BmpFile bmp(path);
        ASSERT_NE(bmp.surface(), nullptr) << SDL_GetError();
        const uint32_t stride = (static_cast<uint32_t>(testCase.width) + 3u) / 4u * 4u;
        EXPECT_EQ(bmp.bytes().size(), 14u + 40u + 4u * testCase.colours + stride * testCase.height);
        EXPECT_EQ(bmp.fileSize(), bmp.bytes().size());
        EXPECT_EQ(bmp.coloursUsed(), static_cast<uint32_t>(testCase.colours));
        ASSERT_EQ(bmp.surface()->format->BitsPerPixel, 8);
        ASSERT_EQ(bmp.surface()->w, testCase.width);
        ASSERT_EQ(bmp.surface()->h, testCase.height);
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x)
            {
                SCOPED_TRACE("pixel " + std::to_string(x) + ", " + std::to_string(y));
                const uint8_t index = image.indices[static_cast<size_t>(y * image.width + x)];
                EXPECT_EQ(bmp.pixel(x, y), index);
                const SDL_Color colour = bmp.colour(x, y);
                EXPECT_EQ(colour.r, image.palette[index][0]);
                EXPECT_EQ(colour.g, image.palette[index][1]);
                EXPECT_EQ(colour.b, image.palette[index][2]);
            }
    }
}

// 32-bit pictures read back with straight alpha: a premultiplied pixel (c * a, a) comes out as
// (c, a), rounded to bytes, and fully transparent pixels keep alpha 0.
TEST(BmpWriterTest, AlphaPicturesReadBackUnpremultiplied)
{
    // Straight colours; the picture holds them premultiplied.
    const struct
    {
        float r, g, b, a;
        SDL_Color expected;
    } pixels[2][3] = {
        {{1.0f, 0.5f, 0.0f, 1.0f, {255, 128, 0, 255}},
         {0.0f, 0.0f, 1.0f, 0.5f, {0, 0, 255, 128}},
         {0.0f, 0.0f, 0.0f, 0.0f, {0, 0, 0, 0}}},
        {{0.2f, 0.4f, 0.6f, 0.25f, {51, 102, 153, 64}},
         {1.0f, 1.0f, 1.0f, 1.0f, {255, 255, 255, 255}},
         {0.0f, 1.0f, 0.0f, 0.75f, {0, 255, 0, 191}}},
    };
    Image image(3, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
        {
            const auto& pixel = pixels[y][x];
            image.at(x, y) =
                Colour{pixel.r * pixel.a, pixel.g * pixel.a, pixel.b * pixel.a, pixel.a};
        }

    const TemporaryFolder folder;
    const std::string path = folder.file("icon.bmp");
    std::string error;
    ASSERT_TRUE(BmpWriter::writeBgra(image, path, error)) << error;

    const BmpFile bmp(path);
    ASSERT_NE(bmp.surface(), nullptr) << SDL_GetError();
    ASSERT_NE(bmp.surface()->format->Amask, 0u);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
        {
            SCOPED_TRACE("pixel " + std::to_string(x) + ", " + std::to_string(y));
            const SDL_Color colour = bmp.colour(x, y);
            const SDL_Color& expected = pixels[y][x].expected;
            EXPECT_EQ(colour.a, expected.a);
            if (expected.a == 0)
                continue;
            EXPECT_EQ(colour.r, expected.r);
            EXPECT_EQ(colour.g, expected.g);
            EXPECT_EQ(colour.b, expected.b);
        }
}

// An icon holds the 32-bit rows of the BMP writer behind the ICONDIR layout, with a header of
// twice the height, and then the AND mask with a bit set exactly where a pixel is fully
// transparent. 33 pixels a row cross a 32-bit boundary of the mask's padded rows.
TEST(BmpWriterTest, IconsHoldTheBmpRowsAndAMaskOfTransparentPixels)
{
    Image image(33, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 33; ++x)
        {
            // Transparent where x + y is a multiple of 4, and at the last column.
            const float alpha =
                (x + y) % 4 == 0 || x == 32 ? 0.0f : 0.5f + 0.01f * static_cast<float>(x);
            image.at(x, y) = Colour{0.3f * alpha, 0.6f * alpha, 0.9f * alpha, alpha};
        }
    const TemporaryFolder folder;
    std::string error;
    ASSERT_TRUE(BmpWriter::writeIcon(image, folder.file("tarvo.ico"), error)) << error;
    ASSERT_TRUE(BmpWriter::writeBgra(image, folder.file("tarvo.bmp"), error)) << error;
    const BmpFile bmp(folder.file("tarvo.bmp"));

    FILE* file = fopen(folder.file("tarvo.ico").c_str(), "rb");
    ASSERT_NE(file, nullptr);
    std::vector<uint8_t> ico(4096);
    ico.resize(fread(ico.data(), 1, ico.size(), file));
    fclose(file);
    auto u16 = [&](size_t a_at) {
        return uint32_t(ico[a_at] | ico[a_at + 1] << 8);
    };
    auto u32 = [&](size_t a_at) {
        return u16(a_at) | u16(a_at + 2) << 16;
    };

    const size_t pixelBytes = 4u * 33u * 3u;
    const size_t maskStride = 8;  // 33 bits padded to two 32-bit words
    ASSERT_EQ(ico.size(), 6u + 16u + 40u + pixelBytes + maskStride * 3u);
    EXPECT_EQ(u16(0), 0u);   // reserved
    EXPECT_EQ(u16(2), 1u);   // an icon
    EXPECT_EQ(u16(4), 1u);   // one picture
    EXPECT_EQ(ico[6], 33u);  // width
    EXPECT_EQ(ico[7], 3u);   // height
    EXPECT_EQ(u16(12), 32u);
    EXPECT_EQ(u32(14), ico.size() - 22u);  // bytes of the picture
    EXPECT_EQ(u32(18), 22u);               // where it starts
    EXPECT_EQ(u32(22), 40u);               // BITMAPINFOHEADER
    EXPECT_EQ(u32(26), 33u);
    EXPECT_EQ(u32(30), 6u);  // colour rows and mask rows
    EXPECT_EQ(u16(36), 32u);
    EXPECT_EQ(u32(38), 0u);  // BI_RGB

    const std::vector<uint8_t> rows(bmp.bytes().begin() + bmp.pixelOffset(), bmp.bytes().end());
    EXPECT_EQ(std::vector<uint8_t>(ico.begin() + 62, ico.begin() + 62 + long(pixelBytes)), rows);
    const size_t mask = 62 + pixelBytes;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 33; ++x)
        {
            SCOPED_TRACE("pixel " + std::to_string(x) + ", " + std::to_string(y));
            // Bottom-up rows, the leftmost pixel in the top bit.
            const uint8_t byte = ico[mask + size_t(2 - y) * maskStride + size_t(x) / 8];
            const bool transparent = (byte >> (7 - x % 8)) & 1;
            EXPECT_EQ(transparent, (x + y) % 4 == 0 || x == 32);
        }
}

// A file that cannot be created is an error that names it, for both kinds of picture.
TEST(BmpWriterTest, UnwritablePathIsAnError)
{
    const TemporaryFolder folder;
    const std::string path = folder.file("missing/picture.bmp");
    PalettedImage paletted;
    paletted.width = 1;
    paletted.height = 1;
    paletted.palette = {{0, 0, 0}};
    paletted.indices = {0};
    std::string error;
    EXPECT_FALSE(BmpWriter::writePaletted(paletted, path, error));
    EXPECT_NE(error.find(path), std::string::npos) << error;

    error.clear();
    EXPECT_FALSE(BmpWriter::writeBgra(Image(1, 1), path, error));
    EXPECT_NE(error.find(path), std::string::npos) << error;
}
