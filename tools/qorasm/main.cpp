// qorasm: assembles vs_3_0/ps_3_0 shader assembly into Direct3D 9 byte code
// with a constant table, and disassembles byte code.
#include "Assembler.h"
#include "Disassembler.h"

#include <stdio.h>
#include <string.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace
{

int usage()
{
    fprintf(stderr, "usage: qorasm SOURCE -o OUTPUT      assemble\n"
                    "       qorasm -d CODE [-o OUTPUT]   disassemble (to standard output)\n");
    return 2;
}

bool readFile(const char* a_path, std::string& a_contents)
{
    std::ifstream file(a_path, std::ios::binary);
    if (!file)
        return false;
    a_contents.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return !file.bad();
}

// Writes through a temporary file renamed into place, so that a failed run
// leaves no output and an earlier output untouched.
bool writeFile(const std::string& a_path, const std::string& a_contents)
{
    const std::string temporary = a_path + ".tmp";
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        if (!file ||
            !file.write(a_contents.data(), static_cast<std::streamsize>(a_contents.size())))
        {
            remove(temporary.c_str());
            return false;
        }
    }
    if (rename(temporary.c_str(), a_path.c_str()) != 0)
    {
        remove(temporary.c_str());
        return false;
    }
    return true;
}

}

int main(int a_argc, char** a_argv)
{
    bool disassemble = false;
    const char* input = nullptr;
    const char* output = nullptr;
    for (int i = 1; i < a_argc; ++i)
    {
        if (strcmp(a_argv[i], "-d") == 0)
            disassemble = true;
        else if (strcmp(a_argv[i], "-o") == 0 && i + 1 < a_argc && !output)
            output = a_argv[++i];
        else if (a_argv[i][0] != '-' && !input)
            input = a_argv[i];
        else
            return usage();
    }
    if (!input || (!disassemble && !output))
        return usage();

    std::string contents;
    if (!readFile(input, contents))
    {
        fprintf(stderr, "%s: cannot read the file\n", input);
        return 1;
    }

    std::string result;
    if (disassemble)
    {
        std::string error;
        if (!Disassembler::disassemble(std::vector<uint8_t>(contents.begin(), contents.end()),
                                       result, error))
        {
            fprintf(stderr, "%s: %s\n", input, error.c_str());
            return 1;
        }
        if (!output)
        {
            fputs(result.c_str(), stdout);
            return 0;
        }
    }
    else
    {
        std::vector<uint32_t> tokens;
        AssemblyError error;
        if (!Assembler::assemble(contents, tokens, error))
        {
            fprintf(stderr, "%s:%s\n", input, error.format().c_str());
            return 1;
        }
        for (uint32_t token : tokens)
        {
            for (int i = 0; i < 4; ++i)
                result += static_cast<char>(token >> (8 * i));
        }
    }
    if (!writeFile(output, result))
    {
        fprintf(stderr, "%s: cannot write the file\n", output);
        return 1;
    }
    return 0;
}
