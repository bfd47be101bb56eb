#include "platform/d3dx9/TableHolder.h"

#include <gtest/gtest.h>

TableHolder::TableHolder(const std::vector<DWORD>& a_code)
{
    EXPECT_EQ(D3DXGetShaderConstantTable(a_code.data(), &table), D3D_OK);
}

TableHolder::~TableHolder()
{
    if (table)
        table->Release();
}
