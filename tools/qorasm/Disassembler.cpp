// Walks byte code instruction by instruction with the layers' walker, checks
// every field against the shader model 3 token format and prints it in the
// assembler's own syntax.
#include "Disassembler.h"

#include "ConstantTableBlock.h"
#include "InstructionTable.h"
#include "RegisterTable.h"
#include "ShaderTokens.h"
#include "TokenFormat.h"

#include <ctype.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <math.h>

namespace
{

// D3DDECLUSAGE values by number.
const char* const g_usageNames[] = {
    "position", "blendweight", "blendindices", "normal", "psize", "texcoord", "tangent",
    "binormal", "tessfactor",  "positiont",    "color",  "fog",   "depth",    "sample",
};

const char* const g_textureTypes[] = {nullptr, nullptr, "2d", "cube", "volume"};

// The shortest decimal text that reads back as the same float.
std::string floatText(float a_value)
{
    char text[32];
    for (int precision = 1; precision <= 9; ++precision)
    {
        snprintf(text, sizeof(text), "%.*g", precision, static_cast<double>(a_value));
        if (strtof(text, nullptr) == a_value &&
            std::signbit(strtof(text, nullptr)) == std::signbit(a_value))
            break;
    }
    return text;
}

bool isIdentifier(const std::string& a_name)
{
    if (a_name.empty() || isdigit(static_cast<unsigned char>(a_name[0])))
        return false;
    for (char c : a_name)
    {
        if (!isalnum(static_cast<unsigned char>(c)) && c != '_')
            return false;
    }
    return true;
}

std::string modifierSuffixes(uint32_t a_modifiers)
{
    std::string text;
    if (a_modifiers & ResultSaturate)
        text += "_sat";
    if (a_modifiers & ResultPartialPrecision)
        text += "_pp";
    if (a_modifiers & ResultCentroid)
        text += "_centroid";
    return text;
}

}

bool Disassembler::disassemble(const std::vector<uint8_t>& a_code, std::string& a_text,
                               std::string& a_error)
{
    Disassembler disassembler;
    if (a_code.size() % 4 != 0 || a_code.size() < 8)
    {
        a_error = "byte code must be a whole number of DWORDs, at least a version and an end";
        return false;
    }
    for (size_t offset = 0; offset < a_code.size(); offset += 4)
    {
        disassembler.m_tokens.push_back(a_code[offset] | (a_code[offset + 1] << 8) |
                                        (a_code[offset + 2] << 16) |
                                        (uint32_t{a_code[offset + 3]} << 24));
    }
    std::string text;
    if (!disassembler.run(text))
    {
        a_error = disassembler.m_error;
        return false;
    }
    a_text = text;
    return true;
}

bool Disassembler::run(std::string& a_text)
{
    const uint32_t version = m_tokens[0];
    if (version == TokenFormat::kVertexVersion30)
        m_kind = KindVertex;
    else if (version == TokenFormat::kPixelVersion30)
        m_kind = KindPixel;
    else
        return fail(0, "not a vs_3_0 or ps_3_0 program");
    a_text = m_kind == KindVertex ? "vs_3_0\n" : "ps_3_0\n";

    // qorasm puts the constant table right after the version token, or marks
    // its absence with noctab.
    ShaderTokens walk(m_tokens.data(), m_tokens.size());
    ShaderTokens::Instruction instruction;
    // Index of the token after the instruction or comment token.
    auto operands = [this](const ShaderTokens::Instruction& a_instruction) {
        return static_cast<size_t>(a_instruction.operands - m_tokens.data());
    };
    bool walking = walk.next(&instruction);
    if (walking && instruction.comment)
    {
        if (!constantTable(operands(instruction), instruction.length, a_text))
            return false;
        walking = walk.next(&instruction);
    }
    else
    {
        a_text += "noctab\n";
    }

    for (; walking; walking = walk.next(&instruction))
    {
        if (!this->instruction(operands(instruction) - 1, instruction.length, a_text))
            return false;
    }
    if (!walk.ended())
        return stopped(walk.position());
    if (walk.position() != m_tokens.size())
        return fail(walk.position() * 4, "data after the end token");
    return true;
}

