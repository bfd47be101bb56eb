// Shader token streams given to CreateVertexShader and CreatePixelShader:
// damaged ones are refused, on streams that end at an unreadable page, so
// that a read past the end crashes the test.
#include "GuardedTokens.h"
#include "TestDevice.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace
{

const char g_vertexSource[] = "vs_3_0\n"
                              "const float4 offset : c2\n"
                              "dcl_position v0\n"
                              "dcl_position o0\n"
                              "add o0, v0, c2\n";

const char g_pixelSource[] = "ps_3_0\n"
                             "const float4 colour : c0\n"
                             "mov oC0, c0\n";

// One stream given to a create call: the vertex or pixel program, damaged
// by a_damage (given the program's add instruction and end token), or
// tokens of its own.
struct StreamCase
{
    const char* name;
    bool fromVertexProgram;
    void (*damage)(std::vector<DWORD>& a_tokens, size_t a_add, size_t a_end);
    std::vector<DWORD> ownTokens;  // used when not empty
    bool toCreateVertexShader;
    HRESULT expected;
};

std::vector<StreamCase> streamCases()
{
    using Tokens = std::vector<DWORD>&;
    return {
        {"vertex_shader", true, nullptr, {}, true, D3D_OK},
        {"pixel_shader", false, nullptr, {}, false, D3D_OK},
        {"pixel_shader_given_to_CreateVertexShader", false, nullptr, {}, true, D3DERR_INVALIDCALL},
        {"vertex_shader_given_to_CreatePixelShader", true, nullptr, {}, false, D3DERR_INVALIDCALL},
        {"not_a_version_token", true, nullptr, {0x12345678, 0x0000FFFF}, true, D3DERR_INVALIDCALL},
        {"shader_model_1_1", true, nullptr, {0xFFFE0101, 0x0000FFFF}, true, D3DERR_INVALIDCALL},
        {"shader_model_4_0_which_D3D9_does_not_have",
         true,
         nullptr,
         {0xFFFE0400, 0x0000FFFF},
         true,
         D3DERR_INVALIDCALL},
        {"shader_model_3_32_which_D3D9_does_not_have",
         true,
         [](Tokens a_tokens, size_t, size_t) { a_tokens[0] = 0xFFFE0320; },
         {},
         true,
         D3DERR_INVALIDCALL},
        {"unknown_opcode",
         true,
         [](Tokens a_tokens, size_t a_add, size_t) {
             a_tokens[a_add] = (a_tokens[a_add] & 0xFFFF0000) | 0x7777;
         },
         {},
         true,
         D3DERR_INVALIDCALL},
        {"instruction_length_running_over_the_end_token",
         true,
         [](Tokens a_tokens, size_t a_add, size_t) { a_tokens[a_add] |= 0x0F000000; },
         {},
         true,
         D3DERR_INVALIDCALL},
        {"end_token_replaced_by_a_parameter_token",
         true,
         [](Tokens a_tokens, size_t, size_t a_end) { a_tokens[a_end] = 0x80000000; },
         {},
         true,
         D3DERR_INVALIDCALL},
        // MojoShader refuses it.
        {"add_with_one_source",
         true,
         [](Tokens a_tokens, size_t a_add, size_t) {
             a_tokens[a_add] = (a_tokens[a_add] & ~0x0F000000u) | 0x02000000u;
             a_tokens.erase(a_tokens.begin() + long(a_add) + 3);
         },
         {},
         true,
         D3DERR_INVALIDCALL},
        // The GLSL compiler refuses it: the destination is v0.
        {"write_to_an_input_register",
         true,
         [](Tokens a_tokens, size_t a_add, size_t) {
             a_tokens[a_add + 1] = (a_tokens[a_add + 1] & ~0x70001800u) | (1u << 28);
         },
         {},
         true,
         D3DERR_INVALIDCALL},
    };
}

class ShaderStreams : public testing::TestWithParam<StreamCase>
{
protected:
    TestDevice m_device{16, 16};
};

void PrintTo(const StreamCase& a_case, std::ostream* a_stream)
{
    *a_stream << a_case.name;
}

// A stream is refused at its first damaged token, and nothing past its end
// token is read; one case at a time, on a device of its own.
TEST_P(ShaderStreams, DamagedStreamsAreRefusedWithoutReadingPastThem)
{
    const StreamCase& test = GetParam();
    std::vector<DWORD> tokens = test.ownTokens;
    if (tokens.empty())
        tokens = m_device.assemble(test.fromVertexProgram ? g_vertexSource : g_pixelSource);
    if (test.damage)
    {
        ASSERT_GT(tokens.size(), 4u);
        const size_t end = tokens.size() - 1;
        // The add instruction: token, destination, two sources, just before the end.
        const size_t add = end - 4;
        ASSERT_EQ(tokens[add] & 0xFFFF, 2u) << "D3DSIO_ADD";
        test.damage(tokens, add, end);
    }
    GuardedTokens guarded(tokens);
    if (test.toCreateVertexShader)
    {
        IDirect3DVertexShader9* shader = nullptr;
        EXPECT_EQ(m_device->CreateVertexShader(guarded.tokens(), &shader), test.expected);
        EXPECT_EQ(shader != nullptr, test.expected == D3D_OK);
        if (shader)
            shader->Release();
    }
    else
    {
        IDirect3DPixelShader9* shader = nullptr;
        EXPECT_EQ(m_device->CreatePixelShader(guarded.tokens(), &shader), test.expected);
        EXPECT_EQ(shader != nullptr, test.expected == D3D_OK);
        if (shader)
            shader->Release();
    }
}

INSTANTIATE_TEST_SUITE_P(Stream, ShaderStreams, testing::ValuesIn(streamCases()),
                         [](const testing::TestParamInfo<StreamCase>& a_info) {
                             return std::string(a_info.param.name);
                         });

TEST(ShaderStreamNull, NoTokensAreRefused)
{
    TestDevice device(16, 16);
    IDirect3DVertexShader9* shader = nullptr;
    EXPECT_EQ(device->CreateVertexShader(nullptr, &shader), D3DERR_INVALIDCALL);
    EXPECT_EQ(shader, nullptr);
}

}  // namespace
