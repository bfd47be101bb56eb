// Tests of D3DXGetShaderConstantTable and ID3DXConstantTable: each class and
// type of constant reaches the registers D3DX's rules give, against a
// recording device, and hostile byte code yields no table.
//
// Untested ideas: SetBoolArray and the pointer-array matrix setters (not
// part of the layer).
#include "platform/d3dx9/RecordingDevice.h"
#include "ConstantTable.h"

#include "Assembler.h"

#include <d3dx9.h>
#include <gtest/gtest.h>

#include <stdlib.h>

#include <limits.h>
#include <string.h>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>

namespace
{

// The constants every case below sets, one of each class and type.
const char* const g_vertexSource = R"(vs_3_0
const float scale : c0
const float3 position : c1
const float4 color : c2
const row_major float4x4 rowMatrix : c3
const float4x4 columnMatrix : c7
const float4x4 cutMatrix : c11..c13
const row_major float4x3 narrowRows : c14
const float4 lights[2] : c18
const bool fogOn : c20
const bool cubemap : b0
const bool flags[2] : b1
const int4 counts : i0
const sampler2D image : s0
mov o0, c0
)";

const char* const g_pixelSource = R"(ps_3_0
const float4 color : c5
const bool cubemap : b3
mov oC0, c5
)";

std::vector<DWORD> assemble(const char* a_source)
{
    std::vector<uint32_t> tokens;
    AssemblyError error;
    EXPECT_TRUE(Assembler::assemble(a_source, tokens, error)) << error.format();
    return tokens;
}

// The table of a program, released when the test ends.
struct TableHolder
{
    explicit TableHolder(const std::vector<DWORD>& a_code)
    {
        EXPECT_EQ(D3DXGetShaderConstantTable(a_code.data(), &table), D3D_OK);
    }
    ~TableHolder()
    {
        if (table)
            table->Release();
    }
    LPD3DXCONSTANTTABLE table = nullptr;
};

RecordingDevice::Call floats(const char* a_method, UINT a_start, std::vector<float> a_values)
{
    RecordingDevice::Call call;
    call.method = a_method;
    call.startRegister = a_start;
    call.count = static_cast<UINT>(a_values.size() / 4);
    call.floats = a_values;
    return call;
}

RecordingDevice::Call bools(const char* a_method, UINT a_start, std::vector<BOOL> a_values)
{
    RecordingDevice::Call call;
    call.method = a_method;
    call.startRegister = a_start;
    call.count = static_cast<UINT>(a_values.size());
    call.bools = a_values;
    return call;
}

// Element (r, c) is 10 (r + 1) + c + 1: 11 12 13 14 / 21 22 23 24 / ...
const D3DXMATRIX g_matrix(11, 12, 13, 14, 21, 22, 23, 24, 31, 32, 33, 34, 41, 42, 43, 44);
const D3DXVECTOR4 g_vector(1, 2, 3, 4);

enum class Setter
{
    Float,
    Vector,
    Matrix,
    Bool,
};

struct SetCase
{
    const char* what;
    Setter setter;
    const char* name;
    float number;  // the value of SetFloat and SetBool
    std::vector<RecordingDevice::Call> calls;
};

const char* const VSF = "SetVertexShaderConstantF";
const char* const VSB = "SetVertexShaderConstantB";

HRESULT apply(ID3DXConstantTable* a_table, IDirect3DDevice9* a_device, const SetCase& a_case)
{
    switch (a_case.setter)
    {
    case Setter::Float:
        return a_table->SetFloat(a_device, a_case.name, a_case.number);
    case Setter::Vector:
        return a_table->SetVector(a_device, a_case.name, &g_vector);
    case Setter::Matrix:
        return a_table->SetMatrix(a_device, a_case.name, &g_matrix);
    case Setter::Bool:
        return a_table->SetBool(a_device, a_case.name, static_cast<BOOL>(a_case.number));
    }
    return E_FAIL;
}

}

