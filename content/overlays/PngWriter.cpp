// Writes RGB pictures as PNG files with libpng: the contact sheets kept in the documentation.
#include "PngWriter.h"

#include "core/Assert.h"

#include <png.h>

#include <cstddef>

bool PngWriter::write(const std::string& a_path, int a_width, int a_height, const std::vector<std::uint8_t>& a_rgb,
                      std::string& a_error)
{
    TARVO_ASSERT(a_width > 0 && a_height > 0 &&
                 a_rgb.size() == static_cast<std::size_t>(a_width) * static_cast<std::size_t>(a_height) * 3);
    // libpng's simplified API reports through the image's message instead of longjmp.
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(a_width);
    image.height = static_cast<png_uint_32>(a_height);
    image.format = PNG_FORMAT_RGB;
    if (!png_image_write_to_file(&image, a_path.c_str(), 0, a_rgb.data(), a_width * 3, nullptr))
    {
        a_error = "cannot write '" + a_path + "': " + image.message;
        return false;
    }
    return true;
}
