// The translator refuses streams whose flow-control blocks and subroutines do
// not nest as D3D9 requires, before MojoShader (whose GLSL writer ends the
// process on some of them) sees them, and translates those that do. No
// device is needed: translation is plain byte code to GLSL.
//
// Untested: break outside a loop (MojoShader writes it; the GLSL compiler
// refuses it at CreateVertexShader).
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
    const auto length = [](DWORD a_opcode, DWORD a_operands) { return a_opcode | (a_operands << 24); };
    const struct
    {
        const char* name;
        std::vector<DWORD> stream;
        bool nests;
    } kCases[] = {
        {"subroutines as written", {kVersion, kRet, length(kLabel, 1), kLabelRegister, kRet, kEnd}, true},
        // Kept from fuzzing: MojoShader took the ret after the empty label for
        // its operand and met the second label inside the first subroutine.
        {"label without its operand",
         {kVersion, kRet, length(kLabel, 0), kRet, length(kLabel, 1), kLabelRegister, kRet, kEnd}, false},
        {"if with an operand too many", {kVersion, length(kIf, 2), kBool, kBool, kEndIf, kEnd}, false},
        {"endif with an operand", {kVersion, length(kIf, 1), kBool, length(kEndIf, 1), kBool, kEnd}, false},
        {"rep without its operand", {kVersion, length(kRep, 0), 39, kEnd}, false},
    };
    for (const auto& testCase : kCases)
    {
        SCOPED_TRACE(testCase.name);
        EXPECT_EQ(ShaderTranslator::blocksNest(testCase.stream.data(), testCase.stream.size()), testCase.nests);
    }
}

// D3D9 counts loops with aL alone and loads textures through sampler
// registers; MojoShader's GLSL writer asserts on anything else.
TEST(ShaderTranslator, LoopCountersAndSamplersMustBeOfTheirKind)
{
    // A register type's bits in a parameter token: XORed in, the type becomes
    // a temporary (0).
    const auto typeBits = [](DWORD a_type) { return (a_type & 7) << 28 | (a_type >> 3) << 11; };
    const struct
    {
        const char* name;
        const char* program;
        size_t token;  // the operand token to change
        DWORD change;  // XORed into it
        bool fits;
    } kCases[] = {
        {"loop with aL", "vs_3_0\ndcl_position v0\ndcl_position o0\nloop aL, i0\nmov o0, v0\nendloop\n",
         0, 0, true},
        {"loop with the loop register 91", "vs_3_0\ndcl_position v0\ndcl_position o0\nloop aL, i0\nmov o0, v0\nendloop\n",
         0, 91, false},
        {"loop with a temporary", "vs_3_0\ndcl_position v0\ndcl_position o0\nloop aL, i0\nmov o0, v0\nendloop\n",
         0, typeBits(15), false},
        {"texld with s0", "ps_3_0\ndcl_texcoord v0.xy\ndcl_2d s0\ntexld r0, v0, s0\nmov oC0, r0\n", 0, 0, true},
        {"texld with r0 for its sampler", "ps_3_0\ndcl_texcoord v0.xy\ndcl_2d s0\ntexld r0, v0, s0\nmov oC0, r0\n",
         0, typeBits(10), false},
    };
    for (const auto& testCase : kCases)
    {
        SCOPED_TRACE(testCase.name);
        std::vector<uint32_t> tokens;
        AssemblyError error;
        ASSERT_TRUE(Assembler::assemble(testCase.program, tokens, error)) << error.format();
        std::vector<DWORD> stream(tokens.begin(), tokens.end());
        // The loop's counter follows the loop token; the sampler is the
        // third operand of texld.
        for (size_t at = 1; at < stream.size(); ++at)
        {
            const DWORD opcode = stream[at] & 0xFFFF;
            if (opcode == 27 || opcode == 66)
            {
                stream[at + (opcode == 27 ? 1 : 3)] ^= testCase.change;
                break;
            }
        }
        TranslatedShader translated;
        EXPECT_EQ(ShaderTranslator::translate(stream.data(), testCase.program[0] == 'v', &translated),
                  testCase.fits ? D3D_OK : D3DERR_INVALIDCALL);
    }
}

}  // namespace
