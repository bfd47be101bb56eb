// What ID3DXConstantTable's setters write into a device's registers: each
// class and type of constant reaches the registers D3DX's rules give, with
// the zeros it pads with, and invalid calls write nothing. Read back from a
// real device (ConstantRegisters), so the same cases run on our layers and,
// in the Windows build, on Wine's d3d9 and d3dx9_43.dll.
#include "platform/d3dx9/ConstantTablePrograms.h"
#include "platform/d3dx9/TableHolder.h"
#include "platform/d3d9/TestDevice.h"
#include "platform/d3dx9/ConstantRegisters.h"

#include <d3dx9.h>
#include <gtest/gtest.h>

#include <limits.h>

#include <functional>
#include <map>
#include <utility>
#include <vector>

namespace
{

// The registers by file ('c', 'i', 'b') and number: 4 values per float4 or
// int4 register, 1 per bool register.
using Registers = std::map<std::pair<char, UINT>, std::vector<float>>;

// Float4 registers from a_start on, four values each.
Registers c(UINT a_start, const std::vector<float>& a_values)
{
    Registers registers;
    for (size_t i = 0; i < a_values.size() / 4; ++i)
        registers[{'c', a_start + UINT(i)}].assign(a_values.begin() + 4 * i,
                                                   a_values.begin() + 4 * i + 4);
    return registers;
}

Registers b(UINT a_register, BOOL a_value)
{
    return {{{'b', a_register}, {float(a_value)}}};
}

// The registers a_set writes among the vertex (or pixel) shader's, after
// checking its result.
Registers written(const TestDevice& a_device, bool a_vertexShader,
                  const ConstantRegisters::Setter& a_set, HRESULT a_expected = D3D_OK)
{
    HRESULT result = E_FAIL;
    const ConstantRegisters registers =
        ConstantRegisters::written(a_device.device(), a_vertexShader, a_set, &result);
    EXPECT_EQ(result, a_expected);
    Registers byFile;
    for (const auto& entry : registers.floats)
        byFile[{'c', entry.first}] = entry.second;
    for (const auto& entry : registers.ints)
        byFile[{'i', entry.first}].assign(entry.second.begin(), entry.second.end());
    for (const auto& entry : registers.bools)
        byFile[{'b', entry.first}] = {float(entry.second)};
    return byFile;
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
    float number;         // the value of SetFloat and SetBool
    Registers registers;  // exactly the registers written
};

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
        {"float from a float", Setter::Float, "scale", 2.5f, c(0, {2.5f, 0, 0, 0})},
        {"float from a vector", Setter::Vector, "scale", 0, c(0, {1, 0, 0, 0})},
        {"float from a matrix", Setter::Matrix, "scale", 0, c(0, {11, 0, 0, 0})},
        {"float3 from a vector", Setter::Vector, "position", 0, c(1, {1, 2, 3, 0})},
        {"float4 from a vector", Setter::Vector, "color", 0, c(2, {1, 2, 3, 4})},
        {"one float does not fit a float4: nothing written", Setter::Float, "color", 7, {}},
        {"float4 from a matrix: its first row", Setter::Matrix, "color", 0, c(2, {11, 12, 13, 14})},
        {"first element of an array", Setter::Vector, "lights", 0, c(18, {1, 2, 3, 4})},
        // Matrices.
        {"row-major matrix: one row per register", Setter::Matrix, "rowMatrix", 0,
         c(3, {11, 12, 13, 14, 21, 22, 23, 24, 31, 32, 33, 34, 41, 42, 43, 44})},
        {"column-major matrix: one column per register", Setter::Matrix, "columnMatrix", 0,
         c(7, {11, 21, 31, 41, 12, 22, 32, 42, 13, 23, 33, 43, 14, 24, 34, 44})},
        {"column-major matrix cut to three registers", Setter::Matrix, "cutMatrix", 0,
         c(11, {11, 21, 31, 41, 12, 22, 32, 42, 13, 23, 33, 43})},
        {"row-major 4x3: three components per row", Setter::Matrix, "narrowRows", 0,
         c(14, {11, 12, 13, 0, 21, 22, 23, 0, 31, 32, 33, 0, 41, 42, 43, 0})},
        // Bools in float registers are 1.0 or 0.0.
        {"bool in c from TRUE", Setter::Bool, "fogOn", 1, c(20, {1, 0, 0, 0})},
        {"bool in c from FALSE", Setter::Bool, "fogOn", 0, c(20, {0, 0, 0, 0})},
        {"bool in c from a float", Setter::Float, "fogOn", 0.25f, c(20, {1, 0, 0, 0})},
        // Bools in bool registers are TRUE (1) or FALSE.
        {"bool in b from TRUE", Setter::Bool, "cubemap", 1, b(0, TRUE)},
        {"bool in b from any nonzero BOOL: kept as given", Setter::Bool, "cubemap", 7, b(0, 7)},
        {"bool in b from FALSE", Setter::Bool, "cubemap", 0, b(0, FALSE)},
        {"bool in b from a float 0", Setter::Float, "cubemap", 0, b(0, FALSE)},
        {"first element of a bool array", Setter::Bool, "flags", 1, b(1, TRUE)},
    };
    const std::vector<DWORD> code = assemble(g_vertexSource);
    TableHolder holder(code);
    ASSERT_NE(holder.table, nullptr);
    const TestDevice device(16, 16);
    for (const SetCase& row : cases)
    {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(
            written(device, true,
                    [&](IDirect3DDevice9* a_device) { return apply(holder.table, a_device, row); }),
            row.registers);
    }
}

