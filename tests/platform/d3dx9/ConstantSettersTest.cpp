// ID3DXConstantTable's setters on the int and bool register sets and on the
// pixel shader's registers, read back from a device: what each setter
// writes, the zeros it pads with, and the registers it leaves alone. The
// array, value and matrix-pointer setters are in ConstantArraySettersTest.cpp.
#include "platform/d3d9/TestDevice.h"
#include "platform/d3dx9/ConstantRegisters.h"
#include "platform/d3dx9/CtabBuilder.h"

#include <d3dx9.h>
#include <gtest/gtest.h>

#include <functional>

namespace
{

const CtabBuilder::Type g_int = {D3DXPC_SCALAR, D3DXPT_INT, 1, 1, 1, {}};
const CtabBuilder::Type g_int4 = {D3DXPC_VECTOR, D3DXPT_INT, 1, 4, 1, {}};
const CtabBuilder::Type g_bool = {D3DXPC_SCALAR, D3DXPT_BOOL, 1, 1, 1, {}};

// Constants of the int and bool sets, and a float for the other kind of
// shader, laid out as a compiler lays them out.
const std::vector<CtabBuilder::Constant> g_constants = {
    {"n", D3DXRS_INT4, 1, 1, g_int, {}},
    {"n4", D3DXRS_INT4, 2, 1, g_int4, {}},
    {"n2", D3DXRS_INT4, 3, 1, {D3DXPC_VECTOR, D3DXPT_INT, 1, 2, 1, {}}, {}},
    {"narr", D3DXRS_INT4, 4, 2, {D3DXPC_VECTOR, D3DXPT_INT, 1, 4, 2, {}}, {}},
    {"flag", D3DXRS_BOOL, 1, 1, g_bool, {}},
    {"flags", D3DXRS_BOOL, 3, 3, {D3DXPC_SCALAR, D3DXPT_BOOL, 1, 1, 3, {}}, {}},
    {"f4", D3DXRS_FLOAT4, 9, 1, {D3DXPC_VECTOR, D3DXPT_FLOAT, 1, 4, 1, {}}, {}},
};

using Case = ConstantRegisters::Case;

const D3DXVECTOR4 g_vector(1.25f, -2.75f, 3.5f, 4.0f);
const int g_sequence[8] = {1, 2, 3, 4, 5, 6, 7, 8};
const float g_floats[4] = {0.0f, 0.5f, 2.0f, -1.0f};

std::vector<Case> cases()
{
    using Table = ID3DXConstantTable;
    using Device = IDirect3DDevice9;
    return {
        {"SetInt on an int scalar pads the register as a loop's (count, start 0, step 1)",
         [](Table* t, Device* d) { return t->SetInt(d, "n", -321); },
         ConstantRegisters::ofInts({{1, {-321, 0, 1, 0}}})},
        {"SetIntArray on an int2 vector",
         [](Table* t, Device* d) { return t->SetIntArray(d, "n2", g_sequence, 2); },
         ConstantRegisters::ofInts({{3, {1, 2, 1, 0}}})},
        {"SetIntArray on an int4 vector",
         [](Table* t, Device* d) { return t->SetIntArray(d, "n4", g_sequence, 4); },
         ConstantRegisters::ofInts({{2, {1, 2, 3, 4}}})},
        {"SetIntArray short of the vector's size writes nothing",
         [](Table* t, Device* d) { return t->SetIntArray(d, "n4", g_sequence, 2); },
         ConstantRegisters::ofInts({})},
        {"SetIntArray stops at the array's end",
         [](Table* t, Device* d) { return t->SetIntArray(d, "narr", g_sequence, 8); },
         ConstantRegisters::ofInts({{4, {1, 2, 3, 4}}, {5, {5, 6, 7, 8}}})},
        {"an element by its path",
         [](Table* t, Device* d) { return t->SetIntArray(d, "narr[1]", g_sequence, 4); },
         ConstantRegisters::ofInts({{5, {1, 2, 3, 4}}})},
        {"SetFloat on an int scalar", [](Table* t, Device* d) { return t->SetFloat(d, "n", 7.0f); },
         ConstantRegisters::ofInts({{1, {7, 0, 1, 0}}})},
        {"SetVector on an int4 vector",
         [](Table* t, Device* d) {
             const D3DXVECTOR4 whole(1.0f, -2.0f, 3.0f, 4.0f);
             return t->SetVector(d, "n4", &whole);
         },
         ConstantRegisters::ofInts({{2, {1, -2, 3, 4}}})},
        {"SetBool on an int scalar", [](Table* t, Device* d) { return t->SetBool(d, "n", TRUE); },
         ConstantRegisters::ofInts({{1, {1, 0, 1, 0}}})},
        {"SetBool on a bool", [](Table* t, Device* d) { return t->SetBool(d, "flag", TRUE); },
         ConstantRegisters::ofBools({{1, TRUE}})},
        {"SetInt of zero on a bool", [](Table* t, Device* d) { return t->SetInt(d, "flag", 0); },
         ConstantRegisters::ofBools({{1, FALSE}})},
        {"SetFloat on a bool", [](Table* t, Device* d) { return t->SetFloat(d, "flag", 0.5f); },
         ConstantRegisters::ofBools({{1, TRUE}})},
        {"SetFloatArray on a bool array, each element its register",
         [](Table* t, Device* d) { return t->SetFloatArray(d, "flags", g_floats, 4); },
         ConstantRegisters::ofBools({{3, FALSE}, {4, TRUE}, {5, TRUE}})},
        {"a bool element by its path",
         [](Table* t, Device* d) { return t->SetBool(d, "flags[2]", TRUE); },
         ConstantRegisters::ofBools({{5, TRUE}})},
        {"an element past the array's end is no constant",
         [](Table* t, Device* d) { return t->SetBool(d, "flags[3]", TRUE); },
         ConstantRegisters::ofBools({}), D3DERR_INVALIDCALL},
        {"SetVector on a float4 vector",
         [](Table* t, Device* d) { return t->SetVector(d, "f4", &g_vector); },
         ConstantRegisters::ofFloats({{9, {g_vector.x, g_vector.y, g_vector.z, g_vector.w}}})},
    };
}

void runCases(bool a_vertexShader)
{
    ConstantRegisters::expectCases(a_vertexShader,
                                   CtabBuilder::program(a_vertexShader, g_constants), cases());
}

}  // namespace

