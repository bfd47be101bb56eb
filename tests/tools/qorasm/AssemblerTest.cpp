// Tests of the assembler: instruction encodings against the documented token
// format, golden programs and the diagnostics of the "errors" group.
//
// Untested ideas: sources with Windows line endings; constant tables near the
// 32767-DWORD comment limit.
#include "tools/qorasm/GoldenFiles.h"

#include "Assembler.h"
#include "InstructionTable.h"

#include <gtest/gtest.h>

#include <set>

namespace
{

struct EncodingCase
{
    const char* version;
    const char* line;
    std::vector<uint32_t>
        tokens;  // the instruction's tokens, between the constant table and the end token
};

// Expected tokens worked out by hand from the driver documentation of the token
// format. Register types: r 0, v 1, c 2, a 3, o 6, i 7, oC 8, oDepth 9, s 10,
// b 14, aL 15, vPos/vFace 17, l 18, p 19; bits 0-2 of the type go to 28-30,
// bits 3-4 to 11-12, and bit 31 is set. Identity swizzle is 0xe4.
const EncodingCase g_encodings[] = {
    // Arithmetic: opcode in bits 0-15, operand count in bits 24-27.
    {"vs_3_0", "nop", {0x00000000}},
    {"vs_3_0", "add r0, r1, r2", {0x03000002, 0x800f0000, 0x80e40001, 0x80e40002}},
    {"vs_3_0", "sub r31, r1, r2", {0x03000003, 0x800f001f, 0x80e40001, 0x80e40002}},
    {"vs_3_0",
     "mad r0.w, r1_abs.x, c0.y, -v0_abs",
     {0x04000004, 0x80080000, 0x8b000001, 0xa0550000, 0x9ce40000}},
    {"vs_3_0", "mul r0, r1, r2", {0x03000005, 0x800f0000, 0x80e40001, 0x80e40002}},
    {"vs_3_0", "rcp r0.x, r1.w", {0x02000006, 0x80010000, 0x80ff0001}},
    {"vs_3_0", "rsq r0.x, r1.w", {0x02000007, 0x80010000, 0x80ff0001}},
    {"vs_3_0", "dp3 r0, r1, r2", {0x03000008, 0x800f0000, 0x80e40001, 0x80e40002}},
    {"vs_3_0", "dp4 r0, r1, r2", {0x03000009, 0x800f0000, 0x80e40001, 0x80e40002}},
    {"vs_3_0", "min r0, r1, r2", {0x0300000a, 0x800f0000, 0x80e40001, 0x80e40002}},
    {"vs_3_0", "max r0, r1, r2", {0x0300000b, 0x800f0000, 0x80e40001, 0x80e40002}},
    {"vs_3_0", "slt r0, r1, r2", {0x0300000c, 0x800f0000, 0x80e40001, 0x80e40002}},
    {"vs_3_0", "sge r0, r1, r2", {0x0300000d, 0x800f0000, 0x80e40001, 0x80e40002}},
    {"vs_3_0", "exp r0, r1.x", {0x0200000e, 0x800f0000, 0x80000001}},
    {"vs_3_0", "log r0, r1.x", {0x0200000f, 0x800f0000, 0x80000001}},
    {"vs_3_0", "lit r0, r1", {0x02000010, 0x800f0000, 0x80e40001}},
    {"vs_3_0", "dst r0, r1, r2", {0x03000011, 0x800f0000, 0x80e40001, 0x80e40002}},
    {"vs_3_0", "lrp r0, r1, r2, r3", {0x04000012, 0x800f0000, 0x80e40001, 0x80e40002, 0x80e40003}},
    {"vs_3_0", "frc r0, r1", {0x02000013, 0x800f0000, 0x80e40001}},
    {"vs_3_0", "m4x4 o0, v0, c0", {0x03000014, 0xe00f0000, 0x90e40000, 0xa0e40000}},
    {"vs_3_0", "m4x3 r0.xyz, v0, c0", {0x03000015, 0x80070000, 0x90e40000, 0xa0e40000}},
    {"vs_3_0", "m3x4 r0, v0, c0", {0x03000016, 0x800f0000, 0x90e40000, 0xa0e40000}},
    {"vs_3_0", "m3x3 r0.xyz, v0, c0", {0x03000017, 0x80070000, 0x90e40000, 0xa0e40000}},
    {"vs_3_0", "m3x2 r0.xy, v0, c0", {0x03000018, 0x80030000, 0x90e40000, 0xa0e40000}},
    {"vs_3_0", "pow r0, r1.x, r2.y", {0x03000020, 0x800f0000, 0x80000001, 0x80550002}},
    {"vs_3_0", "crs r0.xyz, r1, r2", {0x03000021, 0x80070000, 0x80e40001, 0x80e40002}},
    {"vs_3_0", "sgn r0, r1, r2, r3", {0x04000022, 0x800f0000, 0x80e40001, 0x80e40002, 0x80e40003}},
    {"vs_3_0", "abs r0, -r1", {0x02000023, 0x800f0000, 0x81e40001}},
    {"vs_3_0", "nrm r0, r1", {0x02000024, 0x800f0000, 0x80e40001}},
    {"vs_3_0", "sincos r0.xy, r1.w", {0x02000025, 0x80030000, 0x80ff0001}},
    {"vs_3_0", "mova a0.x, r0.x", {0x0200002e, 0xb0010000, 0x80000000}},
    {"vs_3_0", "expp r0, r1.x", {0x0200004e, 0x800f0000, 0x80000001}},
    {"vs_3_0", "logp r0, r1.x", {0x0200004f, 0x800f0000, 0x80000001}},
    {"ps_3_0", "cmp r0, -r1, r2, r3", {0x04000058, 0x800f0000, 0x81e40001, 0x80e40002, 0x80e40003}},
    {"ps_3_0",
     "dp2add r0.x, r1, r2, c0.x",
     {0x0400005a, 0x80010000, 0x80e40001, 0x80e40002, 0xa0000000}},
    {"ps_3_0", "dsx r0, r1", {0x0200005b, 0x800f0000, 0x80e40001}},
    {"ps_3_0", "dsy r0, r1", {0x0200005c, 0x800f0000, 0x80e40001}},

    // Write masks (bits 16-19), result modifiers (bits 20-23: sat 1, pp 2,
    // centroid 4), swizzles (two bits per channel from bit 16) and source
    // modifiers (bits 24-27: negate 1, abs 11, negate abs 12, not 13).
    {"vs_3_0", "mov_sat r1.xy, -c3.wzyx", {0x02000001, 0x80130001, 0xa11b0003}},
    {"ps_3_0", "mul_pp r0.rgb, r1.rrra, c0.bgra", {0x03000005, 0x80270000, 0x80c00001, 0xa0c60000}},
    {"ps_3_0", "mov_sat_pp r0.w, r1.xy", {0x02000001, 0x80380000, 0x80540001}},

    // Register files at their ends, and those whose type needs bits 11-12.
    {"vs_3_0", "mov o11, r31", {0x02000001, 0xe00f000b, 0x80e4001f}},
    {"vs_3_0", "mov r0, c255", {0x02000001, 0x800f0000, 0xa0e400ff}},
    {"ps_3_0", "mov r0, c223", {0x02000001, 0x800f0000, 0xa0e400df}},
    {"ps_3_0", "mov oC0, r0", {0x02000001, 0x800f0800, 0x80e40000}},
    {"ps_3_0", "mov oC3, v9", {0x02000001, 0x800f0803, 0x90e40009}},
    {"ps_3_0", "mov oDepth, r0.x", {0x02000001, 0x900f0800, 0x80000000}},
    {"ps_3_0", "add r0.xy, vPos, c0", {0x03000002, 0x80030000, 0x90e41000, 0xa0e40000}},

    // Relative addressing: bit 13, then an address token whose swizzle
    // replicates the component used.
    {"vs_3_0", "mov r0, c[a0.y + 7]", {0x03000001, 0x800f0000, 0xa0e42007, 0xb0550000}},
    {"vs_3_0", "mov r0, c7[a0.w]", {0x03000001, 0x800f0000, 0xa0e42007, 0xb0ff0000}},
    {"vs_3_0", "mov o[aL].xy, v0", {0x03000001, 0xe0032000, 0xf0000800, 0x90e40000}},
    {"ps_3_0", "mov r0, v[aL + 1]", {0x03000001, 0x800f0000, 0x90e42001, 0xf0000800}},

    // Flow control; comparisons in bits 16-23: gt 1, eq 2, ge 3, lt 4, ne 5, le 6.
    {"vs_3_0", "if b3", {0x01000028, 0xe0e40803}},
    {"vs_3_0", "if_lt r0.x, c1.y", {0x02040029, 0x80000000, 0xa0550001}},
    {"vs_3_0", "if_gt r0.x, c1.y", {0x02010029, 0x80000000, 0xa0550001}},
    {"vs_3_0", "else", {0x0000002a}},
    {"vs_3_0", "endif", {0x0000002b}},
    {"vs_3_0", "rep i0", {0x01000026, 0xf0e40000}},
    {"vs_3_0", "endrep", {0x00000027}},
    {"vs_3_0", "loop aL, i2", {0x0200001b, 0xf0e40800, 0xf0e40002}},
    {"vs_3_0", "endloop", {0x0000001d}},
    {"vs_3_0", "break", {0x0000002c}},
    {"vs_3_0", "break_ne r0.x, r1.x", {0x0205002d, 0x80000000, 0x80000001}},
    {"vs_3_0", "break_le r0.x, r1.x", {0x0206002d, 0x80000000, 0x80000001}},
    {"vs_3_0", "breakp p0.x", {0x01000060, 0xb0001000}},
    {"vs_3_0", "setp_ge p0.xz, r0, c0", {0x0303005e, 0xb0051000, 0x80e40000, 0xa0e40000}},
    {"ps_3_0", "setp_eq p0, r0, c0", {0x0302005e, 0xb00f1000, 0x80e40000, 0xa0e40000}},
    {"vs_3_0", "call l2", {0x01000019, 0xa0e41002}},
    {"vs_3_0", "callnz l2, !b1", {0x0200001a, 0xa0e41002, 0xede40801}},
    {"vs_3_0", "label l2", {0x0100001e, 0xa0e41002}},
    {"vs_3_0", "ret", {0x0000001c}},

    // Predication: bit 28, and the predicate as a last source token.
    {"vs_3_0",
     "(!p0.y) add r0, r1, r2",
     {0x14000002, 0x800f0000, 0x80e40001, 0x80e40002, 0xbd551000}},
    {"ps_3_0", "(p0) mov r0, r1", {0x13000001, 0x800f0000, 0x80e40001, 0xb0e41000}},

    // Texture instructions; texldp and texldb set 1 and 2 in bits 16-23.
    {"ps_3_0", "texld r0, v0, s1", {0x03000042, 0x800f0000, 0x90e40000, 0xa0e40801}},
    {"ps_3_0", "texldp r0, v0, s1", {0x03010042, 0x800f0000, 0x90e40000, 0xa0e40801}},
    {"ps_3_0", "texldb r0, v0, s1", {0x03020042, 0x800f0000, 0x90e40000, 0xa0e40801}},
    {"ps_3_0",
     "texldd r0, v0, s0, r1, r2",
     {0x0500005d, 0x800f0000, 0x90e40000, 0xa0e40800, 0x80e40001, 0x80e40002}},
    {"vs_3_0", "texldl r0, v0, s3", {0x0300005f, 0x800f0000, 0x90e40000, 0xa0e40803}},
    {"ps_3_0", "texkill r0.xyz", {0x01000041, 0x80070000}},

    // Definitions: the register, then the raw values.
    {"vs_3_0",
     "def c5, 1, -2.5, 0.5, 0",
     {0x05000051, 0xa00f0005, 0x3f800000, 0xc0200000, 0x3f000000, 0x00000000}},
    {"vs_3_0",
     "defi i1, 3, -1, 0, 255",
     {0x05000030, 0xf00f0001, 0x00000003, 0xffffffff, 0x00000000, 0x000000ff}},
    {"ps_3_0", "defb b2, true", {0x0200002f, 0xe00f0802, 0x00000001}},
    {"ps_3_0", "defb b2, false", {0x0200002f, 0xe00f0802, 0x00000000}},

    // Declarations: usage in bits 0-4 and its index in bits 16-19, or the
    // texture type in bits 27-30 (2d 2, cube 3, volume 4).
    {"vs_3_0", "dcl_position v0", {0x0200001f, 0x80000000, 0x900f0000}},
    {"vs_3_0", "dcl_texcoord3 v4.xy", {0x0200001f, 0x80030005, 0x90030004}},
    {"vs_3_0", "dcl_blendindices v1", {0x0200001f, 0x80000002, 0x900f0001}},
    {"vs_3_0", "dcl_psize o4.x", {0x0200001f, 0x80000004, 0xe0010004}},
    {"vs_3_0", "dcl_fog o5.x", {0x0200001f, 0x8000000b, 0xe0010005}},
    {"ps_3_0", "dcl_texcoord1 v1.xy", {0x0200001f, 0x80010005, 0x90030001}},
    {"ps_3_0", "dcl_texcoord1_centroid v1.xy", {0x0200001f, 0x80010005, 0x90430001}},
    {"ps_3_0", "dcl_color1 v2", {0x0200001f, 0x8001000a, 0x900f0002}},
    {"ps_3_0", "dcl_texcoord15 v9", {0x0200001f, 0x800f0005, 0x900f0009}},
    {"ps_3_0", "dcl vFace", {0x0200001f, 0x80000000, 0x900f1001}},
    {"ps_3_0", "dcl vPos.xy", {0x0200001f, 0x80000000, 0x90031000}},
    {"ps_3_0", "dcl_2d s0", {0x0200001f, 0x90000000, 0xa00f0800}},
    {"ps_3_0", "dcl_cube s3", {0x0200001f, 0x98000000, 0xa00f0803}},
    {"vs_3_0", "dcl_volume s1", {0x0200001f, 0xa0000000, 0xa00f0801}},
};

// Assembles one line after a version and "noctab", and returns the tokens
// between the version token and the end token.
std::vector<uint32_t> assembleLine(const std::string& a_version, const std::string& a_line,
                                   AssemblyError& a_error)
{
    std::vector<uint32_t> tokens;
    if (!Assembler::assemble(a_version + "\nnoctab\n" + a_line + "\n", tokens, a_error))
        return {};
    return std::vector<uint32_t>(tokens.begin() + 1, tokens.end() - 1);
}

}

