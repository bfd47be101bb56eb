// Where and why an assembly source was refused.
#pragma once

#include <string>

class AssemblyError
{
public:
    // "LINE:COLUMN: error: MESSAGE", lines and columns counted from 1.
    std::string format() const;

    int m_line = 0;
    int m_column = 0;
    std::string m_message;
};
