// A BMP file as the tests see it: its header fields read straight from the documented Win32
// layout, and the picture as SDL_LoadBMP (the program's reader) decodes it.
#pragma once

#include <SDL.h>

#include <stdint.h>
#include <string>
#include <vector>

class BmpFile
{
public:
    explicit BmpFile(const std::string& a_path);
    ~BmpFile();
    BmpFile(const BmpFile&) = delete;
    BmpFile& operator=(const BmpFile&) = delete;

    // The raw file and its header fields (BITMAPFILEHEADER, then BITMAPINFOHEADER and its
    // V4 extension); fields past the end of the file read 0.
    const std::vector<uint8_t>& bytes() const { return m_bytes; }
    uint32_t fileSize() const { return u32(2); }      // bfSize
    uint32_t pixelOffset() const { return u32(10); }  // bfOffBits
    uint32_t headerSize() const { return u32(14); }   // biSize
    int32_t width() const { return static_cast<int32_t>(u32(18)); }
    int32_t height() const { return static_cast<int32_t>(u32(22)); }  // > 0: bottom-up
    uint16_t bitCount() const { return u16(28); }
    uint32_t compression() const { return u32(30); }
    uint32_t coloursUsed() const { return u32(46); }  // biClrUsed
    uint32_t alphaMask() const { return u32(66); }    // bV4AlphaMask

    // SDL's decoding, or null with SDL_GetError() saying why.
    SDL_Surface* surface() const { return m_surface; }
    // The pixel value (palette index or packed colour) at column a_x, row a_y from the top.
    uint32_t pixel(int a_x, int a_y) const;
    // The colour at column a_x, row a_y from the top.
    SDL_Color colour(int a_x, int a_y) const;
    // Rec. 709 luma of a colour, 0..255.
    static double luma(const SDL_Color& a_colour)
    {
        return 0.2126 * a_colour.r + 0.7152 * a_colour.g + 0.0722 * a_colour.b;
    }

private:
    uint16_t u16(size_t a_offset) const;
    uint32_t u32(size_t a_offset) const;

    std::vector<uint8_t> m_bytes;
    SDL_Surface* m_surface = nullptr;  // owned
};
