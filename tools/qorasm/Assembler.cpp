// Assembles shader model 3 assembly line by line into tokens, checking each
// instruction, register and constant against the shader kind it is written for.
#include "Assembler.h"

#include "ConstantTableBlock.h"
#include "InstructionTable.h"
#include "RegisterTable.h"
#include "TokenFormat.h"

#include <ctype.h>
#include <errno.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <math.h>

// A piece of a source line and the column of its first character.
struct Assembler::Piece
{
    std::string text;
    int column = 1;
};

// A register operand as written: "-c[a0.x + 4]_abs.xyz", "r0.xy", "!b3".
// An instruction's mnemonic taken apart: "if_gt", "dcl_texcoord1", "mul_sat_pp".
struct Assembler::Mnemonic
{
    std::string base;
    uint32_t comparison = 0;  // 1 to 6, or 0 for none
    Piece declaration;        // the usage suffix of dcl, empty for none
    uint32_t modifiers = 0;   // ResultModifier bits
};

struct Assembler::Register
{
    const RegisterInfo* info = nullptr;
    uint32_t number = 0;
    bool negate = false;
    bool logicalNot = false;
    bool absolute = false;
    bool relative = false;
    uint32_t relativeType = 0;
    uint32_t relativeComponent = 0;
    std::string components;  // after the '.', empty if none
    int componentsColumn = 1;
};

