// ID3DXConstantTable's array, value and matrix-pointer setters on every
// register set and class, read back from a device: the registers written,
// the zeros they are padded with, and every other register left alone.
#include "platform/d3d9/TestDevice.h"
#include "platform/d3dx9/ConstantRegisters.h"
#include "platform/d3dx9/CtabBuilder.h"

#include <d3dx9.h>
#include <gtest/gtest.h>

#include <functional>

namespace
{

const std::vector<CtabBuilder::Constant> g_constants = {
    {"b", D3DXRS_BOOL, 0, 1, {D3DXPC_SCALAR, D3DXPT_BOOL, 1, 1, 1, {}}, {}},
    {"barr", D3DXRS_BOOL, 2, 3, {D3DXPC_SCALAR, D3DXPT_BOOL, 1, 1, 3, {}}, {}},
    {"bv", D3DXRS_BOOL, 6, 3, {D3DXPC_VECTOR, D3DXPT_BOOL, 1, 3, 1, {}}, {}},
    {"n4", D3DXRS_INT4, 1, 1, {D3DXPC_VECTOR, D3DXPT_INT, 1, 4, 1, {}}, {}},
    {"narr", D3DXRS_INT4, 2, 2, {D3DXPC_VECTOR, D3DXPT_INT, 1, 2, 2, {}}, {}},
    {"f", D3DXRS_FLOAT4, 0, 1, {D3DXPC_SCALAR, D3DXPT_FLOAT, 1, 1, 1, {}}, {}},
    {"v3arr", D3DXRS_FLOAT4, 1, 2, {D3DXPC_VECTOR, D3DXPT_FLOAT, 1, 3, 2, {}}, {}},
    {"m", D3DXRS_FLOAT4, 3, 4, {D3DXPC_MATRIX_ROWS, D3DXPT_FLOAT, 4, 4, 1, {}}, {}},
    {"mc", D3DXRS_FLOAT4, 7, 3, {D3DXPC_MATRIX_COLUMNS, D3DXPT_FLOAT, 4, 3, 1, {}}, {}},
    {"marr", D3DXRS_FLOAT4, 10, 4, {D3DXPC_MATRIX_ROWS, D3DXPT_FLOAT, 2, 2, 2, {}}, {}},
};

using Case = ConstantRegisters::Case;

// Element (r, c) of the first matrix is 10 r + c + 11 (so _11 is 11), of
// the second 100 more.
D3DXMATRIX matrix(float a_base)
{
    D3DXMATRIX m;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            m.m[r][c] = a_base + float(10 * r + c) + 11.0f;
    return m;
}

const D3DXMATRIX g_matrices[2] = {matrix(0.0f), matrix(100.0f)};
const D3DXMATRIX* g_pointers[2] = {&g_matrices[0], &g_matrices[1]};
const D3DXMATRIX* g_withNull[2] = {&g_matrices[0], nullptr};
const BOOL g_bools[4] = {TRUE, FALSE, 5, TRUE};
const int g_ints[6] = {0, 7, -1, 4, 5, 6};
const float g_floats[10] = {1.5f, 2.5f, 3.5f, 4.5f, 5.5f, 6.5f, 7.5f, 8.5f, 9.5f, 10.5f};
const D3DXVECTOR4 g_vectors[2] = {{1.25f, -2.0f, 3.0f, 4.0f}, {0.0f, 6.0f, -7.5f, 8.0f}};

std::vector<Case> cases()
{
    using Table = ID3DXConstantTable;
    using Device = IDirect3DDevice9;
    return {
        {"SetBoolArray on a bool array, each element its register, BOOLs as given",
         [](Table* t, Device* d) { return t->SetBoolArray(d, "barr", g_bools, 3); },
         ConstantRegisters::ofBools({{2, TRUE}, {3, FALSE}, {4, 5}})},
        {"SetBoolArray short of the array sets the elements it reaches",
         [](Table* t, Device* d) { return t->SetBoolArray(d, "barr", g_bools, 2); },
         ConstantRegisters::ofBools({{2, TRUE}, {3, FALSE}})},
        {"SetBoolArray on a bool vector, a register per component",
         [](Table* t, Device* d) { return t->SetBoolArray(d, "bv", g_bools, 3); },
         ConstantRegisters::ofBools({{6, TRUE}, {7, FALSE}, {8, 5}})},
        {"SetBoolArray on an int4 vector",
         [](Table* t, Device* d) { return t->SetBoolArray(d, "n4", g_bools, 4); },
         ConstantRegisters::ofInts({{1, {1, 0, 1, 1}}})},
        {"SetBoolArray on a float scalar",
         [](Table* t, Device* d) { return t->SetBoolArray(d, "f", g_bools, 1); },
         ConstantRegisters::ofFloats({{0, {1, 0, 0, 0}}})},
        {"SetIntArray on a bool array",
         [](Table* t, Device* d) { return t->SetIntArray(d, "barr", g_ints, 3); },
         ConstantRegisters::ofBools({{2, FALSE}, {3, TRUE}, {4, TRUE}})},
        {"SetIntArray on a float3 array, padded with zeros",
         [](Table* t, Device* d) { return t->SetIntArray(d, "v3arr", g_ints, 6); },
         ConstantRegisters::ofFloats({{1, {0, 7, -1, 0}}, {2, {4, 5, 6, 0}}})},
        {"SetValue of a float3 array's 24 bytes",
         [](Table* t, Device* d) { return t->SetValue(d, "v3arr", g_floats, 24); },
         ConstantRegisters::ofFloats({{1, {1.5f, 2.5f, 3.5f, 0}}, {2, {4.5f, 5.5f, 6.5f, 0}}})},
        {"SetValue short of the array's size sets the whole elements it holds",
         [](Table* t, Device* d) { return t->SetValue(d, "v3arr", g_floats, 20); },
         ConstantRegisters::ofFloats({{1, {1.5f, 2.5f, 3.5f, 0}}})},
        {"SetValue past the array's size stops at its end",
         [](Table* t, Device* d) { return t->SetValue(d, "v3arr", g_floats, 40); },
         ConstantRegisters::ofFloats({{1, {1.5f, 2.5f, 3.5f, 0}}, {2, {4.5f, 5.5f, 6.5f, 0}}})},
        {"SetValue on an int4 vector takes ints",
         [](Table* t, Device* d) { return t->SetValue(d, "n4", g_ints, 16); },
         ConstantRegisters::ofInts({{1, {0, 7, -1, 4}}})},
        {"SetValue on a bool array takes BOOLs",
         [](Table* t, Device* d) { return t->SetValue(d, "barr", g_bools, 12); },
         ConstantRegisters::ofBools({{2, TRUE}, {3, FALSE}, {4, 5}})},
        {"SetBool on a bool scalar", [](Table* t, Device* d) { return t->SetBool(d, "b", 5); },
         ConstantRegisters::ofBools({{0, 5}})},
        {"SetValue on a row-major matrix takes its rows in turn",
         [](Table* t, Device* d) { return t->SetValue(d, "m", &g_matrices[0], 64); },
         ConstantRegisters::ofFloats({{3, {11, 12, 13, 14}},
                                      {4, {21, 22, 23, 24}},
                                      {5, {31, 32, 33, 34}},
                                      {6, {41, 42, 43, 44}}})},
        {"SetMatrixPointerArray on a 2x2 array, an element per matrix",
         [](Table* t, Device* d) { return t->SetMatrixPointerArray(d, "marr", g_pointers, 2); },
         ConstantRegisters::ofFloats({{10, {11, 12, 0, 0}},
                                      {11, {21, 22, 0, 0}},
                                      {12, {111, 112, 0, 0}},
                                      {13, {121, 122, 0, 0}}})},
        {"SetMatrixTransposePointerArray on a 2x2 array",
         [](Table* t, Device* d) {
             return t->SetMatrixTransposePointerArray(d, "marr", g_pointers, 2);
         },
         ConstantRegisters::ofFloats({{10, {11, 21, 0, 0}},
                                      {11, {12, 22, 0, 0}},
                                      {12, {111, 121, 0, 0}},
                                      {13, {112, 122, 0, 0}}})},
        {"SetMatrixTransposeArray on a 2x2 array",
         [](Table* t, Device* d) { return t->SetMatrixTransposeArray(d, "marr", g_matrices, 2); },
         ConstantRegisters::ofFloats({{10, {11, 21, 0, 0}},
                                      {11, {12, 22, 0, 0}},
                                      {12, {111, 121, 0, 0}},
                                      {13, {112, 122, 0, 0}}})},
        {"SetMatrixPointerArray of one matrix on a 4x3 column-major matrix, a column per register",
         [](Table* t, Device* d) { return t->SetMatrixPointerArray(d, "mc", g_pointers, 1); },
         ConstantRegisters::ofFloats(
             {{7, {11, 21, 31, 41}}, {8, {12, 22, 32, 42}}, {9, {13, 23, 33, 43}}})},
        {"SetMatrixTransposePointerArray on a 4x3 column-major matrix",
         [](Table* t, Device* d) {
             return t->SetMatrixTransposePointerArray(d, "mc", g_pointers, 1);
         },
         ConstantRegisters::ofFloats(
             {{7, {11, 12, 13, 14}}, {8, {21, 22, 23, 24}}, {9, {31, 32, 33, 34}}})},
        {"SetVectorArray on a float3 array drops each vector's w",
         [](Table* t, Device* d) { return t->SetVectorArray(d, "v3arr", g_vectors, 2); },
         ConstantRegisters::ofFloats({{1, {1.25f, -2.0f, 3.0f, 0}}, {2, {0.0f, 6.0f, -7.5f, 0}}})},
        {"SetVectorArray on an int2 array pads as a loop's registers",
         [](Table* t, Device* d) { return t->SetVectorArray(d, "narr", g_vectors, 2); },
         ConstantRegisters::ofInts({{2, {1, -2, 1, 0}}, {3, {0, 6, 1, 0}}})},
        {"SetVectorArray on a bool vector",
         [](Table* t, Device* d) { return t->SetVectorArray(d, "bv", g_vectors, 1); },
         ConstantRegisters::ofBools({{6, TRUE}, {7, TRUE}, {8, TRUE}})},
    };
}

void runCases(bool a_vertexShader)
{
    ConstantRegisters::expectCases(a_vertexShader,
                                   CtabBuilder::program(a_vertexShader, g_constants), cases());
}

}  // namespace

TEST(ConstantArraySetters, WriteVertexShaderRegisters)
{
    runCases(true);
}

TEST(ConstantArraySetters, WritePixelShaderRegisters)
{
    runCases(false);
}

// A null among the matrix pointers is refused before anything is written,
// rather than read through.
TEST(ConstantArraySetters, NullMatrixPointersAreRefused)
{
    const std::vector<Case> refused = {
        {"SetMatrixPointerArray",
         [](ID3DXConstantTable* t, IDirect3DDevice9* d) {
             return t->SetMatrixPointerArray(d, "marr", g_withNull, 2);
         },
         ConstantRegisters(), D3DERR_INVALIDCALL},
        {"SetMatrixTransposePointerArray",
         [](ID3DXConstantTable* t, IDirect3DDevice9* d) {
             return t->SetMatrixTransposePointerArray(d, "marr", g_withNull, 2);
         },
         ConstantRegisters(), D3DERR_INVALIDCALL},
    };
    ConstantRegisters::expectCases(true, CtabBuilder::program(true, g_constants), refused);
}
