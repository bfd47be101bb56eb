// The box filter of texture levels: each texel the truncated integer mean of
// the 2^level x 2^level pixels it covers, alpha from the companion's blue or
// 255, written only within the level and the locked size.
//
// Untested: 64-bit sums at n = 8192 (a 256 MB picture).
#include "render/BoxFilter.h"

#include <gtest/gtest.h>

#include <string.h>

#include <memory>
#include <vector>

namespace
{

std::unique_ptr<Image> makeImage(int32_t a_width, int32_t a_height,
                                 const std::vector<uint32_t>& a_pixels)
{
    std::unique_ptr<Image> image = Image::create(a_width, a_height);
    EXPECT_NE(image, nullptr);
    if (image)
        memcpy(image->pixels.get(), a_pixels.data(), a_pixels.size() * sizeof(uint32_t));
    return image;
}

// D3D9 stores an A8R8G8B8 texel as the bytes blue, green, red, alpha.
uint32_t texelAt(const std::vector<uint8_t>& a_bytes, size_t a_offset)
{
    return uint32_t(a_bytes[a_offset]) | uint32_t(a_bytes[a_offset + 1]) << 8 |
           uint32_t(a_bytes[a_offset + 2]) << 16 | uint32_t(a_bytes[a_offset + 3]) << 24;
}

const uint8_t kUntouched = 0xAB;

}

// Each channel's mean truncates: 1, 1, 1, 0 gives 0, not 1 (0.75 rounded),
// and alpha is averaged from the companion's blue alone.
TEST(BoxFilter, AveragesTruncate)
{
    struct Case
    {
        const char* name;
        int32_t side;
        uint32_t level;
        std::vector<uint32_t> colour;
        std::vector<uint32_t> alpha;  // empty: no companion
        uint32_t texel;
    };
    const Case cases[] = {
        {"reds 1, 1, 1, 0", 2, 1, {0x010000, 0x010000, 0x010000, 0x000000}, {}, 0xFF000000},
        {"greens 3, 3, 3, 2", 2, 1, {0x000300, 0x000300, 0x000300, 0x000200}, {}, 0xFF000200},
        {"blues 255, 255, 255, 254",
         2,
         1,
         {0x0000FF, 0x0000FF, 0x0000FF, 0x0000FE},
         {},
         0xFF0000FE},
        {"alpha blues 1, 1, 1, 0 under red and green 255",
         2,
         1,
         {0, 0, 0, 0},
         {0xFFFF01, 0xFFFF01, 0xFFFF01, 0xFFFF00},
         0x00000000},
        {"exact means",
         2,
         1,
         {0x102030, 0x203040, 0x304050, 0x405060},
         {0x10, 0x20, 0x30, 0x48},
         0x2A283848},
        {"reds 0 to 15 over 16 pixels at level 2",
         4,
         2,
         {0x000000, 0x010000, 0x020000, 0x030000, 0x040000, 0x050000, 0x060000, 0x070000, 0x080000,
          0x090000, 0x0A0000, 0x0B0000, 0x0C0000, 0x0D0000, 0x0E0000, 0x0F0000},
         {},
         0xFF070000},
    };
    for (const Case& testCase : cases)
    {
        SCOPED_TRACE(testCase.name);
        std::unique_ptr<Image> colour = makeImage(testCase.side, testCase.side, testCase.colour);
        std::unique_ptr<Image> alpha;
        if (!testCase.alpha.empty())
            alpha = makeImage(testCase.side, testCase.side, testCase.alpha);
        std::vector<uint8_t> bytes(4, kUntouched);
        boxFilter(*colour, alpha.get(), testCase.level, bytes.data(), 4, 1, 1);
        EXPECT_EQ(texelAt(bytes, 0), testCase.texel);
    }
}

