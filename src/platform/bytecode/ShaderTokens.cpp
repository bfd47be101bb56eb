// Walks Direct3D 9 shader byte code token by token.
#include "ShaderTokens.h"

ShaderTokens::ShaderTokens(const uint32_t* a_code, size_t a_limit)
    : m_code(a_code), m_limit(a_limit)
{
    // Instruction lengths exist from shader model 2 on; earlier byte code
    // cannot be walked.
    const uint32_t kind = a_limit >= 2 ? a_code[0] >> 16 : 0;
    m_damaged = (kind != 0xFFFE && kind != 0xFFFF) || ((a_code[0] >> 8) & 0xFF) < 2;
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
    if (token == kEndToken)
    {
        m_ended = true;
        ++m_at;
        return false;
    }
    // Parameter tokens have bit 31 set; instruction and comment tokens never do.
    const bool comment = (token & 0xFFFF) == kCommentOpcode;
    const uint32_t length = comment ? (token >> 16) & 0x7FFF : (token >> 24) & 0x0F;
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
