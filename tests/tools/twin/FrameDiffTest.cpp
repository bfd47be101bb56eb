// The frame twin's comparison: the largest and mean channel differences, the
// pixels counted as differing only beyond the step and, with a reach, only
// where no pixel near them matches, and the amplified difference picture
// clamped to 255.
#include "FrameDiff.h"

#include <gtest/gtest.h>

TEST(FrameDiffTest, CountsPixelsBeyondTheStepAndAmplifiesTheDifferences)
{
    // Four pixels: equal; one channel 3 apart; one 40 apart the other way
    // round; all three channels 200 apart.
    const std::vector<uint8_t> first = {10, 20, 30, 10, 20, 30, 100, 100, 100, 0, 0, 0};
    const std::vector<uint8_t> second = {10, 20, 30, 10, 23, 30, 100, 60, 100, 200, 200, 200};
    const struct
    {
        uint32_t step;
        uint32_t gain;
        uint64_t differing;
        std::vector<uint8_t> picture;
    } cases[] = {
        {0, 1, 3, {0, 0, 0, 0, 3, 0, 0, 40, 0, 200, 200, 200}},
        {3, 1, 2, {0, 0, 0, 0, 3, 0, 0, 40, 0, 200, 200, 200}},  // 3 apart is within a step of 3
        {40, 8, 1, {0, 0, 0, 0, 24, 0, 0, 255, 0, 255, 255, 255}},
        {200, 2, 0, {0, 0, 0, 0, 6, 0, 0, 80, 0, 255, 255, 255}},
    };
    for (const auto& test : cases)
    {
        SCOPED_TRACE(testing::Message() << "step " << test.step << ", gain " << test.gain);
        const FrameDiff diff(first, second, 4, 1, test.step, 0, test.gain);
        EXPECT_EQ(diff.m_pixels, 4u);
        EXPECT_EQ(diff.m_largest, 200u);
        EXPECT_DOUBLE_EQ(diff.m_mean, (3.0 + 40.0 + 600.0) / 12.0);
        EXPECT_EQ(diff.m_differing, test.differing);
        EXPECT_EQ(diff.m_picture, test.picture);
    }
}

TEST(FrameDiffTest, EqualPicturesHaveNoDifference)
{
    std::vector<uint8_t> picture(3 * 64);
    for (size_t i = 0; i < picture.size(); ++i)
        picture[i] = uint8_t(i * 7);
    const FrameDiff diff(picture, picture, 8, 8, 0, 1, 255);
    EXPECT_EQ(diff.m_largest, 0u);
    EXPECT_EQ(diff.m_differing, 0u);
    EXPECT_DOUBLE_EQ(diff.m_mean, 0.0);
    EXPECT_EQ(diff.m_picture, std::vector<uint8_t>(picture.size(), 0));
}

// With a reach of one pixel an edge moved by one pixel matches, while a spot
// that only one picture has, or an edge moved by two, still differs, seen
// from either picture.
TEST(FrameDiffTest, AReachForgivesEdgesMovedByLessThanIt)
{
    // Rows of five grey pixels, 0 or 200 in every channel.
    const auto row = [](std::initializer_list<uint8_t> a_values) {
        std::vector<uint8_t> rgb;
        for (uint8_t value : a_values)
            rgb.insert(rgb.end(), {value, value, value});
        return rgb;
    };
    const struct
    {
        const char* name;
        std::vector<uint8_t> first, second;
        uint64_t sameOnly, withReach;
    } cases[] = {
        {"edge moved by one", row({0, 0, 200, 200, 200}), row({0, 200, 200, 200, 200}), 1, 0},
        {"edge moved by two", row({0, 0, 0, 200, 200}), row({0, 200, 200, 200, 200}), 2, 2},
        {"spot in the second only", row({0, 0, 0, 0, 0}), row({0, 0, 200, 0, 0}), 1, 1},
        {"spot in the first only", row({0, 0, 200, 0, 0}), row({0, 0, 0, 0, 0}), 1, 1},
    };
    for (const auto& test : cases)
    {
        SCOPED_TRACE(test.name);
        EXPECT_EQ(FrameDiff(test.first, test.second, 5, 1, 16, 0, 1).m_differing, test.sameOnly);
        EXPECT_EQ(FrameDiff(test.first, test.second, 5, 1, 16, 1, 1).m_differing, test.withReach);
    }
}
