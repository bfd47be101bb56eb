// Writes Windows BMP files: 8-bit palettised pictures and 32-bit pictures with alpha.
#include "BmpWriter.h"

#include "Image.h"
#include "PalettedImage.h"
#include "core/Assert.h"

#include <algorithm>
#include <math.h>
#include <stdint.h>
#include <stdio.h>
#include <vector>

namespace
{

// Sizes and constants of the Win32 bitmap structures (wingdi.h).
constexpr uint32_t kFileHeaderSize = 14;   // BITMAPFILEHEADER
constexpr uint32_t kInfoHeaderSize = 40;   // BITMAPINFOHEADER
constexpr uint32_t kV4HeaderSize = 108;    // BITMAPV4HEADER
constexpr uint32_t kBiRgb = 0;             // BI_RGB
constexpr uint32_t kBiBitfields = 3;       // BI_BITFIELDS
constexpr uint32_t kLcsSrgb = 0x73524742;  // LCS_sRGB, 'sRGB'
constexpr int32_t kPixelsPerMetre = 2835;  // 72 dots per inch

class ByteWriter
{
public:
    void u8(uint8_t a_value) { m_bytes.push_back(a_value); }
    void u16(uint16_t a_value)
    {
        u8(static_cast<uint8_t>(a_value));
        u8(static_cast<uint8_t>(a_value >> 8));
    }
    void u32(uint32_t a_value)
    {
        u16(static_cast<uint16_t>(a_value));
        u16(static_cast<uint16_t>(a_value >> 16));
    }
    void i32(int32_t a_value) { u32(static_cast<uint32_t>(a_value)); }
    void zeros(size_t a_count) { m_bytes.insert(m_bytes.end(), a_count, 0); }
    const std::vector<uint8_t>& bytes() const { return m_bytes; }

private:
    std::vector<uint8_t> m_bytes;
};

void fileHeader(ByteWriter& a_writer, uint32_t a_pixelOffset, uint32_t a_pixelBytes)
{
    a_writer.u8('B');
    a_writer.u8('M');
    a_writer.u32(a_pixelOffset + a_pixelBytes);  // bfSize
    a_writer.u16(0);                             // bfReserved1
    a_writer.u16(0);                             // bfReserved2
    a_writer.u32(a_pixelOffset);                 // bfOffBits
}

// The fields that BITMAPINFOHEADER and BITMAPV4HEADER share. A positive height means bottom-up rows.
void infoHeader(ByteWriter& a_writer, uint32_t a_headerSize, int a_width, int a_height,
                uint16_t a_bits, uint32_t a_compression, uint32_t a_pixelBytes,
                uint32_t a_coloursUsed)
{
    a_writer.u32(a_headerSize);
    a_writer.i32(a_width);
    a_writer.i32(a_height);
    a_writer.u16(1);  // planes
    a_writer.u16(a_bits);
    a_writer.u32(a_compression);
    a_writer.u32(a_pixelBytes);
    a_writer.i32(kPixelsPerMetre);
    a_writer.i32(kPixelsPerMetre);
    a_writer.u32(a_coloursUsed);
    a_writer.u32(0);  // biClrImportant: all of them
}

bool save(const std::vector<uint8_t>& a_bytes, const std::string& a_path, std::string& a_error)
{
    FILE* file = fopen(a_path.c_str(), "wb");
    if (!file)
    {
        a_error = "cannot create '" + a_path + "'";
        return false;
    }
    const bool written = fwrite(a_bytes.data(), 1, a_bytes.size(), file) == a_bytes.size();
    const bool closed = fclose(file) == 0;
    if (!written || !closed)
    {
        a_error = "cannot write '" + a_path + "'";
        return false;
    }
    return true;
}

uint8_t toByte(float a_value)
{
    return static_cast<uint8_t>(lround(std::clamp(a_value, 0.0f, 1.0f) * 255.0f));
}

// Blue, green, red, alpha bytes with straight alpha, rows bottom-up.
void bgraRows(ByteWriter& a_writer, const Image& a_image)
{
    for (int y = a_image.height() - 1; y >= 0; --y)
        for (int x = 0; x < a_image.width(); ++x)
        {
            // The file holds straight alpha; the painting is premultiplied.
            const Colour& pixel = a_image.at(x, y);
            const float unpremultiply = pixel.a > 0.0f ? 1.0f / pixel.a : 0.0f;
            a_writer.u8(toByte(pixel.b * unpremultiply));
            a_writer.u8(toByte(pixel.g * unpremultiply));
            a_writer.u8(toByte(pixel.r * unpremultiply));
            a_writer.u8(toByte(pixel.a));
        }
}

}