// The walker stops short of the end token where a token's length runs past
// the program, where an instruction token sets bit 31, or at the program's
// end; the fault is named as the instruction's own checks name it.
bool Disassembler::stopped(size_t a_index)
{
    if (a_index >= m_tokens.size())
        return fail(m_tokens.size() * 4, "program has no end token");
    const uint32_t token = m_tokens[a_index];
    if (a_index == 1 && TokenFormat::opcode(token) == TokenFormat::kCommentOpcode)
    {
        if (token & 0x80000000)
            return fail(a_index * 4, "comment token sets reserved bits");
        return fail(a_index * 4, "comment block runs past the end of the program");
    }
    if (!instructionInfo(a_index))
        return false;
    return fail(a_index * 4, "instruction runs past the end of the program");
}

bool Disassembler::constantTable(size_t a_start, uint32_t a_dwords, std::string& a_text)
{
    ConstantTableBlock table;
    std::string error;
    if (!ConstantTableBlock::isConstantTable(&m_tokens[a_start], a_dwords))
        return fail((a_start - 1) * 4,
                    "comment blocks other than a constant table are not supported");
    if (!table.read(&m_tokens[a_start], a_dwords, error))
        return fail(a_start * 4, error);
    // Only a table laid out as qorasm writes it comes back byte for byte.
    std::vector<uint32_t> canonical;
    const auto block = m_tokens.begin() + static_cast<ptrdiff_t>(a_start - 1);
    if (!ConstantTableBlock::write(table.m_constants, m_tokens[0], canonical, error) ||
        canonical.size() != a_dwords + 1 || !std::equal(canonical.begin(), canonical.end(), block))
        a_text += "; this constant table (written by " + table.m_creator +
                  ") is laid out differently from qorasm's: assembling this text changes it\n";
    for (const ConstantDeclaration& constant : table.m_constants)
    {
        static const char* const letters[] = {"b", "i", "c", "s"};
        const std::string type = constant.typeName();
        if (type.empty() || constant.m_registerSet > SetSampler ||
            !constant.fitsRegisterSet(constant.m_registerSet) || constant.m_elements == 0 ||
            constant.m_registerCount == 0 ||
            constant.m_registerCount > constant.fullRegisterCount())
            return fail(a_start * 4, "constant '" + constant.m_name +
                                         "' has a type or registers qorasm cannot declare");
        if (!isIdentifier(constant.m_name))
            return fail(a_start * 4,
                        "constant name '" + constant.m_name + "' is not an identifier");
        const char* letter = letters[constant.m_registerSet];
        a_text += "const " + type + " " + constant.m_name;
        if (constant.m_elements != 1)
            a_text += "[" + std::to_string(constant.m_elements) + "]";
        a_text += " : " + std::string(letter) + std::to_string(constant.m_registerIndex);
        if (constant.m_registerCount != constant.fullRegisterCount())
            a_text += ".." + std::string(letter) +
                      std::to_string(constant.m_registerIndex + constant.m_registerCount - 1);
        a_text += "\n";
    }
    return true;
}

const InstructionInfo* Disassembler::instructionInfo(size_t a_start)
{
    const uint32_t token = m_tokens[a_start];
    if (TokenFormat::opcode(token) == TokenFormat::kCommentOpcode)
    {
        fail(a_start * 4, "comment blocks after the constant table are not supported");
        return nullptr;
    }
    if (token & 0xE0000000)
    {
        fail(a_start * 4, "instruction token sets reserved or co-issue bits");
        return nullptr;
    }
    const uint32_t controls = TokenFormat::controls(token);
    const InstructionInfo* info = InstructionTable::find(TokenFormat::opcode(token), controls);
    if (!info)
    {
        fail(a_start * 4, "unknown opcode " + std::to_string(TokenFormat::opcode(token)) +
                              " with controls " + std::to_string(controls));
        return nullptr;
    }
    if (!(info->kinds & m_kind))
    {
        fail(a_start * 4, std::string("'") + info->name + "' is not an instruction of " +
                              (m_kind == KindVertex ? "vs_3_0" : "ps_3_0"));
        return nullptr;
    }
    return info;
}

