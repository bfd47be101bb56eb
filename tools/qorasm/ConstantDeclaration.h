// One constant of a shader's constant table: name, registers and D3DX type
// information, with its spelling in the assembly ("row_major float4x4").
#pragma once

#include <stdint.h>

#include <string>

// D3DXREGISTER_SET.
enum ConstantRegisterSet : uint16_t
{
    SetBool = 0,
    SetInt4 = 1,
    SetFloat4 = 2,
    SetSampler = 3,
};

// D3DXPARAMETER_CLASS.
enum ConstantClass : uint16_t
{
    ClassScalar = 0,
    ClassVector = 1,
    ClassMatrixRows = 2,
    ClassMatrixColumns = 3,
    ClassObject = 4,
    ClassStruct = 5,
};

// D3DXPARAMETER_TYPE, the values a constant table of ours holds.
enum ConstantType : uint16_t
{
    TypeBool = 1,
    TypeInt = 2,
    TypeFloat = 3,
    TypeSampler2D = 12,
    TypeSampler3D = 13,
    TypeSamplerCube = 14,
};

class ConstantDeclaration
{
public:
    // Sets class, type, rows and columns from an assembly type name ("float4",
    // "float4x4", "bool", "samplerCUBE"); a_rowMajor picks rows over columns for
    // matrices. False if the name is unknown.
    bool setType(const std::string& a_typeName, bool a_rowMajor);
    // The assembly type name, "row_major " included; empty if the type has none.
    std::string typeName() const;

    // Whether the type may live in a register set: c holds float, int and bool
    // values, i ints, b bools, s samplers.
    bool fitsRegisterSet(uint16_t a_set) const;
    // Registers the whole constant takes in its set, all elements and rows or
    // columns counted; compilers may give fewer when the rest is unused.
    uint32_t fullRegisterCount() const;

    bool operator==(const ConstantDeclaration& a_other) const;

    std::string m_name;
    uint16_t m_registerSet = SetFloat4;
    uint16_t m_registerIndex = 0;
    uint16_t m_registerCount = 0;
    uint16_t m_class = ClassScalar;
    uint16_t m_type = TypeFloat;
    uint16_t m_rows = 1;
    uint16_t m_columns = 1;
    uint16_t m_elements = 1;
};
