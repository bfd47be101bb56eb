// A vertex buffer: a GL buffer of vertices in the layout of an FVF code.
#pragma once

#include "DeviceResource.h"
#include "GlBuffer.h"

#include <d3d9.h>

class VertexBuffer9 final : public DeviceResource<IDirect3DVertexBuffer9>
{
public:
    static HRESULT create(Device9* a_device, UINT a_length, DWORD a_usage, DWORD a_fvf,
                          D3DPOOL a_pool, IDirect3DVertexBuffer9** a_buffer);

    HRESULT GetDevice(IDirect3DDevice9** a_device) override { return getDevice(a_device); }
    D3DRESOURCETYPE GetType() override { return D3DRTYPE_VERTEXBUFFER; }
    HRESULT Lock(UINT a_offset, UINT a_size, void** a_data, DWORD a_flags) override;
    HRESULT Unlock() override;
    HRESULT GetDesc(D3DVERTEXBUFFER_DESC* a_desc) override;

    const GlBuffer& buffer() const { return m_buffer; }

private:
    VertexBuffer9(Device9* a_device, UINT a_length, DWORD a_usage, DWORD a_fvf, D3DPOOL a_pool);
    ~VertexBuffer9() override;
    void releaseGl() override;

    GlBuffer m_buffer;
    DWORD m_usage;
    DWORD m_fvf;
    D3DPOOL m_pool;
};
