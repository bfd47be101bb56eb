// A generated content image read back through the texture loader's JPEG decoder, with the measures the image tests take of it.
#pragma once

#include "render/Image.h"

#include <stdint.h>

#include <memory>
#include <string>

class DecodedImage
{
public:
    // Decodes a_file from the content folder; null image (and a test failure) when it is
    // missing or not a JPEG.
    explicit DecodedImage(const std::string& a_file);

    const Image* image() const { return m_image.get(); }
    int32_t width() const { return m_image->width; }
    int32_t height() const { return m_image->height; }

    // Rec. 601 luma of the pixel at (a_x, a_y), 0 to 255: what the Break filter weighs an
    // overlay by. One channel, 0 red to 2 blue.
    double luma(int32_t a_x, int32_t a_y) const;
    int channel(int32_t a_x, int32_t a_y, int a_channel) const;
    // The brightest channel over a rectangle (right and bottom excluded).
    int brightest(int32_t a_left, int32_t a_top, int32_t a_right, int32_t a_bottom) const;

    // The smallest rectangle holding every pixel of luma at least a_threshold inside the
    // rectangle a_left..a_right, a_top..a_bottom (right and bottom excluded), and how many there are.
    struct Box
    {
        int32_t left = 0, top = 0, right = 0,
                bottom = 0;  // right and bottom excluded; empty when count is 0
        int64_t count = 0;
        double centreX() const { return 0.5 * (left + right); }
        double centreY() const { return 0.5 * (top + bottom); }
    };
    Box bright(double a_threshold, int32_t a_left, int32_t a_top, int32_t a_right,
               int32_t a_bottom) const;
    Box bright(double a_threshold) const { return bright(a_threshold, 0, 0, width(), height()); }

private:
    std::unique_ptr<Image> m_image;
};
