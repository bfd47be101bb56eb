// FontRenderer's layout: UTF-8 text set as code points, and letter spacing added between letters only.
#include "FontRenderer.h"
#include "Mask.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

// Untested ideas: kerning pairs against the font's own table.

namespace
{

constexpr int kSize = 40;

}

// A character written as two UTF-8 bytes takes one glyph's advance, that of the font's
// glyph for it (in DejaVu Sans "é" advances as far as "e", "·" less far than "e"); a lone
// byte that starts no valid sequence stands for the Latin-1 character of that value.
TEST(FontRenderer, SetsUtf8AsCodePoints)
{
    FontRenderer font;
    std::string error;
    ASSERT_TRUE(font.open(TARVO_FONT, error)) << error;
    const float e = font.measure("e", kSize);
    const struct
    {
        const char* what;
        std::string text;
        float advance;
    } cases[] = {
        {"e acute, two bytes", "\xc3\xa9", e},
        {"e acute, a lone Latin-1 byte", "\xe9", e},
        {"lead byte cut short, then e",
         "\xc3"
         "e",
         font.measure("\xc3", kSize) + e},
        {"between words",
         "e\xc3\xa9"
         "e",
         3.0f * e},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        EXPECT_FLOAT_EQ(font.measure(c.text, kSize), c.advance);
    }
    EXPECT_LT(font.measure("\xc2\xb7", kSize), e);
}

// Tracking widens the text by one step per gap between letters, none before the first or
// after the last, and moves the drawn letters with it.
TEST(FontRenderer, TrackingGoesBetweenLetters)
{
    FontRenderer font;
    std::string error;
    ASSERT_TRUE(font.open(TARVO_FONT, error)) << error;
    const struct
    {
        std::string text;
        int gaps;
    } cases[] = {{"I", 0}, {"II", 1}, {"TARVO", 4}, {"A \xc2\xb7 B", 4}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.text);
        EXPECT_FLOAT_EQ(font.measure(c.text, kSize, 10.0f),
                        font.measure(c.text, kSize) + 10.0f * static_cast<float>(c.gaps));
    }
    // The second "I" of a tracked pair is drawn 10 pixels further right.
    const auto rightmostInk = [&](float a_tracking) {
        Mask mask(200, 60);
        font.draw(mask, "II", kSize, 10.0f, 50.0f, a_tracking);
        int rightmost = -1;
        for (int y = 0; y < mask.height(); ++y)
            for (int x = 0; x < mask.width(); ++x)
                if (mask.value(x, y) > 0.5f)
                    rightmost = std::max(rightmost, x);
        return rightmost;
    };
    EXPECT_EQ(rightmostInk(10.0f), rightmostInk(0.0f) + 10);
}