// A name the table lacks, or a constant no setter applies to, is an invalid
// call that writes nothing.
TEST(ConstantTable, InvalidCallsWriteNothing)
{
    const std::vector<DWORD> code = assemble(g_vertexSource);
    TableHolder holder(code);
    ASSERT_NE(holder.table, nullptr);
    ID3DXConstantTable* table = holder.table;
    using Device = IDirect3DDevice9*;
    const struct
    {
        const char* what;
        std::function<HRESULT(Device)> set;
    } cases[] = {
        {"a name not in the table",
         [&](Device a) {
             return table->SetFloat(a, "yscale", 1.0f);
         }},
        {"a name in another case",
         [&](Device a) {
             return table->SetFloat(a, "Scale", 1.0f);
         }},
        {"no name",
         [&](Device a) {
             return table->SetFloat(a, nullptr, 1.0f);
         }},
        {"a float into a sampler",
         [&](Device a) {
             return table->SetFloat(a, "image", 1.0f);
         }},
        {"a vector into a sampler",
         [&](Device a) {
             return table->SetVector(a, "image", &g_vector);
         }},
        {"an element past the array",
         [&](Device a) {
             return table->SetFloat(a, "lights[2]", 1.0f);
         }},
        {"a member of a scalar",
         [&](Device a) {
             return table->SetFloat(a, "scale.x", 1.0f);
         }},
    };
    const TestDevice device(16, 16);
    for (const auto& row : cases)
    {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(written(device, true, row.set, D3DERR_INVALIDCALL), Registers());
    }
}

// A missing device or value is an invalid call that writes nothing.
TEST(ConstantTable, NullPointersWriteNothing)
{
    const std::vector<DWORD> code = assemble(g_vertexSource);
    TableHolder holder(code);
    ASSERT_NE(holder.table, nullptr);
    ID3DXConstantTable* table = holder.table;
    using Device = IDirect3DDevice9*;
    const struct
    {
        const char* what;
        std::function<HRESULT(Device)> set;
    } cases[] = {
        {"no floats",
         [&](Device a) {
             return table->SetFloatArray(a, "scale", nullptr, 1);
         }},
        {"no ints",
         [&](Device a) {
             return table->SetIntArray(a, "counts", nullptr, 4);
         }},
        {"no vectors",
         [&](Device a) {
             return table->SetVectorArray(a, "lights", nullptr, 2);
         }},
        {"no matrices",
         [&](Device a) {
             return table->SetMatrixArray(a, "rowMatrix", nullptr, 1);
         }},
        {"no matrix to transpose",
         [&](Device a) {
             return table->SetMatrixTranspose(a, "rowMatrix", nullptr);
         }},
        {"no vector",
         [&](Device a) {
             return table->SetVector(a, "color", nullptr);
         }},
        {"no matrix",
         [&](Device a) {
             return table->SetMatrix(a, "rowMatrix", nullptr);
         }},
        {"no device",
         [&](Device) {
             return table->SetFloat(nullptr, "scale", 1.0f);
         }},
    };
    const TestDevice device(16, 16);
    for (const auto& row : cases)
    {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(written(device, true, row.set, D3DERR_INVALIDCALL), Registers());
    }
}

// An element path whose index is no number names no element.
TEST(ConstantTable, ElementPathsThatAreNoNumberNameNothing)
{
    const std::vector<DWORD> code = assemble(g_vertexSource);
    TableHolder holder(code);
    ASSERT_NE(holder.table, nullptr);
    const TestDevice device(16, 16);
    EXPECT_EQ(written(
                  device, true,
                  [&](IDirect3DDevice9* a) { return holder.table->SetFloat(a, "lights[x]", 1.0f); },
                  D3DERR_INVALIDCALL),
              Registers());
}

// A pixel shader's table writes the pixel shader's registers.
TEST(ConstantTable, PixelShaderTablesWritePixelShaderRegisters)
{
    const std::vector<DWORD> code = assemble(g_pixelSource);
    TableHolder holder(code);
    ASSERT_NE(holder.table, nullptr);
    const TestDevice device(16, 16);
    Registers expected = c(5, {1, 2, 3, 4});
    expected[{'b', 3}] = {TRUE};
    EXPECT_EQ(written(device, false,
                      [&](IDirect3DDevice9* a_device) {
                          const HRESULT vector =
                              holder.table->SetVector(a_device, "color", &g_vector);
                          const HRESULT flag = holder.table->SetBool(a_device, "cubemap", TRUE);
                          return vector != D3D_OK ? vector : flag;
                      }),
              expected);
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
    // Out of the int range D3DX gives INT_MIN, whichever the sign.
    const float roundings[4] = {1.25f, 2.75f, -1.0e12f, 1.0e12f};
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
        {"float array into an int4: fraction dropped, INT_MIN out of range",
         [&](IDirect3DDevice9* a) { return table->SetFloatArray(a, "counts", roundings, 4); },
         {{{'i', 0}, {1, 2, float(INT_MIN), float(INT_MIN)}}}},
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
    const TestDevice device(16, 16);
    for (const Case& row : cases)
    {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(written(device, true, row.call), row.registers);
    }
}