// Each instruction assembles to the tokens that the documented token format gives.
TEST(Assembler, EncodesInstructionsAsTheTokenFormatDocuments)
{
    for (const EncodingCase& row : g_encodings)
    {
        SCOPED_TRACE(std::string(row.version) + ": " + row.line);
        AssemblyError error;
        EXPECT_EQ(assembleLine(row.version, row.line, error), row.tokens) << error.format();
    }
}

// The encoding table reaches every mnemonic that the assembler knows.
TEST(Assembler, EncodingTableCoversEveryInstruction)
{
    std::set<std::string> covered;
    for (const EncodingCase& row : g_encodings)
    {
        std::string line = row.line;
        if (line[0] == '(')
            line = line.substr(line.find(')') + 2);
        covered.insert(line.substr(0, line.find_first_of(" _")));
    }
    for (const InstructionInfo* info = InstructionTable::begin(); info != InstructionTable::end();
         ++info)
    {
        EXPECT_TRUE(covered.count(info->name)) << info->name;
    }
}

// The version token comes first and the end token last; the constant table
// comment sits between them unless the program says noctab.
TEST(Assembler, FramesTheProgramWithVersionAndEndTokens)
{
    const struct
    {
        const char* source;
        uint32_t version;
        bool constantTable;
    } cases[] = {
        {"vs_3_0\nnop\n", 0xfffe0300, true},
        {"ps_3_0\nnop\n", 0xffff0300, true},
        {"ps_3_0\nnoctab\nnop\n", 0xffff0300, false},
    };
    for (const auto& row : cases)
    {
        SCOPED_TRACE(row.source);
        std::vector<uint32_t> tokens;
        AssemblyError error;
        ASSERT_TRUE(Assembler::assemble(row.source, tokens, error)) << error.format();
        EXPECT_EQ(tokens.front(), row.version);
        EXPECT_EQ(tokens.back(), 0x0000ffffu);
        EXPECT_EQ((tokens[1] & 0xffff) == 0xfffe, row.constantTable);
        if (row.constantTable)
        {
            EXPECT_EQ(tokens[2], 0x42415443u);  // "CTAB"
        }
        EXPECT_EQ(tokens[tokens.size() - 2], 0x00000000u);  // the nop
    }
}

