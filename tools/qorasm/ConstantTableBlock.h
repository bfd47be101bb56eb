// The constant table that D3DX reads from a shader: the "CTAB" comment block
// with D3DX's binary layout (D3DXSHADER_CONSTANTTABLE, D3DXSHADER_CONSTANTINFO,
// D3DXSHADER_TYPEINFO), written from declarations and read back with every
// offset checked.
#pragma once

#include "ConstantDeclaration.h"

#include <stdint.h>

#include <string>
#include <vector>

class ConstantTableBlock
{
public:
    static constexpr const char* kCreator = "qorasm";

    // Appends the whole comment block (comment token, "CTAB", table) for the
    // constants of a shader of version a_version. False with a_error if the
    // table would not fit a comment block.
    static bool write(const std::vector<ConstantDeclaration>& a_constants, uint32_t a_version,
                      std::vector<uint32_t>& a_tokens, std::string& a_error);

    // Whether a comment block's data (the DWORDs after its comment token) is a constant table.
    static bool isConstantTable(const uint32_t* a_data, uint32_t a_dwords);
    // Reads a constant table from a comment block's data. Refuses (false with
    // a_error) a table whose offsets or strings run past the block, and type
    // information this table cannot hold (structures, default values).
    bool read(const uint32_t* a_data, uint32_t a_dwords, std::string& a_error);

    std::string m_creator;
    std::string m_target;
    uint32_t m_version = 0;
    uint32_t m_flags = 0;
    std::vector<ConstantDeclaration> m_constants;
};
