// Reduces an opaque floating-point picture to 256 colours without visible banding.
#pragma once

#include "PalettedImage.h"

#include <stddef.h>

class Image;

class Quantiser
{
public:
    // A palette of at most a_count colours for a_image, made by median cut (the box with the
    // largest summed squared error is split at the median of its widest channel) and refined by
    // a few k-means passes. A picture with no more than a_count distinct 8-bit colours gets
    // exactly those colours.
    static std::vector<std::array<uint8_t, 3>> buildPalette(const Image& a_image, size_t a_count);

    // a_image mapped to its nearest colours of a_palette, with Floyd-Steinberg error diffusion
    // along serpentine rows so that smooth gradients dither instead of banding.
    static PalettedImage dither(const Image& a_image,
                                const std::vector<std::array<uint8_t, 3>>& a_palette);

    // Both steps, with a palette of 256 colours.
    static PalettedImage quantise(const Image& a_image);
};
