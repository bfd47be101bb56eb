// Tests of the disassembler: golden disassemblies, byte-for-byte round trips
// and refusal of damaged byte code without reading past it.
#include "tools/qorasm/GoldenFiles.h"

#include "Assembler.h"
#include "Disassembler.h"

#include <gtest/gtest.h>

namespace
{

std::vector<uint8_t> assembleFile(const std::string& a_path)
{
    std::vector<uint32_t> tokens;
    AssemblyError error;
    EXPECT_TRUE(Assembler::assemble(GoldenFiles::readText(a_path), tokens, error))
        << error.format();
    return GoldenFiles::bytes(tokens);
}

}

// Golden programs disassemble to the canonical text beside them, whether
// assembled by qorasm or laid out by hand.
TEST(Disassembler, GoldenProgramsDisassembleToTheirExpectedText)
{
    const auto expectations = GoldenFiles::list(GoldenFiles::folder("programs"), ".dis");
    ASSERT_FALSE(expectations.empty());
    for (const std::string& expected : expectations)
    {
        SCOPED_TRACE(expected);
        std::string text;
        std::string error;
        ASSERT_TRUE(Disassembler::disassemble(assembleFile(GoldenFiles::sibling(expected, ".asm")),
                                              text, error))
            << error;
        EXPECT_EQ(text, GoldenFiles::readText(expected));

        const std::string listing = GoldenFiles::sibling(expected, ".tokens");
        if (!GoldenFiles::readText(listing).empty())
        {
            ASSERT_TRUE(Disassembler::disassemble(
                GoldenFiles::bytes(GoldenFiles::readTokens(listing)), text, error))
                << error;
            EXPECT_EQ(text, GoldenFiles::readText(expected));
        }
    }
}

// Assembling the disassembly of any assembled program gives the same bytes.
TEST(Disassembler, RoundTripsByteForByte)
{
    for (const std::string& source : GoldenFiles::allSources())
    {
        SCOPED_TRACE(source);
        const std::vector<uint8_t> code = assembleFile(source);
        std::string text;
        std::string error;
        ASSERT_TRUE(Disassembler::disassemble(code, text, error)) << error;
        std::vector<uint32_t> again;
        AssemblyError assemblyError;
        ASSERT_TRUE(Assembler::assemble(text, again, assemblyError)) << assemblyError.format();
        EXPECT_EQ(GoldenFiles::bytes(again), code);
    }
}

// Damaged byte code is refused with the offset of the fault; the bounds of
// comment blocks, constant tables and instructions are never crossed.
TEST(Disassembler, RefusesDamagedByteCode)
{
    // Token indices in the hand-laid quad_vs listing: 0 version, 1 comment,
    // 2 "CTAB", 3-24 the table (6 constant count, 10 name offset, 13 type info
    // offset, 24 the last string DWORD), 25 the first dcl, 37 "mov o0.xzw, v0"
    // (38 its destination, 39 its source), 40 the mul, 47 the end token.
    const std::vector<uint32_t> quad =
        GoldenFiles::readTokens(GoldenFiles::folder("programs") + "/quad_vs.tokens");
    ASSERT_EQ(quad.size(), 48u);
    const struct
    {
        const char* name;
        size_t index;  // token to replace, or quad.size() to append
        uint32_t value;
        bool drop;  // remove the token at index instead
        const char* error;
    } cases[] = {
        // Program frame.
        {"older version", 0, 0xfffe0200, false, "byte 0: not a vs_3_0 or ps_3_0 program"},
        {"no end token", 47, 0, true, "byte 188: program has no end token"},
        {"data after end", 48, 0, false, "byte 192: data after the end token"},
        {"comment longer than the program", 1, 0x7ffffffe, false,
         "byte 4: comment block runs past the end of the program"},
        {"comment token with bit 31", 1, 0x8017fffe, false,
         "byte 4: comment token sets reserved bits"},
        // Constant table.
        {"name offset past the block", 10, 0x1000, false,
         "byte 8: name of constant 0 runs past the block"},
        {"unterminated name", 24, 0x41414141, false,
         "byte 8: name of constant 0 runs past the block"},
        {"too many constants", 6, 0x10000, false,
         "byte 8: constant descriptions run past the block"},
        {"type info past the block", 13, 73, false,
         "byte 8: type of constant 'yscale' runs past the block"},
        {"name that is no identifier", 23, 0x656c2d63, false,
         "byte 8: constant name 'ysc-le' is not an identifier"},
        // Instructions.
        {"unknown opcode", 25, 0x00000063, false, "byte 100: unknown opcode 99 with controls 0"},
        {"length too long", 37, 0x03000001, false,
         "byte 148: instruction length 3 does not match its operands"},
        {"unknown result modifier", 38, 0xe08d0000, false, "byte 152: unknown result modifier"},
        {"reserved parameter bit", 38, 0xe00d4000, false,
         "byte 152: parameter token sets reserved bits"},
        {"register type of older models", 38, 0xc00d0000, false,
         "byte 152: register type 4 number 0 does not exist in vs_3_0"},
        {"relative address beyond the instruction", 39, 0x90e42000, false,
         "byte 156: relative address token missing"},
        {"source modifier of older models", 39, 0x92e40000, false,
         "byte 156: source modifier 2 is not part of shader model 3"},
    };
    for (const auto& row : cases)
    {
        SCOPED_TRACE(row.name);
        std::vector<uint32_t> tokens = quad;
        if (row.drop)
            tokens.erase(tokens.begin() + static_cast<ptrdiff_t>(row.index));
        else if (row.index == tokens.size())
            tokens.push_back(row.value);
        else
            tokens[row.index] = row.value;
        std::string text = "unchanged";
        std::string error;
        EXPECT_FALSE(Disassembler::disassemble(GoldenFiles::bytes(tokens), text, error));
        EXPECT_EQ(error, row.error);
        EXPECT_EQ(text, "unchanged");
    }
}

// A constant table that reads soundly but is not laid out as qorasm writes it
// is printed with a note that assembling the text changes it.
TEST(Disassembler, NotesConstantTablesLaidOutDifferently)
{
    std::vector<uint32_t> tokens =
        GoldenFiles::readTokens(GoldenFiles::folder("programs") + "/quad_vs.tokens");
    tokens[8] = 1;  // the table's Flags
    std::string text;
    std::string error;
    ASSERT_TRUE(Disassembler::disassemble(GoldenFiles::bytes(tokens), text, error)) << error;
    EXPECT_EQ(text.substr(0, text.find("dcl_position")),
              "vs_3_0\n"
              "; this constant table (written by qorasm) is laid out differently from qorasm's: "
              "assembling this text changes it\n"
              "const float yscale : c0\n");
}

// Byte code that is not a whole number of DWORDs, or too short to hold a
// version and an end token, is refused before anything is read.
TEST(Disassembler, RefusesTruncatedByteCode)
{
    for (size_t size : {0u, 4u, 10u})
    {
        SCOPED_TRACE(size);
        std::vector<uint8_t> code(size, 0);
        std::string text;
        std::string error;
        EXPECT_FALSE(Disassembler::disassemble(code, text, error));
        EXPECT_EQ(error,
                  "byte code must be a whole number of DWORDs, at least a version and an end");
    }
}
