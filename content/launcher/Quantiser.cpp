// Reduces an opaque floating-point picture to a palette of at most 256 colours, with libimagequant.
#include "Quantiser.h"

#include "Image.h"

#include <libimagequant.h>

#include <algorithm>
#include <math.h>
#include <memory>
#include <stdint.h>

namespace
{

struct AttrDeleter
{
    void operator()(liq_attr* a_attr) const { liq_attr_destroy(a_attr); }
};
struct ImageDeleter
{
    void operator()(liq_image* a_image) const { liq_image_destroy(a_image); }
};
struct ResultDeleter
{
    void operator()(liq_result* a_result) const { liq_result_destroy(a_result); }
};

// Best quality: the pictures are small and painted once per build.
constexpr int kSpeed = 1;

uint8_t toByte(float a_value)
{
    return static_cast<uint8_t>(lround(std::clamp(a_value, 0.0f, 1.0f) * 255.0f));
}

bool failed(liq_error a_code, const char* a_step, std::string& a_error)
{
    if (a_code == LIQ_OK)
        return false;
    a_error = std::string("libimagequant: ") + a_step + " failed (error " +
              std::to_string(static_cast<int>(a_code)) + ")";
    return true;
}

}

bool Quantiser::quantise(const Image& a_image, int a_colours, PalettedImage& a_result,
                         std::string& a_error)
{
    if (a_colours < 2 || a_colours > 256)
    {
        a_error = "a palette of " + std::to_string(a_colours) + " colours: it holds 2 to 256";
        return false;
    }
    const size_t pixels =
        static_cast<size_t>(a_image.width()) * static_cast<size_t>(a_image.height());
    // Opaque, as every picture the launcher shows: alpha is set to 255.
    std::vector<uint8_t> rgba;
    rgba.reserve(pixels * 4);
    for (int y = 0; y < a_image.height(); ++y)
        for (int x = 0; x < a_image.width(); ++x)
        {
            const Colour& colour = a_image.at(x, y);
            rgba.insert(rgba.end(), {toByte(colour.r), toByte(colour.g), toByte(colour.b), 255});
        }

    const std::unique_ptr<liq_attr, AttrDeleter> attr(liq_attr_create());
    if (!attr)
    {
        a_error = "libimagequant: out of memory";
        return false;
    }
    if (failed(liq_set_max_colors(attr.get(), a_colours), "setting the palette size", a_error) ||
        failed(liq_set_speed(attr.get(), kSpeed), "setting the speed", a_error))
        return false;
    // Gamma 0: the pixels are sRGB.
    const std::unique_ptr<liq_image, ImageDeleter> image(
        liq_image_create_rgba(attr.get(), rgba.data(), a_image.width(), a_image.height(), 0.0));
    if (!image)
    {
        a_error = "libimagequant: cannot take a " + std::to_string(a_image.width()) + " x " +
                  std::to_string(a_image.height()) + " picture";
        return false;
    }
    liq_result* quantised = nullptr;
    if (failed(liq_image_quantize(image.get(), attr.get(), &quantised), "choosing the palette",
               a_error))
        return false;
    const std::unique_ptr<liq_result, ResultDeleter> result(quantised);

    PalettedImage paletted;
    paletted.width = a_image.width();
    paletted.height = a_image.height();
    paletted.indices.resize(pixels);
    if (failed(liq_set_dithering_level(result.get(), 1.0f), "setting the dithering", a_error) ||
        failed(liq_write_remapped_image(result.get(), image.get(), paletted.indices.data(),
                                        paletted.indices.size()),
               "mapping the picture", a_error))
        return false;
    // Read after the mapping, which refines the palette.
    const liq_palette* palette = liq_get_palette(result.get());
    for (unsigned int i = 0; i < palette->count; ++i)
        paletted.palette.push_back(
            {palette->entries[i].r, palette->entries[i].g, palette->entries[i].b});
    a_result = std::move(paletted);
    return true;
}
