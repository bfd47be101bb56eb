// The program's command line: no arguments, --help or --version.
#include "app/CommandLine.h"

namespace
{

const char kUsage[] = "usage: tarvo [--help | --version]\n";

const char kAbout[] =
    "\n"
    "Tarvo is a real-time 3D demo: it plays its soundtrack and renders animated\n"
    "scenes through deferred shading and post-processing filters, in step with\n"
    "the music.\n"
    "\n"
    "Run it with no arguments from the folder that holds its archive, tarvo.fs\n"
    "(./run.sh builds everything and runs it from build/content/). A launcher\n"
    "asks for the display mode, the monitor's aspect, windowed or full screen and\n"
    "looping; Launch starts the demo, and Escape or closing the window ends it.\n"
    "It plays in real time on a GPU; without one, tarvo-capture renders it to a\n"
    "video (./run.sh does so when there is no display).\n"
    "\n"
    "  --help     show this text and exit\n"
    "  --version  show the version and exit\n";

const char kVersion[] = "tarvo " TARVO_VERSION "\n"
                        "A real-time 3D demo. Run it with no arguments from the folder of its\n"
                        "archive, tarvo.fs; tarvo --help says more.\n";

bool isSpace(char a_character)
{
    return a_character == ' ' || a_character == '\t';
}

}

// Windows splits a command line the way its C runtime does: white space
// outside double quotes separates arguments; 2n backslashes before a quote
// give n backslashes and the quote opens or closes a quoted run, 2n + 1 give
// n backslashes and a literal quote; other backslashes are literal.
CommandLine::CommandLine(const char* a_commandLine)
{
    const char* next = a_commandLine ? a_commandLine : "";
    while (true)
    {
        while (isSpace(*next))
            ++next;
        if (*next == '\0')
            break;
        std::string argument;
        bool quoted = false;
        while (*next != '\0' && (quoted || !isSpace(*next)))
        {
            size_t backslashes = 0;
            while (next[backslashes] == '\\')
                ++backslashes;
            if (next[backslashes] == '"')
            {
                argument.append(backslashes / 2, '\\');
                if (backslashes % 2 == 1)
                    argument += '"';
                else
                    quoted = !quoted;
                next += backslashes + 1;
            }
            else if (backslashes > 0)
            {
                argument.append(backslashes, '\\');
                next += backslashes;
            }
            else
                argument += *next++;
        }
        m_arguments.push_back(argument);
    }
}

int CommandLine::answer(FILE* a_out, FILE* a_error) const
{
    if (m_arguments.empty())
        return -1;
    if (m_arguments.size() == 1 && m_arguments[0] == "--help")
    {
        fputs(kUsage, a_out);
        fputs(kAbout, a_out);
        return 0;
    }
    if (m_arguments.size() == 1 && m_arguments[0] == "--version")
    {
        fputs(kVersion, a_out);
        return 0;
    }
    const std::string& first = m_arguments[0];
    if (first == "--help" || first == "--version")
        fprintf(a_error, "tarvo: %s takes no other argument\n", first.c_str());
    else if (!first.empty() && first[0] == '-')
        fprintf(a_error, "tarvo: unknown option '%s'\n", first.c_str());
    else
        fprintf(a_error, "tarvo: unexpected argument '%s'\n", first.c_str());
    fputs(kUsage, a_error);
    fputs("The demo starts with no arguments; tarvo --help says more.\n", a_error);
    return 2;
}
