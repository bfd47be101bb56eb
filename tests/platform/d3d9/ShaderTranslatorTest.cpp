// The translator refuses streams whose flow-control blocks and subroutines do
// not nest as D3D9 requires, before MojoShader (whose GLSL writer ends the
// process on some of them) sees them, and translates those that do. No
// device is needed: translation is plain byte code to GLSL.
//
// Untested: break outside a loop (MojoShader writes it; the GLSL compiler
// refuses it at CreateVertexShader).
#include "GuardedTokens.h"
#include "ShaderTranslator.h"

#include "Assembler.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

const char kHead[] = "vs_3_0\n"
                     "dcl_position v0\n"
                     "dcl_position o0\n";

TEST(ShaderTranslator, BlocksAndSubroutinesMustNest)
{
    const struct
    {
        const char* name;
        const char* body;  // after kHead
        bool nests;
    } kCases[] = {
        // D3D9's rules, followed.
        {"if, else, endif", "if b0\nmov o0, v0\nelse\nmov o0, -v0\nendif\n", true},
        {"loop in rep", "rep i0\nloop aL, i1\nmov o0, v0\nendloop\nendrep\n", true},
        {"subroutine after main", "call l0\nret\nlabel l0\nmov o0, v0\nret\n", true},
        // Ends without their block, or of another block.
        {"endif alone", "endif\nmov o0, v0\n", false},
        {"endrep closing a loop", "loop aL, i0\nmov o0, v0\nendrep\n", false},
        {"else outside if", "rep i0\nelse\nendrep\nmov o0, v0\n", false},
        {"if left open", "if b0\nmov o0, v0\n", false},
        // Labels and returns where MojoShader's blocks are not outermost.
        {"label inside if", "if b0\nlabel l0\nendif\nmov o0, v0\n", false},
        {"label after endif alone", "endif\nret\nlabel l0\nmov o0, v0\nret\n", false},
        {"label before main ends", "mov o0, v0\nlabel l0\nret\n", false},
        {"ret inside rep", "rep i0\nret\nendrep\nmov o0, v0\n", false},
        {"second ret", "mov o0, v0\nret\nret\n", false},
    };
    for (const auto& testCase : kCases)
    {
        SCOPED_TRACE(testCase.name);
        std::vector<uint32_t> tokens;
        AssemblyError error;
        ASSERT_TRUE(Assembler::assemble(std::string(kHead) + testCase.body, tokens, error))
            << error.format();
        const std::vector<DWORD> stream(tokens.begin(), tokens.end());
        EXPECT_EQ(ShaderTranslator::blocksNest(stream.data(), stream.size()), testCase.nests);
        TranslatedShader translated;
        EXPECT_EQ(ShaderTranslator::translate(stream.data(), true, &translated),
                  testCase.nests ? D3D_OK : D3DERR_INVALIDCALL);
    }
}

// MojoShader reads the operands an instruction takes, not the ones its
// length field counts: a block or subroutine instruction whose length
// disagrees would make it read the next instruction as an operand.
TEST(ShaderTranslator, BlockInstructionsMustCountTheirOperands)
{
    const DWORD kVersion = 0xFFFE0300, kEnd = 0x0000FFFF, kRet = 28, kLabel = 30, kRep = 38,
                kEndIf = 43, kIf = 40;
    // Source parameter tokens of register 0 of a type, swizzle .xyzw.
    const auto source = [](DWORD a_type) {
        return 0x80E40000u | ((a_type & 7) << 28) | ((a_type >> 3) << 11);
    };
    const DWORD kLabelRegister = source(18), kBool = source(14);  // l0, b0
    const auto length = [](DWORD a_opcode, DWORD a_operands) {
        return a_opcode | (a_operands << 24);
    };
    const struct
    {
        const char* name;
        std::vector<DWORD> stream;
        bool nests;
    } kCases[] = {
        {"subroutines as written",
         {kVersion, kRet, length(kLabel, 1), kLabelRegister, kRet, kEnd},
         true},
        // Kept from fuzzing: MojoShader took the ret after the empty label for
        // its operand and met the second label inside the first subroutine.
        {"label without its operand",
         {kVersion, kRet, length(kLabel, 0), kRet, length(kLabel, 1), kLabelRegister, kRet, kEnd},
         false},
        {"if with an operand too many",
         {kVersion, length(kIf, 2), kBool, kBool, kEndIf, kEnd},
         false},
        {"endif with an operand",
         {kVersion, length(kIf, 1), kBool, length(kEndIf, 1), kBool, kEnd},
         false},
        {"rep without its operand", {kVersion, length(kRep, 0), 39, kEnd}, false},
    };
    for (const auto& testCase : kCases)
    {
        SCOPED_TRACE(testCase.name);
        EXPECT_EQ(ShaderTranslator::blocksNest(testCase.stream.data(), testCase.stream.size()),
                  testCase.nests);
    }
}

