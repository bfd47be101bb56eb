// The program's command line: the demo starts with none, through the launcher
// dialog; --help and --version say what the program is and how to run it,
// and anything else is a mistake the user is told about.
#pragma once

#include <stdio.h>
#include <string>
#include <vector>

class CommandLine
{
public:
    // a_commandLine as WinMain receives it: the arguments after the program's
    // name, quoted as Windows quotes them (a_commandLine may be null).
    explicit CommandLine(const char* a_commandLine);

    const std::vector<std::string>& arguments() const { return m_arguments; }

    // Answers --help and --version on a_out and wrong arguments with the usage
    // on a_error, and returns the exit status (0, or 2 for a wrong argument);
    // returns -1 when there are no arguments and the demo should start.
    int answer(FILE* a_out, FILE* a_error) const;

private:
    std::vector<std::string> m_arguments;
};
