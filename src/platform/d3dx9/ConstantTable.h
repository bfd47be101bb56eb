// ID3DXConstantTable over the table read from a shader's byte code: sets
// constants by name in the device's registers of the shader's kind.
#pragma once

#include "ConstantTableReader.h"
#include "d3dx9shader.h"

#include <stddef.h>

#include <vector>

class ConstantTable final : public ID3DXConstantTable
{
public:
    // A table for a program of a_dwords DWORDs (version token to end token);
    // null if the program is malformed or has no constant table, or the table is
    // malformed. Holds one reference.
    static ConstantTable* create(const DWORD* a_code, size_t a_dwords);

    // IUnknown. The system asks no object for another interface.
    HRESULT QueryInterface(REFIID riid, void** ppvObject) override;
    ULONG AddRef() override;
    ULONG Release() override;

    // ID3DXConstantTable.
    HRESULT SetBool(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant, BOOL b) override;
    HRESULT SetFloat(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant, FLOAT f) override;
    HRESULT SetVector(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant,
                      const D3DXVECTOR4* pVector) override;
    HRESULT SetMatrix(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant,
                      const D3DXMATRIX* pMatrix) override;

private:
    ConstantTable() = default;
    ~ConstantTable() = default;

    HRESULT set(IDirect3DDevice9* a_device, D3DXHANDLE a_name, const float* a_values,
                UINT a_rows, UINT a_columns);

    bool m_vertexShader = false;   // which registers the constants live in
    ULONG m_references = 1;
    std::vector<ConstantTableReader::Entry> m_constants;
};