// A vertex shader's table writes the vertex shader's registers.
TEST(ConstantSetters, WriteVertexShaderIntAndBoolRegisters)
{
    runCases(true);
}

// A pixel shader's table writes the same registers of the pixel shader.
TEST(ConstantSetters, WritePixelShaderIntAndBoolRegisters)
{
    runCases(false);
}

// A table writes only its own kind's registers: a vertex shader's table
// leaves the pixel shader's registers alone, and the reverse.
TEST(ConstantSetters, LeaveTheOtherShaderKindAlone)
{
    const TestDevice device(16, 16);
    for (bool vertexShader : {true, false})
    {
        SCOPED_TRACE(vertexShader ? "vertex shader's table" : "pixel shader's table");
        const std::vector<DWORD> code = CtabBuilder::program(vertexShader, g_constants);
        LPD3DXCONSTANTTABLE table = nullptr;
        ASSERT_EQ(D3DXGetShaderConstantTable(code.data(), &table), D3D_OK);
        HRESULT result = E_FAIL;
        const ConstantRegisters other = ConstantRegisters::written(
            device.device(), !vertexShader,
            [&](IDirect3DDevice9* a_device) {
                const HRESULT first = table->SetVector(a_device, "f4", &g_vector);
                const HRESULT second = table->SetInt(a_device, "n", 5);
                return first != D3D_OK ? first : table->SetBool(a_device, "flag", second == D3D_OK);
            },
            &result);
        EXPECT_EQ(result, D3D_OK);
        EXPECT_EQ(other, ConstantRegisters());
        table->Release();
    }
}
