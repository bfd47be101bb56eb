// JPEG files decoded into images with libjpeg-turbo.
#pragma once

#include "render/Image.h"

#include <stdint.h>

#include <memory>

// The widest and tallest picture decodeJpeg accepts, in pixels: more than
// Direct3D 9 hardware takes as one texture, and a damaged header cannot make
// the decoder ask for more than 256 MB of pixels.
constexpr uint32_t kMaxJpegSide = 8192;

// Decodes the a_size bytes of a JPEG file into 8-bit red, green and blue per
// pixel; greyscale files come out grey. Null for anything that is not a
// whole, undamaged JPEG of at most kMaxJpegSide pixels a side: libjpeg's
// errors and its warnings about corrupt or missing data alike. Never reads
// outside a_data.
std::unique_ptr<Image> decodeJpeg(const uint8_t* a_data, uint32_t a_size);