// Golden programs assemble to the hand-laid token listings beside them.
TEST(Assembler, GoldenProgramsMatchTheirTokenListings)
{
    const auto listings = GoldenFiles::list(GoldenFiles::folder("programs"), ".tokens");
    ASSERT_FALSE(listings.empty());
    for (const std::string& listing : listings)
    {
        SCOPED_TRACE(listing);
        std::vector<uint32_t> tokens;
        AssemblyError error;
        ASSERT_TRUE(Assembler::assemble(
            GoldenFiles::readText(GoldenFiles::sibling(listing, ".asm")), tokens, error))
            << error.format();
        EXPECT_EQ(tokens, GoldenFiles::readTokens(listing));
    }
}

// Each faulty source in the "errors" group is refused with the diagnostic
// beside it, and no tokens.
TEST(Assembler, ErrorsNameLineAndColumn)
{
    const auto sources = GoldenFiles::list(GoldenFiles::folder("errors"), ".asm");
    ASSERT_FALSE(sources.empty());
    for (const std::string& source : sources)
    {
        SCOPED_TRACE(source);
        std::vector<uint32_t> tokens{1, 2, 3};
        AssemblyError error;
        EXPECT_FALSE(Assembler::assemble(GoldenFiles::readText(source), tokens, error));
        EXPECT_TRUE(tokens.empty());
        EXPECT_EQ(error.format() + "\n",
                  GoldenFiles::readText(GoldenFiles::sibling(source, ".err")));
    }
}
