// PNG files through libpng's simplified API.
#include "PngWriter.h"

#include <png.h>

#include <stdio.h>
#include <string.h>

bool writePng(const std::string& a_path, uint32_t a_width, uint32_t a_height,
              const std::vector<uint8_t>& a_rgb)
{
    if (a_rgb.size() != size_t(a_width) * size_t(a_height) * 3)
    {
        fprintf(stderr, "%s: the picture is not %u x %u\n", a_path.c_str(), a_width, a_height);
        return false;
    }
    png_image image;
    memset(&image, 0, sizeof(image));
    image.version = PNG_IMAGE_VERSION;
    image.width = a_width;
    image.height = a_height;
    image.format = PNG_FORMAT_RGB;
    if (!png_image_write_to_file(&image, a_path.c_str(), 0, a_rgb.data(), 0, nullptr))
    {
        fprintf(stderr, "%s: %s\n", a_path.c_str(), image.message);
        return false;
    }
    return true;
}
