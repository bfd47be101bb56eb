// The overlays the Break filter blends in where they are bright: full-frame pictures of light on black, their text where the audience looks for it.
#include "DecodedImage.h"

#include <gtest/gtest.h>

#include <math.h>
#include <stdlib.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

// Untested ideas: how the overlays read once torn by Break over a running scene (the demo's
// screenshots show that).

namespace
{

// The frame the overlays are stretched over, and what counts as "lit": weighed by the filter
// with this luma, a pixel above it covers the picture by more than half.
constexpr int32_t kWidth = 1280;
constexpr int32_t kHeight = 720;
constexpr double kLit = 160.0;

const char* const kOverlays[] = {"title1.jpg",   "title2.jpg",  "title3.jpg", "go.jpg",
                                 "jump.jpg",     "step.jpg",    "holdit.jpg", "logo.jpg",
                                 "credits1.jpg", "credits2.jpg"};

}

// Every overlay fills the frame, is black (no overlay) in its corners and along its top and
// bottom edges, and lights a part of it (not nothing, not most of it) balanced about the
// frame's vertical centre line.
TEST(OverlayImages, LightOnBlackCentredInTheFrame)
{
    for (const char* file : kOverlays)
    {
        SCOPED_TRACE(file);
        const DecodedImage overlay(file);
        ASSERT_NE(overlay.image(), nullptr);
        ASSERT_EQ(overlay.width(), kWidth);
        ASSERT_EQ(overlay.height(), kHeight);

        constexpr int32_t kCorner = 48;
        EXPECT_LE(overlay.brightest(0, 0, kCorner, kCorner), 8);
        EXPECT_LE(overlay.brightest(kWidth - kCorner, 0, kWidth, kCorner), 8);
        EXPECT_LE(overlay.brightest(0, kHeight - kCorner, kCorner, kHeight), 8);
        EXPECT_LE(overlay.brightest(kWidth - kCorner, kHeight - kCorner, kWidth, kHeight), 8);
        EXPECT_LE(overlay.brightest(0, 0, kWidth, 16), 12);
        EXPECT_LE(overlay.brightest(0, kHeight - 16, kWidth, kHeight), 12);

        const DecodedImage::Box lit = overlay.bright(kLit);
        const double share = double(lit.count) / (kWidth * kHeight);
        EXPECT_GT(share, 0.01);
        EXPECT_LT(share, 0.35);
        EXPECT_NEAR(lit.centreX(), kWidth / 2, 16.0);
    }
}

// A flashed word fills the middle of the frame: its lit rows are centred on the frame's middle
// row, it is large (the capitals at least a quarter of the frame's height), and it stands out
// alone: the frame's top and bottom fifths stay dark.
TEST(OverlayImages, BeatWordsAreLargeAndCentred)
{
    const struct
    {
        const char* file;
        int32_t minimumWidth;  // of the lit letters, pixels: longer words run wider
    } words[] = {{"go.jpg", 400}, {"jump.jpg", 600}, {"step.jpg", 600}, {"holdit.jpg", 700}};
    for (const auto& word : words)
    {
        SCOPED_TRACE(word.file);
        const DecodedImage overlay(word.file);
        ASSERT_NE(overlay.image(), nullptr);
        // The letters alone: the lines of light beside them run to the frame's edges, so only
        // the middle half of the frame's width is measured for the letters' height, and only
        // columns lit over more rows than the thin lines light for their width.
        const DecodedImage::Box letters =
            overlay.bright(kLit, kWidth / 4, 0, 3 * kWidth / 4, kHeight);
        EXPECT_NEAR(letters.centreY(), kHeight / 2, 12.0);
        EXPECT_GE(letters.bottom - letters.top, kHeight / 4);
        int32_t left = kWidth, right = 0;
        for (int32_t x = 0; x < kWidth; ++x)
            if (overlay.bright(kLit, x, letters.top, x + 1, letters.bottom).count > 30)
            {
                left = std::min(left, x);
                right = x + 1;
            }
        EXPECT_GE(right - left, word.minimumWidth);
        EXPECT_NEAR(0.5 * (left + right), kWidth / 2, 16.0);
        EXPECT_EQ(overlay.bright(kLit, 0, 0, kWidth, kHeight / 5).count, 0);
        EXPECT_EQ(overlay.bright(kLit, 0, 4 * kHeight / 5, kWidth, kHeight).count, 0);
    }
}

// The three title cards shown one after another are three different pictures, and the credits
// pages are two: a card written twice would show the same text on two beats.
TEST(OverlayImages, CardsInASequenceDiffer)
{
    const std::vector<std::vector<const char*>> sequences = {
        {"title1.jpg", "title2.jpg", "title3.jpg"},
        {"credits1.jpg", "credits2.jpg"},
        {"go.jpg", "jump.jpg", "step.jpg", "holdit.jpg"}};
    for (const auto& sequence : sequences)
        for (size_t i = 0; i < sequence.size(); ++i)
            for (size_t j = i + 1; j < sequence.size(); ++j)
            {
                SCOPED_TRACE(std::string(sequence[i]) + " against " + sequence[j]);
                const DecodedImage first(sequence[i]);
                const DecodedImage second(sequence[j]);
                ASSERT_NE(first.image(), nullptr);
                ASSERT_NE(second.image(), nullptr);
                int64_t differing = 0;
                for (int32_t y = 0; y < kHeight; y += 2)
                    for (int32_t x = 0; x < kWidth; x += 2)
                        differing += fabs(first.luma(x, y) - second.luma(x, y)) > 64.0;
                EXPECT_GT(differing, int64_t(kWidth / 2) * (kHeight / 2) / 50);
            }
}

// The credits are read, not glanced at: each page holds a heading and at least four further
// lines of text, separate bands of lit rows with dark rows between them, all clear of the
// frame's sides.
TEST(OverlayImages, CreditsAreLinesOfText)
{
    for (const char* file : {"credits1.jpg", "credits2.jpg"})
    {
        SCOPED_TRACE(file);
        const DecodedImage page(file);
        ASSERT_NE(page.image(), nullptr);
        // Text set in white reaches full brightness in its strokes.
        int bands = 0;
        bool inBand = false;
        for (int32_t y = 0; y < kHeight; ++y)
        {
            const bool lit = page.bright(220.0, 0, y, kWidth, y + 1).count > 0;
            bands += lit && !inBand;
            inBand = lit;
        }
        EXPECT_GE(bands, 5);
        const DecodedImage::Box text = page.bright(kLit);
        EXPECT_GE(text.left, 32);
        EXPECT_LE(text.right, kWidth - 32);
    }
}
