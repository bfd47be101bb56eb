// Tests of Quantiser: palettes built from the picture and error-diffused mapping onto them.
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

        const std::vector<Rgb> palette = Quantiser::buildPalette(image, 256);
        const std::set<Rgb> expected = [&] {
            std::set<Rgb> colours;
            for (int i = 0; i < count; ++i)
                colours.insert(distinct(i));
            return colours;
        }();
        EXPECT_EQ(palette.size(), static_cast<size_t>(count));
        EXPECT_EQ(std::set<Rgb>(palette.begin(), palette.end()), expected);

        const PalettedImage result = Quantiser::dither(image, palette);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 32; ++x)
                ASSERT_EQ(palette[result.indices[static_cast<size_t>(y * 32 + x)]],
                          distinct((y * 32 + x) % count))
                    << "pixel " << x << ", " << y;
    }
}

// A picture of more colours than allowed gets a palette of exactly the allowed size.
TEST(QuantiserTest, ManyColoursFillThePalette)
{
    Image image(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            image.at(x, y) = opaque(distinct(y * 64 + x));
    const size_t sizes[] = {1, 16, 256};
    for (const size_t size : sizes)
    {
        SCOPED_TRACE(std::to_string(size) + " entries");
        const std::vector<Rgb> palette = Quantiser::buildPalette(image, size);
        EXPECT_EQ(palette.size(), size);
        EXPECT_EQ(std::set<Rgb>(palette.begin(), palette.end()).size(), size);
    }
}

// Error diffusion keeps a grey ramp's local average between the colours of a coarse palette:
// each 16 x 16 block of the result averages within 1.5 levels of the same block of the source,
// where nearest-colour mapping alone would be off by up to half a palette step (8.5 levels).
TEST(QuantiserTest, DitheredRampKeepsItsLocalAverage)
{
    constexpr int kWidth = 512;
    constexpr int kHeight = 32;
    constexpr int kBlock = 16;
    std::vector<Rgb> greys;
    for (int i = 0; i < 16; ++i)
        greys.push_back({static_cast<uint8_t>(i * 17), static_cast<uint8_t>(i * 17),
                         static_cast<uint8_t>(i * 17)});
    Image image(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
        {
            const float level = static_cast<float>(x) / (kWidth - 1);
            image.at(x, y) = {level, level, level, 1.0f};
        }

    const PalettedImage result = Quantiser::dither(image, greys);
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
                    quantised += greys[result.indices[static_cast<size_t>(y * kWidth + x)]][0];
                }
            EXPECT_NEAR(quantised / (kBlock * kBlock), source / (kBlock * kBlock), 1.5);
        }
}
