// Walks Direct3D 9 shader byte code of shader models 2 and 3 token by token:
// after the version token, instructions with their operand tokens and
// comment blocks, up to the end token. The one walker of the layers and
// the shader tools; it reads no further than the limit it is given.
#pragma once

#include <stddef.h>
#include <stdint.h>

class ShaderTokens
{
public:
    // One instruction or comment block.
    struct Instruction
    {
        uint32_t token;            // the instruction or comment token
        const uint32_t* operands;  // the tokens that follow it
        uint32_t length;           // how many: operand tokens, or the comment's DWORDs
        bool comment;

        uint32_t opcode() const { return token & 0xFFFF; }  // TokenFormat::opcode
    };

    // a_limit: the DWORDs the walk may read, version token included.
    ShaderTokens(const uint32_t* a_code, size_t a_limit);

    // The next instruction or comment; false at the end token (ended()) or
    // at damage: a token with bit 31 set where an instruction belongs, or
    // one whose tokens run past the limit.
    bool next(Instruction* a_instruction);
    bool ended() const { return m_ended; }
    // DWORDs walked so far; once ended(), the program's length.
    size_t position() const { return m_at; }

    // The length in DWORDs of a program, version token to end token; 0 if it
    // is no shader model 2 or 3 program or is damaged within a_limit.
    static size_t programLength(const uint32_t* a_code, size_t a_limit);

private:
    const uint32_t* m_code;
    size_t m_limit;
    size_t m_at = 1;
    bool m_ended = false;
    bool m_damaged = false;
};
