// Reading frames back from the device.
#include "BackBufferReader.h"

#include <string.h>

BackBufferReader::~BackBufferReader()
{
    for (IDirect3DSurface9* copy : m_copies)
        if (copy)
            copy->Release();
}

bool BackBufferReader::open(IDirect3DDevice9* a_device, IDirect3DSurface9* a_backBuffer,
                            uint32_t a_width, uint32_t a_height)
{
    m_device = a_device;
    m_backBuffer = a_backBuffer;
    m_width = a_width;
    m_height = a_height;
    for (IDirect3DSurface9*& copy : m_copies)
        if (FAILED(a_device->CreateOffscreenPlainSurface(a_width, a_height, D3DFMT_X8R8G8B8,
                                                         D3DPOOL_SYSTEMMEM, &copy, nullptr)))
            return false;
    return true;
}

// GetRenderTargetData only queues the copy; the lock in collect is what
// waits for it.
bool BackBufferReader::request()
{
    if (!m_copies[kInFlight - 1] || m_waiting == kInFlight)
        return false;
    IDirect3DSurface9* copy = m_copies[(m_oldest + m_waiting) % kInFlight];
    if (FAILED(m_device->GetRenderTargetData(m_backBuffer, copy)))
        return false;
    ++m_waiting;
    return true;
}

bool BackBufferReader::collect(std::vector<uint8_t>* a_pixels)
{
    if (m_waiting == 0)
        return false;
    IDirect3DSurface9* copy = m_copies[m_oldest];
    m_oldest = (m_oldest + 1) % kInFlight;
    --m_waiting;
    D3DLOCKED_RECT locked = {};
    if (FAILED(copy->LockRect(&locked, nullptr, D3DLOCK_READONLY)))
        return false;
    const size_t row = size_t(m_width) * 4;
    a_pixels->resize(row * m_height);
    for (uint32_t y = 0; y < m_height; ++y)
        memcpy(a_pixels->data() + row * y,
               static_cast<const uint8_t*>(locked.pBits) + size_t(locked.Pitch) * y, row);
    copy->UnlockRect();
    return true;
}

bool BackBufferReader::read(std::vector<uint8_t>* a_pixels)
{
    return m_waiting == 0 && request() && collect(a_pixels);
}
