// Reads the "CTAB" comment block. Offsets in the table count bytes from the
// start of the D3DXSHADER_CONSTANTTABLE header, which follows the
// four-character code.
#include "ConstantTableReader.h"

#include "ShaderTokens.h"

#include <string.h>

namespace
{

constexpr uint32_t kHeaderBytes = 28;        // D3DXSHADER_CONSTANTTABLE
constexpr uint32_t kConstantInfoBytes = 20;  // D3DXSHADER_CONSTANTINFO
constexpr uint32_t kTypeInfoBytes = 16;      // D3DXSHADER_TYPEINFO
constexpr uint32_t kMemberInfoBytes = 8;     // D3DXSHADER_STRUCTMEMBERINFO
constexpr uint16_t kClassStruct = 5;         // D3DXPC_STRUCT
constexpr uint16_t kRegisterSetBool = 0;     // D3DXRS_BOOL

// Bounds-checked little-endian reads of the table's bytes.
class TableBytes
{
public:
    explicit TableBytes(const std::vector<uint8_t>& a_bytes) : m_bytes(a_bytes) {}

    bool fits(uint64_t a_offset, uint64_t a_length) const
    {
        return a_offset <= m_bytes.size() && a_length <= m_bytes.size() - a_offset;
    }
    uint32_t dword(uint32_t a_offset) const
    {
        return m_bytes[a_offset] | (m_bytes[a_offset + 1] << 8) | (m_bytes[a_offset + 2] << 16) |
               (uint32_t{m_bytes[a_offset + 3]} << 24);
    }
    uint16_t word(uint32_t a_offset) const
    {
        return static_cast<uint16_t>(m_bytes[a_offset] | (m_bytes[a_offset + 1] << 8));
    }
    // A NUL-terminated string that starts and ends inside the table.
    bool string(uint32_t a_offset, std::string& a_text) const
    {
        if (a_offset >= m_bytes.size())
            return false;
        const uint8_t* start = m_bytes.data() + a_offset;
        const void* end = memchr(start, 0, m_bytes.size() - a_offset);
        if (!end)
            return false;
        a_text.assign(reinterpret_cast<const char*>(start),
                      static_cast<const uint8_t*>(end) - start);
        return true;
    }

private:
    const std::vector<uint8_t>& m_bytes;
};

}

bool ConstantTableReader::find(const uint32_t* a_code, size_t a_dwords, const uint32_t*& a_block,
                               uint32_t& a_blockDwords)
{
    // The whole program must walk, not only the part before the table.
    const size_t length = ShaderTokens::programLength(a_code, a_dwords);
    ShaderTokens walk(a_code, length);
    ShaderTokens::Instruction instruction;
    while (length != 0 && walk.next(&instruction))
        if (instruction.comment && instruction.length >= 1 && instruction.operands[0] == kFourCC)
        {
            a_block = instruction.operands;
            a_blockDwords = instruction.length;
            return true;
        }
    return false;
}

bool ConstantTableReader::read(const uint32_t* a_block, uint32_t a_blockDwords)
{
    m_entries.clear();
    m_bytes.clear();
    if (a_blockDwords < 1 || a_block[0] != kFourCC)
    {
        m_error = "comment block is not a constant table";
        return false;
    }
    m_bytes.resize((a_blockDwords - 1) * size_t{4});
    for (size_t i = 0; i < m_bytes.size(); ++i)
        m_bytes[i] = static_cast<uint8_t>(a_block[1 + i / 4] >> (8 * (i % 4)));
    const TableBytes table(m_bytes);
    if (!table.fits(0, kHeaderBytes) || table.dword(0) != kHeaderBytes)
    {
        m_error = "constant table header is truncated or has the wrong size";
        return false;
    }
    m_version = table.dword(8);
    m_flags = table.dword(20);
    const uint32_t count = table.dword(12);
    const uint32_t constantInfo = table.dword(16);
    m_creatorOffset = table.dword(4);
    if (!table.string(m_creatorOffset, m_creator) || !table.string(table.dword(24), m_target))
    {
        m_error = "constant table creator or target string runs past the block";
        return false;
    }
    if (!table.fits(constantInfo, uint64_t{count} * kConstantInfoBytes))
    {
        m_error = "constant descriptions run past the block";
        return false;
    }
    size_t members = 0;
    for (uint32_t i = 0; i < count; ++i)
    {
        const uint32_t info = constantInfo + i * kConstantInfoBytes;
        Entry entry;
        entry.nameOffset = table.dword(info);
        if (!table.string(entry.nameOffset, entry.name))
        {
            m_error = "name of constant " + std::to_string(i) + " runs past the block";
            return false;
        }
        entry.registerSet = table.word(info + 4);
        entry.registerIndex = table.word(info + 6);
        entry.registerCount = table.word(info + 8);
        entry.defaultValue = table.dword(info + 16);
        if (!readType(table.dword(info + 12), entry, 0, members))
            return false;
        // A default value fills the constant's registers: four DWORDs per
        // float4 or int4 register, one per bool register.
        const uint64_t defaultBytes =
            uint64_t{entry.registerCount} * (entry.registerSet == kRegisterSetBool ? 4 : 16);
        if (entry.defaultValue != 0 && !table.fits(entry.defaultValue, defaultBytes))
        {
            m_error = "default value of constant '" + entry.name + "' runs past the block";
            return false;
        }
        m_entries.push_back(std::move(entry));
    }
    m_error.clear();
    return true;
}

bool ConstantTableReader::readType(uint32_t a_offset, Entry& a_entry, int a_nesting,
                                   size_t& a_members)
{
    const TableBytes table(m_bytes);
    if (!table.fits(a_offset, kTypeInfoBytes))
    {
        m_error = "type of constant '" + a_entry.name + "' runs past the block";
        return false;
    }
    a_entry.parameterClass = table.word(a_offset);
    a_entry.parameterType = table.word(a_offset + 2);
    a_entry.rows = table.word(a_offset + 4);
    a_entry.columns = table.word(a_offset + 6);
    a_entry.elements = table.word(a_offset + 8);
    a_entry.structMembers = table.word(a_offset + 10);
    if (a_entry.parameterClass != kClassStruct || a_entry.structMembers == 0)
        return true;
    const uint32_t memberInfo = table.dword(a_offset + 12);
    a_members += a_entry.structMembers;
    if (a_nesting >= kMaxNesting || a_members > kMaxMembers)
    {
        m_error = "structure '" + a_entry.name + "' nests too deep or has too many members";
        return false;
    }
    if (!table.fits(memberInfo, uint64_t{a_entry.structMembers} * kMemberInfoBytes))
    {
        m_error = "members of '" + a_entry.name + "' run past the block";
        return false;
    }
    for (uint32_t i = 0; i < a_entry.structMembers; ++i)
    {
        const uint32_t info = memberInfo + i * kMemberInfoBytes;
        Entry member;
        member.nameOffset = table.dword(info);
        if (!table.string(member.nameOffset, member.name))
        {
            m_error = "name of a member of '" + a_entry.name + "' runs past the block";
            return false;
        }
        if (!readType(table.dword(info + 4), member, a_nesting + 1, a_members))
            return false;
        a_entry.members.push_back(std::move(member));
    }
    return true;
}
