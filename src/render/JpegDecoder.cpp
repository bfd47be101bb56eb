// JPEG decoding over libjpeg-turbo. libjpeg's default error handler prints
// and calls exit(); ours jumps back to decodeJpeg instead, which then
// destroys the decompressor with every buffer libjpeg allocated.
#include "render/JpegDecoder.h"

#include <setjmp.h>
#include <stdio.h>  // jpeglib.h uses FILE and size_t without including them

#include <jpeglib.h>

#include <utility>

namespace
{

// jpeg_error_mgr comes first, so libjpeg's pointer to it points to the whole.
struct ErrorManager
{
    jpeg_error_mgr base;
    jmp_buf jump;
};

// Everything that must stay valid after a jump back into readJpeg lives in
// the caller's frame: the jump skips no destructors, and readJpeg's own
// variables are not used after it.
struct Decoding
{
    jpeg_decompress_struct info;
    ErrorManager errors;
    std::unique_ptr<Image> image;
};

[[noreturn]] void jumpBack(j_common_ptr a_info)
{
    ErrorManager* errors = reinterpret_cast<ErrorManager*>(a_info->err);
    longjmp(errors->jump, 1);
}

// Warnings (corrupt data, a file cut short) are only counted; readJpeg judges
// them at the end. Nothing is printed.
void stayQuiet(j_common_ptr) {}

bool readJpeg(Decoding* a_decoding, const uint8_t* a_data, uint32_t a_size)
{
    jpeg_decompress_struct* info = &a_decoding->info;
    if (setjmp(a_decoding->errors.jump) != 0)
        return false;
    jpeg_create_decompress(info);
    jpeg_mem_src(info, a_data, a_size);
    if (jpeg_read_header(info, TRUE) != JPEG_HEADER_OK)
        return false;
    if (info->image_width > kMaxJpegSide || info->image_height > kMaxJpegSide)
        return false;
    // libjpeg converts YCbCr to RGB and expands greyscale; any other colour
    // space (CMYK) fails as an error.
    info->out_color_space = JCS_RGB;
    jpeg_start_decompress(info);
    if (info->output_components != 3)
        return false;
    a_decoding->image = Image::create(static_cast<int32_t>(info->output_width),
                                      static_cast<int32_t>(info->output_height));
    if (!a_decoding->image)
        return false;

    Image& image = *a_decoding->image;
    // From libjpeg's pool: freed with the decompressor on every path.
    JSAMPARRAY row = (*info->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(info), JPOOL_IMAGE,
                                                info->output_width * 3, 1);
    // A warning already fails the picture, so decoding stops at the first: a
    // file cut short after a header that promises 8192 x 8192 pixels costs
    // no time for the rows libjpeg would make up.
    while (info->output_scanline < info->output_height)
    {
        uint32_t* pixels = image.pixels.get() + size_t(info->output_scanline) * image.width;
        if (jpeg_read_scanlines(info, row, 1) != 1 || info->err->num_warnings != 0)
            return false;
        const JSAMPLE* samples = row[0];
        for (int32_t x = 0; x < image.width; ++x, samples += 3)
            pixels[x] = uint32_t(samples[0]) << 16 | uint32_t(samples[1]) << 8 | samples[2];
    }
    jpeg_finish_decompress(info);
    return info->err->num_warnings == 0;
}

}

std::unique_ptr<Image> decodeJpeg(const uint8_t* a_data, uint32_t a_size)
{
    if (!a_data || a_size == 0)
        return nullptr;
    // Zeroed, so that destroying is safe however early creation failed.
    Decoding decoding{};
    decoding.info.err = jpeg_std_error(&decoding.errors.base);
    decoding.errors.base.error_exit = jumpBack;
    decoding.errors.base.output_message = stayQuiet;
    const bool decoded = readJpeg(&decoding, a_data, a_size);
    jpeg_destroy_decompress(&decoding.info);
    if (!decoded)
        return nullptr;
    return std::move(decoding.image);
}
