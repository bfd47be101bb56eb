// The loading bar's segment texture: white-hot along its middle, fading to black at its top and bottom, darker at its sides.
#include "DecodedImage.h"

#include <gtest/gtest.h>

#include <math.h>

// Untested ideas: the bar as drawn by the loading screen (the demo sequence's tests read it back).

// The segments stretch the texture over 23 x 8 to 72 pixels: what must survive is the bright
// middle row, black at the ends (so that a segment's top and bottom melt into the black frame)
// and the same look above and below the middle.
TEST(LoadBarTexture, BrightMiddleDarkEnds)
{
    const DecodedImage bar("loadbar.jpg");
    ASSERT_NE(bar.image(), nullptr);
    ASSERT_EQ(bar.width(), 32);
    ASSERT_EQ(bar.height(), 128);
    const int32_t middleX = bar.width() / 2;
    const int32_t middleY = bar.height() / 2;

    EXPECT_GE(bar.luma(middleX, middleY), 235.0);
    EXPECT_GE(bar.luma(middleX, middleY - 1), 235.0);
    EXPECT_LE(bar.brightest(0, 0, bar.width(), 2), 12);
    EXPECT_LE(bar.brightest(0, bar.height() - 2, bar.width(), bar.height()), 12);
    // From the middle outwards the bar only darkens, and mirrors itself about its middle.
    for (int32_t offset = 1; offset < middleY; ++offset)
    {
        SCOPED_TRACE(offset);
        EXPECT_LE(bar.luma(middleX, middleY - 1 - offset),
                  bar.luma(middleX, middleY - offset) + 6.0);
        EXPECT_NEAR(bar.luma(middleX, middleY - 1 - offset), bar.luma(middleX, middleY + offset),
                    10.0);
    }
    // Each segment shows only its left 6 pixels under the next: its darker side edges part
    // the bar into columns.
    EXPECT_LT(bar.luma(0, middleY), 0.6 * bar.luma(middleX, middleY));
    EXPECT_LT(bar.luma(bar.width() - 1, middleY), 0.6 * bar.luma(middleX, middleY));
}
