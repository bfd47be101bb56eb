// Allocation of decoded pictures.
#include "render/Image.h"

#include <new>

std::unique_ptr<Image> Image::create(int32_t a_width, int32_t a_height)
{
    if (a_width <= 0 || a_height <= 0)
        return nullptr;
    std::unique_ptr<Image> image(new (std::nothrow) Image());
    if (!image)
        return nullptr;
    const size_t count = size_t(a_width) * size_t(a_height);
    image->pixels.reset(new (std::nothrow) uint32_t[count]());
    if (!image->pixels)
        return nullptr;
    image->width = a_width;
    image->height = a_height;
    return image;
}
