// D3DX 9's data buffer, ID3DXBuffer, as the real header declares it beside
// the mesh functions: a block of bytes that D3DX functions hand out.
#pragma once

#include <d3d9.h>

struct ID3DXBuffer : public IUnknown
{
    virtual LPVOID GetBufferPointer() = 0;
    virtual DWORD GetBufferSize() = 0;

protected:
    ~ID3DXBuffer() = default;
};

typedef ID3DXBuffer* LPD3DXBUFFER;

// A buffer of NumBytes zero bytes, one reference held by the caller.
HRESULT WINAPI D3DXCreateBuffer(DWORD NumBytes, LPD3DXBUFFER* ppBuffer);
