// A program's constant table, released when the test ends.
#pragma once

#include <d3dx9.h>

#include <vector>

struct TableHolder
{
    // Fails the test unless D3DXGetShaderConstantTable takes a_code.
    explicit TableHolder(const std::vector<DWORD>& a_code);
    ~TableHolder();
    TableHolder(const TableHolder&) = delete;
    TableHolder& operator=(const TableHolder&) = delete;

    LPD3DXCONSTANTTABLE table = nullptr;
};
