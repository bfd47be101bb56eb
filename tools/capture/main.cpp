// tarvo-capture: renders the demo headless to an MP4 video with its
// soundtrack, PNG frames and a trace of the timeline (see --help).
#include "Capture.h"
#include "CaptureOptions.h"

#include <stdio.h>

#include <string>
#include <vector>

int main(int a_count, char** a_arguments)
{
    CaptureOptions options;
    if (!options.parse(std::vector<std::string>(a_arguments + 1, a_arguments + a_count)))
    {
        fprintf(stderr, "tarvo-capture: %s\nTry 'tarvo-capture --help'.\n",
                options.m_error.c_str());
        return Capture::kBadInput;
    }
    if (options.m_help)
    {
        fputs(CaptureOptions::usage(), stdout);
        return 0;
    }
    Capture::installInterruptHandler();
    Capture capture(options);
    return capture.run();
}
