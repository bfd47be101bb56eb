// Describes and sets shader constants with D3DX's rules: a value is laid out
// by the constant's class (scalar, vector, matrix rows, matrix columns) into
// float4, int4 or bool registers, cut to the registers the table gives the
// constant; arrays take their elements and structures their members in
// order from the values given.
#include "ConstantTable.h"

#include "ShaderTokens.h"
#include "TokenFormat.h"

#include <string.h>

#include <algorithm>
#include <limits.h>
#include <math.h>

namespace
{

// Byte code is walked to its end token; the API carries no length, so this
// only bounds a walk through a program whose end token is missing.
constexpr size_t kMaxProgramDwords = 1 << 20;

bool numeric(UINT a_type)
{
    return a_type == D3DXPT_BOOL || a_type == D3DXPT_INT || a_type == D3DXPT_FLOAT;
}

// Registers one element of a type takes: a bool register per component, a
// float4 or int4 register per row (per column of a column-major matrix),
// one sampler, or the members' registers in turn.
UINT registersOf(const ConstantTableReader::Entry& a_type, UINT a_registerSet)
{
    if (a_type.parameterClass == D3DXPC_STRUCT)
    {
        UINT registers = 0;
        for (const ConstantTableReader::Entry& member : a_type.members)
            registers += registersOf(member, a_registerSet) * std::max<UINT>(member.elements, 1);
        return registers;
    }
    if (a_type.parameterClass == D3DXPC_OBJECT)
        return 1;
    if (a_registerSet == D3DXRS_BOOL)
        return UINT(a_type.rows) * a_type.columns;
    return a_type.parameterClass == D3DXPC_MATRIX_COLUMNS ? a_type.columns : a_type.rows;
}

UINT bytesOf(const ConstantTableReader::Entry& a_type)
{
    UINT bytes = 0;
    if (a_type.parameterClass == D3DXPC_STRUCT)
        for (const ConstantTableReader::Entry& member : a_type.members)
            bytes += bytesOf(member);
    else
        bytes = 4u * a_type.rows * a_type.columns;
    return bytes * std::max<UINT>(a_type.elements, 1);
}

// A table describes at most this many constants, elements and members in
// all; a hostile one could otherwise ask for billions of elements.
constexpr uint64_t kMaxConstants = 1 << 16;

// Constants, elements and members a constant of a_elements elements
// stands for, saturated past kMaxConstants.
uint64_t countConstants(const ConstantTableReader::Entry& a_type, uint64_t a_elements)
{
    uint64_t perElement = 1;
    for (const ConstantTableReader::Entry& member : a_type.members)
        perElement = std::min(perElement + countConstants(member, member.elements), kMaxConstants);
    if (a_elements <= 1)
        return perElement;
    return std::min(1 + a_elements * perElement, kMaxConstants + 1);
}

// One input value as a number, then as a value of the constant's type
// (D3DX converts to the declared type first, then to the register's).
double inputValue(const void* a_values, D3DXPARAMETER_TYPE a_type, size_t a_index)
{
    switch (a_type)
    {
    case D3DXPT_FLOAT:
        return static_cast<const float*>(a_values)[a_index];
    case D3DXPT_INT:
        return static_cast<const INT*>(a_values)[a_index];
    default:
        return static_cast<const BOOL*>(a_values)[a_index] != FALSE ? 1.0 : 0.0;
    }
}

// Floats become integers as a C cast makes them, dropping the fraction
// (D3DX writes 1 for 1.502).
double asType(double a_value, UINT a_type)
{
    if (a_type == D3DXPT_BOOL)
        return a_value != 0.0 ? 1.0 : 0.0;
    if (a_type == D3DXPT_INT)
    {
        // Outside the int range (and for NaN) D3DX gives INT_MIN, the value
        // x86's truncating conversion answers there; a C cast would be
        // undefined.
        const double whole = trunc(a_value);
        if (isnan(whole) || whole < double(INT_MIN) || whole > double(INT_MAX))
            return double(INT_MIN);
        return whole;
    }
    return a_value;
}

}

