// Reading frames back from the device.
#include "BackBufferReader.h"

#include <string.h>

BackBufferReader::~BackBufferReader()
{
    if (m_copy)
        m_copy->Release();
}

bool BackBufferReader::open(IDirect3DDevice9* a_device, IDirect3DSurface9* a_backBuffer,
                            uint32_t a_width, uint32_t a_height)
{
    m_device = a_device;
    m_backBuffer = a_backBuffer;
    m_width = a_width;
    m_height = a_height;
    return SUCCEEDED(a_device->CreateOffscreenPlainSurface(a_width, a_height, D3DFMT_X8R8G8B8,
                                                           D3DPOOL_SYSTEMMEM, &m_copy, nullptr));
}

bool BackBufferReader::read(std::vector<uint8_t>* a_pixels)
{
    if (!m_copy || FAILED(m_device->GetRenderTargetData(m_backBuffer, m_copy)))
        return false;
    D3DLOCKED_RECT locked = {};
    if (FAILED(m_copy->LockRect(&locked, nullptr, D3DLOCK_READONLY)))
        return false;
    const size_t row = size_t(m_width) * 4;
    a_pixels->resize(row * m_height);
    for (uint32_t y = 0; y < m_height; ++y)
        memcpy(a_pixels->data() + row * y,
               static_cast<const uint8_t*>(locked.pBits) + size_t(locked.Pitch) * y, row);
    m_copy->UnlockRect();
    return true;
}
