// ID3DXConstantTable over the table read from a shader's byte code: describes
// its constants (elements and structure members included) and sets them in
// the device's registers of the shader's kind.
#pragma once

#include "ConstantTableReader.h"
#include "d3dx9shader.h"

#include <stddef.h>

#include <string>
#include <unordered_set>
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

    // The table's bytes.
    LPVOID GetBufferPointer() override;
    DWORD GetBufferSize() override;

    // Descriptions and handles.
    HRESULT GetDesc(D3DXCONSTANTTABLE_DESC* pDesc) override;
    HRESULT GetConstantDesc(D3DXHANDLE hConstant, D3DXCONSTANT_DESC* pConstantDesc,
                            UINT* pCount) override;
    D3DXHANDLE GetConstant(D3DXHANDLE hConstant, UINT Index) override;
    D3DXHANDLE GetConstantByName(D3DXHANDLE hConstant, LPCSTR pName) override;
    D3DXHANDLE GetConstantElement(D3DXHANDLE hConstant, UINT Index) override;

    // Setters.
    HRESULT SetDefaults(LPDIRECT3DDEVICE9 pDevice) override;
    HRESULT SetValue(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant, LPCVOID pData,
                     UINT Bytes) override;
    HRESULT SetBool(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant, BOOL b) override;
    HRESULT SetBoolArray(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant, const BOOL* pb,
                         UINT Count) override;
    HRESULT SetInt(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant, INT n) override;
    HRESULT SetIntArray(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant, const INT* pn,
                        UINT Count) override;
    HRESULT SetFloat(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant, FLOAT f) override;
    HRESULT SetFloatArray(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant, const FLOAT* pf,
                          UINT Count) override;
    HRESULT SetVector(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant,
                      const D3DXVECTOR4* pVector) override;
    HRESULT SetVectorArray(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant,
                           const D3DXVECTOR4* pVector, UINT Count) override;
    HRESULT SetMatrix(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant,
                      const D3DXMATRIX* pMatrix) override;
    HRESULT SetMatrixArray(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant,
                           const D3DXMATRIX* pMatrix, UINT Count) override;
    HRESULT SetMatrixPointerArray(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant,
                                  const D3DXMATRIX** ppMatrix, UINT Count) override;
    HRESULT SetMatrixTranspose(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant,
                               const D3DXMATRIX* pMatrix) override;
    HRESULT SetMatrixTransposeArray(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant,
                                    const D3DXMATRIX* pMatrix, UINT Count) override;
    HRESULT SetMatrixTransposePointerArray(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant,
                                           const D3DXMATRIX** ppMatrix, UINT Count) override;

private:
    // A constant, an element of an array or a member of a structure, with
    // the registers D3DX gives it.
    struct Constant
    {
        std::string name;
        uint32_t nameOffset = 0;         // of the name in the table's bytes
        D3DXCONSTANT_DESC desc = {};     // desc.Name points into the table's bytes
        std::vector<Constant> children;  // an array's elements, else a structure's members
    };

    // Which setters fit which classes of constant.
    enum class Setter
    {
        Scalar,  // SetBool, SetInt, SetFloat: scalars only
        Array,   // SetIntArray, SetFloatArray: every numeric class
        Vector,  // SetVector, SetVectorArray: scalars and vectors
        Matrix,  // SetMatrix and its kin: every numeric class
    };

    // A setter's values: a_count of one type, laid out as rows of a_perRow
    // (a matrix's rows, or columns when transposed).
    struct Input
    {
        const void* values;
        D3DXPARAMETER_TYPE type;  // D3DXPT_FLOAT, D3DXPT_INT or D3DXPT_BOOL
        size_t count;
        Setter setter;
        UINT perRow;
        bool transposed;
    };

    ConstantTable() = default;
    ~ConstantTable() = default;

    static Constant build(const ConstantTableReader::Entry& a_type, const std::string& a_name,
                          UINT a_elements, UINT a_registerSet, UINT a_index, UINT a_count,
                          const uint8_t* a_default);
    void listHandles(Constant& a_constant);
    const Constant* find(D3DXHANDLE a_handle) const;
    const Constant* lookUp(const std::vector<Constant>& a_scope, const char* a_path) const;
    static D3DXHANDLE handle(const Constant* a_constant);

    HRESULT set(IDirect3DDevice9* a_device, D3DXHANDLE a_constant, const Input& a_input);
    // The matrices behind a_matrices gathered in order for set().
    HRESULT setMatrices(IDirect3DDevice9* a_device, D3DXHANDLE a_constant,
                        const D3DXMATRIX** a_matrices, UINT a_count, bool a_transposed);
    // Writes a_constant from the input's values past a_used, element by
    // element and member by member, and advances a_used.
    void write(IDirect3DDevice9* a_device, const Constant& a_constant, const Input& a_input,
               size_t& a_used) const;
    void writeStructArray(IDirect3DDevice9* a_device, const Constant& a_constant,
                          const Input& a_input, size_t& a_used) const;
    HRESULT writeRegisters(IDirect3DDevice9* a_device, UINT a_registerSet, UINT a_index,
                           const void* a_values, UINT a_count) const;

    bool m_vertexShader = false;  // which registers the constants live in
    ULONG m_references = 1;
    std::vector<uint8_t> m_bytes;
    uint32_t m_creatorOffset = 0;  // of the creator string in m_bytes
    DWORD m_version = 0;
    std::vector<Constant> m_constants;
    std::unordered_set<const Constant*> m_handles;
};
