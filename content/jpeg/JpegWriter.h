// Writes RGB pictures as baseline JPEG files with libjpeg-turbo.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

// a_rgb holds a_width x a_height pixels of three bytes, top row first. Every
// component keeps full resolution (no chroma subsampling), so a channel of
// per-texel noise is not smeared into its neighbours. False, after a message
// on standard error, when the file cannot be written.
bool writeJpeg(const std::string& a_path, uint32_t a_width, uint32_t a_height,
               const std::vector<uint8_t>& a_rgb, int a_quality);
