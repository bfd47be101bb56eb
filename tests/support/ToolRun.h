// A command-line tool run to its end for the tool tests: its exit status
// and everything it printed.
#pragma once

#include <string>

struct ToolRun
{
    int status;          // the exit status; -1 when it did not exit
    std::string output;  // stdout, then stderr
};

// Runs a_command (a shell command line) with standard error joined to
// standard output.
ToolRun runTool(const std::string& a_command);
