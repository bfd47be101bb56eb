// Formats an assembly error the way compilers print diagnostics.
#include "AssemblyError.h"

std::string AssemblyError::format() const
{
    return std::to_string(m_line) + ":" + std::to_string(m_column) + ": error: " + m_message;
}
