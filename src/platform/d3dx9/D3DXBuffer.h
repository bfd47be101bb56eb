// ID3DXBuffer over a vector of bytes.
#pragma once

#include "d3dx9mesh.h"

#include <vector>

class D3DXBuffer final : public ID3DXBuffer
{
public:
    // A_bytes zero bytes; holds one reference.
    explicit D3DXBuffer(DWORD a_bytes) : m_bytes(a_bytes, 0) {}

    // IUnknown. Nothing asks a buffer for another interface.
    HRESULT QueryInterface(REFIID riid, void** ppvObject) override;
    ULONG AddRef() override { return ++m_references; }
    ULONG Release() override;

    // ID3DXBuffer: the bytes stay where they are for the buffer's life.
    LPVOID GetBufferPointer() override { return m_bytes.data(); }
    DWORD GetBufferSize() override { return static_cast<DWORD>(m_bytes.size()); }

private:
    ~D3DXBuffer() = default;

    std::vector<unsigned char> m_bytes;
    ULONG m_references = 1;
};
