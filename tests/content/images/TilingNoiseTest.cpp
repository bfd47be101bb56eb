// The "Break" filter's noise: the function repeats every 256 texels both
// ways, and "noise2.jpg" as the program decodes it wraps without a seam, uses
// the whole range in every channel and keeps its channels independent.
#include "TilingNoise.h"

#include "render/JpegDecoder.h"

#include <gtest/gtest.h>

#include <math.h>
#include <stdlib.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace
{

constexpr int32_t kSide = TilingNoise::kSide;

std::unique_ptr<Image> decodeNoise()
{
    const std::string path = std::string(TARVO_CONTENT_FILES) + "/noise2.jpg";
    std::ifstream file(path, std::ios::binary);
    EXPECT_TRUE(file) << path;
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                     std::istreambuf_iterator<char>());
    return decodeJpeg(bytes.data(), uint32_t(bytes.size()));
}

int channel(uint32_t a_pixel, int a_channel)
{
    return int((a_pixel >> (16 - 8 * a_channel)) & 0xFF);
}

}

// Shifting by a whole tile in x, y or both gives the same value, at texel
// centres and between them; shifting by part of a tile does not.
TEST(TilingNoise, RepeatsEveryTile)
{
    const TilingNoise noise(7);
    for (double y = -3.25; y < 300.0; y += 17.5)
        for (double x = -5.75; x < 300.0; x += 13.125)
        {
            SCOPED_TRACE(testing::Message() << x << ", " << y);
            const double value = noise.smooth(x, y);
            EXPECT_EQ(noise.smooth(x + kSide, y), value);
            EXPECT_EQ(noise.smooth(x, y - kSide), value);
            EXPECT_EQ(noise.smooth(x + 2 * kSide, y + kSide), value);
            EXPECT_EQ(noise.white(int32_t(x) + kSide, int32_t(y) - 3 * kSide),
                      noise.white(int32_t(x), int32_t(y)));
        }
    int differ = 0;
    for (int32_t i = 0; i < 64; ++i)
        differ += noise.smooth(i * 3.5, 10.0) != noise.smooth(i * 3.5 + kSide / 2, 10.0);
    EXPECT_GT(differ, 60);
}

// Across the image's wrap (last column to first, last row to first) each
// channel changes no more than between neighbours inside the image: a tiled
// picture shows no seam. The smooth channels change little between
// neighbours, the white one a lot.
TEST(TilingNoise, ImageWrapsWithoutSeam)
{
    std::unique_ptr<Image> image = decodeNoise();
    ASSERT_NE(image, nullptr);
    ASSERT_EQ(image->width, kSide);
    ASSERT_EQ(image->height, kSide);
    const char* names[3] = {"red (smooth)", "green (smooth)", "blue (white)"};
    for (int c = 0; c < 3; ++c)
    {
        SCOPED_TRACE(names[c]);
        double inside = 0.0, seam = 0.0;
        for (int32_t i = 0; i < kSide; ++i)
        {
            seam += abs(channel(image->pixel(kSide - 1, i), c) - channel(image->pixel(0, i), c));
            seam += abs(channel(image->pixel(i, kSide - 1), c) - channel(image->pixel(i, 0), c));
            for (int32_t j = 0; j + 1 < kSide; ++j)
            {
                inside += abs(channel(image->pixel(j, i), c) - channel(image->pixel(j + 1, i), c));
                inside += abs(channel(image->pixel(i, j), c) - channel(image->pixel(i, j + 1), c));
            }
        }
        inside /= 2.0 * kSide * (kSide - 1);
        seam /= 2.0 * kSide;
        EXPECT_LT(seam, inside * 1.5 + 1.0) << "inside " << inside;
        if (c < 2)
            EXPECT_LT(inside, 12.0);
        else
            EXPECT_GT(inside, 60.0);
    }
}

// Every channel reaches near 0 and 255 with its mean near the middle, and the
// channels are not copies of each other.
TEST(TilingNoise, ChannelsUseTheRangeIndependently)
{
    std::unique_ptr<Image> image = decodeNoise();
    ASSERT_NE(image, nullptr);
    double sums[3] = {}, products[3] = {};
    int lowest[3] = {255, 255, 255}, highest[3] = {0, 0, 0};
    for (int32_t y = 0; y < image->height; ++y)
        for (int32_t x = 0; x < image->width; ++x)
        {
            const uint32_t pixel = image->pixel(x, y);
            for (int c = 0; c < 3; ++c)
            {
                const int value = channel(pixel, c);
                sums[c] += value;
                lowest[c] = std::min(lowest[c], value);
                highest[c] = std::max(highest[c], value);
                const int next = channel(pixel, (c + 1) % 3);
                products[c] += (value - 127.5) * (next - 127.5);
            }
        }
    const double count = double(kSide) * kSide;
    for (int c = 0; c < 3; ++c)
    {
        SCOPED_TRACE(testing::Message() << "channel " << c);
        EXPECT_LE(lowest[c], 12);
        EXPECT_GE(highest[c], 243);
        EXPECT_NEAR(sums[c] / count, 127.5, 25.0);
        // Covariance with the next channel, against a variance of a few
        // hundred to several thousand.
        EXPECT_LT(fabs(products[c] / count), 250.0);
    }
}
