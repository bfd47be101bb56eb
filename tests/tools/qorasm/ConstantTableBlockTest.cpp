// Tests of the constant table reader at the edges of its block: structures and
// strings that end on the block's last byte are read, one byte more is refused.
#include "ConstantTableBlock.h"

#include <gtest/gtest.h>

namespace
{

// A table laid out by hand after D3DX's structures: the header (28 bytes), one
// D3DXSHADER_CONSTANTINFO at 28, one D3DXSHADER_TYPEINFO at 48 and the string
// "ab" at 64, which also serves as creator and target; 68 bytes in all.
std::vector<uint32_t> smallTable()
{
    return {
        0x42415443,                                         // "CTAB"
        28,         64,         0xfffe0300, 1,  28, 0, 64,  // header
        64,         0x00050002, 0x00000001, 48, 0,  // "ab", FLOAT4 c5, 1 register, type at 48
        0x00030001, 0x00040001, 0x00000001, 0,      // VECTOR FLOAT, 1 x 4, 1 element
        0x00006261,                                 // "ab\0\0"
    };
}

}

// The hand-laid table reads back as the constant it describes.
TEST(ConstantTableBlock, ReadsAHandLaidTable)
{
    const std::vector<uint32_t> data = smallTable();
    ConstantTableBlock table;
    std::string error;
    ASSERT_TRUE(table.read(data.data(), static_cast<uint32_t>(data.size()), error)) << error;
    EXPECT_EQ(table.m_creator, "ab");
    EXPECT_EQ(table.m_target, "ab");
    EXPECT_EQ(table.m_version, 0xfffe0300u);
    ASSERT_EQ(table.m_constants.size(), 1u);
    const ConstantDeclaration& constant = table.m_constants[0];
    EXPECT_EQ(constant.m_name, "ab");
    EXPECT_EQ(constant.m_registerSet, SetFloat4);
    EXPECT_EQ(constant.m_registerIndex, 5);
    EXPECT_EQ(constant.m_registerCount, 1);
    EXPECT_EQ(constant.m_class, ClassVector);
    EXPECT_EQ(constant.m_type, TypeFloat);
    EXPECT_EQ(constant.m_rows, 1);
    EXPECT_EQ(constant.m_columns, 4);
    EXPECT_EQ(constant.m_elements, 1);
}

// Offsets are checked against the block before anything is read through them.
TEST(ConstantTableBlock, ChecksEveryOffsetAgainstTheBlock)
{
    const struct
    {
        const char* name;
        size_t index;  // DWORD of smallTable() to replace: 1-7 header, 8-12 the
                       // constant info, 13-16 the type info, 17 the string
        uint32_t value;
        bool accepted;
    } cases[] = {
        // Names: the last byte of the block is a NUL, so a string may start there.
        {"name on the last byte", 8, 67, true},
        {"name at the end of the block", 8, 68, false},
        {"name without a NUL", 17, 0x64636261, false},
        {"creator at the end of the block", 2, 68, false},
        {"target far outside", 7, 0xffffffff, false},
        // Type information: 16 bytes that may end on the last byte.
        {"type info ending on the last byte", 11, 52, true},
        {"type info one byte further", 11, 53, false},
        {"type info offset wrapping around", 11, 0xfffffff8, false},
        // Constant descriptions: 20 bytes each from the given offset.
        {"descriptions one byte past the block", 5, 49, false},
        {"count that overflows 32 bits", 4, 0x0ccccccd, false},
        // Header.
        {"header size other than 28", 1, 32, false},
        // Things this table cannot hold.
        {"default value", 12, 64, false},
        {"structure members", 15, 0x00010001, false},
    };
    for (const auto& row : cases)
    {
        SCOPED_TRACE(row.name);
        std::vector<uint32_t> data = smallTable();
        data[row.index] = row.value;
        ConstantTableBlock table;
        std::string error;
        EXPECT_EQ(table.read(data.data(), static_cast<uint32_t>(data.size()), error), row.accepted)
            << error;
        EXPECT_EQ(error.empty(), row.accepted);
    }
}

// A block too short for the header, or without the "CTAB" code, is refused.
TEST(ConstantTableBlock, RefusesBlocksWithoutAHeader)
{
    const std::vector<uint32_t> data = smallTable();
    for (uint32_t dwords : {0u, 1u, 7u})
    {
        SCOPED_TRACE(dwords);
        ConstantTableBlock table;
        std::string error;
        EXPECT_FALSE(table.read(data.data(), dwords, error));
    }
    std::vector<uint32_t> other = data;
    other[0] = 0x53455250;  // "PRES"
    ConstantTableBlock table;
    std::string error;
    EXPECT_FALSE(table.read(other.data(), static_cast<uint32_t>(other.size()), error));
}
