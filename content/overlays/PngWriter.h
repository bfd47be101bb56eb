// Writes RGB pictures as PNG files with libpng: the contact sheets kept in the documentation.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class PngWriter
{
public:
    // a_rgb holds a_width x a_height pixels of three bytes, top row first. False, with the
    // reason in a_error, when the file cannot be written.
    static bool write(const std::string& a_path, int a_width, int a_height, const std::vector<std::uint8_t>& a_rgb,
                      std::string& a_error);
};
