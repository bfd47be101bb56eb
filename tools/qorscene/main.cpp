// qorscene: reads scene files exactly as the demo's loader does.
//   qorscene dump FILE
//   qorscene verify FILE...
#include "SceneDump.h"

#include "scene/format/QorReader.h"

#include <errno.h>
#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

namespace
{

const char g_usage[] =
    "usage: qorscene dump FILE         every record of a scene file, in order\n"
    "       qorscene verify FILE...    every structural fault; exit status 1 if any\n"
    "       qorscene --help\n";

bool readBytes(const char* a_path, std::vector<uint8_t>& a_bytes)
{
    FILE* file = fopen(a_path, "rb");
    if (!file)
        return false;
    uint8_t buffer[65536];
    size_t read = 0;
    while ((read = fread(buffer, 1, sizeof(buffer), file)) != 0)
        a_bytes.insert(a_bytes.end(), buffer, buffer + read);
    const bool failed = ferror(file) != 0;
    fclose(file);
    return !failed;
}

// Reads and parses a_path; false after a message on standard error.
bool parse(const char* a_path, QorFile& a_file)
{
    std::vector<uint8_t> bytes;
    if (!readBytes(a_path, bytes))
    {
        fprintf(stderr, "%s: cannot read: %s\n", a_path, strerror(errno));
        return false;
    }
    std::string error;
    if (!QorReader::read(bytes.data(), bytes.size(), a_file, error))
    {
        fprintf(stderr, "%s: %s\n", a_path, error.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int a_argc, char** a_argv)
{
    if (a_argc == 2 && strcmp(a_argv[1], "--help") == 0)
    {
        fputs(g_usage, stdout);
        return 0;
    }
    if (a_argc == 3 && strcmp(a_argv[1], "dump") == 0)
    {
        QorFile file;
        if (!parse(a_argv[2], file))
            return 1;
        fputs(dumpScene(file).c_str(), stdout);
        return 0;
    }
    if (a_argc >= 3 && strcmp(a_argv[1], "verify") == 0)
    {
        int status = 0;
        for (int i = 2; i < a_argc; ++i)
        {
            QorFile file;
            if (parse(a_argv[i], file))
                printf("%s: ok, %zu records, %u frames\n", a_argv[i], file.records.size(), file.frameCount);
            else
                status = 1;
        }
        return status;
    }
    fputs(g_usage, stderr);
    return 2;
}
