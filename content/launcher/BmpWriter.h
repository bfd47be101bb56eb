// Writes Windows BMP files: 8-bit palettised pictures and 32-bit pictures with alpha, and
// 32-bit icons.
#pragma once

#include <string>

class Image;
struct PalettedImage;

class BmpWriter
{
public:
    // A BITMAPINFOHEADER file of 8 bits per pixel with the picture's palette; rows bottom-up,
    // each padded to a multiple of 4 bytes. On failure returns false and says why in a_error.
    static bool writePaletted(const PalettedImage& a_image, const std::string& a_path,
                              std::string& a_error);

    // A BITMAPV4HEADER file of 32 bits per pixel (blue, green, red, alpha bytes; straight alpha,
    // sRGB) whose bit-field masks include alpha, so that readers keep the transparency.
    static bool writeBgra(const Image& a_image, const std::string& a_path, std::string& a_error);

    // An .ico file of one 32-bit picture with alpha, for the Windows resource compiler: the
    // same rows as writeBgra after a BITMAPINFOHEADER of twice the height, then the 1-bit
    // mask of fully transparent pixels that icons carry.
    static bool writeIcon(const Image& a_image, const std::string& a_path, std::string& a_error);
};
