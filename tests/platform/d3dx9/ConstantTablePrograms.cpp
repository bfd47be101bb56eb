#include "platform/d3dx9/ConstantTablePrograms.h"

#include "Assembler.h"

#include <gtest/gtest.h>

#include <stdint.h>

// One constant of each class and type.
const char* const g_vertexSource = R"(vs_3_0
const float scale : c0
const float3 position : c1
const float4 color : c2
const row_major float4x4 rowMatrix : c3
const float4x4 columnMatrix : c7
const float4x4 cutMatrix : c11..c13
const row_major float4x3 narrowRows : c14
const float4 lights[2] : c18
const bool fogOn : c20
const bool cubemap : b0
const bool flags[2] : b1
const int4 counts : i0
const sampler2D image : s0
mov o0, c0
)";

const char* const g_pixelSource = R"(ps_3_0
const float4 color : c5
const bool cubemap : b3
mov oC0, c5
)";

std::vector<DWORD> assemble(const char* a_source)
{
    std::vector<uint32_t> tokens;
    AssemblyError error;
    EXPECT_TRUE(Assembler::assemble(a_source, tokens, error)) << error.format();
    return std::vector<DWORD>(tokens.begin(), tokens.end());
}
