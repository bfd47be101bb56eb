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

}  // namespace
