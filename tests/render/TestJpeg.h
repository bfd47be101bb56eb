// JPEG files for the texture tests, written with libjpeg-turbo. At quality
// 100 every quantiser is 1, so a picture made of 8 x 8 blocks of one colour
// each decodes to exactly its colours when its file stores red, green and
// blue (or grey) without conversion.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

struct TestPicture
{
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> pixels;  // 0x00RRGGBB, top row first

    uint32_t at(int32_t a_x, int32_t a_y) const { return pixels[size_t(a_y) * width + a_x]; }
};

enum class JpegKind
{
    Grey,  // one channel: each pixel's blue
    Rgb,   // red, green and blue stored as they are
    ProgressiveRgb,
    YCbCr,  // JFIF's usual colour file, chroma halved both ways
    Cmyk,   // red, green, blue and 0 as the four inks
};

// a_columns x a_rows blocks of 8 x 8 pixels, a_colours given row by row.
TestPicture blockPicture(int32_t a_columns, int32_t a_rows, const std::vector<uint32_t>& a_colours);

std::vector<uint8_t> encodeJpeg(const TestPicture& a_picture, JpegKind a_kind, int a_quality = 100);

// Writes the JPEG of a_picture to a_path.
void writeJpeg(const std::string& a_path, const TestPicture& a_picture, JpegKind a_kind);
