// Reads the constant table that D3DX keeps in shader byte code: finds the
// "CTAB" comment block and takes D3DX's structures apart (structure members
// included), checking every offset and string against the block before
// reading through it.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

class ConstantTableReader
{
public:
    static constexpr uint32_t kFourCC = 0x42415443;  // "CTAB" read as a little-endian DWORD

    // One D3DXSHADER_CONSTANTINFO with its D3DXSHADER_TYPEINFO, or one
    // D3DXSHADER_STRUCTMEMBERINFO (name and type only).
    struct Entry
    {
        std::string name;
        uint32_t nameOffset = 0;   // of the name in the table
        uint16_t registerSet = 0;  // D3DXREGISTER_SET
        uint16_t registerIndex = 0;
        uint16_t registerCount = 0;
        uint16_t parameterClass = 0;  // D3DXPARAMETER_CLASS
        uint16_t parameterType = 0;   // D3DXPARAMETER_TYPE
        uint16_t rows = 0;
        uint16_t columns = 0;
        uint16_t elements = 0;
        uint16_t structMembers = 0;
        uint32_t defaultValue = 0;   // offset of the default value in the table; 0 if none
        std::vector<Entry> members;  // of a structure, in declaration order
    };

    // Bounds of what a table may describe: nesting of structure types, and
    // members read in all (a hostile table could otherwise loop or explode).
    static constexpr int kMaxNesting = 8;
    static constexpr size_t kMaxMembers = 4096;

    // Finds the constant table (the first comment block that starts with
    // "CTAB") in a program that walks whole within a_dwords DWORDs: a_block points
    // at the comment block's data (its first DWORD is "CTAB") and a_blockDwords
    // is the block's length. False if the program has none.
    static bool find(const uint32_t* a_code, size_t a_dwords, const uint32_t*& a_block,
                     uint32_t& a_blockDwords);

    // Reads a block as find() gives it. False, with m_error saying why, if the
    // header is truncated or an offset or string runs past the block.
    bool read(const uint32_t* a_block, uint32_t a_blockDwords);

    // The table's bytes after "CTAB"; offsets count from its start.
    const std::vector<uint8_t>& bytes() const { return m_bytes; }

    std::string m_creator;
    uint32_t m_creatorOffset = 0;  // of the creator string in the table
    std::string m_target;
    uint32_t m_version = 0;
    uint32_t m_flags = 0;
    std::vector<Entry> m_entries;
    std::string m_error;

private:
    bool readType(uint32_t a_offset, Entry& a_entry, int a_nesting, size_t& a_members);

    std::vector<uint8_t> m_bytes;
};
