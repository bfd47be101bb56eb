// Tests of BmpWriter: files it writes read back through SDL_LoadBMP pixel for pixel.
#include "BmpFile.h"

#include "BmpWriter.h"
#include "Image.h"
#include "PalettedImage.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <math.h>

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
