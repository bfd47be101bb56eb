// Reduces an opaque floating-point picture to a palette of at most 256 colours without visible
// banding, with libimagequant.
#pragma once

#include "PalettedImage.h"

#include <string>

class Image;

class Quantiser
{
public:
    // The palette libimagequant chooses for a_image, of at most a_colours (2 to 256) colours,
    // and a_image mapped onto it with error diffusion, so that smooth gradients dither instead
    // of banding. A picture with no more distinct 8-bit colours than that keeps exactly its
    // own. On failure returns false and says why in a_error.
    static bool quantise(const Image& a_image, int a_colours, PalettedImage& a_result,
                         std::string& a_error);
};