bool Disassembler::instruction(size_t a_start, uint32_t a_length, std::string& a_text)
{
    const uint32_t token = m_tokens[a_start];
    const InstructionInfo* info = instructionInfo(a_start);
    if (!info)
        return false;
    m_position = a_start + 1;
    m_instructionEnd = a_start + 1 + a_length;

    const uint32_t controls = TokenFormat::controls(token);
    std::string mnemonic = info->name;
    if (info->controls == ControlsComparison)
        mnemonic += std::string("_") + InstructionTable::comparisonName(controls);
    std::string operands;
    uint32_t param = 0;

    if (info->opcode == OpDcl)
    {
        uint32_t declaration = 0;
        if (!next(declaration) || !next(param))
            return fail(a_start * 4, "dcl needs a declaration and a register token");
        std::string reg;
        if (!destination(param, reg))
            return false;
        if (TokenFormat::relative(param))
            return fail((a_start + 2) * 4, "a declared register cannot be addressed relatively");
        const uint32_t type = TokenFormat::registerType(param);
        const uint32_t textureType = TokenFormat::declarationTextureType(declaration);
        const uint32_t usage = TokenFormat::declarationUsage(declaration);
        const uint32_t index = TokenFormat::declarationUsageIndex(declaration);
        if (type == RegSampler && (declaration & 0x87FFFFFF) == 0x80000000 && textureType < 5 &&
            g_textureTypes[textureType])
            mnemonic += std::string("_") + g_textureTypes[textureType];
        else if ((type == RegInput || type == RegOutput) &&
                 TokenFormat::usageDeclaration(usage, index) == declaration && usage < 14)
            mnemonic +=
                std::string("_") + g_usageNames[usage] + (index ? std::to_string(index) : "");
        else if (type != RegMisc || declaration != 0x80000000)
            return fail((a_start + 1) * 4, "declaration token does not fit register " + reg);
        mnemonic += modifierSuffixes(TokenFormat::resultModifiers(param));
        operands = reg;
    }
    else if (info->opcode == OpDef || info->opcode == OpDefi || info->opcode == OpDefb)
    {
        if (!next(param))
            return fail(a_start * 4, "definition without a register");
        const uint32_t wanted = info->opcode == OpDef    ? RegConst
                                : info->opcode == OpDefi ? RegConstInt
                                                         : RegConstBool;
        if (TokenFormat::registerType(param) != wanted ||
            (param & 0xFFFFF800) !=
                TokenFormat::destination(wanted, 0, TokenFormat::kFullMask, 0, false))
            return fail((a_start + 1) * 4, std::string("malformed register of ") + info->name);
        if (!registerName(param, operands))
            return false;
        const uint32_t values = info->opcode == OpDefb ? 1 : 4;
        for (uint32_t i = 0; i < values; ++i)
        {
            uint32_t value = 0;
            if (!next(value))
                return fail(a_start * 4, std::string(info->name) + " needs " +
                                             std::to_string(values) + " values");
            if (info->opcode == OpDef)
            {
                float number = 0;
                memcpy(&number, &value, sizeof(number));
                if (!isfinite(number))
                    return fail((m_position - 1) * 4, "def value is not a finite number");
                operands += ", " + floatText(number);
            }
            else if (info->opcode == OpDefi)
            {
                operands += ", " + std::to_string(static_cast<int32_t>(value));
            }
            else
            {
                if (value > 1)
                    return fail((m_position - 1) * 4, "defb value is neither 0 nor 1");
                operands += value ? ", true" : ", false";
            }
        }
    }
    else
    {
        if (info->destinations)
        {
            std::string reg;
            if (!next(param) || !destination(param, reg))
                return m_error.empty() ? fail(a_start * 4, "missing destination") : false;
            mnemonic += modifierSuffixes(TokenFormat::resultModifiers(param));
            operands = reg;
        }
        for (uint32_t i = 0; i < info->sources; ++i)
        {
            std::string reg;
            if (!next(param) || !source(param, reg))
                return m_error.empty() ? fail(a_start * 4, "missing source") : false;
            operands += (operands.empty() ? "" : ", ") + reg;
        }
    }

    std::string predicate;
    if (TokenFormat::predicated(token))
    {
        if (!next(param))
            return fail(a_start * 4, "predicated instruction without a predicate");
        const uint32_t modifier = TokenFormat::sourceModifier(param);
        if (TokenFormat::registerType(param) != RegPredicate || TokenFormat::relative(param) ||
            (modifier != SrcNone && modifier != SrcNot) || !source(param, predicate))
            return m_error.empty() ? fail((m_position - 1) * 4, "malformed predicate") : false;
        predicate = "(" + predicate + ") ";
    }
    if (m_position != m_instructionEnd)
        return fail(a_start * 4, "instruction length " +
                                     std::to_string(TokenFormat::length(token)) +
                                     " does not match its operands");
    a_text += predicate + mnemonic + (operands.empty() ? "" : " " + operands) + "\n";
    return true;
}

