// A generated content image read back through the texture loader's JPEG decoder, with the measures the image tests take of it.
#include "DecodedImage.h"

#include "render/JpegDecoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <vector>

DecodedImage::DecodedImage(const std::string& a_file)
{
    const std::string path = std::string(TARVO_CONTENT_FILES) + "/" + a_file;
    std::ifstream file(path, std::ios::binary);
    EXPECT_TRUE(file) << path;
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                     std::istreambuf_iterator<char>());
    m_image = decodeJpeg(bytes.data(), uint32_t(bytes.size()));
    EXPECT_NE(m_image, nullptr) << path;
}

int DecodedImage::channel(int32_t a_x, int32_t a_y, int a_channel) const
{
    return int((m_image->pixel(a_x, a_y) >> (16 - 8 * a_channel)) & 0xFF);
}

double DecodedImage::luma(int32_t a_x, int32_t a_y) const
{
    return 0.299 * channel(a_x, a_y, 0) + 0.587 * channel(a_x, a_y, 1) +
           0.114 * channel(a_x, a_y, 2);
}

int DecodedImage::brightest(int32_t a_left, int32_t a_top, int32_t a_right, int32_t a_bottom) const
{
    int result = 0;
    for (int32_t y = a_top; y < a_bottom; ++y)
        for (int32_t x = a_left; x < a_right; ++x)
            for (int c = 0; c < 3; ++c)
                result = std::max(result, channel(x, y, c));
    return result;
}

DecodedImage::Box DecodedImage::bright(double a_threshold, int32_t a_left, int32_t a_top,
                                       int32_t a_right, int32_t a_bottom) const
{
    Box box;
    box.left = a_right;
    box.top = a_bottom;
    for (int32_t y = a_top; y < a_bottom; ++y)
        for (int32_t x = a_left; x < a_right; ++x)
            if (luma(x, y) >= a_threshold)
            {
                box.left = std::min(box.left, x);
                box.right = std::max(box.right, x + 1);
                box.top = std::min(box.top, y);
                box.bottom = std::max(box.bottom, y + 1);
                ++box.count;
            }
    if (box.count == 0)
        box = Box{};
    return box;
}
