// Tools run through a pipe.
#include "support/ToolRun.h"

#include <stdio.h>
#include <sys/wait.h>

ToolRun runTool(const std::string& a_command)
{
    const std::string command = a_command + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return ToolRun{-1, "popen failed"};
    std::string output;
    char buffer[4096];
    size_t count;
    while ((count = fread(buffer, 1, sizeof(buffer), pipe)) > 0)
        output.append(buffer, count);
    const int status = pclose(pipe);
    return ToolRun{WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}