bool Disassembler::destination(uint32_t a_token, std::string& a_text)
{
    if (TokenFormat::shiftScale(a_token) != 0)
        return fail((m_position - 1) * 4, "destination shift is not part of shader model 3");
    if (TokenFormat::resultModifiers(a_token) &
        ~uint32_t{ResultSaturate | ResultPartialPrecision | ResultCentroid})
        return fail((m_position - 1) * 4, "unknown result modifier");
    const uint32_t mask = TokenFormat::writeMask(a_token);
    if (mask == 0)
        return fail((m_position - 1) * 4, "empty write mask");
    if (!registerName(a_token, a_text))
        return false;
    if (mask != TokenFormat::kFullMask)
    {
        a_text += ".";
        for (uint32_t i = 0; i < 4; ++i)
        {
            if (mask & (1u << i))
                a_text += "xyzw"[i];
        }
    }
    return true;
}

bool Disassembler::source(uint32_t a_token, std::string& a_text)
{
    const uint32_t modifier = TokenFormat::sourceModifier(a_token);
    std::string reg;
    if (!registerName(a_token, reg))
        return false;
    if (modifier == SrcNegate || modifier == SrcAbsNegate)
        a_text = "-" + reg;
    else if (modifier == SrcNot)
        a_text = "!" + reg;
    else if (modifier == SrcNone || modifier == SrcAbs)
        a_text = reg;
    else
        return fail((m_position - 1) * 4, "source modifier " + std::to_string(modifier) +
                                              " is not part of shader model 3");
    if (modifier == SrcAbs || modifier == SrcAbsNegate)
        a_text += "_abs";

    // Trailing repeats are implied: ".xyyy" prints as ".xy".
    const uint32_t swizzle = TokenFormat::swizzle(a_token);
    if (swizzle != TokenFormat::kIdentitySwizzle)
    {
        std::string components;
        for (uint32_t channel = 0; channel < 4; ++channel)
            components += "xyzw"[(swizzle >> (2 * channel)) & 3];
        while (components.size() > 1 &&
               components[components.size() - 1] == components[components.size() - 2])
            components.pop_back();
        a_text += "." + components;
    }
    return true;
}

// The register itself, with its relative address when bit 13 is set: "c5", "c[a0.x + 5]", "oC0".
bool Disassembler::registerName(uint32_t a_token, std::string& a_text)
{
    const size_t offset = (m_position - 1) * 4;
    if (!TokenFormat::parameterReservedBitsValid(a_token))
        return fail(offset, "parameter token sets reserved bits");
    const uint32_t type = TokenFormat::registerType(a_token);
    const uint32_t number = TokenFormat::registerNumber(a_token);
    const RegisterInfo* info = RegisterTable::find(type, number);
    if (!info || !RegisterTable::count(*info, m_kind) ||
        (info->numbered && number >= RegisterTable::count(*info, m_kind)))
        return fail(offset, "register type " + std::to_string(type) + " number " +
                                std::to_string(number) + " does not exist in " +
                                (m_kind == KindVertex ? "vs_3_0" : "ps_3_0"));
    a_text = info->name;
    if (!TokenFormat::relative(a_token))
    {
        if (info->numbered)
            a_text += std::to_string(number);
        return true;
    }

    uint32_t address = 0;
    if (!next(address))
        return fail(offset, "relative address token missing");
    const uint32_t addressType = TokenFormat::registerType(address);
    const uint32_t component = TokenFormat::swizzle(address) & 3;
    const bool replicated = TokenFormat::swizzle(address) == component * 0x55;
    const bool validType = (addressType == RegAddress && m_kind == KindVertex) ||
                           (addressType == RegLoop && component == 0);
    if (!validType || !replicated ||
        (address & 0xFF00FFFF) != TokenFormat::source(addressType, 0, 0, SrcNone, false))
        return fail((m_position - 1) * 4, "malformed relative address token");
    a_text += "[";
    a_text += addressType == RegLoop ? std::string("aL") : std::string("a0.") + "xyzw"[component];
    if (number)
        a_text += " + " + std::to_string(number);
    a_text += "]";
    return true;
}

bool Disassembler::next(uint32_t& a_token)
{
    if (m_position >= m_instructionEnd)
        return false;
    a_token = m_tokens[m_position++];
    return true;
}

bool Disassembler::fail(size_t a_offset, const std::string& a_message)
{
    m_error = "byte " + std::to_string(a_offset) + ": " + a_message;
    return false;
}
