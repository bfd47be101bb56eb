// Tests of the qorasm command: it writes its output only on success, reports
// errors with the file name, line and column, and disassembles to standard output.
#include "support/TemporaryFolder.h"
#include "tools/qorasm/GoldenFiles.h"

#include "Assembler.h"

#include <gtest/gtest.h>

#include <stdio.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>

namespace
{

struct CommandResult
{
    int exitCode = -1;
    std::string output;  // standard output
    std::string errors;  // standard error
};

CommandResult run(const TemporaryFolder& a_folder, const std::string& a_arguments)
{
    const std::string errorFile = a_folder.file("stderr.txt");
    const std::string command = std::string(QORASM_PATH) + " " + a_arguments + " 2>" + errorFile;
    CommandResult result;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return result;
    char buffer[4096];
    size_t read = 0;
    while ((read = fread(buffer, 1, sizeof(buffer), pipe)) > 0)
        result.output.append(buffer, read);
    const int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.errors = GoldenFiles::readText(errorFile);
    return result;
}

void writeText(const std::string& a_path, const std::string& a_text)
{
    std::ofstream(a_path, std::ios::binary) << a_text;
}

}

// A good source is assembled into the output file, and -d prints it back.
TEST(QorasmCommand, AssemblesToAFileAndDisassemblesToStandardOutput)
{
    TemporaryFolder folder;
    const std::string source = GoldenFiles::folder("programs") + "/quad_vs.asm";
    const std::string output = folder.file("quad.vsh");

    const CommandResult assemble = run(folder, source + " -o " + output);
    EXPECT_EQ(assemble.exitCode, 0) << assemble.errors;
    const std::string written = GoldenFiles::readText(output);
    EXPECT_EQ(std::vector<uint8_t>(written.begin(), written.end()),
              GoldenFiles::bytes(GoldenFiles::readTokens(GoldenFiles::sibling(source, ".tokens"))));

    const CommandResult disassemble = run(folder, "-d " + output);
    EXPECT_EQ(disassemble.exitCode, 0) << disassemble.errors;
    EXPECT_EQ(disassemble.output, GoldenFiles::readText(GoldenFiles::sibling(source, ".dis")));
}

// A faulty source is reported as FILE:LINE:COLUMN with exit code 1, and no
// output file appears.
TEST(QorasmCommand, WritesNothingOnError)
{
    TemporaryFolder folder;
    const std::string source = folder.file("bad.vsa");
    writeText(source, "vs_3_0\nmov r0, q0\n");
    const std::string output = folder.file("bad.vsh");

    const CommandResult result = run(folder, source + " -o " + output);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.errors, source + ":2:9: error: unknown register 'q0'\n");
    EXPECT_FALSE(std::filesystem::exists(output));
    EXPECT_FALSE(std::filesystem::exists(output + ".tmp"));
}

// Damaged byte code given to -d is reported with its byte offset and exit code 1.
TEST(QorasmCommand, ReportsDamagedByteCode)
{
    TemporaryFolder folder;
    const std::string code = folder.file("bad.vsh");
    writeText(code, std::string("\x00\x02\xfe\xff\xff\xff\x00\x00", 8));

    const CommandResult result = run(folder, "-d " + code);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.output, "");
    EXPECT_EQ(result.errors, code + ": byte 0: not a vs_3_0 or ps_3_0 program\n");
}

// Missing or unknown arguments print the usage and exit with code 2.
TEST(QorasmCommand, RejectsBadArguments)
{
    TemporaryFolder folder;
    for (const char* arguments : {"", "in.vsa", "-x in.vsa -o out.vsh", "a b -o c"})
    {
        SCOPED_TRACE(arguments);
        const CommandResult result = run(folder, arguments);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_NE(result.errors.find("usage: qorasm"), std::string::npos);
    }
}
