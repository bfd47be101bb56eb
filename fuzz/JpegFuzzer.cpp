// Texture pictures: the input is a colour file and its alpha companion, cut
// after the first end-of-image marker (FF D9) of the input; with nothing
// after it there is no companion. Both are read as loose files and decoded
// by the texture's own device-free half, and a texture's levels are filtered
// from the pictures as the device would get them. A refusal gives exactly
// one message; success gives none.
#include "core/FatalError.h"
#include "render/BoxFilter.h"
#include "render/Image.h"
#include "render/Texture.h"
#include "support/ArchiveBuilder.h"
#include "support/TemporaryFolder.h"

#include <MessageBoxRecorder.h>

#include <stddef.h>
#include <stdint.h>
#include <stdio.h>

#include <memory>
#include <vector>

namespace
{

const char kColourName[] = "picture.jpg";
const char kAlphaName[] = "picture_alpha.jpg";

// Bytes up to and with the first FF D9, or all of them.
size_t colourLength(const uint8_t* a_data, size_t a_size)
{
    for (size_t i = 0; i + 1 < a_size; ++i)
    {
        if (a_data[i] == 0xFF && a_data[i + 1] == 0xD9)
            return i + 2;
    }
    return a_size;
}

// Every level of a full chain, each into a buffer of the level's size.
void filterLevels(const Image& a_colour, const Image* a_alpha)
{
    uint32_t width = uint32_t(a_colour.width);
    uint32_t height = uint32_t(a_colour.height);
    for (uint32_t level = 0;; ++level)
    {
        std::vector<uint8_t> texels(size_t(width) * height * 4);
        boxFilter(a_colour, a_alpha, level, texels.data(), int32_t(width * 4), width, height);
        if (width == 1 && height == 1)
            break;
        width = width > 1 ? width / 2 : 1;
        height = height > 1 ? height / 2 : 1;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* a_data, size_t a_size)
{
    static TemporaryFolder s_folder(true);
    const size_t colour = colourLength(a_data, a_size);
    writeBytes(kColourName, std::vector<uint8_t>(a_data, a_data + colour));
    if (colour < a_size)
        writeBytes(kAlphaName, std::vector<uint8_t>(a_data + colour, a_data + a_size));
    else
        remove(kAlphaName);

    g_fatalErrorShown = false;
    MessageBoxRecorder boxes;
    std::unique_ptr<Image> picture;
    std::unique_ptr<Image> alpha;
    const bool read = Texture::readImages(kColourName, picture, alpha);
    if (boxes.boxes().size() != (read ? 0u : 1u))
        __builtin_trap();
    if (!read)
        return 0;
    if (!picture || (colour < a_size) != (alpha != nullptr))
        __builtin_trap();
    filterLevels(*picture, alpha.get());
    return 0;
}
