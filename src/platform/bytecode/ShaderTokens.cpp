// Walks Direct3D 9 shader byte code token by token.
#include "ShaderTokens.h"

#include "TokenFormat.h"

ShaderTokens::ShaderTokens(const uint32_t* a_code, size_t a_limit)
    : m_code(a_code), m_limit(a_limit)
{
    // Instruction lengths exist from shader model 2 on; earlier byte code
    // cannot be walked.
    m_damaged = a_limit < 2 || !TokenFormat::isShaderVersion(a_code[0]) ||
                TokenFormat::versionMajor(a_code[0]) < 2;
}

bool ShaderTokens::next(Instruction* a_instruction)
{
    if (m_ended || m_damaged)
        return false;
    if (m_at >= m_limit)
    {
        m_damaged = true;
        return false;
    }
    const uint32_t token = m_code[m_at];
    if (token == TokenFormat::kEnd)
    {
        m_ended = true;
        ++m_at;
        return false;
    }
    // Parameter tokens have bit 31 set; instruction and comment tokens never do.
    const bool comment = TokenFormat::opcode(token) == TokenFormat::kCommentOpcode;
    const uint32_t length =
        comment ? TokenFormat::commentDwords(token) : TokenFormat::length(token);
    if ((token & 0x80000000u) != 0 || length >= m_limit - m_at)
    {
        m_damaged = true;
        return false;
    }
    *a_instruction = Instruction{token, m_code + m_at + 1, length, comment};
    m_at += 1 + length;
    return true;
}

size_t ShaderTokens::programLength(const uint32_t* a_code, size_t a_limit)
{
    ShaderTokens walk(a_code, a_limit);
    Instruction instruction;
    while (walk.next(&instruction))
    {
    }
    return walk.ended() ? walk.position() : 0;
}