bool BmpWriter::writePaletted(const PalettedImage& a_image, const std::string& a_path,
                              std::string& a_error)
{
    TARVO_ASSERT(a_image.width > 0 && a_image.height > 0 && !a_image.palette.empty() &&
                 a_image.palette.size() <= 256 &&
                 a_image.indices.size() ==
                     static_cast<size_t>(a_image.width) * static_cast<size_t>(a_image.height));
    const uint32_t stride = (static_cast<uint32_t>(a_image.width) + 3u) & ~3u;
    const uint32_t pixelBytes = stride * static_cast<uint32_t>(a_image.height);
    const uint32_t paletteSize = static_cast<uint32_t>(a_image.palette.size());
    const uint32_t pixelOffset = kFileHeaderSize + kInfoHeaderSize + 4 * paletteSize;

    ByteWriter writer;
    fileHeader(writer, pixelOffset, pixelBytes);
    infoHeader(writer, kInfoHeaderSize, a_image.width, a_image.height, 8, kBiRgb, pixelBytes,
               paletteSize);
    for (const std::array<uint8_t, 3>& colour : a_image.palette)
    {
        // RGBQUAD: blue, green, red, reserved.
        writer.u8(colour[2]);
        writer.u8(colour[1]);
        writer.u8(colour[0]);
        writer.u8(0);
    }
    for (int y = a_image.height - 1; y >= 0; --y)
    {
        for (int x = 0; x < a_image.width; ++x)
        {
            const uint8_t index =
                a_image.indices[static_cast<size_t>(y) * static_cast<size_t>(a_image.width) +
                                static_cast<size_t>(x)];
            TARVO_ASSERT(index < paletteSize);
            writer.u8(index);
        }
        writer.zeros(stride - static_cast<uint32_t>(a_image.width));
    }
    return save(writer.bytes(), a_path, a_error);
}

bool BmpWriter::writeBgra(const Image& a_image, const std::string& a_path, std::string& a_error)
{
    const uint32_t pixelBytes =
        4u * static_cast<uint32_t>(a_image.width()) * static_cast<uint32_t>(a_image.height());
    const uint32_t pixelOffset = kFileHeaderSize + kV4HeaderSize;

    ByteWriter writer;
    fileHeader(writer, pixelOffset, pixelBytes);
    infoHeader(writer, kV4HeaderSize, a_image.width(), a_image.height(), 32, kBiBitfields,
               pixelBytes, 0);
    writer.u32(0x00ff0000);  // bV4RedMask
    writer.u32(0x0000ff00);  // bV4GreenMask
    writer.u32(0x000000ff);  // bV4BlueMask
    writer.u32(0xff000000);  // bV4AlphaMask
    writer.u32(kLcsSrgb);    // bV4CSType
    writer.zeros(36 + 12);   // bV4Endpoints and the three gammas, unused with LCS_sRGB
    bgraRows(writer, a_image);
    return save(writer.bytes(), a_path, a_error);
}

bool BmpWriter::writeIcon(const Image& a_image, const std::string& a_path, std::string& a_error)
{
    // ICONDIRENTRY keeps each side in a byte, 0 meaning 256.
    TARVO_ASSERT(a_image.width() > 0 && a_image.width() <= 256 && a_image.height() > 0 &&
                 a_image.height() <= 256);
    const uint32_t width = static_cast<uint32_t>(a_image.width());
    const uint32_t height = static_cast<uint32_t>(a_image.height());
    const uint32_t maskStride = (width + 31) / 32 * 4;
    const uint32_t imageBytes = kInfoHeaderSize + 4 * width * height + maskStride * height;
    constexpr uint32_t kDirectorySize = 6 + 16;  // ICONDIR and one ICONDIRENTRY

    ByteWriter writer;
    writer.u16(0);  // reserved
    writer.u16(1);  // type: icon
    writer.u16(1);  // pictures
    writer.u8(static_cast<uint8_t>(width));
    writer.u8(static_cast<uint8_t>(height));
    writer.u8(0);   // colours: not palettised
    writer.u8(0);   // reserved
    writer.u16(1);  // planes
    writer.u16(32);
    writer.u32(imageBytes);
    writer.u32(kDirectorySize);
    // The height counts the colour rows and the mask rows.
    infoHeader(writer, kInfoHeaderSize, a_image.width(), 2 * a_image.height(), 32, kBiRgb,
               imageBytes - kInfoHeaderSize, 0);
    bgraRows(writer, a_image);
    for (int y = a_image.height() - 1; y >= 0; --y)
    {
        std::vector<uint8_t> row(maskStride, 0);
        for (int x = 0; x < a_image.width(); ++x)
            if (toByte(a_image.at(x, y).a) == 0)
                row[static_cast<size_t>(x) / 8] |= static_cast<uint8_t>(0x80u >> (x % 8));
        for (uint8_t byte : row)
            writer.u8(byte);
    }
    return save(writer.bytes(), a_path, a_error);
}
