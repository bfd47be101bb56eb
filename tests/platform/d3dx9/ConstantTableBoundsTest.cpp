// Our constant-table reader against damaged byte code, given exactly the
// program's words so that the sanitizers see any read beyond them: the
// Linux build's alone (ConstantTable::create is our layer's own), and run
// under the sanitizers.
#include "platform/d3dx9/TableHolder.h"
#include "ConstantTable.h"

#include <d3dx9.h>
#include <gtest/gtest.h>

#include <stdlib.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

// Byte code without a constant table, or with a damaged program or table,
// gives failure and no table, reading nothing outside the program.
TEST(ConstantTableBounds, RefusesByteCodeWithoutASoundTable)
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
