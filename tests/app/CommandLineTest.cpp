// The command line as WinMain receives it: split by Windows' rules, and
// answered before anything is shown.
#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include <stdio.h>

#include <string>
#include <vector>

namespace
{

// What a_commandLine makes the program print on each stream, and the status.
struct Answer
{
    int status;
    std::string out;
    std::string error;
};

std::string contents(FILE* a_file)
{
    std::string text;
    rewind(a_file);
    char buffer[512];
    size_t count;
    while ((count = fread(buffer, 1, sizeof(buffer), a_file)) > 0)
        text.append(buffer, count);
    fclose(a_file);
    return text;
}

Answer answer(const char* a_commandLine)
{
    FILE* out = tmpfile();
    FILE* error = tmpfile();
    EXPECT_TRUE(out && error);
    const int status = CommandLine(a_commandLine).answer(out, error);
    return {status, contents(out), contents(error)};
}

}

// The C runtime's splitting rules: white space separates outside quotes,
// backslashes are literal unless a quote follows them.
TEST(CommandLineTest, SplitsAsTheWindowsRuntimeDoes)
{
    struct Case
    {
        const char* line;
        std::vector<std::string> arguments;
    };
    const Case cases[] = {
        {"", {}},
        {"   \t ", {}},
        {"--help", {"--help"}},
        {"  a \t b  ", {"a", "b"}},
        {"\"a b\" c", {"a b", "c"}},
        {"\"\"", {""}},
        {"a\"b c\"d", {"ab cd"}},
        {"\\\"a\\\"", {"\"a\""}},               // \" is a literal quote
        {"\"a\\\\\" b", {"a\\", "b"}},          // \\" is one backslash, then the quote closes
        {"a\\\\\\\"b", {"a\\\"b"}},             // \\\" is a backslash and a literal quote
        {"C:\\path\\ x", {"C:\\path\\", "x"}},  // backslashes before no quote stay
        {"\"open", {"open"}},                   // an unclosed quote runs to the end
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string("line [") + c.line + "]");
        EXPECT_EQ(CommandLine(c.line).arguments(), c.arguments);
    }
    EXPECT_TRUE(CommandLine(nullptr).arguments().empty());
}

// No arguments start the demo; --help and --version print on the output and
// succeed; anything else prints the usage on the error stream with status 2.
TEST(CommandLineTest, AnswersHelpVersionAndMistakes)
{
    struct Case
    {
        const char* line;
        int status;
        const char* out;    // a line the output holds, or "" for none at all
        const char* error;  // a line the error stream holds, or "" for none at all
    };
    const Case cases[] = {
        {"", -1, "", ""},
        {"--help", 0, "usage: tarvo [--help | --version]", ""},
        {"--version", 0, "tarvo " TARVO_VERSION, ""},
        {"--bogus", 2, "", "tarvo: unknown option '--bogus'"},
        {"-h", 2, "", "tarvo: unknown option '-h'"},
        {"tarvo.fs", 2, "", "tarvo: unexpected argument 'tarvo.fs'"},
        {"\"\"", 2, "", "tarvo: unexpected argument ''"},
        {"--help --version", 2, "", "tarvo: --help takes no other argument"},
        {"--version x", 2, "", "tarvo: --version takes no other argument"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string("line [") + c.line + "]");
        const Answer got = answer(c.line);
        EXPECT_EQ(got.status, c.status);
        if (*c.out)
            EXPECT_NE(got.out.find(std::string(c.out) + "\n"), std::string::npos) << got.out;
        else
            EXPECT_EQ(got.out, "");
        if (*c.error)
        {
            EXPECT_NE(got.error.find(std::string(c.error) + "\n"), std::string::npos) << got.error;
            EXPECT_NE(got.error.find("usage: tarvo [--help | --version]\n"), std::string::npos);
        }
        else
            EXPECT_EQ(got.error, "");
    }
}
