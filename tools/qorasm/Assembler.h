// Assembles vs_3_0 and ps_3_0 shader assembly into Direct3D 9 byte code, with
// the constant table built from the source's constant declarations.
#pragma once

#include "AssemblyError.h"
#include "ConstantDeclaration.h"

#include <stdint.h>

#include <string>
#include <vector>

struct InstructionInfo;

class Assembler
{
public:
    // Assembles a whole source. On success a_tokens holds the program, version
    // token to end token; on failure a_error names the first fault's line and
    // column and a_tokens is left empty.
    static bool assemble(const std::string& a_source, std::vector<uint32_t>& a_tokens,
                         AssemblyError& a_error);

    // Parser internals, defined in Assembler.cpp: a piece of a line with its
    // column, an instruction's mnemonic taken apart, and a register operand as
    // written.
    struct Piece;
    struct Mnemonic;
    struct Register;

private:
    bool line(const std::string& a_text);
    bool version(const Piece& a_word, const Piece& a_rest);
    bool constant(const Piece& a_rest);
    bool instruction(const Piece& a_text);
    bool splitPredicate(Piece& a_text, Piece& a_predicate);
    bool parseMnemonic(const Piece& a_word, Mnemonic& a_mnemonic);
    const InstructionInfo* lookUp(const Piece& a_word, const Mnemonic& a_mnemonic);
    bool checkOperands(const InstructionInfo& a_info, const Piece& a_word,
                       const std::vector<Piece>& a_operands);
    bool operandTokens(const InstructionInfo& a_info, const Piece& a_word,
                       const Mnemonic& a_mnemonic, const std::vector<Piece>& a_operands,
                       std::vector<uint32_t>& a_params);
    bool predicateToken(const Piece& a_predicate, std::vector<uint32_t>& a_params);
    bool declaration(const std::string& a_suffix, int a_suffixColumn, uint32_t a_modifiers,
                     const Piece& a_operand, std::vector<uint32_t>& a_params);
    bool definition(uint32_t a_opcode, const std::vector<Piece>& a_operands,
                    std::vector<uint32_t>& a_params);

    bool parseRegister(const Piece& a_operand, Register& a_register);
    bool destination(const Piece& a_operand, uint32_t a_modifiers, bool a_mustWrite,
                     std::vector<uint32_t>& a_params);
    bool source(const Piece& a_operand, std::vector<uint32_t>& a_params);
    bool writeMask(const Register& a_register, uint32_t& a_mask);
    bool swizzle(const Register& a_register, uint32_t& a_swizzle);
    bool checkNumber(const Register& a_register, int a_column);

    bool fail(int a_column, const std::string& a_message);

    uint32_t m_kind = 0;     // KindVertex or KindPixel once the version line is read
    uint32_t m_version = 0;  // version token
    bool m_noConstantTable = false;
    int m_noConstantTableLine = 0;
    std::vector<ConstantDeclaration> m_constants;
    std::vector<int> m_constantLines;
    std::vector<uint32_t> m_code;  // instruction tokens after the version and constant table
    int m_line = 0;
    AssemblyError m_error;
};
