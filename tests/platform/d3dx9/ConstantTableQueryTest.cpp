// ID3DXConstantTable's descriptions and handles (GetDesc, GetConstant,
// GetConstantByName with element and member paths, GetConstantElement,
// GetConstantDesc), structures and default values, on tables laid out by
// hand in D3DX's binary format; and ID3DXBuffer.
//
// Untested ideas: samplers spanning several registers (GetConstantDesc
// answers one description).
#include "platform/d3d9/TestDevice.h"
#include "platform/d3dx9/ConstantRegisters.h"
#include "platform/d3dx9/CtabBuilder.h"

#include <d3dx9.h>
#include <gtest/gtest.h>

#include <string.h>
#include <functional>
#include <map>

namespace
{

using Type = CtabBuilder::Type;

const Type g_float = {D3DXPC_SCALAR, D3DXPT_FLOAT, 1, 1, 1, {}};
const Type g_float4 = {D3DXPC_VECTOR, D3DXPT_FLOAT, 1, 4, 1, {}};

uint32_t bits(float a_value)
{
    uint32_t value;
    memcpy(&value, &a_value, 4);
    return value;
}

// Structures count their components in rows x columns, as D3DX writes them.
const std::vector<CtabBuilder::Constant> g_constants = {
    {"s",
     D3DXRS_FLOAT4,
     5,
     4,
     {D3DXPC_STRUCT,
      D3DXPT_VOID,
      1,
      9,
      1,
      {{"m", g_float4}, {"f", g_float}, {"k", {D3DXPC_MATRIX_ROWS, D3DXPT_FLOAT, 2, 2, 1, {}}}}},
     {}},
    {"arr",
     D3DXRS_FLOAT4,
     10,
     4,
     {D3DXPC_STRUCT, D3DXPT_VOID, 1, 5, 2, {{"a", g_float}, {"b", g_float4}}},
     {}},
    {"cut", D3DXRS_FLOAT4, 20, 2, {D3DXPC_VECTOR, D3DXPT_FLOAT, 1, 4, 3, {}}, {}},
    {"d", D3DXRS_FLOAT4, 30, 1, g_float4, {bits(1), bits(2), bits(3), bits(4)}},
    {"di", D3DXRS_INT4, 2, 1, {D3DXPC_VECTOR, D3DXPT_INT, 1, 4, 1, {}}, {5, 6, 7, 8}},
    {"db", D3DXRS_BOOL, 3, 1, {D3DXPC_SCALAR, D3DXPT_BOOL, 1, 1, 1, {}}, {1}},
    {"tex", D3DXRS_SAMPLER, 1, 1, {D3DXPC_OBJECT, D3DXPT_SAMPLER2D, 1, 1, 1, {}}, {}},
};

class ConstantTableQuery : public testing::Test
{
protected:
    void SetUp() override
    {
        m_code = CtabBuilder::program(true, g_constants);
        ASSERT_EQ(D3DXGetShaderConstantTable(m_code.data(), &m_table), D3D_OK);
    }
    void TearDown() override
    {
        if (m_table)
            m_table->Release();
    }

    D3DXHANDLE byName(const char* a_path) { return m_table->GetConstantByName(nullptr, a_path); }

    std::vector<DWORD> m_code;
    LPD3DXCONSTANTTABLE m_table = nullptr;
};

// Registers of the float set alone, as the cases expect them.
ConstantRegisters floatRegisters(const std::map<UINT, std::vector<float>>& a_floats)
{
    ConstantRegisters registers;
    registers.floats = a_floats;
    return registers;
}

// The vertex shader's registers a_set writes on a_device; it must succeed.
ConstantRegisters writtenBy(const TestDevice& a_device, const ConstantRegisters::Setter& a_set)
{
    HRESULT result = E_FAIL;
    const ConstantRegisters registers =
        ConstantRegisters::written(a_device.device(), true, a_set, &result);
    EXPECT_EQ(result, D3D_OK);
    return registers;
}

}

