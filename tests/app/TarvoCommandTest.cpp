// The demo's executable on the command line: --help and --version answer and
// end before any window, and a wrong argument gets the usage and status 2.
#include "support/ToolRun.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

// Runs the demo with a_arguments (shell words) where no window could open:
// no display and an SDL video driver that does not exist, so a run that
// reached the launcher would end at once with status 0 and print nothing.
ToolRun tarvo(const std::string& a_arguments, const std::string& a_streams)
{
    // A subshell: runTool joins the error stream to the output after it.
    return runTool("(env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=none " +
                   std::string(TARVO_PATH) + " " + a_arguments + " " + a_streams + ")");
}

}

// Each case runs the real executable; help and version go to the output,
// the usage for a mistake to the error stream. The arguments pass from
// main() to WinMain and back through Windows' quoting whole, spaces and
// quotes included.
TEST(TarvoCommandTest, AnswersOnTheRightStreamWithTheRightStatus)
{
    struct Case
    {
        const char* arguments;
        const char* streams;  // which stream the test reads; the other is discarded
        int status;
        const char* expected;
    };
    const Case cases[] = {
        {"--help", "2>/dev/null", 0, "usage: tarvo [--help | --version]\n"},
        {"--help", "2>/dev/null", 0, "tarvo.fs"},
        {"--version", "2>/dev/null", 0, "tarvo " TARVO_VERSION "\n"},
        {"--fullscreen", "2>&1 >/dev/null", 2, "tarvo: unknown option '--fullscreen'\n"},
        {"--help --loop", "2>&1 >/dev/null", 2, "usage: tarvo [--help | --version]\n"},
        {"'my demo.fs'", "2>&1 >/dev/null", 2, "tarvo: unexpected argument 'my demo.fs'\n"},
        {"'say \"hi\" \\'", "2>&1 >/dev/null", 2, "tarvo: unexpected argument 'say \"hi\" \\'\n"},
        {"''", "2>&1 >/dev/null", 2, "tarvo: unexpected argument ''\n"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string("tarvo ") + c.arguments);
        const ToolRun run = tarvo(c.arguments, c.streams);
        EXPECT_EQ(run.status, c.status) << run.output;
        EXPECT_NE(run.output.find(c.expected), std::string::npos) << run.output;
    }
}
