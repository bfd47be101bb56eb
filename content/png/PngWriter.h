// Writes 8-bit RGB pictures as PNG files with libpng.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

// a_rgb holds a_width x a_height pixels of three bytes, top row first. False,
// after a message on standard error, when the file cannot be written.
bool writePng(const std::string& a_path, uint32_t a_width, uint32_t a_height,
              const std::vector<uint8_t>& a_rgb);