// Level 0 copies every pixel with its alpha into rows of the given pitch, as
// A8R8G8B8 texels, and leaves each row's padding alone.
TEST(BoxFilter, LevelZeroCopiesPixelsIntoPitchedRows)
{
    const std::vector<uint32_t> colours = {0x123456, 0xABCDEF, 0x000001,
                                           0xFF0000, 0x00FF00, 0x0000FF};
    const std::vector<uint32_t> alphas = {0x000000, 0x0000FF, 0xFFFF80,
                                          0x000001, 0x0000FE, 0x00007F};
    std::unique_ptr<Image> colour = makeImage(3, 2, colours);
    std::unique_ptr<Image> alpha = makeImage(3, 2, alphas);
    const int32_t pitch = 16;
    for (bool withAlpha : {false, true})
    {
        SCOPED_TRACE(withAlpha ? "with alpha" : "opaque");
        std::vector<uint8_t> bytes(2 * pitch, kUntouched);
        boxFilter(*colour, withAlpha ? alpha.get() : nullptr, 0, bytes.data(), pitch, 3, 2);
        for (size_t y = 0; y < 2; ++y)
        {
            for (size_t x = 0; x < 3; ++x)
            {
                const uint32_t opacity = withAlpha ? (alphas[y * 3 + x] & 0xFF) : 255;
                EXPECT_EQ(texelAt(bytes, y * pitch + x * 4), opacity << 24 | colours[y * 3 + x]);
            }
            for (size_t padding = 12; padding < size_t(pitch); ++padding)
                EXPECT_EQ(bytes[y * pitch + padding], kUntouched);
        }
    }
}

// A level has (width / n) x (height / n) texels, truncated, and no more than
// the locked size takes; nothing outside them is written.
TEST(BoxFilter, WritesOnlyTheLevelWithinTheLockedSize)
{
    struct Case
    {
        const char* name;
        int32_t width;
        int32_t height;
        uint32_t level;
        uint32_t lockedWidth;
        uint32_t lockedHeight;
        uint32_t columns;  // written
        uint32_t rows;
    };
    const Case cases[] = {
        {"4 x 2 at level 1", 4, 2, 1, 4, 4, 2, 1},
        {"4 x 2 at level 2: no rows", 4, 2, 2, 4, 4, 1, 0},
        {"5 x 3 at level 1", 5, 3, 1, 4, 4, 2, 1},
        {"level 31", 4, 4, 31, 4, 4, 0, 0},
        {"level 40", 4, 4, 40, 4, 4, 0, 0},
        {"locked 1 x 1 of 4 x 4", 4, 4, 0, 1, 1, 1, 1},
        {"locked 2 x 3 of 4 x 4", 4, 4, 0, 2, 3, 2, 3},
    };
    for (const Case& testCase : cases)
    {
        SCOPED_TRACE(testCase.name);
        std::unique_ptr<Image> colour =
            makeImage(testCase.width, testCase.height,
                      std::vector<uint32_t>(size_t(testCase.width) * testCase.height, 0x204060));
        const int32_t pitch = 4 * 4;
        std::vector<uint8_t> bytes(4 * pitch, kUntouched);
        boxFilter(*colour, nullptr, testCase.level, bytes.data(), pitch, testCase.lockedWidth,
                  testCase.lockedHeight);
        for (uint32_t y = 0; y < 4; ++y)
        {
            for (uint32_t x = 0; x < 4; ++x)
            {
                const bool written = x < testCase.columns && y < testCase.rows;
                EXPECT_EQ(texelAt(bytes, y * pitch + x * 4), written ? 0xFF204060u : 0xABABABABu)
                    << "at " << x << ", " << y;
            }
        }
    }
}

// An alpha picture of another size than the colour picture is refused before
// any read of it.
TEST(BoxFilter, AlphaOfAnotherSizeFailsItsAssertion)
{
    std::unique_ptr<Image> colour = makeImage(2, 2, {0, 0, 0, 0});
    std::unique_ptr<Image> narrower = makeImage(1, 2, {0, 0});
    std::unique_ptr<Image> taller = makeImage(2, 3, {0, 0, 0, 0, 0, 0});
    uint8_t bytes[16] = {};
    EXPECT_DEATH(boxFilter(*colour, narrower.get(), 0, bytes, 8, 2, 2),
                 "a_alpha->width == a_colour\\.width.*file BoxFilter\\.cpp");
    EXPECT_DEATH(boxFilter(*colour, taller.get(), 0, bytes, 8, 2, 2),
                 "a_alpha->height == a_colour\\.height.*file BoxFilter\\.cpp");
}
