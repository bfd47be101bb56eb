// Constant types as the assembly spells them and as D3DX's type information
// describes them.
#include "ConstantDeclaration.h"

namespace
{

struct ScalarName
{
    const char* name;
    uint16_t type;
};

const ScalarName g_numericTypes[] = {
    {"float", TypeFloat},
    {"int", TypeInt},
    {"bool", TypeBool},
};

const ScalarName g_samplerTypes[] = {
    {"sampler2D", TypeSampler2D},
    {"sampler3D", TypeSampler3D},
    {"samplerCUBE", TypeSamplerCube},
};

bool isDimension(char a_char)
{
    return a_char >= '1' && a_char <= '4';
}

}

bool ConstantDeclaration::setType(const std::string& a_typeName, bool a_rowMajor)
{
    for (const ScalarName& sampler : g_samplerTypes)
    {
        if (a_typeName == sampler.name && !a_rowMajor)
        {
            m_class = ClassObject;
            m_type = sampler.type;
            m_rows = 1;
            m_columns = 1;
            return true;
        }
    }
    for (const ScalarName& numeric : g_numericTypes)
    {
        const std::string base = numeric.name;
        if (a_typeName.compare(0, base.size(), base) != 0)
            continue;
        const std::string shape = a_typeName.substr(base.size());
        m_type = numeric.type;
        if (shape.empty() && !a_rowMajor)
        {
            m_class = ClassScalar;
            m_rows = 1;
            m_columns = 1;
            return true;
        }
        if (shape.size() == 1 && isDimension(shape[0]) && !a_rowMajor)
        {
            m_class = ClassVector;
            m_rows = 1;
            m_columns = static_cast<uint16_t>(shape[0] - '0');
            return true;
        }
        if (shape.size() == 3 && isDimension(shape[0]) && shape[1] == 'x' && isDimension(shape[2]))
        {
            m_class = a_rowMajor ? ClassMatrixRows : ClassMatrixColumns;
            m_rows = static_cast<uint16_t>(shape[0] - '0');
            m_columns = static_cast<uint16_t>(shape[2] - '0');
            return true;
        }
    }
    return false;
}

std::string ConstantDeclaration::typeName() const
{
    if (m_class == ClassObject)
    {
        for (const ScalarName& sampler : g_samplerTypes)
        {
            if (m_type == sampler.type && m_rows == 1 && m_columns == 1)
                return sampler.name;
        }
        return "";
    }
    const char* base = nullptr;
    for (const ScalarName& numeric : g_numericTypes)
    {
        if (m_type == numeric.type)
            base = numeric.name;
    }
    if (!base || m_rows < 1 || m_rows > 4 || m_columns < 1 || m_columns > 4)
        return "";
    switch (m_class)
    {
    case ClassScalar:
        return m_rows == 1 && m_columns == 1 ? base : "";
    case ClassVector:
        return m_rows == 1 ? base + std::to_string(m_columns) : "";
    case ClassMatrixRows:
    case ClassMatrixColumns:
        return std::string(m_class == ClassMatrixRows ? "row_major " : "") + base +
               std::to_string(m_rows) + "x" + std::to_string(m_columns);
    default:
        return "";
    }
}

bool ConstantDeclaration::fitsRegisterSet(uint16_t a_set) const
{
    switch (a_set)
    {
    case SetFloat4:
        return m_class != ClassObject;
    case SetInt4:
        return m_class != ClassObject && m_type == TypeInt;
    case SetBool:
        return m_class != ClassObject && m_type == TypeBool;
    case SetSampler:
        return m_class == ClassObject;
    default:
        return false;
    }
}

uint32_t ConstantDeclaration::fullRegisterCount() const
{
    uint32_t perElement = 1;
    if (m_registerSet == SetBool)
        perElement = uint32_t{m_rows} * m_columns;
    else if (m_class == ClassMatrixRows)
        perElement = m_rows;
    else if (m_class == ClassMatrixColumns)
        perElement = m_columns;
    return perElement * m_elements;
}

bool ConstantDeclaration::operator==(const ConstantDeclaration& a_other) const
{
    return m_name == a_other.m_name && m_registerSet == a_other.m_registerSet &&
           m_registerIndex == a_other.m_registerIndex &&
           m_registerCount == a_other.m_registerCount && m_class == a_other.m_class &&
           m_type == a_other.m_type && m_rows == a_other.m_rows && m_columns == a_other.m_columns &&
           m_elements == a_other.m_elements;
}
