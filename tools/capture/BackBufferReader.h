// The back buffer read back after each frame, through one system-memory
// surface of the picture's size made once.
#pragma once

#include <d3d9.h>

#include <stdint.h>

#include <vector>

class BackBufferReader
{
public:
    BackBufferReader() = default;
    ~BackBufferReader();
    BackBufferReader(const BackBufferReader&) = delete;
    BackBufferReader& operator=(const BackBufferReader&) = delete;

    // The copy surface for a_width x a_height X8R8G8B8 frames of a_device.
    bool open(IDirect3DDevice9* a_device, IDirect3DSurface9* a_backBuffer, uint32_t a_width,
              uint32_t a_height);
    // The back buffer, as the device drew it, into a_pixels (rows packed,
    // top first).
    bool read(std::vector<uint8_t>* a_pixels);

private:
    IDirect3DDevice9* m_device = nullptr;       // not owned
    IDirect3DSurface9* m_backBuffer = nullptr;  // not owned
    IDirect3DSurface9* m_copy = nullptr;        // owned
    uint32_t m_width = 0;
    uint32_t m_height = 0;
};
