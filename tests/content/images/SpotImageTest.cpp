// The spot image as the program decodes it: light in the middle of each
// window pane, dark on the bars, and black all along the border, so the
// wrapping the spot pass samples with never shows a second spot.
#include "SpotImage.h"

#include "render/JpegDecoder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace
{

int brightest(uint32_t a_pixel)
{
    return std::max({int((a_pixel >> 16) & 0xFF), int((a_pixel >> 8) & 0xFF), int(a_pixel & 0xFF)});
}

}  // namespace

TEST(SpotImageTest, PanesBarsAndADarkBorder)
{
    const std::string path = std::string(TARVO_CONTENT_FILES) + "/spot.jpg";
    std::ifstream file(path, std::ios::binary);
    ASSERT_TRUE(file) << path;
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                     std::istreambuf_iterator<char>());
    const std::unique_ptr<Image> image = decodeJpeg(bytes.data(), uint32_t(bytes.size()));
    ASSERT_NE(image, nullptr);
    ASSERT_EQ(image->width, int32_t(SpotImage::kSide));
    ASSERT_EQ(image->height, int32_t(SpotImage::kSide));

    const int32_t side = image->width;
    const struct
    {
        const char* what;
        double u, v;
        int low, high;
    } cases[] = {
        {"pane", 0.4, 0.4, 200, 255},
        {"pane", 0.62, 0.38, 200, 255},
        {"cross bar", 0.5, 0.4, 0, 60},
        {"cross bar", 0.38, 0.5, 0, 60},
        {"ring", 0.5 + 0.3 * 0.7071, 0.5 + 0.3 * 0.7071, 0, 60},
        {"beyond the rim", 0.05, 0.5, 0, 3},
        {"corner", 0.02, 0.02, 0, 3},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        const int value = brightest(image->pixel(int32_t(c.u * side), int32_t(c.v * side)));
        EXPECT_GE(value, c.low);
        EXPECT_LE(value, c.high);
    }
    for (int32_t i = 0; i < side; ++i)
    {
        EXPECT_LE(brightest(image->pixel(i, 0)), 3) << i;
        EXPECT_LE(brightest(image->pixel(0, i)), 3) << i;
        EXPECT_LE(brightest(image->pixel(i, side - 1)), 3) << i;
        EXPECT_LE(brightest(image->pixel(side - 1, i)), 3) << i;
    }
}
