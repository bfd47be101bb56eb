// Tests of the generated program icon, read back as the program reads icon 106.
#include "BmpFile.h"

#include <gtest/gtest.h>

#include <algorithm>

// The icon is a 16 x 16, 32-bit BITMAPV4HEADER file whose bit fields include an alpha mask, so
// that SDL decodes it into a surface with alpha.
TEST(IconTest, IsA32BitBitmapWithAlpha)
{
    const BmpFile bmp(TARVO_ICON_BMP);
    ASSERT_NE(bmp.surface(), nullptr) << SDL_GetError();

    EXPECT_EQ(bmp.headerSize(), 108u);
    EXPECT_EQ(bmp.width(), 16);
    EXPECT_EQ(bmp.height(), 16);
    EXPECT_EQ(bmp.bitCount(), 32u);
    EXPECT_EQ(bmp.compression(), 3u);  // BI_BITFIELDS
    EXPECT_EQ(bmp.alphaMask(), 0xff000000u);
    EXPECT_EQ(bmp.fileSize(), 14u + 108u + 16u * 16u * 4u);
    EXPECT_EQ(bmp.bytes().size(), bmp.fileSize());

    EXPECT_EQ(bmp.surface()->w, 16);
    EXPECT_EQ(bmp.surface()->h, 16);
    EXPECT_EQ(bmp.surface()->format->BitsPerPixel, 32);
    EXPECT_NE(bmp.surface()->format->Amask, 0u);
}

// The emblem is a tile with rounded corners: the corner pixels are fully transparent and the
// middle of the tile fully opaque.
TEST(IconTest, HasTransparentCornersAndAnOpaqueTile)
{
    const BmpFile bmp(TARVO_ICON_BMP);
    ASSERT_NE(bmp.surface(), nullptr) << SDL_GetError();

    const int corners[][2] = {{0, 0}, {15, 0}, {0, 15}, {15, 15}};
    for (const auto& corner : corners)
    {
        SCOPED_TRACE("corner " + std::to_string(corner[0]) + ", " + std::to_string(corner[1]));
        EXPECT_EQ(bmp.colour(corner[0], corner[1]).a, 0);
    }
    for (int y = 2; y < 14; ++y)
        for (int x = 2; x < 14; ++x)
        {
            SCOPED_TRACE("pixel " + std::to_string(x) + ", " + std::to_string(y));
            EXPECT_EQ(bmp.colour(x, y).a, 255);
        }
}

// The emblem reads at 16 px: its opaque pixels run from dark to light.
TEST(IconTest, HasStrongContrast)
{
    const BmpFile bmp(TARVO_ICON_BMP);
    ASSERT_NE(bmp.surface(), nullptr) << SDL_GetError();

    double darkest = 255.0;
    double brightest = 0.0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
        {
            const SDL_Color colour = bmp.colour(x, y);
            if (colour.a != 255)
                continue;
            darkest = std::min(darkest, BmpFile::luma(colour));
            brightest = std::max(brightest, BmpFile::luma(colour));
        }
    EXPECT_GT(brightest - darkest, 160.0);
}
