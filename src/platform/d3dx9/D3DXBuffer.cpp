// ID3DXBuffer over a vector of bytes, and D3DXCreateBuffer.
#include "D3DXBuffer.h"

#include "core/Assert.h"

#include <new>

HRESULT D3DXBuffer::QueryInterface(REFIID, void** ppvObject)
{
    if (ppvObject)
        *ppvObject = nullptr;
    return E_NOINTERFACE;
}

ULONG D3DXBuffer::Release()
{
    TARVO_ASSERT(m_references > 0);
    const ULONG left = --m_references;
    if (left == 0)
        delete this;
    return left;
}

HRESULT WINAPI D3DXCreateBuffer(DWORD NumBytes, LPD3DXBUFFER* ppBuffer)
{
    if (!ppBuffer)
        return D3DERR_INVALIDCALL;
    *ppBuffer = nullptr;
    try
    {
        *ppBuffer = new D3DXBuffer(NumBytes);
    }
    catch (const std::bad_alloc&)
    {
        return E_OUTOFMEMORY;
    }
    return D3D_OK;
}
