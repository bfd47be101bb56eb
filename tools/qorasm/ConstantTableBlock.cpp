// Writes the "CTAB" comment block and reads it back through the demo's own
// reader. Offsets in the table count bytes from the start of the
// D3DXSHADER_CONSTANTTABLE header, which follows the four-character code.
#include "ConstantTableBlock.h"

#include "ConstantTableReader.h"
#include "TokenFormat.h"

namespace
{

constexpr uint32_t kHeaderBytes = 28;        // D3DXSHADER_CONSTANTTABLE
constexpr uint32_t kConstantInfoBytes = 20;  // D3DXSHADER_CONSTANTINFO
constexpr uint32_t kTypeInfoBytes = 16;      // D3DXSHADER_TYPEINFO

const char* targetName(uint32_t a_version)
{
    return a_version == TokenFormat::kVertexVersion30 ? "vs_3_0" : "ps_3_0";
}

void putDword(std::vector<uint8_t>& a_bytes, size_t a_offset, uint32_t a_value)
{
    for (int i = 0; i < 4; ++i)
        a_bytes[a_offset + i] = static_cast<uint8_t>(a_value >> (8 * i));
}

void putWord(std::vector<uint8_t>& a_bytes, size_t a_offset, uint16_t a_value)
{
    a_bytes[a_offset] = static_cast<uint8_t>(a_value);
    a_bytes[a_offset + 1] = static_cast<uint8_t>(a_value >> 8);
}

uint32_t appendString(std::vector<uint8_t>& a_bytes, const std::string& a_text)
{
    const uint32_t offset = static_cast<uint32_t>(a_bytes.size());
    a_bytes.insert(a_bytes.end(), a_text.begin(), a_text.end());
    a_bytes.push_back(0);
    return offset;
}

}

bool ConstantTableBlock::write(const std::vector<ConstantDeclaration>& a_constants,
                               uint32_t a_version, std::vector<uint32_t>& a_tokens,
                               std::string& a_error)
{
    // Header, constant infos, type infos, then the strings: every structure
    // stays DWORD-aligned.
    const uint32_t count = static_cast<uint32_t>(a_constants.size());
    const uint64_t fixedBytes =
        kHeaderBytes + uint64_t{count} * (kConstantInfoBytes + kTypeInfoBytes);
    if (fixedBytes > TokenFormat::kMaxCommentDwords * 4u)
    {
        a_error = "constant table too large for a comment block";
        return false;
    }
    std::vector<uint8_t> bytes(static_cast<size_t>(fixedBytes), 0);
    const uint32_t constantInfo = kHeaderBytes;
    const uint32_t typeInfo = constantInfo + count * kConstantInfoBytes;
    putDword(bytes, 0, kHeaderBytes);
    putDword(bytes, 4, appendString(bytes, kCreator));
    putDword(bytes, 8, a_version);
    putDword(bytes, 12, count);
    putDword(bytes, 16, constantInfo);
    putDword(bytes, 20, 0);
    putDword(bytes, 24, appendString(bytes, targetName(a_version)));
    for (uint32_t i = 0; i < count; ++i)
    {
        const ConstantDeclaration& constant = a_constants[i];
        const uint32_t info = constantInfo + i * kConstantInfoBytes;
        const uint32_t type = typeInfo + i * kTypeInfoBytes;
        putDword(bytes, info, appendString(bytes, constant.m_name));
        putWord(bytes, info + 4, constant.m_registerSet);
        putWord(bytes, info + 6, constant.m_registerIndex);
        putWord(bytes, info + 8, constant.m_registerCount);
        putWord(bytes, info + 10, 0);
        putDword(bytes, info + 12, type);
        putDword(bytes, info + 16, 0);  // no default value
        putWord(bytes, type, constant.m_class);
        putWord(bytes, type + 2, constant.m_type);
        putWord(bytes, type + 4, constant.m_rows);
        putWord(bytes, type + 6, constant.m_columns);
        putWord(bytes, type + 8, constant.m_elements);
        putWord(bytes, type + 10, 0);  // no structure members
        putDword(bytes, type + 12, 0);
    }
    bytes.resize((bytes.size() + 3) / 4 * 4, 0);

    const size_t dwords = 1 + bytes.size() / 4;
    if (dwords > TokenFormat::kMaxCommentDwords)
    {
        a_error = "constant table too large for a comment block";
        return false;
    }
    a_tokens.push_back(TokenFormat::comment(static_cast<uint32_t>(dwords)));
    a_tokens.push_back(ConstantTableReader::kFourCC);
    for (size_t offset = 0; offset < bytes.size(); offset += 4)
    {
        a_tokens.push_back(bytes[offset] | (bytes[offset + 1] << 8) | (bytes[offset + 2] << 16) |
                           (uint32_t{bytes[offset + 3]} << 24));
    }
    return true;
}

bool ConstantTableBlock::isConstantTable(const uint32_t* a_data, uint32_t a_dwords)
{
    return a_dwords >= 1 && a_data[0] == ConstantTableReader::kFourCC;
}

bool ConstantTableBlock::read(const uint32_t* a_data, uint32_t a_dwords, std::string& a_error)
{
    // The demo's own reader checks the block; what it accepts must also fit
    // the declarations qorasm writes.
    ConstantTableReader reader;
    if (!reader.read(a_data, a_dwords))
    {
        a_error = reader.m_error;
        return false;
    }
    m_creator = reader.m_creator;
    m_target = reader.m_target;
    m_version = reader.m_version;
    m_flags = reader.m_flags;
    m_constants.clear();
    for (const ConstantTableReader::Entry& entry : reader.m_entries)
    {
        if (entry.defaultValue != 0 || entry.structMembers != 0)
        {
            a_error = "constant '" + entry.name +
                      "' has a default value or structure members, which are not supported";
            return false;
        }
        ConstantDeclaration constant;
        constant.m_name = entry.name;
        constant.m_registerSet = entry.registerSet;
        constant.m_registerIndex = entry.registerIndex;
        constant.m_registerCount = entry.registerCount;
        constant.m_class = entry.parameterClass;
        constant.m_type = entry.parameterType;
        constant.m_rows = entry.rows;
        constant.m_columns = entry.columns;
        constant.m_elements = entry.elements;
        m_constants.push_back(constant);
    }
    return true;
}