// Each setter writes whole float4 registers: one per scalar or vector, one per
// row of a row-major matrix, one per column of a column-major matrix, cut to
// the registers the table gives, with unused components 0.
TEST(ConstantTable, SettersWriteRegistersByClass)
{
    const SetCase cases[] = {
        // Scalars and vectors: the value's first components.
        {"float from a float", Setter::Float, "scale", 2.5f, {floats(VSF, 0, {2.5f, 0, 0, 0})}},
        {"float from a vector", Setter::Vector, "scale", 0, {floats(VSF, 0, {1, 0, 0, 0})}},
        {"float from a matrix", Setter::Matrix, "scale", 0, {floats(VSF, 0, {11, 0, 0, 0})}},
        {"float3 from a vector", Setter::Vector, "position", 0, {floats(VSF, 1, {1, 2, 3, 0})}},
        {"float4 from a vector", Setter::Vector, "color", 0, {floats(VSF, 2, {1, 2, 3, 4})}},
        {"one float does not fit a float4: nothing written", Setter::Float, "color", 7, {}},
        {"float4 from a matrix: its first row",
         Setter::Matrix,
         "color",
         0,
         {floats(VSF, 2, {11, 12, 13, 14})}},
        {"first element of an array", Setter::Vector, "lights", 0, {floats(VSF, 18, {1, 2, 3, 4})}},
        // Matrices.
        {"row-major matrix: one row per register",
         Setter::Matrix,
         "rowMatrix",
         0,
         {floats(VSF, 3, {11, 12, 13, 14, 21, 22, 23, 24, 31, 32, 33, 34, 41, 42, 43, 44})}},
        {"column-major matrix: one column per register",
         Setter::Matrix,
         "columnMatrix",
         0,
         {floats(VSF, 7, {11, 21, 31, 41, 12, 22, 32, 42, 13, 23, 33, 43, 14, 24, 34, 44})}},
        {"column-major matrix cut to three registers",
         Setter::Matrix,
         "cutMatrix",
         0,
         {floats(VSF, 11, {11, 21, 31, 41, 12, 22, 32, 42, 13, 23, 33, 43})}},
        {"row-major 4x3: three components per row",
         Setter::Matrix,
         "narrowRows",
         0,
         {floats(VSF, 14, {11, 12, 13, 0, 21, 22, 23, 0, 31, 32, 33, 0, 41, 42, 43, 0})}},
        // Bools in float registers are 1.0 or 0.0.
        {"bool in c from TRUE", Setter::Bool, "fogOn", 1, {floats(VSF, 20, {1, 0, 0, 0})}},
        {"bool in c from FALSE", Setter::Bool, "fogOn", 0, {floats(VSF, 20, {0, 0, 0, 0})}},
        {"bool in c from a float", Setter::Float, "fogOn", 0.25f, {floats(VSF, 20, {1, 0, 0, 0})}},
        // A BOOL reaches bool registers as given (D3DX writes 7 for 7);
        // other values become TRUE (1) or FALSE.
        {"bool in b from TRUE", Setter::Bool, "cubemap", 1, {bools(VSB, 0, {TRUE})}},
        {"bool in b from a BOOL of 7", Setter::Bool, "cubemap", 7, {bools(VSB, 0, {7})}},
        {"bool in b from FALSE", Setter::Bool, "cubemap", 0, {bools(VSB, 0, {FALSE})}},
        {"bool in b from a float 0", Setter::Float, "cubemap", 0, {bools(VSB, 0, {FALSE})}},
        {"first element of a bool array", Setter::Bool, "flags", 1, {bools(VSB, 1, {TRUE})}},
    };
    const std::vector<DWORD> code = assemble(g_vertexSource);
    TableHolder holder(code);
    ASSERT_NE(holder.table, nullptr);
    for (const SetCase& row : cases)
    {
        SCOPED_TRACE(row.what);
        RecordingDevice device;
        EXPECT_EQ(apply(holder.table, &device, row), D3D_OK);
        EXPECT_EQ(device.m_calls, row.calls);
    }
}

