// A vertex buffer: a GL buffer of vertices in the layout of an FVF code.
#include "VertexBuffer9.h"

HRESULT VertexBuffer9::create(Device9* a_device, UINT a_length, DWORD a_usage, DWORD a_fvf,
                              D3DPOOL a_pool, IDirect3DVertexBuffer9** a_buffer)
{
    if (!a_buffer)
        return D3DERR_INVALIDCALL;
    *a_buffer = nullptr;
    // The runtime answers a buffer of no bytes as an invalid argument.
    if (a_length == 0)
        return E_INVALIDARG;
    if (a_pool > D3DPOOL_SCRATCH || (a_usage & ~DWORD(D3DUSAGE_WRITEONLY | D3DUSAGE_DYNAMIC)) != 0)
        return D3DERR_INVALIDCALL;
    VertexBuffer9* buffer = new VertexBuffer9(a_device, a_length, a_usage, a_fvf, a_pool);
    if (!buffer->m_buffer.create())
    {
        buffer->Release();
        return D3DERR_OUTOFVIDEOMEMORY;
    }
    *a_buffer = buffer;
    return D3D_OK;
}

VertexBuffer9::VertexBuffer9(Device9* a_device, UINT a_length, DWORD a_usage, DWORD a_fvf,
                             D3DPOOL a_pool)
    : DeviceResource(a_device), m_buffer(a_length), m_usage(a_usage), m_fvf(a_fvf), m_pool(a_pool)
{
}

VertexBuffer9::~VertexBuffer9()
{
    releaseGlIfAlive();
}

void VertexBuffer9::releaseGl()
{
    m_buffer.releaseGl();
}

HRESULT VertexBuffer9::Lock(UINT a_offset, UINT a_size, void** a_data, DWORD)
{
    if (!contextCurrent())
        return D3DERR_INVALIDCALL;
    return m_buffer.lock(a_offset, a_size, a_data);
}

HRESULT VertexBuffer9::Unlock()
{
    if (!contextCurrent())
        return D3DERR_INVALIDCALL;
    return m_buffer.unlock();
}

HRESULT VertexBuffer9::GetDesc(D3DVERTEXBUFFER_DESC* a_desc)
{
    if (!a_desc)
        return D3DERR_INVALIDCALL;
    *a_desc = D3DVERTEXBUFFER_DESC{D3DFMT_UNKNOWN, D3DRTYPE_VERTEXBUFFER, m_usage,
                                   m_pool,         m_buffer.length(),     m_fvf};
    return D3D_OK;
}
