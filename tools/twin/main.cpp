// tarvo-frames: renders chosen frames of the demo as PNG files, the same way
// in the Linux and the Windows build, so that the two can be compared (see
// --help and README.md).
#include "FrameTwin.h"

#include <stdio.h>

#include <string>
#include <vector>

int main(int a_count, char** a_arguments)
{
    FrameTwin twin;
    if (!twin.parse(std::vector<std::string>(a_arguments + 1, a_arguments + a_count)))
    {
        fprintf(stderr, "tarvo-frames: %s\nTry 'tarvo-frames --help'.\n", twin.m_error.c_str());
        return FrameTwin::kBadInput;
    }
    if (twin.m_help)
    {
        fputs(FrameTwin::usage(), stdout);
        return 0;
    }
    return twin.run();
}
