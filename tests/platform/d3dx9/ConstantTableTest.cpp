// D3DXGetShaderConstantTable and ID3DXConstantTable without a device: which
// byte code yields a table, its buffer, description and names, and its
// reference count. Built for our layer and for Windows (d3dx9_43.dll under
// Wine); what the setters write is in ConstantTableRegistersTest.cpp, and the
// bounds of our reader's buffer in ConstantTableBoundsTest.cpp.
#include "platform/d3dx9/ConstantTablePrograms.h"
#include "platform/d3dx9/TableHolder.h"

#include <d3dx9.h>
#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

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
// shader with no table gives D3DXERR_INVALIDDATA; other comment blocks
// before and after the table, an unusual version token and a table whose strings overlap its header are
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

// A table whose creator string would lie past its end is damaged: refused,
// with no table.
TEST(ConstantTable, CreatorPastTheTableIsRefused)
{
    const std::vector<DWORD> code = {
        0xFFFE0300, 0x0008FFFE, 0x42415443, 0x1C, 0xA9, 0xFFFE0300, 0, 0, 0, 0, 0x0000FFFF};
    LPD3DXCONSTANTTABLE table = nullptr;
    EXPECT_EQ(D3DXGetShaderConstantTable(code.data(), &table), D3DXERR_INVALIDDATA);
    EXPECT_EQ(table, nullptr);
    if (table)
        table->Release();
}
