// Shader byte code around a hand-made "CTAB" block in D3DX's binary layout,
// for tables qorasm cannot declare: structures, default values, damage.
#pragma once

#include <d3d9.h>

#include <stdint.h>

#include <string>
#include <utility>
#include <vector>

class CtabBuilder
{
public:
    // A D3DXSHADER_TYPEINFO and, for structures, its members.
    struct Type
    {
        uint16_t parameterClass;  // D3DXPARAMETER_CLASS
        uint16_t parameterType;   // D3DXPARAMETER_TYPE
        uint16_t rows;
        uint16_t columns;
        uint16_t elements;
        std::vector<std::pair<std::string, Type>> members;
    };

    // A D3DXSHADER_CONSTANTINFO; a default value is given as the DWORDs of
    // its registers.
    struct Constant
    {
        std::string name;
        uint16_t registerSet;
        uint16_t registerIndex;
        uint16_t registerCount;
        Type type;
        std::vector<uint32_t> defaultValue;
    };

    // Version token, the comment block, end token. a_damage runs on the
    // table's bytes (offsets from the header) before they are wrapped.
    static std::vector<DWORD> program(bool a_vertexShader, const std::vector<Constant>& a_constants,
                                      void (*a_damage)(std::vector<uint8_t>&) = nullptr);

    // Little-endian writes into a table, for damage.
    static void putWord(std::vector<uint8_t>& a_bytes, size_t a_offset, uint16_t a_value);
    static void putDword(std::vector<uint8_t>& a_bytes, size_t a_offset, uint32_t a_value);

    static constexpr const char* kCreator = "ctab builder";
};
