// An index buffer of 16- or 32-bit indices.
#include "IndexBuffer9.h"

#include <string.h>

HRESULT IndexBuffer9::create(Device9* a_device, UINT a_length, DWORD a_usage, D3DFORMAT a_format,
                             D3DPOOL a_pool, IDirect3DIndexBuffer9** a_buffer)
{
    if (!a_buffer)
        return D3DERR_INVALIDCALL;
    *a_buffer = nullptr;
    // The runtime answers a buffer of no bytes as an invalid argument.
    if (a_length == 0)
        return E_INVALIDARG;
    if (a_pool > D3DPOOL_SCRATCH || (a_format != D3DFMT_INDEX16 && a_format != D3DFMT_INDEX32) ||
        (a_usage & ~DWORD(D3DUSAGE_WRITEONLY | D3DUSAGE_DYNAMIC)) != 0)
        return D3DERR_INVALIDCALL;
    IndexBuffer9* buffer = new IndexBuffer9(a_device, a_length, a_usage, a_format, a_pool);
    if (!buffer->m_buffer.create())
    {
        buffer->Release();
        return D3DERR_OUTOFVIDEOMEMORY;
    }
    *a_buffer = buffer;
    return D3D_OK;
}

IndexBuffer9::IndexBuffer9(Device9* a_device, UINT a_length, DWORD a_usage, D3DFORMAT a_format,
                           D3DPOOL a_pool)
    : DeviceResource(a_device), m_buffer(a_length), m_usage(a_usage), m_format(a_format),
      m_pool(a_pool)
{
}

IndexBuffer9::~IndexBuffer9()
{
    releaseGlIfAlive();
}

void IndexBuffer9::releaseGl()
{
    m_buffer.releaseGl();
}

HRESULT IndexBuffer9::Lock(UINT a_offset, UINT a_size, void** a_data, DWORD)
{
    if (!contextCurrent())
        return D3DERR_INVALIDCALL;
    return m_buffer.lock(a_offset, a_size, a_data);
}

HRESULT IndexBuffer9::Unlock()
{
    if (!contextCurrent())
        return D3DERR_INVALIDCALL;
    return m_buffer.unlock();
}

HRESULT IndexBuffer9::GetDesc(D3DINDEXBUFFER_DESC* a_desc)
{
    if (!a_desc)
        return D3DERR_INVALIDCALL;
    *a_desc =
        D3DINDEXBUFFER_DESC{m_format, D3DRTYPE_INDEXBUFFER, m_usage, m_pool, m_buffer.length()};
    return D3D_OK;
}

UINT IndexBuffer9::largestIndex(UINT a_first, UINT a_count) const
{
    const UINT size = indexSize();
    const unsigned char* bytes = m_buffer.bytes() + size_t(a_first) * size;
    UINT largest = 0;
    for (UINT i = 0; i < a_count; ++i)
    {
        UINT index = 0;
        if (size == 2)
        {
            uint16_t value;
            memcpy(&value, bytes + size_t(i) * 2, 2);
            index = value;
        }
        else
            memcpy(&index, bytes + size_t(i) * 4, 4);
        largest = index > largest ? index : largest;
    }
    return largest;
}

bool IndexBuffer9::indicesBelow(UINT a_first, UINT a_count, uint64_t a_limit)
{
    if (m_largestVersion != m_buffer.version())
    {
        m_largest = largestIndex(0, m_buffer.length() / indexSize());
        m_largestVersion = m_buffer.version();
    }
    return m_largest < a_limit || largestIndex(a_first, a_count) < a_limit;
}
