// One level of a texture's mip chain, averaged from its pictures with integers.
#pragma once

#include "render/Image.h"

#include <stdint.h>

// Writes level a_level of the texture made from a_colour and a_alpha (null:
// opaque), as D3DFMT_A8R8G8B8 texels 0xAARRGGBB in rows of a_pitch bytes from
// a_bits. With n = 2 to the power a_level, the level is (width / n) x
// (height / n) texels, and texel (x, y) is the mean of the n x n pixels from
// (x·n, y·n) on: red, green and blue of a_colour, alpha from a_alpha's blue
// (255 without it), each sum divided by n·n and truncated. Only the texels
// that also lie within a_width x a_height (the locked level's size) are
// written. a_alpha, if given, has a_colour's size.
void boxFilter(const Image& a_colour, const Image* a_alpha, uint32_t a_level, uint8_t* a_bits,
               int32_t a_pitch, uint32_t a_width, uint32_t a_height);
