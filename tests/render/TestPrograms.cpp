// Shader programs for the render tests.
#include "render/TestPrograms.h"

#include <Assembler.h>

#include <gtest/gtest.h>

#include <stdint.h>
#include <stdio.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace
{

void assembleContent(const char* a_source, const char* a_name)
{
    const std::string path = std::string(TARVO_SHADER_SOURCES) + "/" + a_source;
    std::ifstream file(path);
    ASSERT_TRUE(file) << path;
    std::ostringstream text;
    text << file.rdbuf();
    TestPrograms::write(a_name, text.str().c_str());
}

}

void TestPrograms::write(const char* a_name, const char* a_source)
{
    std::vector<uint32_t> tokens;
    AssemblyError error;
    ASSERT_TRUE(Assembler::assemble(a_source, tokens, error)) << a_name << ":" << error.format();
    FILE* file = fopen(a_name, "wb");
    ASSERT_NE(file, nullptr) << a_name;
    fwrite(tokens.data(), sizeof(uint32_t), tokens.size(), file);
    fclose(file);
}

void TestPrograms::writeQuadPrograms()
{
    assembleContent("quad.vsa", "quad.vsh");
    assembleContent("quad.psa", "quad.psh");
}

void TestPrograms::writeDeferredPrograms()
{
    assembleContent("deferred.vsa", "deferred.vsh");
    assembleContent("deferred.psa", "deferred.psh");
    assembleContent("deferreddepth.psa", "deferreddepth.psh");
    assembleContent("combine.psa", "combine.psh");
    assembleContent("ambient.psa", "ambient.psh");
    assembleContent("fog.psa", "fog.psh");
}

void TestPrograms::writeScenePrograms()
{
    for (const char* name : {"selfillum", "cubemap", "depth"})
    {
        assembleContent((std::string(name) + ".vsa").c_str(), (std::string(name) + ".vsh").c_str());
        assembleContent((std::string(name) + ".psa").c_str(), (std::string(name) + ".psh").c_str());
    }
}

void TestPrograms::writeLightPrograms()
{
    assembleContent("omni.vsa", "omni.vsh");
    assembleContent("omni.psa", "omni.psh");
    assembleContent("spot.psa", "spot.psh");
}

void TestPrograms::writeFilterPrograms()
{
    for (const char* name : {"blur", "blursmooth", "radialblur", "dof", "break", "breakbare",
                             "breakrows", "breakstill"})
        assembleContent((std::string(name) + ".psa").c_str(), (std::string(name) + ".psh").c_str());
}
