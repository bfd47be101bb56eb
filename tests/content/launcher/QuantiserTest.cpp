// Tests of Quantiser: libimagequant's palettes for the launcher's pictures, and the pictures
// mapped onto them.
#include "Quantiser.h"

#include "Image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <math.h>
#include <set>

namespace
{

using Rgb = std::array<uint8_t, 3>;

Colour opaque(const Rgb& a_rgb)
{
    return {a_rgb[0] / 255.0f, a_rgb[1] / 255.0f, a_rgb[2] / 255.0f, 1.0f};
}

// The colour of distinct test colour a_index (of at most 4096).
Rgb distinct(int a_index)
{
    return {static_cast<uint8_t>((a_index % 16) * 17),
            static_cast<uint8_t>((a_index / 16 % 16) * 17),
            static_cast<uint8_t>((a_index / 256) * 17)};
}

// Every index of a_result names an entry of its palette, and the picture has a_image's size.
void expectWellFormed(const PalettedImage& a_result, const Image& a_image)
{
    ASSERT_EQ(a_result.width, a_image.width());
    ASSERT_EQ(a_result.height, a_image.height());
    ASSERT_EQ(a_result.indices.size(),
              static_cast<size_t>(a_image.width()) * static_cast<size_t>(a_image.height()));
    ASSERT_FALSE(a_result.palette.empty());
    for (const uint8_t index : a_result.indices)
        ASSERT_LT(index, a_result.palette.size());
}

}

// A picture of no more colours than the palette may hold gets exactly its colours, and every
// pixel maps onto its own colour with no dithering.
TEST(QuantiserTest, FewColoursAreKeptExactly)
{
    const int counts[] = {1, 2, 17, 255, 256};
    for (const int count : counts)
    {
        SCOPED_TRACE(std::to_string(count) + " colours");
        Image image(32, 16);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 32; ++x)
                image.at(x, y) = opaque(distinct((y * 32 + x) % count));

        PalettedImage result;
        std::string error;
        ASSERT_TRUE(Quantiser::quantise(image, 256, result, error)) << error;
        expectWellFormed(result, image);
        std::set<Rgb> expected;
        for (int i = 0; i < count; ++i)
            expected.insert(distinct(i));
        EXPECT_EQ(std::set<Rgb>(result.palette.begin(), result.palette.end()), expected);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 32; ++x)
                ASSERT_EQ(result.palette[result.indices[static_cast<size_t>(y * 32 + x)]],
                          distinct((y * 32 + x) % count))
                    << "pixel " << x << ", " << y;
    }
}

// A picture of more colours than allowed gets no more than the allowed number, and spends
// most of them.
TEST(QuantiserTest, ManyColoursStayWithinThePalette)
{
    Image image(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            image.at(x, y) = opaque(distinct(y * 64 + x));
    const int sizes[] = {2, 16, 256};
    for (const int size : sizes)
    {
        SCOPED_TRACE(std::to_string(size) + " entries");
        PalettedImage result;
        std::string error;
        ASSERT_TRUE(Quantiser::quantise(image, size, result, error)) << error;
        expectWellFormed(result, image);
        EXPECT_LE(result.palette.size(), static_cast<size_t>(size));
        EXPECT_GE(std::set<Rgb>(result.palette.begin(), result.palette.end()).size(),
                  static_cast<size_t>(size) * 3 / 4);
    }
}

// Error diffusion keeps a grey ramp's local average between the colours of a coarse palette:
// each 16 x 16 block of the result averages within 2 levels of the same block of the source
// (or of the palette's darkest or brightest grey, beyond which no mixture reaches), where
// nearest-colour mapping onto 16 greys would be off by up to half a step (8 levels).
TEST(QuantiserTest, DitheredRampKeepsItsLocalAverage)
{
    constexpr int kWidth = 512;
    constexpr int kHeight = 32;
    constexpr int kBlock = 16;
    Image image(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
        {
            const float level = static_cast<float>(x) / (kWidth - 1);
            image.at(x, y) = {level, level, level, 1.0f};
        }

    PalettedImage result;
    std::string error;
    ASSERT_TRUE(Quantiser::quantise(image, 16, result, error)) << error;
    expectWellFormed(result, image);
    double darkest = 255.0;
    double brightest = 0.0;
    for (const Rgb& colour : result.palette)
    {
        darkest = std::min(darkest, static_cast<double>(colour[0]));
        brightest = std::max(brightest, static_cast<double>(colour[0]));
    }
    for (int blockY = 0; blockY < kHeight; blockY += kBlock)
        for (int blockX = 0; blockX < kWidth; blockX += kBlock)
        {
            SCOPED_TRACE("block at " + std::to_string(blockX) + ", " + std::to_string(blockY));
            double source = 0.0;
            double quantised = 0.0;
            for (int y = blockY; y < blockY + kBlock; ++y)
                for (int x = blockX; x < blockX + kBlock; ++x)
                {
                    source += image.at(x, y).r * 255.0;
                    quantised +=
                        result.palette[result.indices[static_cast<size_t>(y * kWidth + x)]][0];
                }
            EXPECT_NEAR(quantised / (kBlock * kBlock),
                        std::clamp(source / (kBlock * kBlock), darkest, brightest), 2.0);
        }
}

// A palette size outside what an 8-bit picture holds is refused with a message, and the
// result is left as it was.
TEST(QuantiserTest, RefusesPaletteSizesAnIndexedPictureCannotHold)
{
    Image image(8, 8);
    const int sizes[] = {-1, 0, 1, 257, 1000};
    for (const int size : sizes)
    {
        SCOPED_TRACE(std::to_string(size) + " entries");
        PalettedImage result;
        result.width = 3;
        std::string error;
        EXPECT_FALSE(Quantiser::quantise(image, size, result, error));
        EXPECT_NE(error.find(std::to_string(size) + " colours"), std::string::npos) << error;
        EXPECT_EQ(result.width, 3);
    }
}
