// Every program qorasm assembles is read by MojoShader, the independent reader
// the demo translates shaders with, without error and with the same constants.
#include "tools/qorasm/GoldenFiles.h"

#include "Assembler.h"
#include "ConstantTableBlock.h"

#include <gtest/gtest.h>
#include <mojoshader.h>

#include <memory>
#include <set>
#include <utility>

namespace
{

struct ParseDataDeleter
{
    void operator()(const MOJOSHADER_parseData* a_data) const { MOJOSHADER_freeParseData(a_data); }
};
using ParseData = std::unique_ptr<const MOJOSHADER_parseData, ParseDataDeleter>;

// Parses with the GLSL 1.20 profile, the one the device layer uses.
ParseData parse(const std::vector<uint8_t>& a_code)
{
    return ParseData(MOJOSHADER_parse(MOJOSHADER_PROFILE_GLSL120, nullptr, a_code.data(),
                                      static_cast<unsigned>(a_code.size()), nullptr, 0, nullptr, 0,
                                      nullptr, nullptr, nullptr));
}

}

// MojoShader parses each program without error, and its symbol list holds the
// declared constants with their registers and type information.
TEST(MojoShaderCheck, ParsesEveryProgramWithTheDeclaredConstants)
{
    for (const std::string& source : GoldenFiles::allSources())
    {
        SCOPED_TRACE(source);
        std::vector<uint32_t> tokens;
        AssemblyError assemblyError;
        ASSERT_TRUE(Assembler::assemble(GoldenFiles::readText(source), tokens, assemblyError))
            << assemblyError.format();
        const ParseData data = parse(GoldenFiles::bytes(tokens));
        for (int i = 0; i < data->error_count; ++i)
            ADD_FAILURE() << data->errors[i].error << " at byte " << data->errors[i].error_position;

        // The declarations, as the table in the comment block gives them.
        ConstantTableBlock table;
        std::string error;
        ASSERT_TRUE(table.read(&tokens[2], (tokens[1] >> 16) & 0x7fff, error)) << error;
        ASSERT_EQ(data->symbol_count, static_cast<int>(table.m_constants.size()));
        for (int i = 0; i < data->symbol_count; ++i)
        {
            const MOJOSHADER_symbol& symbol = data->symbols[i];
            const ConstantDeclaration& constant = table.m_constants[i];
            SCOPED_TRACE(constant.m_name);
            EXPECT_STREQ(symbol.name, constant.m_name.c_str());
            EXPECT_EQ(static_cast<int>(symbol.register_set), constant.m_registerSet);
            EXPECT_EQ(symbol.register_index, constant.m_registerIndex);
            EXPECT_EQ(symbol.register_count, constant.m_registerCount);
            EXPECT_EQ(static_cast<int>(symbol.info.parameter_class), constant.m_class);
            EXPECT_EQ(static_cast<int>(symbol.info.parameter_type), constant.m_type);
            EXPECT_EQ(symbol.info.rows, constant.m_rows);
            EXPECT_EQ(symbol.info.columns, constant.m_columns);
            EXPECT_EQ(symbol.info.elements, constant.m_elements);
            EXPECT_EQ(symbol.info.member_count, 0u);
        }
    }
}

// ps_3_0 input declarations keep their usage and usage index as MojoShader
// reads them (dcl_texcoord1 v1 is TEXCOORD1, not TEXCOORD0).
TEST(MojoShaderCheck, PixelShaderInputsKeepTheirUsageIndex)
{
    std::vector<uint32_t> tokens;
    AssemblyError error;
    ASSERT_TRUE(Assembler::assemble("ps_3_0\n"
                                    "dcl_texcoord1 v1.xy\n"
                                    "dcl_color1 v0\n"
                                    "add r0, v0, v1\n"
                                    "mov oC0, r0\n",
                                    tokens, error))
        << error.format();
    const ParseData data = parse(GoldenFiles::bytes(tokens));
    ASSERT_EQ(data->error_count, 0);
    std::set<std::pair<int, int>> inputs;
    for (int i = 0; i < data->attribute_count; ++i)
        inputs.insert({data->attributes[i].usage, data->attributes[i].index});
    const std::set<std::pair<int, int>> expected = {{MOJOSHADER_USAGE_TEXCOORD, 1},
                                                    {MOJOSHADER_USAGE_COLOR, 1}};
    EXPECT_EQ(inputs, expected);
}
