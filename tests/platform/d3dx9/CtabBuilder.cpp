// Shader byte code around a hand-made constant table, laid out as D3DX
// stores it: header, constant infos, then types, members, strings and
// default values, every offset counted from the header.
#include "platform/d3dx9/CtabBuilder.h"

namespace
{

void appendDword(std::vector<uint8_t>& a_bytes, uint32_t a_value)
{
    for (int i = 0; i < 4; ++i)
        a_bytes.push_back(static_cast<uint8_t>(a_value >> (8 * i)));
}

uint32_t appendString(std::vector<uint8_t>& a_bytes, const std::string& a_text)
{
    const uint32_t offset = static_cast<uint32_t>(a_bytes.size());
    a_bytes.insert(a_bytes.end(), a_text.begin(), a_text.end());
    a_bytes.push_back(0);
    while (a_bytes.size() % 4)
        a_bytes.push_back(0);
    return offset;
}

// Appends a type (members first, so that their offsets are known) and
// returns its offset.
uint32_t appendType(std::vector<uint8_t>& a_bytes, const CtabBuilder::Type& a_type)
{
    std::vector<std::pair<uint32_t, uint32_t>> members;  // name, type
    for (const auto& member : a_type.members)
    {
        const uint32_t name = appendString(a_bytes, member.first);
        members.emplace_back(name, appendType(a_bytes, member.second));
    }
    const uint32_t memberInfo = static_cast<uint32_t>(a_bytes.size());
    for (const auto& member : members)
    {
        appendDword(a_bytes, member.first);
        appendDword(a_bytes, member.second);
    }
    const uint32_t offset = static_cast<uint32_t>(a_bytes.size());
    appendDword(a_bytes, a_type.parameterClass | (uint32_t{a_type.parameterType} << 16));
    appendDword(a_bytes, a_type.rows | (uint32_t{a_type.columns} << 16));
    appendDword(a_bytes, a_type.elements | (uint32_t(a_type.members.size()) << 16));
    appendDword(a_bytes, a_type.members.empty() ? 0 : memberInfo);
    return offset;
}

}

void CtabBuilder::putWord(std::vector<uint8_t>& a_bytes, size_t a_offset, uint16_t a_value)
{
    a_bytes[a_offset] = static_cast<uint8_t>(a_value);
    a_bytes[a_offset + 1] = static_cast<uint8_t>(a_value >> 8);
}

void CtabBuilder::putDword(std::vector<uint8_t>& a_bytes, size_t a_offset, uint32_t a_value)
{
    putWord(a_bytes, a_offset, static_cast<uint16_t>(a_value));
    putWord(a_bytes, a_offset + 2, static_cast<uint16_t>(a_value >> 16));
}

std::vector<DWORD> CtabBuilder::program(bool a_vertexShader,
                                        const std::vector<Constant>& a_constants,
                                        void (*a_damage)(std::vector<uint8_t>&))
{
    const uint32_t version = a_vertexShader ? 0xFFFE0300 : 0xFFFF0300;
    std::vector<uint8_t> table(28 + 20 * a_constants.size(), 0);
    putDword(table, 0, 28);
    putDword(table, 8, version);
    putDword(table, 12, static_cast<uint32_t>(a_constants.size()));
    putDword(table, 16, 28);
    putDword(table, 4, appendString(table, kCreator));
    putDword(table, 24, appendString(table, a_vertexShader ? "vs_3_0" : "ps_3_0"));
    for (size_t i = 0; i < a_constants.size(); ++i)
    {
        const Constant& constant = a_constants[i];
        const size_t info = 28 + 20 * i;
        putDword(table, info, appendString(table, constant.name));
        putWord(table, info + 4, constant.registerSet);
        putWord(table, info + 6, constant.registerIndex);
        putWord(table, info + 8, constant.registerCount);
        putDword(table, info + 12, appendType(table, constant.type));
        if (!constant.defaultValue.empty())
        {
            putDword(table, info + 16, static_cast<uint32_t>(table.size()));
            for (uint32_t value : constant.defaultValue)
                appendDword(table, value);
        }
    }
    if (a_damage)
        a_damage(table);
    while (table.size() % 4)
        table.push_back(0);
    const uint32_t blockDwords = 1 + static_cast<uint32_t>(table.size() / 4);
    std::vector<DWORD> code = {version, 0xFFFE | (blockDwords << 16), 0x42415443};
    for (size_t i = 0; i < table.size(); i += 4)
        code.push_back(table[i] | (table[i + 1] << 8) | (table[i + 2] << 16) |
                       (uint32_t{table[i + 3]} << 24));
    code.push_back(0x0000FFFF);
    return code;
}
