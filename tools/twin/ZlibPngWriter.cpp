// PNG files with zlib alone, for the Windows build: mingw-w64 on Debian has
// zlib but no libpng. The format is small: the signature, a header chunk,
// the rows (each after a filter byte of 0) deflated into one data chunk,
// and an end chunk, each chunk with its length and CRC-32 (README.md).
#include "PngWriter.h"

#include <zlib.h>

#include <stdio.h>

namespace
{

void putBigEndian(std::vector<uint8_t>* a_bytes, uint32_t a_value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        a_bytes->push_back(uint8_t(a_value >> shift));
}

// Length, type, data and the CRC of type and data.
void putChunk(std::vector<uint8_t>* a_file, const char* a_type, const std::vector<uint8_t>& a_data)
{
    putBigEndian(a_file, uint32_t(a_data.size()));
    const size_t typeStart = a_file->size();
    a_file->insert(a_file->end(), a_type, a_type + 4);
    a_file->insert(a_file->end(), a_data.begin(), a_data.end());
    const uLong crc =
        crc32(crc32(0L, Z_NULL, 0), a_file->data() + typeStart, uInt(a_file->size() - typeStart));
    putBigEndian(a_file, uint32_t(crc));
}

}  // namespace

bool writePng(const std::string& a_path, uint32_t a_width, uint32_t a_height,
              const std::vector<uint8_t>& a_rgb)
{
    const size_t row = size_t(a_width) * 3;
    if (a_width == 0 || a_height == 0 || a_rgb.size() != row * a_height)
    {
        fprintf(stderr, "%s: the picture is not %u x %u\n", a_path.c_str(), a_width, a_height);
        return false;
    }
    std::vector<uint8_t> raw;
    raw.reserve((row + 1) * a_height);
    for (uint32_t y = 0; y < a_height; ++y)
    {
        raw.push_back(0);  // no filter
        raw.insert(raw.end(), a_rgb.begin() + row * y, a_rgb.begin() + row * (y + 1));
    }
    uLongf packedSize = compressBound(uLong(raw.size()));
    std::vector<uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), uLong(raw.size()), Z_BEST_SPEED) != Z_OK)
    {
        fprintf(stderr, "%s: the picture could not be compressed\n", a_path.c_str());
        return false;
    }
    packed.resize(packedSize);

    static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> file(kSignature, kSignature + 8);
    std::vector<uint8_t> header;
    putBigEndian(&header, a_width);
    putBigEndian(&header, a_height);
    // 8 bits per sample, colour type 2 (RGB), deflate, filter method 0, no interlace.
    header.insert(header.end(), {8, 2, 0, 0, 0});
    putChunk(&file, "IHDR", header);
    putChunk(&file, "IDAT", packed);
    putChunk(&file, "IEND", {});

    FILE* out = fopen(a_path.c_str(), "wb");
    if (!out)
    {
        fprintf(stderr, "%s: cannot be written\n", a_path.c_str());
        return false;
    }
    const bool written = fwrite(file.data(), 1, file.size(), out) == file.size();
    if (fclose(out) != 0 || !written)
    {
        fprintf(stderr, "%s: cannot be written\n", a_path.c_str());
        remove(a_path.c_str());
        return false;
    }
    return true;
}