// GetDesc names the creator, the shader version and the top-level constants,
// which GetConstant counts in table order.
TEST_F(ConstantTableQuery, DescribesTheTable)
{
    D3DXCONSTANTTABLE_DESC desc = {};
    ASSERT_EQ(m_table->GetDesc(&desc), D3D_OK);
    EXPECT_STREQ(desc.Creator, CtabBuilder::kCreator);
    EXPECT_EQ(desc.Version, 0xFFFE0300u);
    ASSERT_EQ(desc.Constants, g_constants.size());
    for (UINT i = 0; i < desc.Constants; ++i)
    {
        SCOPED_TRACE(i);
        D3DXCONSTANT_DESC constant = {};
        ASSERT_EQ(m_table->GetConstantDesc(m_table->GetConstant(nullptr, i), &constant, nullptr),
                  D3D_OK);
        EXPECT_STREQ(constant.Name, g_constants[i].name.c_str());
    }
    EXPECT_EQ(m_table->GetConstant(nullptr, desc.Constants), nullptr);
    EXPECT_EQ(m_table->GetDesc(nullptr), D3DERR_INVALIDCALL);
    ASSERT_GE(m_table->GetBufferSize(), 28u);
    uint32_t headerSize = 0;
    memcpy(&headerSize, m_table->GetBufferPointer(), 4);
    EXPECT_EQ(headerSize, 28u) << "the buffer starts with D3DXSHADER_CONSTANTTABLE";
}