ConstantTable* ConstantTable::create(const DWORD* a_code, size_t a_dwords)
{
    const uint32_t* block = nullptr;
    uint32_t blockDwords = 0;
    ConstantTableReader reader;
    if (!ConstantTableReader::find(a_code, a_dwords, block, blockDwords) ||
        !reader.read(block, blockDwords))
        return nullptr;
    uint64_t constants = 0;
    for (const ConstantTableReader::Entry& entry : reader.m_entries)
        constants += countConstants(entry, entry.elements);
    if (constants > kMaxConstants)
        return nullptr;
    ConstantTable* table = new ConstantTable;
    table->m_vertexShader = TokenFormat::versionKind(a_code[0]) == TokenFormat::kVertexKind;
    table->m_bytes = reader.bytes();
    table->m_creatorOffset = reader.m_creatorOffset;
    table->m_version = reader.m_version;
    for (const ConstantTableReader::Entry& entry : reader.m_entries)
    {
        const uint8_t* defaultValue =
            entry.defaultValue ? table->m_bytes.data() + entry.defaultValue : nullptr;
        table->m_constants.push_back(build(entry, entry.name, entry.elements, entry.registerSet,
                                           entry.registerIndex, entry.registerCount, defaultValue));
    }
    for (Constant& constant : table->m_constants)
        table->listHandles(constant);
    return table;
}

// The registers of elements and members follow one another from the
// constant's first register; those past the registers the table gives the
// constant (the compiler drops unused ones) have none.
ConstantTable::Constant ConstantTable::build(const ConstantTableReader::Entry& a_type,
                                             const std::string& a_name, UINT a_elements,
                                             UINT a_registerSet, UINT a_index, UINT a_count,
                                             const uint8_t* a_default)
{
    Constant constant;
    constant.name = a_name;
    constant.nameOffset = a_type.nameOffset;
    D3DXCONSTANT_DESC& desc = constant.desc;
    desc.RegisterSet = D3DXREGISTER_SET(a_registerSet);
    desc.RegisterIndex = a_index;
    desc.RegisterCount = a_count;
    desc.Class = D3DXPARAMETER_CLASS(a_type.parameterClass);
    desc.Type = D3DXPARAMETER_TYPE(a_type.parameterType);
    desc.Rows = a_type.rows;
    desc.Columns = a_type.columns;
    desc.Elements = std::max<UINT>(a_elements, 1);
    desc.StructMembers = a_type.structMembers;
    desc.Bytes = bytesOf(a_type) / std::max<UINT>(a_type.elements, 1) * desc.Elements;
    desc.DefaultValue = a_count > 0 ? a_default : nullptr;

    const UINT registerBytes = a_registerSet == D3DXRS_BOOL ? 4 : 16;
    UINT offset = 0;
    auto child = [&](const ConstantTableReader::Entry& a_childType, const std::string& a_childName,
                     UINT a_childElements) {
        const UINT size =
            registersOf(a_childType, a_registerSet) * std::max<UINT>(a_childElements, 1);
        const UINT count = offset < a_count ? std::min(size, a_count - offset) : 0;
        const uint8_t* childDefault =
            a_default && count > 0 ? a_default + size_t(offset) * registerBytes : nullptr;
        constant.children.push_back(build(a_childType, a_childName, a_childElements, a_registerSet,
                                          a_index + std::min(offset, a_count), count,
                                          childDefault));
        offset += size;
    };
    if (desc.Elements > 1)
        for (UINT element = 0; element < desc.Elements; ++element)
            child(a_type, a_name, 1);
    else if (desc.Class == D3DXPC_STRUCT)
        for (const ConstantTableReader::Entry& member : a_type.members)
            child(member, member.name, member.elements);
    return constant;
}

// Run once the tree stands still: handles point into it. Names point into
// the table's bytes, as D3DX's do (an element shares its array's name).
void ConstantTable::listHandles(Constant& a_constant)
{
    a_constant.desc.Name = reinterpret_cast<const char*>(m_bytes.data() + a_constant.nameOffset);
    m_handles.insert(&a_constant);
    for (Constant& child : a_constant.children)
        listHandles(child);
}

