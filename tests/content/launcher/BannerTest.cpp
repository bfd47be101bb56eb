// Tests of the generated launcher banner, read back as the program reads bitmap 103.
#include "Banner.h"
#include "BmpFile.h"
#include "FontRenderer.h"
#include "Image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <math.h>
#include <set>
#include <vector>

// Untested ideas: how the banner looks beside the dialog's controls (the end-to-end screenshot).

// The banner is a 400 x 150 BITMAPINFOHEADER file of 8 bits per pixel with a 256-colour palette,
// laid out as the Win32 documentation gives it, and SDL decodes it as a palettised surface.
TEST(BannerTest, IsAPalettisedWindowsBitmapOfTheDialogsSize)
{
    const BmpFile bmp(TARVO_BANNER_BMP);
    ASSERT_NE(bmp.surface(), nullptr) << SDL_GetError();

    EXPECT_EQ(bmp.headerSize(), 40u);
    EXPECT_EQ(bmp.width(), 400);
    EXPECT_EQ(bmp.height(), 150);
    EXPECT_EQ(bmp.bitCount(), 8u);
    EXPECT_EQ(bmp.compression(), 0u);  // BI_RGB
    EXPECT_EQ(bmp.coloursUsed(), 256u);
    EXPECT_EQ(bmp.pixelOffset(), 14u + 40u + 256u * 4u);
    // 400 bytes a row is already a multiple of 4: no padding.
    EXPECT_EQ(bmp.fileSize(), bmp.pixelOffset() + 400u * 150u);
    EXPECT_EQ(bmp.bytes().size(), bmp.fileSize());

    EXPECT_EQ(bmp.surface()->w, 400);
    EXPECT_EQ(bmp.surface()->h, 150);
    EXPECT_EQ(bmp.surface()->format->BitsPerPixel, 8);
    ASSERT_NE(bmp.surface()->format->palette, nullptr);
    EXPECT_EQ(bmp.surface()->format->palette->ncolors, 256);
}

// The picture spends its palette: at least 128 distinct colours appear in it.
TEST(BannerTest, UsesARichPalette)
{
    const BmpFile bmp(TARVO_BANNER_BMP);
    ASSERT_NE(bmp.surface(), nullptr) << SDL_GetError();

    std::set<uint32_t> colours;
    for (int y = 0; y < bmp.surface()->h; ++y)
        for (int x = 0; x < bmp.surface()->w; ++x)
        {
            const SDL_Color colour = bmp.colour(x, y);
            colours.insert(static_cast<uint32_t>(colour.r) << 16 |
                           static_cast<uint32_t>(colour.g) << 8 | colour.b);
        }
    EXPECT_GE(colours.size(), 128u);
}

// The picture is no flat colour: every row varies along its length, and the rows' brightness
// spans a wide range from top to bottom.
TEST(BannerTest, IsNotFlat)
{
    const BmpFile bmp(TARVO_BANNER_BMP);
    ASSERT_NE(bmp.surface(), nullptr) << SDL_GetError();

    std::vector<double> means;
    for (int y = 0; y < bmp.surface()->h; ++y)
    {
        SCOPED_TRACE("row " + std::to_string(y));
        double sum = 0.0;
        double squares = 0.0;
        for (int x = 0; x < bmp.surface()->w; ++x)
        {
            const double value = BmpFile::luma(bmp.colour(x, y));
            sum += value;
            squares += value * value;
        }
        const double mean = sum / bmp.surface()->w;
        const double deviation = sqrt(std::max(squares / bmp.surface()->w - mean * mean, 0.0));
        EXPECT_GT(deviation, 1.0);
        means.push_back(mean);
    }
    const auto [darkest, brightest] = std::minmax_element(means.begin(), means.end());
    EXPECT_GT(*brightest - *darkest, 64.0);
}

// The 256 colours keep the painted picture's look: averaged over 4 x 4 blocks, which is what
// the eye does with dithering, no block of the banner is further than 12 levels from the same
// block of the painting in any channel, and the blocks are 1.5 levels off on average.
TEST(BannerTest, KeepsThePaintedLook)
{
    const BmpFile bmp(TARVO_BANNER_BMP);
    ASSERT_NE(bmp.surface(), nullptr) << SDL_GetError();
    FontRenderer font;
    std::string error;
    ASSERT_TRUE(font.open(TARVO_LAUNCHER_FONT, error)) << error;
    const Image painted = Banner::paint(font);
    ASSERT_EQ(painted.width(), bmp.surface()->w);
    ASSERT_EQ(painted.height(), bmp.surface()->h);

    constexpr int kBlock = 4;
    double worst = 0.0;
    double total = 0.0;
    int blocks = 0;
    for (int blockY = 0; blockY + kBlock <= painted.height(); blockY += kBlock)
        for (int blockX = 0; blockX + kBlock <= painted.width(); blockX += kBlock)
        {
            double difference[3] = {0.0, 0.0, 0.0};
            for (int y = blockY; y < blockY + kBlock; ++y)
                for (int x = blockX; x < blockX + kBlock; ++x)
                {
                    const Colour& want = painted.at(x, y);
                    const SDL_Color got = bmp.colour(x, y);
                    difference[0] += got.r - std::clamp(want.r, 0.0f, 1.0f) * 255.0;
                    difference[1] += got.g - std::clamp(want.g, 0.0f, 1.0f) * 255.0;
                    difference[2] += got.b - std::clamp(want.b, 0.0f, 1.0f) * 255.0;
                }
            for (const double channel : difference)
            {
                const double off = fabs(channel) / (kBlock * kBlock);
                worst = std::max(worst, off);
                total += off / 3.0;
            }
            ++blocks;
        }
    EXPECT_LE(worst, 12.0);
    EXPECT_LE(total / blocks, 1.5);
}
