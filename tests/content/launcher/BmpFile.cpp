// A BMP file as the tests see it: its header fields read straight from the documented Win32
// layout, and the picture as SDL_LoadBMP (the program's reader) decodes it.
#include "BmpFile.h"

#include <fstream>
#include <iterator>

BmpFile::BmpFile(const std::string& a_path)
{
    std::ifstream file(a_path, std::ios::binary);
    m_bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    m_surface = SDL_LoadBMP(a_path.c_str());
}

BmpFile::~BmpFile()
{
    SDL_FreeSurface(m_surface);
}

uint32_t BmpFile::pixel(int a_x, int a_y) const
{
    const uint8_t* row = static_cast<const uint8_t*>(m_surface->pixels) + a_y * m_surface->pitch;
    const int bytes = m_surface->format->BytesPerPixel;
    if (bytes == 1)
        return row[a_x];
    uint32_t value = 0;
    SDL_memcpy(&value, row + a_x * bytes, static_cast<size_t>(bytes));
    return value;
}

SDL_Color BmpFile::colour(int a_x, int a_y) const
{
    SDL_Color colour;
    SDL_GetRGBA(pixel(a_x, a_y), m_surface->format, &colour.r, &colour.g, &colour.b, &colour.a);
    return colour;
}

uint16_t BmpFile::u16(size_t a_offset) const
{
    if (a_offset + 2 > m_bytes.size())
        return 0;
    return static_cast<uint16_t>(m_bytes[a_offset] | m_bytes[a_offset + 1] << 8);
}

uint32_t BmpFile::u32(size_t a_offset) const
{
    return static_cast<uint32_t>(u16(a_offset)) | static_cast<uint32_t>(u16(a_offset + 2)) << 16;
}