// A name the table lacks, a constant no setter applies to, or a missing device
// or value is an invalid call that writes nothing.
TEST(ConstantTable, InvalidCallsWriteNothing)
{
    const std::vector<DWORD> code = assemble(g_vertexSource);
    TableHolder holder(code);
    ASSERT_NE(holder.table, nullptr);
    ID3DXConstantTable* table = holder.table;
    RecordingDevice device;
    EXPECT_EQ(table->SetFloat(&device, "yscale", 1.0f), D3DERR_INVALIDCALL);
    EXPECT_EQ(table->SetFloat(&device, "Scale", 1.0f), D3DERR_INVALIDCALL);
    EXPECT_EQ(table->SetFloat(&device, nullptr, 1.0f), D3DERR_INVALIDCALL);
    EXPECT_EQ(table->SetFloat(&device, "image", 1.0f), D3DERR_INVALIDCALL);
    EXPECT_EQ(table->SetVector(&device, "image", &g_vector), D3DERR_INVALIDCALL);
    EXPECT_EQ(table->SetFloat(&device, "lights[2]", 1.0f), D3DERR_INVALIDCALL);
    EXPECT_EQ(table->SetFloat(&device, "lights[x]", 1.0f), D3DERR_INVALIDCALL);
    EXPECT_EQ(table->SetFloat(&device, "scale.x", 1.0f), D3DERR_INVALIDCALL);
    EXPECT_EQ(table->SetFloatArray(&device, "scale", nullptr, 1), D3DERR_INVALIDCALL);
    EXPECT_EQ(table->SetIntArray(&device, "counts", nullptr, 4), D3DERR_INVALIDCALL);
    EXPECT_EQ(table->SetVectorArray(&device, "lights", nullptr, 2), D3DERR_INVALIDCALL);
    EXPECT_EQ(table->SetMatrixArray(&device, "rowMatrix", nullptr, 1), D3DERR_INVALIDCALL);
    EXPECT_EQ(table->SetMatrixTranspose(&device, "rowMatrix", nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(table->SetVector(&device, "color", nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(table->SetMatrix(&device, "rowMatrix", nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(table->SetFloat(nullptr, "scale", 1.0f), D3DERR_INVALIDCALL);
    EXPECT_TRUE(device.m_calls.empty());
}

// A pixel shader's table writes the pixel shader's registers.
TEST(ConstantTable, PixelShaderTablesWritePixelShaderRegisters)
{
    const std::vector<DWORD> code = assemble(g_pixelSource);
    TableHolder holder(code);
    ASSERT_NE(holder.table, nullptr);
    RecordingDevice device;
    EXPECT_EQ(holder.table->SetVector(&device, "color", &g_vector), D3D_OK);
    EXPECT_EQ(holder.table->SetBool(&device, "cubemap", TRUE), D3D_OK);
    const std::vector<RecordingDevice::Call> expected = {
        floats("SetPixelShaderConstantF", 5, {1, 2, 3, 4}),
        bools("SetPixelShaderConstantB", 3, {TRUE}),
    };
    EXPECT_EQ(device.m_calls, expected);
}

// The table counts its references and frees itself on the last Release.
TEST(ConstantTable, CountsReferences)
{
    const std::vector<DWORD> code = assemble(g_pixelSource);
    LPD3DXCONSTANTTABLE table = nullptr;
    ASSERT_EQ(D3DXGetShaderConstantTable(code.data(), &table), D3D_OK);
    EXPECT_EQ(table->AddRef(), 2u);
    EXPECT_EQ(table->Release(), 1u);
    EXPECT_EQ(table->Release(), 0u);
}

// Byte code without a constant table, or with a damaged program or table,
// gives failure and no table, reading nothing outside the program.
TEST(ConstantTable, RefusesByteCodeWithoutASoundTable)
{
    // quad_vs.tokens indices: 0 version, 1 comment token, 2 "CTAB", 3-24 the
    // table (6 constant count, 10 name offset, 13 type info offset, 24 the last
    // string DWORD), 25 the first instruction, 47 the end token.
    std::ifstream listing(std::string(TARVO_TEST_DATA) + "/qorasm/programs/quad_vs.tokens");
    std::vector<DWORD> quad;
    std::string line;
    while (std::getline(listing, line))
    {
        std::istringstream words(line.substr(0, line.find('#')));
        std::string word;
        while (words >> word)
            quad.push_back(static_cast<DWORD>(strtoul(word.c_str(), nullptr, 16)));
    }
    ASSERT_EQ(quad.size(), 48u);
    {
        TableHolder sound(quad);
        EXPECT_NE(sound.table, nullptr);
    }

    const struct
    {
        const char* what;
        size_t index;
        DWORD value;
    } cases[] = {
        {"shader model 1 program, whose instructions have no lengths", 0, 0xfffe0101},
        {"not a shader", 0, 0x12345678},
        {"no constant table: the comment is something else", 2, 0x53455250},
        {"name offset past the table", 10, 0x1000},
        {"unterminated name at the end of the table", 24, 0x41414141},
        {"constant count past the table", 6, 0x10000},
        {"type info past the table", 13, 73},
        {"header size other than 28", 3, 0x20},
        {"comment block running past the end token", 1, 0x7ffffffe},
        {"instruction length landing inside the next instruction", 25, 0x0f00001f},
    };
    for (const auto& row : cases)
    {
        SCOPED_TRACE(row.what);
        std::vector<DWORD> code = quad;
        code[row.index] = row.value;
        // The exact-size copy lets the sanitizers see any read beyond it.
        ConstantTable* table = ConstantTable::create(code.data(), code.size());
        EXPECT_EQ(table, nullptr);
        if (table)
            table->Release();
    }

    // Without a length, the API walks to the end token; a program whose
    // constant table is damaged still ends there.
    std::vector<DWORD> damaged = quad;
    damaged[10] = 0x1000;
    TableHolder earlier(quad);
    LPD3DXCONSTANTTABLE table = earlier.table;
    EXPECT_EQ(D3DXGetShaderConstantTable(damaged.data(), &table), D3DXERR_INVALIDDATA);
    EXPECT_EQ(table, nullptr);
    EXPECT_EQ(D3DXGetShaderConstantTable(nullptr, &table), D3DERR_INVALIDCALL);
    EXPECT_EQ(D3DXGetShaderConstantTable(quad.data(), nullptr), D3DERR_INVALIDCALL);
}

// A program assembled with noctab has no table.
TEST(ConstantTable, ProgramWithoutATableHasNone)
{
    const std::vector<DWORD> code = assemble("ps_3_0\nnoctab\nmov oC0, c0\n");
    LPD3DXCONSTANTTABLE table = nullptr;
    EXPECT_EQ(D3DXGetShaderConstantTable(code.data(), &table), D3DXERR_INVALIDDATA);
    EXPECT_EQ(table, nullptr);
}

// What D3DXGetShaderConstantTable answers for byte code of every shape: a
// first token that is no shader version gives success and no table; a
// shader with no table or a damaged one gives D3DXERR_INVALIDDATA; other comment blocks before and after the table, an
// unusual version token and a table whose strings overlap its header are
// accepted. The table's buffer is the block after "CTAB", and Desc.Creator
// points into it at the creator offset.
TEST(ConstantTable, AcceptsAndRefusesByteCodeAsD3DXDoes)
{
    const DWORD text = 0x54584554;  // "TEXT"
    const DWORD ctab = 0x42415443;  // "CTAB"
    // A 28-byte table with no constants whose creator offset (16) lands on
    // the version field's low byte, 0: an empty string; the target offset 0
    // lands on the header size.
    const std::vector<DWORD> emptyTable = {0x0008FFFE, ctab, 0x1C, 0x10, 0xFFFE0300, 0, 0, 0, 0};
    auto program = [&](DWORD a_version, std::vector<DWORD> a_middle) {
        std::vector<DWORD> code = {a_version};
        code.insert(code.end(), a_middle.begin(), a_middle.end());
        code.push_back(0x0000FFFF);
        return code;
    };
    std::vector<DWORD> withComments = {0x0002FFFE, text, 0};
    withComments.insert(withComments.end(), emptyTable.begin(), emptyTable.end());
    withComments.insert(withComments.end(), {0x0004FFFE, text, 0, 0, 0});
    std::vector<DWORD> creatorPastTheEnd = emptyTable;
    creatorPastTheEnd[3] = 0xA9;

    struct Case
    {
        const char* name;
        std::vector<DWORD> code;
        HRESULT result;
        bool table;
    };
    const Case cases[] = {
        {"a zero token", {0x00000000, 0x0000FFFF}, D3D_OK, false},
        {"no shader version", {0xEEEE0100, 0x0000FFFF}, D3D_OK, false},
        {"an empty vs_255_255", {0xFFFEFFFF, 0x0000FFFF}, D3DXERR_INVALIDDATA, false},
        {"no table, only a TEXT comment", program(0xFFFF0300, {0x0002FFFE, text, 0}),
         D3DXERR_INVALIDDATA, false},
        {"a creator string past the table", program(0xFFFE0300, creatorPastTheEnd),
         D3DXERR_INVALIDDATA, false},
        {"the table alone", program(0xFFFE0300, emptyTable), D3D_OK, true},
        {"comments before and after the table", program(0xFFFE0300, withComments), D3D_OK, true},
        {"a vs_2_x version token", program(0xFFFE0201, emptyTable), D3D_OK, true},
        {"a ps_3_0 program with a vs_3_0 table", program(0xFFFF0300, emptyTable), D3D_OK, true},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        LPD3DXCONSTANTTABLE table =
            reinterpret_cast<LPD3DXCONSTANTTABLE>(uintptr_t{16});  // overwritten
        EXPECT_EQ(D3DXGetShaderConstantTable(c.code.data(), &table), c.result);
        EXPECT_EQ(table != nullptr, c.table);
        if (!table)
            continue;
        ASSERT_EQ(table->GetBufferSize(), 28u);
        const char* buffer = static_cast<const char*>(table->GetBufferPointer());
        EXPECT_EQ(memcmp(buffer, &emptyTable[2], 28), 0);
        D3DXCONSTANTTABLE_DESC desc = {};
        EXPECT_EQ(table->GetDesc(nullptr), D3DERR_INVALIDCALL);
        ASSERT_EQ(table->GetDesc(&desc), D3D_OK);
        EXPECT_EQ(desc.Creator, buffer + 0x10);
        EXPECT_STREQ(desc.Creator, "");
        EXPECT_EQ(desc.Version, D3DVS_VERSION(3, 0));
        EXPECT_EQ(desc.Constants, 0u);
        table->Release();
    }
}

// Names and the creator are strings inside the table's buffer, as D3DX hands
// them out: an element's name is its array's, a member's its own.
TEST(ConstantTable, NamesPointIntoTheTable)
{
    const std::vector<DWORD> code = assemble(g_vertexSource);
    TableHolder holder(code);
    ASSERT_NE(holder.table, nullptr);
    ID3DXConstantTable* table = holder.table;
    const char* begin = static_cast<const char*>(table->GetBufferPointer());
    const char* end = begin + table->GetBufferSize();
    auto inside = [&](const char* a_text) {
        return a_text >= begin && a_text < end;
    };
    D3DXCONSTANTTABLE_DESC desc = {};
    ASSERT_EQ(table->GetDesc(&desc), D3D_OK);
    EXPECT_TRUE(inside(desc.Creator));
    for (const char* path : {"scale", "lights", "lights[1]", "flags[0]", "image"})
    {
        SCOPED_TRACE(path);
        D3DXCONSTANT_DESC constant = {};
        UINT count = 0;
        ASSERT_EQ(
            table->GetConstantDesc(table->GetConstantByName(nullptr, path), &constant, &count),
            D3D_OK);
        EXPECT_TRUE(inside(constant.Name));
        const std::string expected = std::string(path).substr(0, std::string(path).find('['));
        EXPECT_STREQ(constant.Name, expected.c_str());
    }
}

namespace
{

// The vertex shader registers a device holds after the recorded calls, by
// register file ('c', 'i', 'b') and number: 4 values per float4 or int4
// register, 1 per bool register. How the writes were split into calls does
// not matter.
using Registers = std::map<std::pair<char, UINT>, std::vector<float>>;

Registers registersAfter(const std::vector<RecordingDevice::Call>& a_calls)
{
    Registers registers;
    for (const RecordingDevice::Call& call : a_calls)
        for (UINT i = 0; i < call.count; ++i)
        {
            if (call.method == "SetVertexShaderConstantF")
                registers[{'c', call.startRegister + i}].assign(call.floats.begin() + 4 * i,
                                                                call.floats.begin() + 4 * i + 4);
            else if (call.method == "SetVertexShaderConstantI")
                registers[{'i', call.startRegister + i}].assign(call.ints.begin() + 4 * i,
                                                                call.ints.begin() + 4 * i + 4);
            else if (call.method == "SetVertexShaderConstantB")
                registers[{'b', call.startRegister + i}] = {float(call.bools[i])};
            else
                ADD_FAILURE() << "unexpected call " << call.method;
        }
    return registers;
}

}

// The array setters, the int setters and SetMatrixTranspose, with D3DX's
// rules: arrays take their elements in order while whole values remain;
// SetFloatArray and SetIntArray read the constant's rows as runs of its
// columns; vectors fill a row each; one scalar sets only scalars and vectors
// set no matrices (success, nothing written); ints and floats convert to the
// constant's type. Element paths such as "lights[1]" name one element.
TEST(ConstantTable, ArraySettersFollowD3DXRules)
{
    const std::vector<DWORD> code = assemble(g_vertexSource);
    TableHolder holder(code);
    ASSERT_NE(holder.table, nullptr);
    ID3DXConstantTable* table = holder.table;
    const float sequence[32] = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16,
                                17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32};
    const D3DXVECTOR4 vectors[3] = {{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}};
    const D3DXMATRIX matrices[2] = {g_matrix, g_matrix * 2.0f};
    const INT ints[4] = {1, -2, 3, 0};
    // Out of the int range, the layer saturates where a cast would be undefined.
    const float roundings[4] = {1.25f, 2.75f, 7.0f, 1.0e12f};
    struct Case
    {
        const char* what;
        std::function<HRESULT(IDirect3DDevice9*)> call;
        Registers registers;
    };
    const Case cases[] = {
        // SetFloatArray and SetIntArray.
        {"float array into a float: the first value",
         [&](IDirect3DDevice9* a) { return table->SetFloatArray(a, "scale", sequence, 2); },
         {{{'c', 0}, {1, 0, 0, 0}}}},
        {"float array into a float3",
         [&](IDirect3DDevice9* a) { return table->SetFloatArray(a, "position", sequence, 3); },
         {{{'c', 1}, {1, 2, 3, 0}}}},
        {"too few floats for a float3: nothing",
         [&](IDirect3DDevice9* a) { return table->SetFloatArray(a, "position", sequence, 2); },
         {}},
        {"float array into a row-major matrix: rows",
         [&](IDirect3DDevice9* a) { return table->SetFloatArray(a, "rowMatrix", sequence, 16); },
         {{{'c', 3}, {1, 2, 3, 4}},
          {{'c', 4}, {5, 6, 7, 8}},
          {{'c', 5}, {9, 10, 11, 12}},
          {{'c', 6}, {13, 14, 15, 16}}}},
        {"float array into a column-major matrix: its columns",
         [&](IDirect3DDevice9* a) { return table->SetFloatArray(a, "columnMatrix", sequence, 16); },
         {{{'c', 7}, {1, 5, 9, 13}},
          {{'c', 8}, {2, 6, 10, 14}},
          {{'c', 9}, {3, 7, 11, 15}},
          {{'c', 10}, {4, 8, 12, 16}}}},
        {"float array into a 4x3 row-major matrix: runs of three",
         [&](IDirect3DDevice9* a) { return table->SetFloatArray(a, "narrowRows", sequence, 12); },
         {{{'c', 14}, {1, 2, 3, 0}},
          {{'c', 15}, {4, 5, 6, 0}},
          {{'c', 16}, {7, 8, 9, 0}},
          {{'c', 17}, {10, 11, 12, 0}}}},
        {"float array into both elements of an array",
         [&](IDirect3DDevice9* a) { return table->SetFloatArray(a, "lights", sequence, 8); },
         {{{'c', 18}, {1, 2, 3, 4}}, {{'c', 19}, {5, 6, 7, 8}}}},
        {"float array too short for the second element",
         [&](IDirect3DDevice9* a) { return table->SetFloatArray(a, "lights", sequence, 6); },
         {{{'c', 18}, {1, 2, 3, 4}}}},
        {"float array into one element by its path",
         [&](IDirect3DDevice9* a) { return table->SetFloatArray(a, "lights[1]", sequence, 4); },
         {{{'c', 19}, {1, 2, 3, 4}}}},
        {"int array into an int4",
         [&](IDirect3DDevice9* a) { return table->SetIntArray(a, "counts", ints, 4); },
         {{{'i', 0}, {1, -2, 3, 0}}}},
        {"float array into an int4: fraction dropped, saturated",
         [&](IDirect3DDevice9* a) { return table->SetFloatArray(a, "counts", roundings, 4); },
         {{{'i', 0}, {1, 2, 7, float(INT_MAX)}}}},
        {"int array into bools: nonzero is TRUE",
         [&](IDirect3DDevice9* a) { return table->SetIntArray(a, "flags", ints + 1, 2); },
         {{{'b', 1}, {TRUE}}, {{'b', 2}, {TRUE}}}},
        {"int array into a bool in c: 1.0",
         [&](IDirect3DDevice9* a) { return table->SetIntArray(a, "fogOn", ints + 1, 1); },
         {{{'c', 20}, {1, 0, 0, 0}}}},
        // SetInt.
        {"int into a float",
         [&](IDirect3DDevice9* a) { return table->SetInt(a, "scale", -7); },
         {{{'c', 0}, {-7, 0, 0, 0}}}},
        {"one int does not fit an int4: nothing",
         [&](IDirect3DDevice9* a) { return table->SetInt(a, "counts", 3); },
         {}},
        {"int into a bool array: the first element",
         [&](IDirect3DDevice9* a) { return table->SetInt(a, "flags", 9); },
         {{{'b', 1}, {TRUE}}}},
        {"bool into the second element by its path",
         [&](IDirect3DDevice9* a) { return table->SetBool(a, "flags[1]", TRUE); },
         {{{'b', 2}, {TRUE}}}},
        // SetVectorArray and SetVector.
        {"vectors into an array: one element each",
         [&](IDirect3DDevice9* a) { return table->SetVectorArray(a, "lights", vectors, 3); },
         {{{'c', 18}, {1, 2, 3, 4}}, {{'c', 19}, {5, 6, 7, 8}}}},
        {"vector into an int4",
         [&](IDirect3DDevice9* a) { return table->SetVector(a, "counts", &vectors[1]); },
         {{{'i', 0}, {5, 6, 7, 8}}}},
        {"vectors into a float: the first vector's x",
         [&](IDirect3DDevice9* a) { return table->SetVectorArray(a, "scale", vectors + 1, 2); },
         {{{'c', 0}, {5, 0, 0, 0}}}},
        {"vector does not fit a matrix: nothing",
         [&](IDirect3DDevice9* a) { return table->SetVector(a, "rowMatrix", &vectors[0]); },
         {}},
        {"vectors do not fit a matrix: nothing",
         [&](IDirect3DDevice9* a) { return table->SetVectorArray(a, "columnMatrix", vectors, 3); },
         {}},
        // SetMatrixArray and SetMatrixTranspose.
        {"matrices into a single matrix: the first",
         [&](IDirect3DDevice9* a) { return table->SetMatrixArray(a, "rowMatrix", matrices, 2); },
         {{{'c', 3}, {11, 12, 13, 14}},
          {{'c', 4}, {21, 22, 23, 24}},
          {{'c', 5}, {31, 32, 33, 34}},
          {{'c', 6}, {41, 42, 43, 44}}}},
        {"transposed into a row-major matrix: the columns",
         [&](IDirect3DDevice9* a) { return table->SetMatrixTranspose(a, "rowMatrix", &g_matrix); },
         {{{'c', 3}, {11, 21, 31, 41}},
          {{'c', 4}, {12, 22, 32, 42}},
          {{'c', 5}, {13, 23, 33, 43}},
          {{'c', 6}, {14, 24, 34, 44}}}},
        {"transposed into a column-major matrix: the rows",
         [&](IDirect3DDevice9* a) {
             return table->SetMatrixTranspose(a, "columnMatrix", &g_matrix);
         },
         {{{'c', 7}, {11, 12, 13, 14}},
          {{'c', 8}, {21, 22, 23, 24}},
          {{'c', 9}, {31, 32, 33, 34}},
          {{'c', 10}, {41, 42, 43, 44}}}},
    };
    for (const Case& row : cases)
    {
        SCOPED_TRACE(row.what);
        RecordingDevice device;
        EXPECT_EQ(row.call(&device), D3D_OK);
        EXPECT_EQ(registersAfter(device.m_calls), row.registers);
    }
}
