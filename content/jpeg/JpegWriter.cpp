// JPEG writing.
#include "JpegWriter.h"

#include <stdio.h>

#include <jpeglib.h>

// libjpeg's default error handler prints its message and exits with a
// failure, which stops the build.
bool writeJpeg(const std::string& a_path, uint32_t a_width, uint32_t a_height,
               const std::vector<uint8_t>& a_rgb, int a_quality)
{
    FILE* file = fopen(a_path.c_str(), "wb");
    if (!file)
    {
        fprintf(stderr, "image_generator: cannot write %s\n", a_path.c_str());
        return false;
    }
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = a_width;
    info.image_height = a_height;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, a_quality, TRUE);
    for (int component = 0; component < info.num_components; ++component)
    {
        info.comp_info[component].h_samp_factor = 1;
        info.comp_info[component].v_samp_factor = 1;
    }
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height)
    {
        JSAMPROW row = const_cast<JSAMPROW>(&a_rgb[size_t(info.next_scanline) * a_width * 3]);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    if (fclose(file) != 0)
    {
        fprintf(stderr, "image_generator: cannot write %s\n", a_path.c_str());
        return false;
    }
    return true;
}
