// Sets shader constants by name with D3DX's rules: a value is laid out by the
// constant's class (scalar, vector, matrix rows, matrix columns) into float4
// or bool registers, and cut to the registers the table gives the constant.
#include "ConstantTable.h"

#include <string.h>

namespace
{

// Byte code is walked to its end token; the API carries no length, so this
// only bounds a walk through a program whose end token is missing.
constexpr size_t kMaxProgramDwords = 1 << 20;

}

ConstantTable* ConstantTable::create(const DWORD* a_code, size_t a_dwords)
{
    const uint32_t* block = nullptr;
    uint32_t blockDwords = 0;
    ConstantTableReader reader;
    if (!ConstantTableReader::find(a_code, a_dwords, block, blockDwords) ||
        !reader.read(block, blockDwords))
        return nullptr;
    ConstantTable* table = new ConstantTable;
    table->m_vertexShader = (a_code[0] >> 16) == 0xFFFE;
    table->m_constants = reader.m_entries;
    return table;
}

HRESULT ConstantTable::QueryInterface(REFIID, void** ppvObject)
{
    if (ppvObject)
        *ppvObject = nullptr;
    return E_NOINTERFACE;
}

ULONG ConstantTable::AddRef()
{
    return ++m_references;
}

ULONG ConstantTable::Release()
{
    const ULONG references = --m_references;
    if (references == 0)
        delete this;
    return references;
}

HRESULT ConstantTable::SetBool(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant, BOOL b)
{
    const float value = b ? 1.0f : 0.0f;
    return set(pDevice, hConstant, &value, 1, 1);
}

HRESULT ConstantTable::SetFloat(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant, FLOAT f)
{
    return set(pDevice, hConstant, &f, 1, 1);
}

HRESULT ConstantTable::SetVector(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant,
                                 const D3DXVECTOR4* pVector)
{
    if (!pVector)
        return D3DERR_INVALIDCALL;
    const float values[4] = {pVector->x, pVector->y, pVector->z, pVector->w};
    return set(pDevice, hConstant, values, 1, 4);
}

HRESULT ConstantTable::SetMatrix(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant,
                                 const D3DXMATRIX* pMatrix)
{
    if (!pMatrix)
        return D3DERR_INVALIDCALL;
    return set(pDevice, hConstant, &pMatrix->m[0][0], 4, 4);
}

// The value is a_rows x a_columns floats, row by row (a float is 1 x 1, a
// vector 1 x 4, a matrix 4 x 4); where the constant is larger, the missing
// places are 0. Only the first element of an array is set.
HRESULT ConstantTable::set(IDirect3DDevice9* a_device, D3DXHANDLE a_name, const float* a_values,
                           UINT a_rows, UINT a_columns)
{
    if (!a_device || !a_name)
        return D3DERR_INVALIDCALL;
    const ConstantTableReader::Entry* constant = nullptr;
    for (const ConstantTableReader::Entry& entry : m_constants)
    {
        if (strcmp(entry.name.c_str(), a_name) == 0)
            constant = &entry;
    }
    // FIXME: int types and int4 registers are refused rather than converted; no
    // constant of the system is an int.
    if (!constant || constant->registerCount == 0 ||
        (constant->parameterType != D3DXPT_FLOAT && constant->parameterType != D3DXPT_BOOL) ||
        constant->parameterClass > D3DXPC_MATRIX_COLUMNS || constant->rows < 1 ||
        constant->rows > 4 || constant->columns < 1 || constant->columns > 4)
        return D3DERR_INVALIDCALL;

    const bool boolean = constant->parameterType == D3DXPT_BOOL;
    auto value = [&](UINT a_row, UINT a_column) {
        const float number = a_row < a_rows && a_column < a_columns
                                 ? a_values[a_row * a_columns + a_column]
                                 : 0.0f;
        return boolean ? (number != 0.0f ? 1.0f : 0.0f) : number;
    };

    if (constant->registerSet == D3DXRS_BOOL)
    {
        // One register per value, row by row.
        std::vector<BOOL> bools;
        for (UINT row = 0; row < constant->rows; ++row)
        {
            for (UINT column = 0; column < constant->columns; ++column)
            {
                if (bools.size() < constant->registerCount)
                    bools.push_back(value(row, column) != 0.0f ? TRUE : FALSE);
            }
        }
        const UINT count = static_cast<UINT>(bools.size());
        return m_vertexShader
                   ? a_device->SetVertexShaderConstantB(constant->registerIndex, bools.data(), count)
                   : a_device->SetPixelShaderConstantB(constant->registerIndex, bools.data(), count);
    }
    if (constant->registerSet != D3DXRS_FLOAT4)
        return D3DERR_INVALIDCALL;

    // One float4 register per row (scalars, vectors, row-major matrices) or per
    // column (column-major matrices), each padded with 0.
    const bool byColumns = constant->parameterClass == D3DXPC_MATRIX_COLUMNS;
    const UINT vectors = constant->parameterClass == D3DXPC_MATRIX_ROWS ? constant->rows
                         : byColumns                                    ? constant->columns
                                                                        : 1;
    const UINT count = vectors < constant->registerCount ? vectors : constant->registerCount;
    std::vector<float> registers(count * 4, 0.0f);
    for (UINT vector = 0; vector < count; ++vector)
    {
        const UINT size = byColumns ? constant->rows : constant->columns;
        for (UINT component = 0; component < size; ++component)
        {
            registers[vector * 4 + component] =
                byColumns ? value(component, vector) : value(vector, component);
        }
    }
    return m_vertexShader
               ? a_device->SetVertexShaderConstantF(constant->registerIndex, registers.data(), count)
               : a_device->SetPixelShaderConstantF(constant->registerIndex, registers.data(), count);
}

HRESULT WINAPI D3DXGetShaderConstantTable(const DWORD* pFunction,
                                          LPD3DXCONSTANTTABLE* ppConstantTable)
{
    if (!ppConstantTable)
        return D3DERR_INVALIDCALL;
    *ppConstantTable = nullptr;
    if (!pFunction)
        return D3DERR_INVALIDCALL;
    const size_t length = ConstantTableReader::programLength(pFunction, kMaxProgramDwords);
    ConstantTable* table = length ? ConstantTable::create(pFunction, length) : nullptr;
    if (!table)
        return E_FAIL;
    *ppConstantTable = table;
    return D3D_OK;
}
