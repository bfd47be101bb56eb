// The process entry: Linux starts main, the program starts at WinMain.
#include <windows.h>

#include <string>

namespace
{

// WinMain is given its arguments as one line, quoted so that the C runtime's
// rules split it back into the same arguments: an argument with white space
// or quotes, or an empty one, goes in double quotes, a quote inside it gets
// a backslash, and the backslashes before a quote (or before the closing
// quote) are doubled.
void appendQuoted(std::string& a_line, const char* a_argument)
{
    const std::string argument = a_argument;
    if (!a_line.empty())
        a_line += ' ';
    if (!argument.empty() && argument.find_first_of(" \t\n\v\"") == std::string::npos)
    {
        a_line += argument;
        return;
    }
    a_line += '"';
    size_t backslashes = 0;
    for (const char character : argument)
    {
        if (character == '\\')
        {
            ++backslashes;
            continue;
        }
        a_line.append(character == '"' ? 2 * backslashes + 1 : backslashes, '\\');
        backslashes = 0;
        a_line += character;
    }
    a_line.append(2 * backslashes, '\\');
    a_line += '"';
}

}

int main(int a_argc, char** a_argv)
{
    std::string commandLine;
    for (int i = 1; i < a_argc; ++i)
        appendQuoted(commandLine, a_argv[i]);
    return WinMain(GetModuleHandleA(nullptr), nullptr, commandLine.data(), SW_SHOWDEFAULT);
}
