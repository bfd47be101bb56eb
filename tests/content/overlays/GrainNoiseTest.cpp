// The grain noise "smnoise.jpg": grey, fine-grained, of full contrast, and seamless where it wraps.
#include "DecodedImage.h"

#include <gtest/gtest.h>

#include <math.h>
#include <stdlib.h>

#include <vector>

namespace
{

constexpr int32_t kSide = 256;

// The correlation of the grey levels of pixel pairs (x, y) and (x + a_dx, y + a_dy), wrapping
// at the edges, over the pairs whose first pixel lies in the column range or row range given.
double correlation(const DecodedImage& a_noise, int a_dx, int a_dy, int32_t a_firstX,
                   int32_t a_lastX, int32_t a_firstY, int32_t a_lastY)
{
    double sumA = 0, sumB = 0, sumAB = 0, sumAA = 0, sumBB = 0;
    int64_t count = 0;
    for (int32_t y = a_firstY; y <= a_lastY; ++y)
        for (int32_t x = a_firstX; x <= a_lastX; ++x)
        {
            const double a = a_noise.channel(x, y, 1);
            const double b = a_noise.channel((x + a_dx) % kSide, (y + a_dy) % kSide, 1);
            sumA += a;
            sumB += b;
            sumAB += a * b;
            sumAA += a * a;
            sumBB += b * b;
            ++count;
        }
    const double n = double(count);
    return (sumAB - sumA * sumB / n) / sqrt((sumAA - sumA * sumA / n) * (sumBB - sumB * sumB / n));
}

}

// The texture is 256 x 256 grey levels around mid-grey with a wide spread.
TEST(GrainNoise, GreyOfFullContrast)
{
    const DecodedImage noise("smnoise.jpg");
    ASSERT_NE(noise.image(), nullptr);
    ASSERT_EQ(noise.width(), kSide);
    ASSERT_EQ(noise.height(), kSide);
    double sum = 0, squares = 0;
    for (int32_t y = 0; y < kSide; ++y)
        for (int32_t x = 0; x < kSide; ++x)
        {
            EXPECT_NEAR(noise.channel(x, y, 0), noise.channel(x, y, 1), 4) << x << ", " << y;
            EXPECT_NEAR(noise.channel(x, y, 2), noise.channel(x, y, 1), 4) << x << ", " << y;
            sum += noise.channel(x, y, 1);
            squares += noise.channel(x, y, 1) * noise.channel(x, y, 1);
        }
    const double mean = sum / (kSide * kSide);
    EXPECT_NEAR(mean, 127.5, 8.0);
    EXPECT_GT(sqrt(squares / (kSide * kSide) - mean * mean), 40.0);
}

// Neighbours are alike (the grain is a texel or two across) but pixels a few texels apart are
// not (it is fine); and across the wrap, from the last column to the first and the last row
// to the first, neighbours are as alike as inside the tile, so repeats show no seam.
TEST(GrainNoise, FineAndSeamless)
{
    const DecodedImage noise("smnoise.jpg");
    ASSERT_NE(noise.image(), nullptr);
    const double inside = correlation(noise, 1, 0, 0, kSide - 2, 0, kSide - 1);
    EXPECT_GT(inside, 0.2);
    EXPECT_LT(fabs(correlation(noise, 4, 0, 0, kSide - 5, 0, kSide - 1)), 0.1);

    const struct
    {
        const char* what;
        int dx, dy;
        int32_t firstX, lastX, firstY, lastY;
    } cases[] = {
        {"rows inside", 0, 1, 0, kSide - 1, 0, kSide - 2},
        {"last column to first", 1, 0, kSide - 1, kSide - 1, 0, kSide - 1},
        {"last row to first", 0, 1, 0, kSide - 1, kSide - 1, kSide - 1},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        EXPECT_NEAR(correlation(noise, c.dx, c.dy, c.firstX, c.lastX, c.firstY, c.lastY), inside,
                    0.15);
    }
}
