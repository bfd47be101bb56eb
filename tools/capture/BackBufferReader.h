// The back buffer read back after each frame, through a ring of system-memory
// surfaces of the picture's size made once: a frame's copy is asked for when
// it is drawn and collected later, so that collecting frame N once frame
// N + 1 is drawn waits for nothing.
#pragma once

#include <d3d9.h>

#include <stddef.h>
#include <stdint.h>

#include <vector>

class BackBufferReader
{
public:
    // Copies asked for and not yet collected, at most.
    static constexpr size_t kInFlight = 2;

    BackBufferReader() = default;
    ~BackBufferReader();
    BackBufferReader(const BackBufferReader&) = delete;
    BackBufferReader& operator=(const BackBufferReader&) = delete;

    // The copy surfaces for a_width x a_height X8R8G8B8 frames of a_device.
    bool open(IDirect3DDevice9* a_device, IDirect3DSurface9* a_backBuffer, uint32_t a_width,
              uint32_t a_height);

    // Asks for a copy of the back buffer as the device has drawn it so far.
    // False when kInFlight copies wait to be collected, or the device fails.
    bool request();
    // The oldest copy asked for into a_pixels (rows packed, top first);
    // false when none waits or it cannot be read.
    bool collect(std::vector<uint8_t>* a_pixels);
    size_t waiting() const { return m_waiting; }

    // The back buffer as drawn so far, at once: request and collect. False
    // while other copies wait.
    bool read(std::vector<uint8_t>* a_pixels);

private:
    IDirect3DDevice9* m_device = nullptr;         // not owned
    IDirect3DSurface9* m_backBuffer = nullptr;    // not owned
    IDirect3DSurface9* m_copies[kInFlight] = {};  // owned
    size_t m_oldest = 0;                          // the ring's slot of the oldest waiting copy
    size_t m_waiting = 0;                         // copies asked for and not collected
    uint32_t m_width = 0;
    uint32_t m_height = 0;
};