D3DXHANDLE ConstantTable::handle(const Constant* a_constant)
{
    return reinterpret_cast<D3DXHANDLE>(a_constant);
}

// A handle this table gave out, or else a name path from the top level.
const ConstantTable::Constant* ConstantTable::find(D3DXHANDLE a_handle) const
{
    if (!a_handle)
        return nullptr;
    const Constant* constant = reinterpret_cast<const Constant*>(a_handle);
    if (m_handles.count(constant))
        return constant;
    return lookUp(m_constants, a_handle);
}

// "name", then any of "[index]" (an element of an array) and ".member" (a
// member of a structure), as D3DX reads names.
const ConstantTable::Constant* ConstantTable::lookUp(const std::vector<Constant>& a_scope,
                                                     const char* a_path) const
{
    const size_t length = strcspn(a_path, ".[");
    const Constant* found = nullptr;
    for (const Constant& constant : a_scope)
        if (constant.name.size() == length && strncmp(constant.name.c_str(), a_path, length) == 0)
        {
            found = &constant;
            break;
        }
    const char* rest = a_path + length;
    while (found && *rest == '[')
    {
        char* end = nullptr;
        const unsigned long index = strtoul(rest + 1, &end, 10);
        // D3DX reads "[]" as "[0]", and takes the index among the children
        // (a structure's members, too) where a constant has any: element 0
        // of a constant without children is the constant itself.
        if (*end != ']' || index >= found->desc.Elements)
            return nullptr;
        if (!found->children.empty())
            found = &found->children[index];
        rest = end + 1;
    }
    if (!found || *rest == '\0')
        return found;
    if (*rest != '.' || found->desc.Class != D3DXPC_STRUCT || found->desc.Elements > 1)
        return nullptr;
    return lookUp(found->children, rest + 1);
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

LPVOID ConstantTable::GetBufferPointer()
{
    return m_bytes.data();
}

DWORD ConstantTable::GetBufferSize()
{
    return static_cast<DWORD>(m_bytes.size());
}

HRESULT ConstantTable::GetDesc(D3DXCONSTANTTABLE_DESC* pDesc)
{
    if (!pDesc)
        return D3DERR_INVALIDCALL;
    // D3DX's strings point into the table it hands out as its buffer.
    *pDesc = D3DXCONSTANTTABLE_DESC{reinterpret_cast<const char*>(m_bytes.data() + m_creatorOffset),
                                    m_version, UINT(m_constants.size())};
    return D3D_OK;
}

HRESULT ConstantTable::GetConstantDesc(D3DXHANDLE hConstant, D3DXCONSTANT_DESC* pConstantDesc,
                                       UINT* pCount)
{
    const Constant* constant = find(hConstant);
    if (!constant)
        return D3DERR_INVALIDCALL;
    if (pConstantDesc)
        *pConstantDesc = constant->desc;
    if (pCount)
        *pCount = 1;
    return D3D_OK;
}

D3DXHANDLE ConstantTable::GetConstant(D3DXHANDLE hConstant, UINT Index)
{
    if (!hConstant)
        return Index < m_constants.size() ? handle(&m_constants[Index]) : nullptr;
    // D3DX counts a structure's members but hands out its children: the
    // elements of an array of structures.
    const Constant* constant = find(hConstant);
    if (!constant || constant->desc.Class != D3DXPC_STRUCT ||
        Index >= std::min<size_t>(constant->desc.StructMembers, constant->children.size()))
        return nullptr;
    return handle(&constant->children[Index]);
}

D3DXHANDLE ConstantTable::GetConstantByName(D3DXHANDLE hConstant, LPCSTR pName)
{
    if (!pName)
        return nullptr;
    if (!hConstant)
        return handle(lookUp(m_constants, pName));
    const Constant* constant = find(hConstant);
    if (!constant || constant->desc.Class != D3DXPC_STRUCT || constant->desc.Elements > 1)
        return nullptr;
    return handle(lookUp(constant->children, pName));
}

// Index 0 of a constant that is no array is the constant itself.
D3DXHANDLE ConstantTable::GetConstantElement(D3DXHANDLE hConstant, UINT Index)
{
    const Constant* constant = find(hConstant);
    if (!constant || Index >= constant->desc.Elements)
        return nullptr;
    return handle(constant->desc.Elements > 1 ? &constant->children[Index] : constant);
}

// Default values are stored as the registers they fill.
HRESULT ConstantTable::SetDefaults(LPDIRECT3DDEVICE9 pDevice)
{
    if (!pDevice)
        return D3DERR_INVALIDCALL;
    for (const Constant& constant : m_constants)
    {
        const D3DXCONSTANT_DESC& desc = constant.desc;
        if (!desc.DefaultValue || desc.RegisterSet == D3DXRS_SAMPLER)
            continue;
        auto copy = [&](auto a_values) {
            a_values.resize(size_t(desc.RegisterCount) * (desc.RegisterSet == D3DXRS_BOOL ? 1 : 4));
            memcpy(a_values.data(), desc.DefaultValue, a_values.size() * 4);
            return writeRegisters(pDevice, desc.RegisterSet, desc.RegisterIndex, a_values.data(),
                                  desc.RegisterCount);
        };
        const HRESULT written = desc.RegisterSet == D3DXRS_FLOAT4 ? copy(std::vector<float>())
                                : desc.RegisterSet == D3DXRS_INT4 ? copy(std::vector<INT>())
                                                                  : copy(std::vector<BOOL>());
        if (written != D3D_OK)
            return written;
    }
    return D3D_OK;
}

// The data are values of the constant's own type; a constant that is no
// number (a sampler) has none.
HRESULT ConstantTable::SetValue(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant, LPCVOID pData,
                                UINT Bytes)
{
    const Constant* constant = find(hConstant);
    if (!pData || !constant)
        return D3DERR_INVALIDCALL;
    const D3DXPARAMETER_TYPE type =
        numeric(constant->desc.Type) ? constant->desc.Type : D3DXPT_FLOAT;
    return set(pDevice, hConstant, Input{pData, type, Bytes / 4, Setter::Array, 0, false});
}

HRESULT ConstantTable::SetBool(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant, BOOL b)
{
    return set(pDevice, hConstant, Input{&b, D3DXPT_BOOL, 1, Setter::Scalar, 0, false});
}

HRESULT ConstantTable::SetBoolArray(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant, const BOOL* pb,
                                    UINT Count)
{
    if (!pb)
        return D3DERR_INVALIDCALL;
    return set(pDevice, hConstant, Input{pb, D3DXPT_BOOL, Count, Setter::Array, 0, false});
}

HRESULT ConstantTable::SetInt(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant, INT n)
{
    return set(pDevice, hConstant, Input{&n, D3DXPT_INT, 1, Setter::Scalar, 0, false});
}

HRESULT ConstantTable::SetIntArray(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant, const INT* pn,
                                   UINT Count)
{
    if (!pn)
        return D3DERR_INVALIDCALL;
    return set(pDevice, hConstant, Input{pn, D3DXPT_INT, Count, Setter::Array, 0, false});
}

HRESULT ConstantTable::SetFloat(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant, FLOAT f)
{
    return set(pDevice, hConstant, Input{&f, D3DXPT_FLOAT, 1, Setter::Scalar, 0, false});
}

HRESULT ConstantTable::SetFloatArray(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant,
                                     const FLOAT* pf, UINT Count)
{
    if (!pf)
        return D3DERR_INVALIDCALL;
    return set(pDevice, hConstant, Input{pf, D3DXPT_FLOAT, Count, Setter::Array, 0, false});
}

HRESULT ConstantTable::SetVector(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant,
                                 const D3DXVECTOR4* pVector)
{
    return SetVectorArray(pDevice, hConstant, pVector, 1);
}

HRESULT ConstantTable::SetVectorArray(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant,
                                      const D3DXVECTOR4* pVector, UINT Count)
{
    if (!pVector)
        return D3DERR_INVALIDCALL;
    return set(pDevice, hConstant,
               Input{&pVector->x, D3DXPT_FLOAT, size_t(Count) * 4, Setter::Vector, 4, false});
}

HRESULT ConstantTable::SetMatrix(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant,
                                 const D3DXMATRIX* pMatrix)
{
    return SetMatrixArray(pDevice, hConstant, pMatrix, 1);
}

HRESULT ConstantTable::SetMatrixArray(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant,
                                      const D3DXMATRIX* pMatrix, UINT Count)
{
    if (!pMatrix)
        return D3DERR_INVALIDCALL;
    return set(
        pDevice, hConstant,
        Input{&pMatrix->m[0][0], D3DXPT_FLOAT, size_t(Count) * 16, Setter::Matrix, 4, false});
}

HRESULT ConstantTable::SetMatrixTranspose(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant,
                                          const D3DXMATRIX* pMatrix)
{
    if (!pMatrix)
        return D3DERR_INVALIDCALL;
    return set(pDevice, hConstant,
               Input{&pMatrix->m[0][0], D3DXPT_FLOAT, 16, Setter::Matrix, 4, true});
}

HRESULT ConstantTable::SetMatrixPointerArray(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant,
                                             const D3DXMATRIX** ppMatrix, UINT Count)
{
    return setMatrices(pDevice, hConstant, ppMatrix, Count, false);
}

HRESULT ConstantTable::SetMatrixTransposeArray(LPDIRECT3DDEVICE9 pDevice, D3DXHANDLE hConstant,
                                               const D3DXMATRIX* pMatrix, UINT Count)
{
    if (!pMatrix)
        return D3DERR_INVALIDCALL;
    return set(pDevice, hConstant,
               Input{&pMatrix->m[0][0], D3DXPT_FLOAT, size_t(Count) * 16, Setter::Matrix, 4, true});
}

HRESULT ConstantTable::SetMatrixTransposePointerArray(LPDIRECT3DDEVICE9 pDevice,
                                                      D3DXHANDLE hConstant,
                                                      const D3DXMATRIX** ppMatrix, UINT Count)
{
    return setMatrices(pDevice, hConstant, ppMatrix, Count, true);
}

// A null list, or a null pointer in it, is refused before anything is written.
HRESULT ConstantTable::setMatrices(IDirect3DDevice9* a_device, D3DXHANDLE a_constant,
                                   const D3DXMATRIX** a_matrices, UINT a_count, bool a_transposed)
{
    if (!a_matrices)
        return D3DERR_INVALIDCALL;
    std::vector<float> values;
    for (UINT i = 0; i < a_count; ++i)
    {
        if (!a_matrices[i])
            return D3DERR_INVALIDCALL;
        values.insert(values.end(), &a_matrices[i]->m[0][0], &a_matrices[i]->m[0][0] + 16);
    }
    return set(a_device, a_constant,
               Input{values.data(), D3DXPT_FLOAT, values.size(), Setter::Matrix, 4, a_transposed});
}

// D3DX's fit of setters to classes: a single scalar sets only scalars, and
// vectors set no matrices; such a call succeeds and writes nothing. Objects
// (samplers) take no setter at all.
HRESULT ConstantTable::set(IDirect3DDevice9* a_device, D3DXHANDLE a_constant, const Input& a_input)
{
    const Constant* constant = a_device ? find(a_constant) : nullptr;
    if (!constant)
        return D3DERR_INVALIDCALL;
    const D3DXPARAMETER_CLASS parameterClass = constant->desc.Class;
    if (parameterClass == D3DXPC_STRUCT)
    {
        if (a_input.setter == Setter::Scalar)
            return D3D_OK;
    }
    else if (parameterClass > D3DXPC_MATRIX_COLUMNS || !numeric(constant->desc.Type))
        return D3DERR_INVALIDCALL;
    else if ((a_input.setter == Setter::Scalar && parameterClass != D3DXPC_SCALAR) ||
             (a_input.setter == Setter::Vector && parameterClass >= D3DXPC_MATRIX_ROWS))
        return D3D_OK;
    size_t used = 0;
    write(a_device, *constant, a_input, used);
    return D3D_OK;
}

// Each element takes rows of the input: as many values as it has columns
// from scalar setters, one vector per row from vector setters, one whole
// matrix from matrix setters. An element the remaining values cannot fill
// is not written, and ends the setting.
void ConstantTable::write(IDirect3DDevice9* a_device, const Constant& a_constant,
                          const Input& a_input, size_t& a_used) const
{
    const D3DXCONSTANT_DESC& desc = a_constant.desc;
    if (desc.Class == D3DXPC_STRUCT && desc.Elements > 1)
    {
        writeStructArray(a_device, a_constant, a_input, a_used);
        return;
    }
    if (desc.Class == D3DXPC_STRUCT && a_input.count - a_used < size_t(desc.Rows) * desc.Columns)
    {
        // A structure is set whole or not at all.
        a_used = a_input.count;
        return;
    }
    if (!a_constant.children.empty())
    {
        for (const Constant& child : a_constant.children)
            if (a_used < a_input.count)
                write(a_device, child, a_input, a_used);
        return;
    }
    if (desc.Class > D3DXPC_MATRIX_COLUMNS || !numeric(desc.Type) || desc.Rows < 1 ||
        desc.Rows > 4 || desc.Columns < 1 || desc.Columns > 4)
        return;
    const UINT perRow = a_input.perRow ? a_input.perRow : desc.Columns;
    const size_t need = a_input.setter == Setter::Matrix ? 16 : size_t(desc.Rows) * perRow;
    if (a_input.count - a_used < need)
    {
        a_used = a_input.count;
        return;
    }
    auto inputIndex = [&](UINT a_row, UINT a_column) {
        return a_used + (a_input.transposed ? size_t(a_column) * perRow + a_row
                                            : size_t(a_row) * perRow + a_column);
    };
    auto value = [&](UINT a_row, UINT a_column) {
        const double number =
            a_row < 4 && a_column < perRow
                ? inputValue(a_input.values, a_input.type, inputIndex(a_row, a_column))
                : 0.0;
        return asType(number, desc.Type);
    };
    if (desc.RegisterSet == D3DXRS_BOOL)
    {
        // One register per component, row by row. A BOOL given for a bool
        // constant reaches its register as given, any nonzero value kept, as
        // D3DX's does; other types become TRUE or FALSE.
        const bool asGiven = a_input.type == D3DXPT_BOOL && desc.Type == D3DXPT_BOOL;
        std::vector<BOOL> bools;
        for (UINT row = 0; row < desc.Rows; ++row)
            for (UINT column = 0; column < desc.Columns; ++column)
                if (bools.size() < desc.RegisterCount)
                    bools.push_back(
                        asGiven && row < 4 && column < perRow
                            ? static_cast<const BOOL*>(a_input.values)[inputIndex(row, column)]
                            : (value(row, column) != 0.0 ? TRUE : FALSE));
        writeRegisters(a_device, D3DXRS_BOOL, desc.RegisterIndex, bools.data(), UINT(bools.size()));
    }
    else if (desc.RegisterSet == D3DXRS_FLOAT4 || desc.RegisterSet == D3DXRS_INT4)
    {
        // One register per row (scalars, vectors, row-major matrices) or per
        // column (column-major matrices), each padded with 0.
        const bool byColumns = desc.Class == D3DXPC_MATRIX_COLUMNS;
        const UINT count = std::min(byColumns ? desc.Columns : desc.Rows, desc.RegisterCount);
        const UINT size = byColumns ? desc.Rows : desc.Columns;
        std::vector<float> floats(size_t(count) * 4, 0.0f);
        std::vector<INT> ints(size_t(count) * 4, 0);
        for (UINT vector = 0; vector < count; ++vector)
            for (UINT component = 0; component < size; ++component)
            {
                const double number =
                    byColumns ? value(component, vector) : value(vector, component);
                floats[vector * 4 + component] = float(number);
                ints[vector * 4 + component] = INT(asType(number, D3DXPT_INT));
            }
        // Int registers are padded as a loop's (count, start, step): a
        // step left unset is 1.
        if (size < 3)
            for (UINT vector = 0; vector < count; ++vector)
                ints[vector * 4 + 2] = 1;
        writeRegisters(a_device, desc.RegisterSet, desc.RegisterIndex,
                       desc.RegisterSet == D3DXRS_FLOAT4 ? static_cast<const void*>(floats.data())
                                                         : ints.data(),
                       count);
    }
    a_used += need;
}

// D3DX sets an array of structures oddly: only its first element, from the
// last whole element's worth of the values given (a structure's rows times
// columns count its values); matrix setters from the matrix's first values.
void ConstantTable::writeStructArray(IDirect3DDevice9* a_device, const Constant& a_constant,
                                     const Input& a_input, size_t& a_used) const
{
    const D3DXCONSTANT_DESC& desc = a_constant.desc;
    const size_t perElement = size_t(desc.Rows) * desc.Columns;
    const size_t left = a_input.count - a_used;
    if (perElement > 0 && left >= perElement && a_input.setter == Setter::Matrix)
    {
        // The matrix's values in memory order, as an array setter's.
        const Input flat{a_input.values, a_input.type, a_input.count, Setter::Array, 0, false};
        size_t from = a_used;
        write(a_device, a_constant.children[0], flat, from);
    }
    else if (perElement > 0 && left >= perElement)
    {
        const size_t whole = std::min<size_t>(left / perElement, desc.Elements);
        size_t from = a_used + (whole - 1) * perElement;
        write(a_device, a_constant.children[0], a_input, from);
    }
    a_used = a_input.count;
}

HRESULT ConstantTable::writeRegisters(IDirect3DDevice9* a_device, UINT a_registerSet, UINT a_index,
                                      const void* a_values, UINT a_count) const
{
    if (a_count == 0)
        return D3D_OK;
    switch (a_registerSet)
    {
    case D3DXRS_BOOL:
    {
        const BOOL* bools = static_cast<const BOOL*>(a_values);
        return m_vertexShader ? a_device->SetVertexShaderConstantB(a_index, bools, a_count)
                              : a_device->SetPixelShaderConstantB(a_index, bools, a_count);
    }
    case D3DXRS_INT4:
    {
        const INT* ints = static_cast<const INT*>(a_values);
        return m_vertexShader ? a_device->SetVertexShaderConstantI(a_index, ints, a_count)
                              : a_device->SetPixelShaderConstantI(a_index, ints, a_count);
    }
    default:
    {
        const float* floats = static_cast<const float*>(a_values);
        return m_vertexShader ? a_device->SetVertexShaderConstantF(a_index, floats, a_count)
                              : a_device->SetPixelShaderConstantF(a_index, floats, a_count);
    }
    }
}

// D3DX answers byte code whose first token is no shader version with success
// and no table, and a shader without a constant table, or with a damaged one
// or a damaged program, with D3DXERR_INVALIDDATA.
HRESULT WINAPI D3DXGetShaderConstantTable(const DWORD* pFunction,
                                          LPD3DXCONSTANTTABLE* ppConstantTable)
{
    if (!ppConstantTable)
        return D3DERR_INVALIDCALL;
    *ppConstantTable = nullptr;
    if (!pFunction)
        return D3DERR_INVALIDCALL;
    if (!TokenFormat::isShaderVersion(pFunction[0]))
        return D3D_OK;
    const size_t length = ShaderTokens::programLength(pFunction, kMaxProgramDwords);
    ConstantTable* table = length ? ConstantTable::create(pFunction, length) : nullptr;
    if (!table)
        return D3DXERR_INVALIDDATA;
    *ppConstantTable = table;
    return D3D_OK;
}
