// Shader token streams from byte code: the checks before MojoShader sees a
// stream, run on streams that end at an unreadable page, so that a read past
// the end crashes the test; and the walk that measures a stream.
#include "TestDevice.h"

#include "ShaderTranslator.h"

#include <gtest/gtest.h>

#include <sys/mman.h>
#include <unistd.h>

#include <string.h>
#include <vector>

namespace
{

// Tokens copied to the very end of a readable page that an unreadable page
// follows.
class GuardedTokens
{
public:
    explicit GuardedTokens(const std::vector<DWORD>& a_tokens)
    {
        m_page = size_t(sysconf(_SC_PAGESIZE));
        m_memory =
            mmap(nullptr, m_page * 2, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        EXPECT_NE(m_memory, MAP_FAILED);
        mprotect(static_cast<char*>(m_memory) + m_page, m_page, PROT_NONE);
        m_tokens = reinterpret_cast<DWORD*>(static_cast<char*>(m_memory) + m_page -
                                            a_tokens.size() * sizeof(DWORD));
        memcpy(m_tokens, a_tokens.data(), a_tokens.size() * sizeof(DWORD));
    }
    ~GuardedTokens() { munmap(m_memory, m_page * 2); }
    GuardedTokens(const GuardedTokens&) = delete;
    GuardedTokens& operator=(const GuardedTokens&) = delete;

    const DWORD* tokens() const { return m_tokens; }

private:
    size_t m_page = 0;
    void* m_memory = nullptr;
    DWORD* m_tokens = nullptr;
};

const char g_vertexSource[] = "vs_3_0\n"
                              "const float4 offset : c2\n"
                              "dcl_position v0\n"
                              "dcl_position o0\n"
                              "add o0, v0, c2\n";

const char g_pixelSource[] = "ps_3_0\n"
                             "const float4 colour : c0\n"
                             "mov oC0, c0\n";

class ShaderStreams : public testing::Test
{
protected:
    TestDevice m_device{16, 16};
};

// A token stream is walked to its end token; the walk refuses a stream at
// its first damaged token and never reads past the end token.
TEST_F(ShaderStreams, DamagedStreamsAreRefusedWithoutReadingPastThem)
{
    const std::vector<DWORD> vertex = m_device.assemble(g_vertexSource);
    const std::vector<DWORD> pixel = m_device.assemble(g_pixelSource);
    ASSERT_GT(vertex.size(), 4u);
    const size_t last = vertex.size() - 1;  // the end token
    // The add instruction: token, destination, two sources, just before the end.
    const size_t add = last - 4;
    ASSERT_EQ(vertex[add] & 0xFFFF, 2u) << "D3DSIO_ADD";

    struct Case
    {
        const char* name;
        std::vector<DWORD> tokens;
        bool vertexShader;
        HRESULT expected;
    };
    std::vector<Case> cases = {
        {"vertex shader", vertex, true, D3D_OK},
        {"pixel shader", pixel, false, D3D_OK},
        {"pixel shader given to CreateVertexShader", pixel, true, D3DERR_INVALIDCALL},
        {"vertex shader given to CreatePixelShader", vertex, false, D3DERR_INVALIDCALL},
        {"not a version token", {0x12345678, 0x0000FFFF}, true, D3DERR_INVALIDCALL},
        {"shader model 1.1", {0xFFFE0101, 0x0000FFFF}, true, D3DERR_INVALIDCALL},
        {"shader model 4.0, which D3D9 does not have",
         {0xFFFE0400, 0x0000FFFF},
         true,
         D3DERR_INVALIDCALL},
    };
    Case unknownMinor = {"shader model 3.32, which D3D9 does not have", vertex, true,
                         D3DERR_INVALIDCALL};
    unknownMinor.tokens[0] = 0xFFFE0320;
    cases.push_back(unknownMinor);
    Case unknownOpcode = {"unknown opcode", vertex, true, D3DERR_INVALIDCALL};
    unknownOpcode.tokens[add] = (unknownOpcode.tokens[add] & 0xFFFF0000) | 0x7777;
    cases.push_back(unknownOpcode);
    Case longInstruction = {"instruction length running over the end token", vertex, true,
                            D3DERR_INVALIDCALL};
    longInstruction.tokens[add] |= 0x0F000000;
    cases.push_back(longInstruction);
    Case noEnd = {"end token replaced by a parameter token", vertex, true, D3DERR_INVALIDCALL};
    noEnd.tokens[last] = 0x80000000;
    cases.push_back(noEnd);
    Case shortInstruction = {"add with one source (MojoShader refuses it)", vertex, true,
                             D3DERR_INVALIDCALL};
    shortInstruction.tokens[add] = (shortInstruction.tokens[add] & ~0x0F000000u) | 0x02000000u;
    shortInstruction.tokens.erase(shortInstruction.tokens.begin() + long(add) + 3);
    cases.push_back(shortInstruction);
    Case readOnly = {"write to an input register (the GLSL compiler refuses it)", vertex, true,
                     D3DERR_INVALIDCALL};
    readOnly.tokens[add + 1] = (readOnly.tokens[add + 1] & ~0x70001800u) | (1u << 28);  // v#
    cases.push_back(readOnly);

    for (const Case& test : cases)
    {
        SCOPED_TRACE(test.name);
        GuardedTokens guarded(test.tokens);
        if (test.vertexShader)
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
    IDirect3DVertexShader9* shader = nullptr;
    EXPECT_EQ(m_device->CreateVertexShader(nullptr, &shader), D3DERR_INVALIDCALL);
}

// The walk measures a stream up to and with its end token, stepping over
// comments (the constant table) whatever their contents.
TEST_F(ShaderStreams, MeasureCountsTokensToTheEndToken)
{
    const std::vector<DWORD> vertex = m_device.assemble(g_vertexSource);
    GuardedTokens guarded(vertex);
    EXPECT_EQ(ShaderTranslator::measure(guarded.tokens()), vertex.size());
    const std::vector<DWORD> comment = {0xFFFE0300, 0x0002FFFE, 0x0000FFFF, 0x0000FFFF, 0x0000FFFF};
    EXPECT_EQ(ShaderTranslator::measure(comment.data()), 5u) << "end tokens inside a comment";
}

}  // namespace
