// A decoded picture, kept only while a texture is made from it: 8-bit red,
// green and blue per pixel, top row first.
#pragma once

#include <stdint.h>

#include <memory>

struct Image
{
    // A black image of a_width x a_height pixels, or null when either side is
    // not positive or the memory cannot be had.
    static std::unique_ptr<Image> create(int32_t a_width, int32_t a_height);

    uint32_t pixel(int32_t a_x, int32_t a_y) const { return pixels[size_t(a_y) * width + a_x]; }

    std::unique_ptr<uint32_t[]> pixels;  // width x height, each 0x00RRGGBB, left to right
    int32_t width = 0;
    int32_t height = 0;
};