// The instructions that open and close blocks take only the operands D3D9
// allows them, and texture loads read through sampler registers: MojoShader
// skips such an instruction but goes on, so its GLSL writer later meets a
// label at the wrong indentation and asserts (or asserts at once).
TEST(ShaderTranslator, BlockOperandsAndSamplersMustBeOfTheirKind)
{
    // A register type's bits in a parameter token: XORed in, the type
    // becomes a temporary (0).
    const auto typeBits = [](DWORD a_type) {
        return (a_type & 7) << 28 | (a_type >> 3) << 11;
    };
    const char* const kLoop = "loop aL, i0\nmov o0, v0\nendloop\n";
    const char* const kIf = "if b0\nmov o0, v0\nendif\n";
    const char* const kIfc = "if_lt v0.x, c0.x\nmov o0, v0\nendif\n";
    const char* const kRep = "rep i0\nmov o0, v0\nendrep\n";
    const char* const kLabel = "call l0\nret\nlabel l0\nmov o0, v0\nret\n";
    const char* const kTexld = "texld r0, v0, s0\nmov oC0, r0\n";
    const struct
    {
        const char* name;
        const char* body;  // of a vs_3_0 program, or ps_3_0 for texld
        DWORD opcode;      // the instruction to change
        size_t operand;    // which of its tokens, 1 for the first after it
        DWORD change;      // XORed into that token
        bool fits;
    } kCases[] = {
        {"loop aL, i0", kLoop, 27, 1, 0, true},
        {"loop counting with loop register 91", kLoop, 27, 1, 91, false},
        {"loop counting with a temporary", kLoop, 27, 1, typeBits(15), false},
        {"loop taking its count from a temporary", kLoop, 27, 2, typeBits(7), false},
        {"if b0", kIf, 40, 1, 0, true},
        {"if on a temporary", kIf, 40, 1, typeBits(14), false},
        {"if_lt on .x and .x", kIfc, 41, 0, 0, true},
        {"if_lt on .xyzw", kIfc, 41, 1, 0xE4u << 16, false},
        {"if with comparison 0", kIfc, 41, 0, 4u << 16, false},
        {"rep i0", kRep, 38, 1, 0, true},
        {"rep on a temporary", kRep, 38, 1, typeBits(7), false},
        {"label l0", kLabel, 30, 1, 0, true},
        {"label l16", kLabel, 30, 1, 16, false},
        {"texld with s0", kTexld, 66, 3, 0, true},
        {"texld with r0 for its sampler", kTexld, 66, 3, typeBits(10), false},
    };
    for (const auto& testCase : kCases)
    {
        SCOPED_TRACE(testCase.name);
        const bool pixel = testCase.body == kTexld;
        const std::string program =
            pixel ? std::string("ps_3_0\ndcl_texcoord v0.xy\ndcl_2d s0\n") + testCase.body
                  : std::string(kHead) + testCase.body;
        std::vector<uint32_t> tokens;
        AssemblyError error;
        ASSERT_TRUE(Assembler::assemble(program, tokens, error)) << error.format();
        std::vector<DWORD> stream(tokens.begin(), tokens.end());
        size_t at = 1;
        while (at < stream.size() && (stream[at] & 0xFFFF) != testCase.opcode)
            at += 1 + ((stream[at] & 0xFFFF) == 0xFFFE ? (stream[at] >> 16) & 0x7FFF
                                                       : (stream[at] >> 24) & 0x0F);
        ASSERT_LT(at + testCase.operand, stream.size());
        stream[at + testCase.operand] ^= testCase.change;
        TranslatedShader translated;
        EXPECT_EQ(ShaderTranslator::translate(stream.data(), !pixel, &translated),
                  testCase.fits ? D3D_OK : D3DERR_INVALIDCALL);
    }
}

// The walk measures a stream up to and with its end token, stepping over
// comments (the constant table) whatever their contents, and reads no token
// past the end token.
TEST(ShaderTranslator, MeasureCountsTokensToTheEndToken)
{
    std::vector<uint32_t> tokens;
    AssemblyError error;
    const std::string source = "vs_3_0\n"
                               "const float4 offset : c2\n"
                               "dcl_position v0\n"
                               "dcl_position o0\n"
                               "add o0, v0, c2\n";
    ASSERT_TRUE(Assembler::assemble(source, tokens, error)) << error.format();
    const std::vector<DWORD> vertex(tokens.begin(), tokens.end());
    GuardedTokens guarded(vertex);
    EXPECT_EQ(ShaderTranslator::measure(guarded.tokens()), vertex.size());
    const std::vector<DWORD> comment = {0xFFFE0300, 0x0002FFFE, 0x0000FFFF, 0x0000FFFF, 0x0000FFFF};
    GuardedTokens guardedComment(comment);
    EXPECT_EQ(ShaderTranslator::measure(guardedComment.tokens()), 5u)
        << "end tokens inside a comment";
}

}  // namespace