// Every constant, element and member describes itself as D3DX does: its
// registers follow its parent's in declaration order (cut to the parent's),
// elements keep the array's name, Bytes counts 4 per component.
TEST_F(ConstantTableQuery, DescribesConstantsElementsAndMembers)
{
    struct Case
    {
        const char* path;
        const char* name;
        D3DXREGISTER_SET set;
        UINT index, count;
        D3DXPARAMETER_CLASS parameterClass;
        D3DXPARAMETER_TYPE type;
        UINT rows, columns, elements, members, bytes;
    };
    const Case cases[] = {
        {"s", "s", D3DXRS_FLOAT4, 5, 4, D3DXPC_STRUCT, D3DXPT_VOID, 1, 9, 1, 3, 36},
        {"s.m", "m", D3DXRS_FLOAT4, 5, 1, D3DXPC_VECTOR, D3DXPT_FLOAT, 1, 4, 1, 0, 16},
        {"s.f", "f", D3DXRS_FLOAT4, 6, 1, D3DXPC_SCALAR, D3DXPT_FLOAT, 1, 1, 1, 0, 4},
        {"s.k", "k", D3DXRS_FLOAT4, 7, 2, D3DXPC_MATRIX_ROWS, D3DXPT_FLOAT, 2, 2, 1, 0, 16},
        {"arr", "arr", D3DXRS_FLOAT4, 10, 4, D3DXPC_STRUCT, D3DXPT_VOID, 1, 5, 2, 2, 40},
        {"arr[1]", "arr", D3DXRS_FLOAT4, 12, 2, D3DXPC_STRUCT, D3DXPT_VOID, 1, 5, 1, 2, 20},
        {"arr[0].a", "a", D3DXRS_FLOAT4, 10, 1, D3DXPC_SCALAR, D3DXPT_FLOAT, 1, 1, 1, 0, 4},
        {"arr[1].b", "b", D3DXRS_FLOAT4, 13, 1, D3DXPC_VECTOR, D3DXPT_FLOAT, 1, 4, 1, 0, 16},
        {"cut", "cut", D3DXRS_FLOAT4, 20, 2, D3DXPC_VECTOR, D3DXPT_FLOAT, 1, 4, 3, 0, 48},
        {"cut[1]", "cut", D3DXRS_FLOAT4, 21, 1, D3DXPC_VECTOR, D3DXPT_FLOAT, 1, 4, 1, 0, 16},
        {"cut[2]", "cut", D3DXRS_FLOAT4, 22, 0, D3DXPC_VECTOR, D3DXPT_FLOAT, 1, 4, 1, 0, 16},
        {"di", "di", D3DXRS_INT4, 2, 1, D3DXPC_VECTOR, D3DXPT_INT, 1, 4, 1, 0, 16},
        {"db", "db", D3DXRS_BOOL, 3, 1, D3DXPC_SCALAR, D3DXPT_BOOL, 1, 1, 1, 0, 4},
        {"tex", "tex", D3DXRS_SAMPLER, 1, 1, D3DXPC_OBJECT, D3DXPT_SAMPLER2D, 1, 1, 1, 0, 4},
    };
    for (const Case& test : cases)
    {
        SCOPED_TRACE(test.path);
        D3DXCONSTANT_DESC desc = {};
        UINT count = 0;
        ASSERT_EQ(m_table->GetConstantDesc(byName(test.path), &desc, &count), D3D_OK);
        EXPECT_EQ(count, 1u);
        EXPECT_STREQ(desc.Name, test.name);
        EXPECT_EQ(desc.RegisterSet, test.set);
        EXPECT_EQ(desc.RegisterIndex, test.index);
        EXPECT_EQ(desc.RegisterCount, test.count);
        EXPECT_EQ(desc.Class, test.parameterClass);
        EXPECT_EQ(desc.Type, test.type);
        EXPECT_EQ(desc.Rows, test.rows);
        EXPECT_EQ(desc.Columns, test.columns);
        EXPECT_EQ(desc.Elements, test.elements);
        EXPECT_EQ(desc.StructMembers, test.members);
        EXPECT_EQ(desc.Bytes, test.bytes);
    }
    D3DXCONSTANT_DESC desc = {};
    ASSERT_EQ(m_table->GetConstantDesc(byName("d"), &desc, nullptr), D3D_OK);
    ASSERT_NE(desc.DefaultValue, nullptr);
    float values[4];
    memcpy(values, desc.DefaultValue, sizeof(values));
    EXPECT_EQ(values[2], 3.0f);
    ASSERT_EQ(m_table->GetConstantDesc(byName("s"), &desc, nullptr), D3D_OK);
    EXPECT_EQ(desc.DefaultValue, nullptr);
    EXPECT_EQ(m_table->GetConstantDesc(nullptr, &desc, nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(m_table->GetConstantDesc("nothing", &desc, nullptr), D3DERR_INVALIDCALL);
}

// A path, the same steps taken one handle at a time, and a name looked up
// inside a structure's handle all give the same handle; paths that name
// nothing give null.
TEST_F(ConstantTableQuery, PathsAndHandlesAgree)
{
    const D3DXHANDLE arr = byName("arr");
    const D3DXHANDLE element = m_table->GetConstantElement(arr, 1);
    ASSERT_NE(element, nullptr);
    EXPECT_EQ(element, byName("arr[1]"));
    EXPECT_EQ(m_table->GetConstantByName(element, "b"), byName("arr[1].b"));
    EXPECT_EQ(m_table->GetConstant(element, 1), byName("arr[1].b"));
    const D3DXHANDLE s = byName("s");
    EXPECT_EQ(m_table->GetConstant(s, 2), byName("s.k"));
    EXPECT_EQ(m_table->GetConstant(s, 3), nullptr);
    EXPECT_EQ(m_table->GetConstantElement(s, 0), s) << "element 0 of a single constant is itself";
    EXPECT_EQ(m_table->GetConstantElement(s, 1), nullptr);
    EXPECT_EQ(m_table->GetConstantElement(arr, 2), nullptr);
    EXPECT_EQ(m_table->GetConstant(arr, 0), byName("arr[0]"))
        << "the members of an array of structures are its elements";
    EXPECT_EQ(m_table->GetConstant(arr, 1), element);
    EXPECT_EQ(m_table->GetConstant(byName("cut"), 0), nullptr) << "other arrays have no members";
    EXPECT_EQ(m_table->GetConstantByName(byName("s.m"), "x"), nullptr);
    // A handle works wherever a name does.
    D3DXCONSTANT_DESC desc = {};
    ASSERT_EQ(m_table->GetConstantDesc(m_table->GetConstant(s, 1), &desc, nullptr), D3D_OK);
    EXPECT_EQ(desc.RegisterIndex, 6u);
    // An index picks among a constant's children, a structure's members too;
    // a constant without children is its own element 0. "[]" reads as "[0]".
    EXPECT_EQ(byName("s[0]"), byName("s.m"));
    EXPECT_EQ(byName("s[0].k"), nullptr);
    EXPECT_EQ(byName("d[0]"), byName("d"));
    EXPECT_EQ(byName("arr[]"), byName("arr[0]"));
    for (const char* path : {"s.nope", "arr.b", "arr[2]", "s[1]", "s.", "", "arr[1]b", "S"})
    {
        SCOPED_TRACE(path);
        EXPECT_EQ(byName(path), nullptr);
    }
    EXPECT_EQ(byName(nullptr), nullptr);
}

// A path that ends inside an element's brackets names nothing.
TEST_F(ConstantTableQuery, UnclosedBracketsNameNothing)
{
    for (const char* path : {"arr[1", "arr[", "s.k["})
    {
        SCOPED_TRACE(path);
        EXPECT_EQ(byName(path), nullptr);
    }
}

// Setters go through structures member by member, and only with values
// for the whole structure; an array of structures takes only its first
// element, from the last whole element's worth of values (from the first
// values with a matrix setter), as D3DX does.
TEST_F(ConstantTableQuery, SettersFillStructures)
{
    const float sequence[12] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    using Registers = std::map<UINT, std::vector<float>>;
    struct Case
    {
        const char* what;
        const char* name;
        UINT count;
        Registers registers;
    };
    const Case cases[] = {
        {"the last member short of values", "s", 8, {}},
        {"one member by its path", "s.k", 4, {{7, {1, 2, 0, 0}}, {8, {3, 4, 0, 0}}}},
        {"structure array from its last whole element",
         "arr",
         12,
         {{10, {6, 0, 0, 0}}, {11, {7, 8, 9, 10}}}},
        {"structure array with one whole element",
         "arr",
         7,
         {{10, {1, 0, 0, 0}}, {11, {2, 3, 4, 5}}}},
        {"structure array short of one element", "arr", 4, {}},
        {"one element of a structure array by its path",
         "arr[1]",
         5,
         {{12, {1, 0, 0, 0}}, {13, {2, 3, 4, 5}}}},
        {"an element without registers takes values but writes none",
         "cut",
         12,
         {{20, {1, 2, 3, 4}}, {21, {5, 6, 7, 8}}}},
    };
    const TestDevice device(16, 16);
    for (const Case& test : cases)
    {
        SCOPED_TRACE(test.what);
        EXPECT_EQ(writtenBy(device,
                            [&](IDirect3DDevice9* a_device) {
                                return m_table->SetFloatArray(a_device, test.name, sequence,
                                                              test.count);
                            }),
                  floatRegisters(test.registers));
    }
    EXPECT_EQ(writtenBy(device,
                        [&](IDirect3DDevice9* a_device) {
                            return m_table->SetFloat(a_device, "s", 1.0f);
                        }),
              ConstantRegisters())
        << "one scalar fits no structure";
    const D3DXMATRIX identity(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1);
    EXPECT_EQ(writtenBy(device,
                        [&](IDirect3DDevice9* a_device) {
                            return m_table->SetMatrix(a_device, "arr", &identity);
                        }),
              floatRegisters({{10, {1, 0, 0, 0}}, {11, {0, 0, 0, 0}}}))
        << "a matrix sets the first element of an array of structures";
    EXPECT_EQ(m_table->SetFloat(device.device(), "tex", 1.0f), D3DERR_INVALIDCALL);
}

// Every member of a structure takes its share of the values, a matrix
// member row by row.
TEST_F(ConstantTableQuery, SettersFillEveryMemberOfAStructure)
{
    const float sequence[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    const TestDevice device(16, 16);
    EXPECT_EQ(writtenBy(device,
                        [&](IDirect3DDevice9* a_device) {
                            return m_table->SetFloatArray(a_device, "s", sequence, 9);
                        }),
              floatRegisters(
                  {{5, {1, 2, 3, 4}}, {6, {5, 0, 0, 0}}, {7, {6, 7, 0, 0}}, {8, {8, 9, 0, 0}}}));
}

// SetDefaults writes each default value into its constant's registers, and
// nothing for constants without one.
TEST_F(ConstantTableQuery, SetDefaultsWritesDefaultValues)
{
    const TestDevice device(16, 16);
    ConstantRegisters expected;
    expected.floats = {{30, {1, 2, 3, 4}}};
    expected.ints = {{2, {5, 6, 7, 8}}};
    expected.bools = {{3, TRUE}};
    EXPECT_EQ(writtenBy(device,
                        [&](IDirect3DDevice9* a_device) { return m_table->SetDefaults(a_device); }),
              expected);
    EXPECT_EQ(m_table->SetDefaults(nullptr), D3DERR_INVALIDCALL);
}

// Tables whose structures or default values run past the block, whose
// structure types contain themselves, or that describe more constants than
// anyone could set, are refused.
TEST(ConstantTableStructures, DamagedTablesAreRefused)
{
    // The first constant's info is at 28: its type offset at 40, its default at 44.
    struct Case
    {
        const char* what;
        void (*damage)(std::vector<uint8_t>&);
    };
    const Case cases[] = {
        {"default value past the block",
         [](std::vector<uint8_t>& a) {
             CtabBuilder::putDword(a, 44, uint32_t(a.size() - 8));
         }},
        {"member infos past the block",
         [](std::vector<uint8_t>& a) {
             const uint32_t type = a[40] | (a[41] << 8) | (a[42] << 16);
             CtabBuilder::putDword(a, type + 12, uint32_t(a.size()));
         }},
        {"65535 elements of a structure of 4 members: too many constants",
         [](std::vector<uint8_t>& a) {
             const uint32_t type = a[40] | (a[41] << 8) | (a[42] << 16);
             CtabBuilder::putWord(a, type + 8, 0xFFFF);
         }},
        {"structure containing itself",
         [](std::vector<uint8_t>& a) {
             const uint32_t type = a[40] | (a[41] << 8) | (a[42] << 16);
             const uint32_t members = a[type + 12] | (a[type + 13] << 8) | (a[type + 14] << 16);
             CtabBuilder::putDword(a, members + 4, type);
         }},
    };
    const std::vector<CtabBuilder::Constant> constants = {
        {"s",
         D3DXRS_FLOAT4,
         0,
         2,
         {D3DXPC_STRUCT,
          D3DXPT_VOID,
          1,
          5,
          1,
          {{"a", g_float}, {"b", g_float4}, {"c", g_float}, {"d", g_float}}},
         {0, 0, 0, 0, 0, 0, 0, 0}}};
    {
        const std::vector<DWORD> sound = CtabBuilder::program(true, constants);
        LPD3DXCONSTANTTABLE table = nullptr;
        ASSERT_EQ(D3DXGetShaderConstantTable(sound.data(), &table), D3D_OK);
        table->Release();
    }
    for (const Case& test : cases)
    {
        SCOPED_TRACE(test.what);
        const std::vector<DWORD> code = CtabBuilder::program(true, constants, test.damage);
        LPD3DXCONSTANTTABLE table = nullptr;
        EXPECT_EQ(D3DXGetShaderConstantTable(code.data(), &table), D3DXERR_INVALIDDATA);
        EXPECT_EQ(table, nullptr);
    }
}

// D3DXCreateBuffer hands out a buffer of the size asked, zeroed, writable,
// freed on the last Release.
TEST(D3DXBuffer, CreateBufferGivesZeroedBytes)
{
    for (DWORD size : {0u, 1u, 4096u})
    {
        SCOPED_TRACE(size);
        LPD3DXBUFFER buffer = nullptr;
        ASSERT_EQ(D3DXCreateBuffer(size, &buffer), D3D_OK);
        ASSERT_EQ(buffer->GetBufferSize(), size);
        unsigned char* bytes = static_cast<unsigned char*>(buffer->GetBufferPointer());
        for (DWORD i = 0; i < size; ++i)
            ASSERT_EQ(bytes[i], 0);
        if (size > 0)
            bytes[size - 1] = 0xAB;
        EXPECT_EQ(buffer->AddRef(), 2u);
        EXPECT_EQ(buffer->Release(), 1u);
        EXPECT_EQ(buffer->Release(), 0u);
    }
    EXPECT_EQ(D3DXCreateBuffer(4, nullptr), D3DERR_INVALIDCALL);
}

namespace
{

// Constants of every class in float4 registers, laid out as a compiler lays
// them out, for the setter cases below.
const std::vector<CtabBuilder::Constant> g_setterConstants = {
    {"mvp", D3DXRS_FLOAT4, 0, 4, {D3DXPC_MATRIX_COLUMNS, D3DXPT_FLOAT, 4, 4, 1, {}}, {}},
    {"i", D3DXRS_FLOAT4, 4, 1, {D3DXPC_SCALAR, D3DXPT_INT, 1, 1, 1, {}}, {}},
    {"i4", D3DXRS_FLOAT4, 5, 1, {D3DXPC_VECTOR, D3DXPT_INT, 1, 4, 1, {}}, {}},
    {"f", D3DXRS_FLOAT4, 6, 1, g_float, {}},
    {"f4", D3DXRS_FLOAT4, 7, 1, g_float4, {}},
    {"imatrix2x3", D3DXRS_FLOAT4, 8, 3, {D3DXPC_MATRIX_ROWS, D3DXPT_INT, 2, 3, 1, {}}, {}},
    {"fmatrix3x1", D3DXRS_FLOAT4, 11, 1, {D3DXPC_MATRIX_COLUMNS, D3DXPT_FLOAT, 3, 1, 1, {}}, {}},
    {"c2x3", D3DXRS_FLOAT4, 12, 3, {D3DXPC_MATRIX_COLUMNS, D3DXPT_FLOAT, 2, 3, 1, {}}, {}},
    {"c3x2", D3DXRS_FLOAT4, 15, 2, {D3DXPC_MATRIX_COLUMNS, D3DXPT_FLOAT, 3, 2, 1, {}}, {}},
    {"r2x3", D3DXRS_FLOAT4, 17, 2, {D3DXPC_MATRIX_ROWS, D3DXPT_FLOAT, 2, 3, 1, {}}, {}},
    {"r3x2", D3DXRS_FLOAT4, 19, 3, {D3DXPC_MATRIX_ROWS, D3DXPT_FLOAT, 3, 2, 1, {}}, {}},
    {"farray", D3DXRS_FLOAT4, 22, 4, {D3DXPC_SCALAR, D3DXPT_FLOAT, 1, 1, 4, {}}, {}},
    {"fvecarray", D3DXRS_FLOAT4, 26, 2, {D3DXPC_VECTOR, D3DXPT_FLOAT, 1, 4, 2, {}}, {}},
    {"barray", D3DXRS_FLOAT4, 28, 2, {D3DXPC_SCALAR, D3DXPT_BOOL, 1, 1, 2, {}}, {}},
    {"fmtxarray", D3DXRS_FLOAT4, 31, 8, {D3DXPC_MATRIX_ROWS, D3DXPT_FLOAT, 4, 4, 2, {}}, {}},
};

const D3DXMATRIX g_matrix(2.001f, 1.502f, 9.003f, 1.004f,  //
                          5.005f, 3.006f, 3.007f, 6.008f,  //
                          9.009f, 5.010f, 7.011f, 1.012f,  //
                          5.013f, 5.014f, 5.015f, 9.016f);
const D3DXVECTOR4 g_vector(0.350f, 0.526f, 0.925f, 0.021f);

}  // namespace

// The registers each setter writes, the zeros it pads them with and the
// registers it leaves alone, for every class of constant in float4
// registers, as D3DX writes them: column-major matrices a column per
// register, cut to the declared size; a setter that does not fit the class
// succeeds and writes nothing; array setters stop at the array's end;
// floats set on int constants lose their fraction; ints and bools arrive
// as floats (a bool as 1 or 0).
TEST(ConstantTableSetters, WriteTheRegistersD3DXWrites)
{
    const std::vector<DWORD> code = CtabBuilder::program(true, g_setterConstants);
    LPD3DXCONSTANTTABLE table = nullptr;
    ASSERT_EQ(D3DXGetShaderConstantTable(code.data(), &table), D3D_OK);
    const D3DXMATRIX& m = g_matrix;
    const float farray[8] = {0.005f, 0.745f, 0.973f, 0.264f, 0.010f, 0.020f, 0.030f, 0.040f};
    const INT iarray[4] = {1, 2, 3, 4};
    const D3DXVECTOR4 vectors[2] = {{0.745f, 0.997f, 0.353f, 0.237f},
                                    {0.060f, 0.455f, 0.333f, 0.983f}};
    const D3DXMATRIX matrices[2] = {m, m * 2.0f};
    using Registers = std::map<UINT, std::vector<float>>;
    struct Case
    {
        const char* name;
        std::function<HRESULT(ID3DXConstantTable*, IDirect3DDevice9*)> set;
        Registers expected;  // exactly the registers written
    };
    const Case cases[] = {
        {"SetMatrix on a column-major 4x4",
         [&](ID3DXConstantTable* t, IDirect3DDevice9* d) { return t->SetMatrix(d, "mvp", &m); },
         {{0, {m._11, m._21, m._31, m._41}},
          {1, {m._12, m._22, m._32, m._42}},
          {2, {m._13, m._23, m._33, m._43}},
          {3, {m._14, m._24, m._34, m._44}}}},
        {"SetInt on an int scalar",
         [](ID3DXConstantTable* t, IDirect3DDevice9* d) { return t->SetInt(d, "i", 321); },
         {{4, {321, 0, 0, 0}}}},
        {"SetFloat on a scalar",
         [](ID3DXConstantTable* t, IDirect3DDevice9* d) { return t->SetFloat(d, "f", 0.12543f); },
         {{6, {0.12543f, 0, 0, 0}}}},
        {"SetVector on a vector",
         [&](ID3DXConstantTable* t, IDirect3DDevice9* d) {
             return t->SetVector(d, "f4", &g_vector);
         },
         {{7, {g_vector.x, g_vector.y, g_vector.z, g_vector.w}}}},
        {"SetVector on a scalar takes x",
         [&](ID3DXConstantTable* t, IDirect3DDevice9* d) {
             return t->SetVector(d, "f", &g_vector);
         },
         {{6, {g_vector.x, 0, 0, 0}}}},
        {"SetMatrix on a scalar takes _11",
         [&](ID3DXConstantTable* t, IDirect3DDevice9* d) { return t->SetMatrix(d, "f", &m); },
         {{6, {m._11, 0, 0, 0}}}},
        {"SetMatrixTranspose on a vector takes the first column",
         [&](ID3DXConstantTable* t, IDirect3DDevice9* d) {
             return t->SetMatrixTranspose(d, "f4", &m);
         },
         {{7, {m._11, m._21, m._31, m._41}}}},
        {"SetVector on a matrix writes nothing",
         [&](ID3DXConstantTable* t, IDirect3DDevice9* d) {
             return t->SetVector(d, "mvp", &g_vector);
         },
         {}},
        {"SetFloat on a matrix writes nothing",
         [](ID3DXConstantTable* t, IDirect3DDevice9* d) { return t->SetFloat(d, "mvp", 1.0f); },
         {}},
        {"SetFloat on a vector writes nothing",
         [](ID3DXConstantTable* t, IDirect3DDevice9* d) { return t->SetFloat(d, "f4", 1.0f); },
         {}},
        // 1.502 and 3.006 become 1 and 3: the float's fraction is dropped.
        {"SetMatrix on an int row-major 2x3",
         [&](ID3DXConstantTable* t, IDirect3DDevice9* d) {
             return t->SetMatrix(d, "imatrix2x3", &m);
         },
         {{8, {2, 1, 9, 0}}, {9, {5, 3, 3, 0}}}},
        {"SetMatrix on a column-major 3x1",
         [&](ID3DXConstantTable* t, IDirect3DDevice9* d) {
             return t->SetMatrix(d, "fmatrix3x1", &m);
         },
         {{11, {m._11, m._21, m._31, 0}}}},
        {"SetMatrix on a column-major 2x3",
         [&](ID3DXConstantTable* t, IDirect3DDevice9* d) { return t->SetMatrix(d, "c2x3", &m); },
         {{12, {m._11, m._21, 0, 0}}, {13, {m._12, m._22, 0, 0}}, {14, {m._13, m._23, 0, 0}}}},
        {"SetMatrix on a column-major 3x2",
         [&](ID3DXConstantTable* t, IDirect3DDevice9* d) { return t->SetMatrix(d, "c3x2", &m); },
         {{15, {m._11, m._21, m._31, 0}}, {16, {m._12, m._22, m._32, 0}}}},
        {"SetMatrix on a row-major 2x3",
         [&](ID3DXConstantTable* t, IDirect3DDevice9* d) { return t->SetMatrix(d, "r2x3", &m); },
         {{17, {m._11, m._12, m._13, 0}}, {18, {m._21, m._22, m._23, 0}}}},
        {"SetMatrix on a row-major 3x2",
         [&](ID3DXConstantTable* t, IDirect3DDevice9* d) { return t->SetMatrix(d, "r3x2", &m); },
         {{19, {m._11, m._12, 0, 0}}, {20, {m._21, m._22, 0, 0}}, {21, {m._31, m._32, 0, 0}}}},
        {"SetMatrixTranspose on a column-major 2x3",
         [&](ID3DXConstantTable* t, IDirect3DDevice9* d) {
             return t->SetMatrixTranspose(d, "c2x3", &m);
         },
         {{12, {m._11, m._12, 0, 0}}, {13, {m._21, m._22, 0, 0}}, {14, {m._31, m._32, 0, 0}}}},
        {"SetMatrixTranspose on a row-major 2x3",
         [&](ID3DXConstantTable* t, IDirect3DDevice9* d) {
             return t->SetMatrixTranspose(d, "r2x3", &m);
         },
         {{17, {m._11, m._21, m._31, 0}}, {18, {m._12, m._22, m._32, 0}}}},
        {"SetFloatArray stops at the array's end",
         [&](ID3DXConstantTable* t, IDirect3DDevice9* d) {
             return t->SetFloatArray(d, "farray", farray, 8);
         },
         {{22, {farray[0], 0, 0, 0}},
          {23, {farray[1], 0, 0, 0}},
          {24, {farray[2], 0, 0, 0}},
          {25, {farray[3], 0, 0, 0}}}},
        {"SetIntArray on a float array",
         [&](ID3DXConstantTable* t, IDirect3DDevice9* d) {
             return t->SetIntArray(d, "farray", iarray, 4);
         },
         {{22, {1, 0, 0, 0}}, {23, {2, 0, 0, 0}}, {24, {3, 0, 0, 0}}, {25, {4, 0, 0, 0}}}},
        {"SetVectorArray",
         [&](ID3DXConstantTable* t, IDirect3DDevice9* d) {
             return t->SetVectorArray(d, "fvecarray", vectors, 2);
         },
         {{26, {vectors[0].x, vectors[0].y, vectors[0].z, vectors[0].w}},
          {27, {vectors[1].x, vectors[1].y, vectors[1].z, vectors[1].w}}}},
        {"SetBool on bools in float registers stores 1.0 and 0.0",
         [](ID3DXConstantTable* t, IDirect3DDevice9* d) {
             const HRESULT first = t->SetBool(d, "barray[0]", FALSE);
             return first != D3D_OK ? first : t->SetBool(d, "barray[1]", 100);
         },
         {{28, {0, 0, 0, 0}}, {29, {1, 0, 0, 0}}}},
        {"SetMatrixArray on row-major matrices",
         [&](ID3DXConstantTable* t, IDirect3DDevice9* d) {
             return t->SetMatrixArray(d, "fmtxarray", matrices, 2);
         },
         {{31, {m._11, m._12, m._13, m._14}},
          {32, {m._21, m._22, m._23, m._24}},
          {33, {m._31, m._32, m._33, m._34}},
          {34, {m._41, m._42, m._43, m._44}},
          {35, {2 * m._11, 2 * m._12, 2 * m._13, 2 * m._14}},
          {36, {2 * m._21, 2 * m._22, 2 * m._23, 2 * m._24}},
          {37, {2 * m._31, 2 * m._32, 2 * m._33, 2 * m._34}},
          {38, {2 * m._41, 2 * m._42, 2 * m._43, 2 * m._44}}}},
    };
    const TestDevice device(16, 16);
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(
            writtenBy(device, [&](IDirect3DDevice9* a_device) { return c.set(table, a_device); }),
            floatRegisters(c.expected));
    }
    table->Release();
}