namespace
{

struct UsageName
{
    const char* name;
    uint32_t usage;  // D3DDECLUSAGE
};

const UsageName g_usages[] = {
    {"position", 0}, {"blendweight", 1}, {"blendindices", 2}, {"normal", 3},     {"psize", 4},
    {"texcoord", 5}, {"tangent", 6},     {"binormal", 7},     {"tessfactor", 8}, {"positiont", 9},
    {"color", 10},   {"fog", 11},        {"depth", 12},       {"sample", 13},
};

const char* const g_textureTypes[] = {nullptr, nullptr, "2d", "cube", "volume"};

const char* kindName(uint32_t a_kind)
{
    return a_kind == KindVertex ? "vs_3_0" : "ps_3_0";
}

bool isIdentifierChar(char a_char)
{
    return isalnum(static_cast<unsigned char>(a_char)) || a_char == '_';
}

// Drops leading and trailing blanks, keeping the column of what is left.
Assembler::Piece trim(const std::string& a_text, int a_column)
{
    size_t first = 0;
    while (first < a_text.size() && isspace(static_cast<unsigned char>(a_text[first])))
        ++first;
    size_t last = a_text.size();
    while (last > first && isspace(static_cast<unsigned char>(a_text[last - 1])))
        --last;
    return {a_text.substr(first, last - first), a_column + static_cast<int>(first)};
}

// Splits at a_separator, each part trimmed and carrying its own column.
std::vector<Assembler::Piece> split(const Assembler::Piece& a_text, char a_separator)
{
    std::vector<Assembler::Piece> pieces;
    size_t start = 0;
    for (;;)
    {
        const size_t end = a_text.text.find(a_separator, start);
        const std::string part = a_text.text.substr(start, end - start);
        pieces.push_back(trim(part, a_text.column + static_cast<int>(start)));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return pieces;
}

// The leading identifier of a piece and the rest after it, both with columns.
void firstWord(const Assembler::Piece& a_text, Assembler::Piece& a_word, Assembler::Piece& a_rest)
{
    size_t end = 0;
    while (end < a_text.text.size() && isIdentifierChar(a_text.text[end]))
        ++end;
    a_word = {a_text.text.substr(0, end), a_text.column};
    a_rest = trim(a_text.text.substr(end), a_text.column + static_cast<int>(end));
}

// A component letter's index in "xyzw" or "rgba"; -1 if it is neither.
int componentIndex(char a_char, const char* a_set)
{
    const char* found = strchr(a_set, a_char);
    return a_char && found ? static_cast<int>(found - a_set) : -1;
}

bool parseUnsigned(const std::string& a_text, uint32_t a_limit, uint32_t& a_value)
{
    if (a_text.empty() || a_text.size() > 9)
        return false;
    uint32_t value = 0;
    for (char c : a_text)
    {
        if (!isdigit(static_cast<unsigned char>(c)))
            return false;
        value = value * 10 + static_cast<uint32_t>(c - '0');
    }
    if (value > a_limit)
        return false;
    a_value = value;
    return true;
}

}

bool Assembler::assemble(const std::string& a_source, std::vector<uint32_t>& a_tokens,
                         AssemblyError& a_error)
{
    a_tokens.clear();
    Assembler assembler;
    size_t start = 0;
    while (start <= a_source.size())
    {
        size_t end = a_source.find('\n', start);
        if (end == std::string::npos)
            end = a_source.size();
        ++assembler.m_line;
        std::string text = a_source.substr(start, end - start);
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
        if (!assembler.line(text))
        {
            a_error = assembler.m_error;
            return false;
        }
        start = end + 1;
    }
    if (!assembler.m_kind)
    {
        assembler.m_line = 1;
        assembler.fail(1, "expected a shader version (vs_3_0 or ps_3_0)");
        a_error = assembler.m_error;
        return false;
    }

    std::vector<uint32_t> tokens{assembler.m_version};
    if (!assembler.m_noConstantTable)
    {
        std::string error;
        if (!ConstantTableBlock::write(assembler.m_constants, assembler.m_version, tokens, error))
        {
            assembler.m_line = assembler.m_constantLines.back();
            assembler.fail(1, error);
            a_error = assembler.m_error;
            return false;
        }
    }
    tokens.insert(tokens.end(), assembler.m_code.begin(), assembler.m_code.end());
    tokens.push_back(TokenFormat::kEnd);
    a_tokens = std::move(tokens);
    return true;
}

bool Assembler::line(const std::string& a_text)
{
    // Comments run from ';' or "//" to the end of the line.
    size_t end = a_text.find(';');
    end = std::min(end, a_text.find("//"));
    const Piece text = trim(a_text.substr(0, end), 1);
    if (text.text.empty())
        return true;

    Piece word;
    Piece rest;
    firstWord(text, word, rest);
    if (!m_kind)
        return version(word, rest);
    if (word.text == "const")
        return constant(rest);
    if (word.text == "noctab")
    {
        if (!rest.text.empty())
            return fail(rest.column, "unexpected '" + rest.text + "'");
        if (!m_constants.empty())
            return fail(word.column, "noctab in a program that declares constants");
        m_noConstantTable = true;
        m_noConstantTableLine = m_line;
        return true;
    }
    if (word.text == "vs_3_0" || word.text == "ps_3_0")
        return fail(word.column, "shader version given twice");
    return instruction(text);
}

bool Assembler::version(const Piece& a_word, const Piece& a_rest)
{
    if (a_word.text == "vs_3_0")
    {
        m_kind = KindVertex;
        m_version = TokenFormat::kVertexVersion30;
    }
    else if (a_word.text == "ps_3_0")
    {
        m_kind = KindPixel;
        m_version = TokenFormat::kPixelVersion30;
    }
    else
    {
        return fail(a_word.column, "expected a shader version (vs_3_0 or ps_3_0)");
    }
    if (!a_rest.text.empty())
        return fail(a_rest.column, "unexpected '" + a_rest.text + "'");
    return true;
}

// const [row_major] TYPE NAME[[ELEMENTS]] : REGISTER[..LAST]
bool Assembler::constant(const Piece& a_rest)
{
    if (m_noConstantTable)
        return fail(a_rest.column, "constant declared in a program marked noctab (line " +
                                       std::to_string(m_noConstantTableLine) + ")");
    const size_t colon = a_rest.text.find(':');
    if (colon == std::string::npos)
        return fail(a_rest.column + static_cast<int>(a_rest.text.size()),
                    "expected ':' and a register");
    Piece declaration = trim(a_rest.text.substr(0, colon), a_rest.column);
    const Piece location =
        trim(a_rest.text.substr(colon + 1), a_rest.column + static_cast<int>(colon) + 1);

    ConstantDeclaration constant;
    Piece type;
    Piece rest;
    firstWord(declaration, type, rest);
    bool rowMajor = false;
    if (type.text == "row_major" || type.text == "column_major")
    {
        rowMajor = type.text == "row_major";
        firstWord(rest, type, rest);
    }
    if (type.text.empty())
        return fail(type.column, "expected a constant type");
    if (!constant.setType(type.text, rowMajor))
        return fail(type.column, rowMajor ? "row_major needs a matrix type, not '" + type.text + "'"
                                          : "unknown constant type '" + type.text + "'");

    Piece name;
    Piece arrayPart;
    firstWord(rest, name, arrayPart);
    if (name.text.empty() || isdigit(static_cast<unsigned char>(name.text[0])))
        return fail(name.column, "expected a constant name");
    constant.m_name = name.text;
    if (!arrayPart.text.empty())
    {
        uint32_t elements = 0;
        if (arrayPart.text.front() != '[' || arrayPart.text.back() != ']' ||
            !parseUnsigned(arrayPart.text.substr(1, arrayPart.text.size() - 2), 0xFFFF, elements) ||
            elements == 0)
            return fail(arrayPart.column, "expected an element count in brackets, as in [4]");
        constant.m_elements = static_cast<uint16_t>(elements);
    }
    for (const ConstantDeclaration& other : m_constants)
    {
        if (other.m_name == constant.m_name)
            return fail(name.column, "constant '" + constant.m_name + "' declared twice");
    }

    // The register letter picks the register set.
    const size_t dots = location.text.find("..");
    const Piece first = trim(location.text.substr(0, dots), location.column);
    static const struct
    {
        const char* letter;
        uint16_t set;
    } sets[] = {{"c", SetFloat4}, {"i", SetInt4}, {"b", SetBool}, {"s", SetSampler}};
    uint32_t index = 0;
    bool found = false;
    for (const auto& set : sets)
    {
        if (first.text.compare(0, 1, set.letter) == 0 &&
            parseUnsigned(first.text.substr(1), 0xFFFF, index))
        {
            constant.m_registerSet = set.set;
            found = true;
        }
    }
    if (!found)
        return fail(first.column, "expected a c, i, b or s register");
    if (!constant.fitsRegisterSet(constant.m_registerSet))
        return fail(first.column,
                    "a " + type.text + " constant cannot live in register " + first.text);
    constant.m_registerIndex = static_cast<uint16_t>(index);
    uint32_t count = constant.fullRegisterCount();
    if (dots != std::string::npos)
    {
        const Piece last =
            trim(location.text.substr(dots + 2), location.column + static_cast<int>(dots) + 2);
        uint32_t lastIndex = 0;
        if (last.text.compare(0, 1, first.text.substr(0, 1)) != 0 ||
            !parseUnsigned(last.text.substr(1), 0xFFFF, lastIndex) || lastIndex < index)
            return fail(last.column, "expected the last register of the range, as in " +
                                         first.text.substr(0, 1) + std::to_string(index + 1));
        if (lastIndex - index + 1 > count)
            return fail(last.column, "range gives " + std::to_string(lastIndex - index + 1) +
                                         " registers; the type needs at most " +
                                         std::to_string(count));
        count = lastIndex - index + 1;
    }
    const RegisterInfo* file = RegisterTable::find(first.text.substr(0, 1));
    if (index + count > RegisterTable::count(*file, m_kind))
        return fail(first.column, "registers " + first.text + " to " + first.text.substr(0, 1) +
                                      std::to_string(index + count - 1) + " do not exist in " +
                                      kindName(m_kind));
    constant.m_registerCount = static_cast<uint16_t>(count);
    for (const ConstantDeclaration& other : m_constants)
    {
        if (other.m_registerSet == constant.m_registerSet &&
            index < uint32_t{other.m_registerIndex} + other.m_registerCount &&
            other.m_registerIndex < index + count)
            return fail(first.column,
                        "registers of '" + constant.m_name + "' overlap '" + other.m_name + "'");
    }
    m_constants.push_back(constant);
    m_constantLines.push_back(m_line);
    return true;
}

// [(!p0.c)] MNEMONIC[_SUFFIX...] OPERAND, OPERAND...
// An instruction line in the order it is read: the predicate in front, the
// mnemonic and its suffixes, the table's row for it, the operands it takes,
// their tokens, then the predicate's token after them.
bool Assembler::instruction(const Piece& a_text)
{
    Piece text = a_text;
    Piece predicate;
    if (!splitPredicate(text, predicate))
        return false;

    Piece word;
    Piece operandText;
    firstWord(text, word, operandText);
    if (word.text.empty())
        return fail(text.column, "expected an instruction");
    if (!operandText.text.empty() &&
        operandText.column == word.column + static_cast<int>(word.text.size()))
        return fail(operandText.column, "unexpected '" + operandText.text.substr(0, 1) + "'");

    Mnemonic mnemonic;
    if (!parseMnemonic(word, mnemonic))
        return false;
    const InstructionInfo* info = lookUp(word, mnemonic);
    if (!info)
        return false;

    std::vector<Piece> operands;
    if (!operandText.text.empty())
        operands = split(operandText, ',');
    if (!checkOperands(*info, word, operands))
        return false;
    const bool special = info->opcode == OpDcl || info->opcode == OpDef || info->opcode == OpDefi ||
                         info->opcode == OpDefb;
    if (special && !predicate.text.empty())
        return fail(a_text.column, "'" + mnemonic.base + "' cannot be predicated");

    std::vector<uint32_t> params;
    if (!operandTokens(*info, word, mnemonic, operands, params))
        return false;
    if (!predicate.text.empty() && !predicateToken(predicate, params))
        return false;

    const uint32_t controls =
        info->controls == ControlsComparison ? mnemonic.comparison : info->fixedControls;
    m_code.push_back(TokenFormat::instruction(
        info->opcode, controls, static_cast<uint32_t>(params.size()), !predicate.text.empty()));
    m_code.insert(m_code.end(), params.begin(), params.end());
    return true;
}

// "(p0.x) add ..." leaves "p0.x" in a_predicate and "add ..." in a_text.
bool Assembler::splitPredicate(Piece& a_text, Piece& a_predicate)
{
    if (a_text.text[0] != '(')
        return true;
    const size_t close = a_text.text.find(')');
    if (close == std::string::npos)
        return fail(a_text.column, "predicate without ')'");
    a_predicate = trim(a_text.text.substr(1, close - 1), a_text.column + 1);
    a_text = trim(a_text.text.substr(close + 1), a_text.column + static_cast<int>(close) + 1);
    return true;
}

// Suffixes: a comparison (if_gt), a declaration usage (dcl_texcoord1), then
// result modifiers (_sat, _pp, _centroid).
bool Assembler::parseMnemonic(const Piece& a_word, Mnemonic& a_mnemonic)
{
    const std::vector<Piece> parts = split(a_word, '_');
    a_mnemonic.base = parts[0].text;
    size_t next = 1;
    if (a_mnemonic.base == "dcl" && next < parts.size())
    {
        a_mnemonic.declaration = parts[next];
        ++next;
    }
    else if (next < parts.size() && InstructionTable::comparison(parts[next].text))
    {
        a_mnemonic.comparison = InstructionTable::comparison(parts[next].text);
        ++next;
    }
    static const struct
    {
        const char* name;
        uint32_t bit;
    } kModifiers[] = {
        {"sat", ResultSaturate}, {"pp", ResultPartialPrecision}, {"centroid", ResultCentroid}};
    for (; next < parts.size(); ++next)
    {
        uint32_t bit = 0;
        for (const auto& modifier : kModifiers)
        {
            if (parts[next].text == modifier.name)
                bit = modifier.bit;
        }
        if (!bit)
            return fail(parts[next].column,
                        "unknown instruction suffix '_" + parts[next].text + "'");
        if (a_mnemonic.modifiers & bit)
            return fail(parts[next].column, "suffix '_" + parts[next].text + "' given twice");
        a_mnemonic.modifiers |= bit;
    }
    return true;
}

// The table's row for the mnemonic, or null after the failure: unknown, of
// the other shader kind, or modified without a destination.
const InstructionInfo* Assembler::lookUp(const Piece& a_word, const Mnemonic& a_mnemonic)
{
    const std::string& base = a_mnemonic.base;
    const bool comparison = a_mnemonic.comparison != 0;
    const InstructionInfo* info = InstructionTable::find(base, comparison);
    if (!info)
    {
        if (InstructionTable::find(base, !comparison))
            fail(a_word.column, comparison
                                    ? "'" + base + "' takes no comparison"
                                    : "'" + base + "' needs a comparison, as in " + base + "_lt");
        else
            fail(a_word.column, "unknown instruction '" + base + "'");
        return nullptr;
    }
    if (!(info->kinds & m_kind))
    {
        fail(a_word.column, "'" + base + "' is not an instruction of " + kindName(m_kind));
        return nullptr;
    }
    if (a_mnemonic.modifiers && !info->destinations)
    {
        fail(a_word.column, "'" + base + "' has no destination to modify");
        return nullptr;
    }
    return info;
}

// def and defi take a register and four values, defb a register and one.
bool Assembler::checkOperands(const InstructionInfo& a_info, const Piece& a_word,
                              const std::vector<Piece>& a_operands)
{
    uint32_t expected = a_info.destinations + a_info.sources;
    if (a_info.opcode == OpDef || a_info.opcode == OpDefi)
        expected = 5;
    else if (a_info.opcode == OpDefb)
        expected = 2;
    if (a_operands.size() != expected)
        return fail(a_word.column, "'" + a_word.text + "' takes " + std::to_string(expected) +
                                       (expected == 1 ? " operand" : " operands") + ", not " +
                                       std::to_string(a_operands.size()));
    for (const Piece& operand : a_operands)
    {
        if (operand.text.empty())
            return fail(operand.column, "missing operand");
    }
    return true;
}

bool Assembler::operandTokens(const InstructionInfo& a_info, const Piece& a_word,
                              const Mnemonic& a_mnemonic, const std::vector<Piece>& a_operands,
                              std::vector<uint32_t>& a_params)
{
    if (a_info.opcode == OpDcl)
        return declaration(a_mnemonic.declaration.text, a_mnemonic.declaration.column,
                           a_mnemonic.modifiers, a_operands[0], a_params);
    if (a_info.opcode == OpDef || a_info.opcode == OpDefi || a_info.opcode == OpDefb)
    {
        if (a_mnemonic.modifiers)
            return fail(a_word.column, "'" + a_mnemonic.base + "' takes no suffix");
        return definition(a_info.opcode, a_operands, a_params);
    }
    size_t operand = 0;
    // texkill names the register it tests in a destination token.
    if (a_info.destinations && !destination(a_operands[operand++], a_mnemonic.modifiers,
                                            a_info.opcode != OpTexkill, a_params))
        return false;
    for (; operand < a_operands.size(); ++operand)
    {
        if (!source(a_operands[operand], a_params))
            return false;
    }
    return true;
}

bool Assembler::predicateToken(const Piece& a_predicate, std::vector<uint32_t>& a_params)
{
    Register reg;
    if (!parseRegister(a_predicate, reg))
        return false;
    if (reg.info->type != RegPredicate || reg.negate || reg.absolute)
        return fail(a_predicate.column, "a predicate is p0 or !p0 with an optional swizzle");
    uint32_t swizzleBits = 0;
    if (!swizzle(reg, swizzleBits))
        return false;
    a_params.push_back(TokenFormat::source(RegPredicate, reg.number, swizzleBits,
                                           reg.logicalNot ? SrcNot : SrcNone, false));
    return true;
}

// dcl_USAGE[INDEX] v#/o#, dcl_2d/cube/volume s#, dcl vPos/vFace.
bool Assembler::declaration(const std::string& a_suffix, int a_suffixColumn, uint32_t a_modifiers,
                            const Piece& a_operand, std::vector<uint32_t>& a_params)
{
    Register reg;
    if (!parseRegister(a_operand, reg))
        return false;
    if (reg.negate || reg.logicalNot || reg.absolute || reg.relative)
        return fail(a_operand.column, "dcl takes a plain register");
    if (!checkNumber(reg, a_operand.column))
        return false;
    uint32_t mask = TokenFormat::kFullMask;
    if (!writeMask(reg, mask))
        return false;

    uint32_t declarationToken = 0;
    const uint32_t type = reg.info->type;
    if (type == RegSampler)
    {
        uint32_t textureType = 0;
        for (uint32_t i = 0; i < 5; ++i)
        {
            if (g_textureTypes[i] && a_suffix == g_textureTypes[i])
                textureType = i;
        }
        if (!textureType)
            return fail(a_suffix.empty() ? a_operand.column : a_suffixColumn,
                        "a sampler needs its texture type: dcl_2d, dcl_cube or dcl_volume");
        if (a_modifiers || mask != TokenFormat::kFullMask)
            return fail(a_operand.column, "a sampler declaration takes no mask or suffix");
        declarationToken = TokenFormat::samplerDeclaration(textureType);
    }
    else if (type == RegInput || type == RegOutput)
    {
        size_t digits = a_suffix.size();
        while (digits > 0 && isdigit(static_cast<unsigned char>(a_suffix[digits - 1])))
            --digits;
        const std::string usageName = a_suffix.substr(0, digits);
        const UsageName* usage = nullptr;
        for (const UsageName& candidate : g_usages)
        {
            if (usageName == candidate.name)
                usage = &candidate;
        }
        uint32_t index = 0;
        if (!usage ||
            (digits < a_suffix.size() && !parseUnsigned(a_suffix.substr(digits), 15, index)))
            return fail(a_suffix.empty() ? a_operand.column : a_suffixColumn,
                        a_suffix.empty() ? "an input or output declaration needs a usage, "
                                           "as in dcl_texcoord0"
                                         : "unknown usage '" + a_suffix + "'");
        if (a_modifiers && !(m_kind == KindPixel && type == RegInput))
            return fail(a_operand.column, "only pixel shader inputs take _centroid or _pp");
        declarationToken = TokenFormat::usageDeclaration(usage->usage, index);
    }
    else if (type == RegMisc)
    {
        if (!a_suffix.empty())
            return fail(a_suffixColumn, reg.info->name + std::string(" is declared by plain dcl"));
        if (a_modifiers)
            return fail(a_operand.column,
                        "dcl of " + std::string(reg.info->name) + " takes no suffix");
        declarationToken = 0x80000000;
    }
    else
    {
        return fail(a_operand.column,
                    "dcl declares samplers, inputs and outputs, not " + a_operand.text);
    }
    a_params.push_back(declarationToken);
    a_params.push_back(TokenFormat::destination(type, reg.number, mask, a_modifiers, false));
    return true;
}

// def c#, f, f, f, f / defi i#, n, n, n, n / defb b#, true|false.
bool Assembler::definition(uint32_t a_opcode, const std::vector<Piece>& a_operands,
                           std::vector<uint32_t>& a_params)
{
    const uint32_t wanted = a_opcode == OpDef    ? RegConst
                            : a_opcode == OpDefi ? RegConstInt
                                                 : RegConstBool;
    Register reg;
    if (!parseRegister(a_operands[0], reg))
        return false;
    if (reg.info->type != wanted || reg.negate || reg.logicalNot || reg.absolute || reg.relative ||
        !reg.components.empty())
        return fail(a_operands[0].column, std::string("expected a plain ") +
                                              (wanted == RegConst      ? "c"
                                               : wanted == RegConstInt ? "i"
                                                                       : "b") +
                                              " register");
    if (!checkNumber(reg, a_operands[0].column))
        return false;
    a_params.push_back(
        TokenFormat::destination(wanted, reg.number, TokenFormat::kFullMask, 0, false));
    for (size_t i = 1; i < a_operands.size(); ++i)
    {
        const Piece& value = a_operands[i];
        char* end = nullptr;
        errno = 0;
        if (a_opcode == OpDef)
        {
            const float number = strtof(value.text.c_str(), &end);
            if (*end || errno == ERANGE || value.text.empty() || !isfinite(number))
                return fail(value.column, "expected a finite number, not '" + value.text + "'");
            uint32_t bits = 0;
            memcpy(&bits, &number, sizeof(bits));
            a_params.push_back(bits);
        }
        else if (a_opcode == OpDefi)
        {
            const long number = strtol(value.text.c_str(), &end, 10);
            if (*end || errno == ERANGE || value.text.empty() || number < INT32_MIN ||
                number > INT32_MAX)
                return fail(value.column, "expected a 32-bit integer, not '" + value.text + "'");
            a_params.push_back(static_cast<uint32_t>(static_cast<int32_t>(number)));
        }
        else
        {
            if (value.text != "true" && value.text != "false")
                return fail(value.column, "expected true or false, not '" + value.text + "'");
            a_params.push_back(value.text == "true" ? 1 : 0);
        }
    }
    return true;
}

// [-|!] NAME[NUMBER][[a0.c|aL [+ OFFSET]]][_abs][.COMPONENTS]
bool Assembler::parseRegister(const Piece& a_operand, Register& a_register)
{
    const std::string& text = a_operand.text;
    size_t at = 0;
    if (at < text.size() && text[at] == '-')
    {
        a_register.negate = true;
        ++at;
    }
    else if (at < text.size() && text[at] == '!')
    {
        a_register.logicalNot = true;
        ++at;
    }
    const size_t nameStart = at;
    while (at < text.size() && isalpha(static_cast<unsigned char>(text[at])))
        ++at;
    const std::string name = text.substr(nameStart, at - nameStart);
    const size_t numberStart = at;
    while (at < text.size() && isdigit(static_cast<unsigned char>(text[at])))
        ++at;
    const std::string digits = text.substr(numberStart, at - numberStart);
    const int nameColumn = a_operand.column + static_cast<int>(nameStart);

    a_register.info = RegisterTable::find(name);
    if (!a_register.info || (!a_register.info->numbered && !digits.empty()))
        return fail(nameColumn, "unknown register '" + name + digits + "'");
    if (!RegisterTable::count(*a_register.info, m_kind))
        return fail(nameColumn,
                    "register " + name + digits + " does not exist in " + kindName(m_kind));
    bool hasNumber = !digits.empty();
    if (hasNumber && !parseUnsigned(digits, TokenFormat::kMaxRegisterNumber, a_register.number))
        return fail(nameColumn, "register number " + digits + " is out of range");
    if (!a_register.info->numbered)
        a_register.number = a_register.info->fixedNumber;

    if (at < text.size() && text[at] == '[')
    {
        const size_t close = text.find(']', at);
        if (close == std::string::npos)
            return fail(a_operand.column + static_cast<int>(at), "'[' without ']'");
        const std::vector<Piece> terms = split(
            trim(text.substr(at + 1, close - at - 1), a_operand.column + static_cast<int>(at) + 1),
            '+');
        const Piece& index = terms[0];
        if (index.text == "aL")
        {
            a_register.relativeType = RegLoop;
        }
        else if (index.text.size() == 4 && index.text.compare(0, 3, "a0.") == 0 &&
                 componentIndex(index.text[3], "xyzw") >= 0)
        {
            a_register.relativeType = RegAddress;
            a_register.relativeComponent =
                static_cast<uint32_t>(componentIndex(index.text[3], "xyzw"));
        }
        else
        {
            return fail(index.column, "relative addressing uses a0.x (or .y, .z, .w) or aL");
        }
        const RegisterInfo* indexInfo = RegisterTable::find(a_register.relativeType, 0);
        if (!RegisterTable::count(*indexInfo, m_kind))
            return fail(index.column, "register " + index.text.substr(0, 2) +
                                          " does not exist in " + kindName(m_kind));
        if (terms.size() > 2)
            return fail(terms[2].column, "one offset at most");
        if (terms.size() == 2)
        {
            if (hasNumber)
                return fail(terms[1].column,
                            "give the register number before the brackets or inside, not both");
            if (!parseUnsigned(terms[1].text, TokenFormat::kMaxRegisterNumber, a_register.number))
                return fail(terms[1].column,
                            "expected a register offset, not '" + terms[1].text + "'");
            hasNumber = true;
        }
        const uint32_t type = a_register.info->type;
        if (type != RegConst && type != RegInput && type != RegOutput)
            return fail(nameColumn, "only c, v and o registers are addressed relatively");
        a_register.relative = true;
        at = close + 1;
    }
    if (a_register.info->numbered && !hasNumber)
    {
        if (!a_register.relative)
            return fail(nameColumn, "register " + name + " needs a number");
        a_register.number = 0;
    }
    if (text.compare(at, 4, "_abs") == 0)
    {
        a_register.absolute = true;
        at += 4;
    }
    if (at < text.size() && text[at] == '.')
    {
        a_register.components = text.substr(at + 1);
        a_register.componentsColumn = a_operand.column + static_cast<int>(at) + 1;
        if (a_register.components.empty())
            return fail(a_register.componentsColumn, "expected components after '.'");
        at = text.size();
    }
    if (at != text.size())
        return fail(a_operand.column + static_cast<int>(at),
                    "unexpected '" + text.substr(at) + "'");
    return true;
}

bool Assembler::destination(const Piece& a_operand, uint32_t a_modifiers, bool a_mustWrite,
                            std::vector<uint32_t>& a_params)
{
    Register reg;
    if (!parseRegister(a_operand, reg))
        return false;
    if (reg.negate || reg.logicalNot || reg.absolute)
        return fail(a_operand.column, "a destination takes no source modifier");
    if (a_mustWrite ? !reg.info->writable : !reg.info->readable)
        return fail(a_operand.column, "register " +
                                          a_operand.text.substr(0, a_operand.text.find('.')) +
                                          (a_mustWrite ? " cannot be written" : " cannot be read"));
    if (reg.relative &&
        !(m_kind == KindVertex && reg.info->type == RegOutput && reg.relativeType == RegLoop))
        return fail(a_operand.column, "only vs_3_0 outputs are written relatively, through aL");
    if (!checkNumber(reg, a_operand.column))
        return false;
    uint32_t mask = TokenFormat::kFullMask;
    if (!writeMask(reg, mask))
        return false;
    a_params.push_back(
        TokenFormat::destination(reg.info->type, reg.number, mask, a_modifiers, reg.relative));
    if (reg.relative)
        a_params.push_back(TokenFormat::source(RegLoop, 0, 0, SrcNone, false));
    return true;
}

bool Assembler::source(const Piece& a_operand, std::vector<uint32_t>& a_params)
{
    Register reg;
    if (!parseRegister(a_operand, reg))
        return false;
    if (!reg.info->readable)
        return fail(a_operand.column, "register " +
                                          a_operand.text.substr(0, a_operand.text.find('.')) +
                                          " cannot be read");
    if (reg.relative && reg.info->type != RegConst &&
        !(m_kind == KindPixel && reg.info->type == RegInput && reg.relativeType == RegLoop))
        return fail(a_operand.column,
                    "only c registers, and ps_3_0 inputs through aL, are read relatively");
    if (reg.logicalNot && reg.info->type != RegConstBool && reg.info->type != RegPredicate)
        return fail(a_operand.column, "'!' applies to b and p registers only");
    if (!checkNumber(reg, a_operand.column))
        return false;
    uint32_t swizzleBits = 0;
    if (!swizzle(reg, swizzleBits))
        return false;
    uint32_t modifier = SrcNone;
    if (reg.logicalNot)
        modifier = SrcNot;
    else if (reg.absolute)
        modifier = reg.negate ? SrcAbsNegate : SrcAbs;
    else if (reg.negate)
        modifier = SrcNegate;
    a_params.push_back(
        TokenFormat::source(reg.info->type, reg.number, swizzleBits, modifier, reg.relative));
    if (reg.relative)
    {
        // The address register's token selects one component, replicated.
        a_params.push_back(
            TokenFormat::source(reg.relativeType, 0, reg.relativeComponent * 0x55, SrcNone, false));
    }
    return true;
}

bool Assembler::writeMask(const Register& a_register, uint32_t& a_mask)
{
    if (a_register.components.empty())
    {
        a_mask = TokenFormat::kFullMask;
        return true;
    }
    const char* set = componentIndex(a_register.components[0], "rgba") >= 0 ? "rgba" : "xyzw";
    int previous = -1;
    a_mask = 0;
    for (char c : a_register.components)
    {
        const int index = componentIndex(c, set);
        if (index <= previous)
            return fail(a_register.componentsColumn,
                        "invalid write mask '." + a_register.components + "'");
        a_mask |= 1u << index;
        previous = index;
    }
    return true;
}

bool Assembler::swizzle(const Register& a_register, uint32_t& a_swizzle)
{
    const std::string& components = a_register.components;
    if (components.empty())
    {
        a_swizzle = TokenFormat::kIdentitySwizzle;
        return true;
    }
    const char* set = componentIndex(components[0], "rgba") >= 0 ? "rgba" : "xyzw";
    if (components.size() > 4)
        return fail(a_register.componentsColumn, "invalid swizzle '." + components + "'");
    // Fewer than four components repeat the last one, as in ".xy" = ".xyyy".
    a_swizzle = 0;
    for (uint32_t channel = 0; channel < 4; ++channel)
    {
        const char c = components[std::min<size_t>(channel, components.size() - 1)];
        const int index = componentIndex(c, set);
        if (index < 0)
            return fail(a_register.componentsColumn, "invalid swizzle '." + components + "'");
        a_swizzle |= static_cast<uint32_t>(index) << (2 * channel);
    }
    return true;
}

bool Assembler::checkNumber(const Register& a_register, int a_column)
{
    const uint32_t count = RegisterTable::count(*a_register.info, m_kind);
    if (a_register.info->numbered && a_register.number >= count)
        return fail(a_column, "register " + std::string(a_register.info->name) +
                                  std::to_string(a_register.number) + " does not exist in " +
                                  kindName(m_kind) + " (it has " + std::to_string(count) + ")");
    return true;
}

bool Assembler::fail(int a_column, const std::string& a_message)
{
    m_error.m_line = m_line;
    m_error.m_column = a_column;
    m_error.m_message = a_message;
    return false;
}
