// An index buffer of 16- or 32-bit indices.
#pragma once

#include "DeviceResource.h"
#include "GlBuffer.h"

#include <d3d9.h>

#include <stdint.h>

class IndexBuffer9 final : public DeviceResource<IDirect3DIndexBuffer9>
{
public:
    static HRESULT create(Device9* a_device, UINT a_length, DWORD a_usage, D3DFORMAT a_format,
                          D3DPOOL a_pool, IDirect3DIndexBuffer9** a_buffer);

    HRESULT GetDevice(IDirect3DDevice9** a_device) override { return getDevice(a_device); }
    D3DRESOURCETYPE GetType() override { return D3DRTYPE_INDEXBUFFER; }
    HRESULT Lock(UINT a_offset, UINT a_size, void** a_data, DWORD a_flags) override;
    HRESULT Unlock() override;
    HRESULT GetDesc(D3DINDEXBUFFER_DESC* a_desc) override;

    const GlBuffer& buffer() const { return m_buffer; }
    UINT indexSize() const { return m_format == D3DFMT_INDEX16 ? 2 : 4; }
    GLenum glType() const
    {
        return m_format == D3DFMT_INDEX16 ? GL_UNSIGNED_SHORT : GL_UNSIGNED_INT;
    }
    // Whether a_count indices from a_first on all lie below a_limit; the
    // caller keeps the range inside the buffer.
    bool indicesBelow(UINT a_first, UINT a_count, uint64_t a_limit);

private:
    UINT largestIndex(UINT a_first, UINT a_count) const;

    IndexBuffer9(Device9* a_device, UINT a_length, DWORD a_usage, D3DFORMAT a_format,
                 D3DPOOL a_pool);
    ~IndexBuffer9() override;
    void releaseGl() override;

    GlBuffer m_buffer;
    DWORD m_usage;
    D3DFORMAT m_format;
    D3DPOOL m_pool;
    // The largest index of the whole buffer, worked out once per upload, so
    // most draws need no scan of their own.
    UINT m_largest = 0;
    unsigned m_largestVersion = ~0u;
};
