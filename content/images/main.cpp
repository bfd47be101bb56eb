// Writes the shared textures "null_white.jpg", "null_grey.jpg" and
// "null_black.jpg" into the content folder named on the command line.
//
// Each is an 8 x 8 picture of one grey level, as a baseline JPEG at quality
// 100: every quantiser is 1, a uniform block has only its DC term, and white,
// grey and black have no colour difference, so each decodes to exactly its
// level.
#include <stdint.h>
#include <stdio.h>

#include <jpeglib.h>

#include <string>
#include <vector>

namespace
{

struct NullTexture
{
    const char* name;
    uint8_t level;
};

const NullTexture kNullTextures[] = {
    {"null_white.jpg", 255},
    {"null_grey.jpg", 128},
    {"null_black.jpg", 0},
};

constexpr JDIMENSION kSide = 8;

// libjpeg's default error handler prints its message and exits with a
// failure, which stops the build.
bool writeUniformJpeg(const std::string& a_path, uint8_t a_level)
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
    info.image_width = kSide;
    info.image_height = kSide;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 100, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(kSide * 3, a_level);
    JSAMPROW rows[] = {row.data()};
    while (info.next_scanline < info.image_height)
        jpeg_write_scanlines(&info, rows, 1);
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    if (fclose(file) != 0)
    {
        fprintf(stderr, "image_generator: cannot write %s\n", a_path.c_str());
        return false;
    }
    return true;
}

}

int main(int a_argc, char** a_argv)
{
    if (a_argc != 2)
    {
        fprintf(stderr, "usage: image_generator CONTENT_FOLDER\n");
        return 2;
    }
    for (const NullTexture& texture : kNullTextures)
    {
        if (!writeUniformJpeg(std::string(a_argv[1]) + "/" + texture.name, texture.level))
            return 1;
    }
    return 0;
}
