// The texture tests' JPEG writer.
#include "render/TestJpeg.h"

#include "support/ArchiveBuilder.h"

#include <stdio.h>  // jpeglib.h uses FILE and size_t without including them

#include <jpeglib.h>

#include <stdlib.h>

TestPicture blockPicture(int32_t a_columns, int32_t a_rows, const std::vector<uint32_t>& a_colours)
{
    TestPicture picture;
    picture.width = a_columns * 8;
    picture.height = a_rows * 8;
    picture.pixels.resize(size_t(picture.width) * picture.height);
    for (int32_t y = 0; y < picture.height; ++y)
    {
        for (int32_t x = 0; x < picture.width; ++x)
            picture.pixels[size_t(y) * picture.width + x] =
                a_colours[size_t(y / 8) * a_columns + x / 8];
    }
    return picture;
}

std::vector<uint8_t> encodeJpeg(const TestPicture& a_picture, JpegKind a_kind, int a_quality)
{
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(a_picture.width);
    info.image_height = JDIMENSION(a_picture.height);
    switch (a_kind)
    {
    case JpegKind::Grey:
        info.input_components = 1;
        info.in_color_space = JCS_GRAYSCALE;
        break;
    case JpegKind::Cmyk:
        info.input_components = 4;
        info.in_color_space = JCS_CMYK;
        break;
    default:
        info.input_components = 3;
        info.in_color_space = JCS_RGB;
        break;
    }
    jpeg_set_defaults(&info);
    if (a_kind == JpegKind::Rgb || a_kind == JpegKind::ProgressiveRgb)
        jpeg_set_colorspace(&info, JCS_RGB);
    if (a_kind == JpegKind::ProgressiveRgb)
        jpeg_simple_progression(&info);
    jpeg_set_quality(&info, a_quality, TRUE);
    jpeg_start_compress(&info, TRUE);

    const int components = info.input_components;
    std::vector<JSAMPLE> row(size_t(a_picture.width) * components);
    while (info.next_scanline < info.image_height)
    {
        const int32_t y = int32_t(info.next_scanline);
        for (int32_t x = 0; x < a_picture.width; ++x)
        {
            const uint32_t pixel = a_picture.at(x, y);
            JSAMPLE* samples = &row[size_t(x) * components];
            if (components == 1)
            {
                samples[0] = JSAMPLE(pixel & 0xFF);
                continue;
            }
            samples[0] = JSAMPLE(pixel >> 16 & 0xFF);
            samples[1] = JSAMPLE(pixel >> 8 & 0xFF);
            samples[2] = JSAMPLE(pixel & 0xFF);
            if (components == 4)
                samples[3] = 0;
        }
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<uint8_t> bytes(buffer, buffer + size);
    free(buffer);
    return bytes;
}

void writeJpeg(const std::string& a_path, const TestPicture& a_picture, JpegKind a_kind)
{
    writeBytes(a_path, encodeJpeg(a_picture, a_kind));
}
