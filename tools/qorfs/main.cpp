// qorfs: packs a folder into an archive of the demo's format, and lists,
// extracts and verifies archives through the demo's own reader.
#include "ArchiveWriter.h"

#include "archive/format/ArchiveReader.h"

#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace
{

const char kUsage[] =
    "usage: qorfs pack DIR OUT [--plain] [--key HEX]\n"
    "       qorfs list ARCHIVE\n"
    "       qorfs extract ARCHIVE DIR\n"
    "       qorfs verify ARCHIVE\n"
    "\n"
    "pack     packs every regular file of DIR (not its subfolders), in byte order\n"
    "         of their names, gzip-compressed unless --plain; the same input gives\n"
    "         the same archive. --key sets the 32-bit scrambling key.\n"
    "list     prints name, offset and size of each entry, one per line.\n"
    "extract  writes each entry into DIR, creating it if needed.\n"
    "verify   reports every structural fault; exits with 1 if there is any.\n";

enum ExitCode
{
    kExitOk = 0,
    kExitFailure = 1,
    kExitUsage = 2,
};

int usage()
{
    fputs(kUsage, stderr);
    return kExitUsage;
}

void printFaults(const char* a_path, const ArchiveReader& a_reader)
{
    for (const ArchiveReader::Fault& fault : a_reader.faults())
        fprintf(stderr, "%s: %s: %s\n", a_path, fault.error ? "error" : "warning",
                fault.text.c_str());
}

// Reads a_path and insists that it is valid; says why not on stderr.
bool readValid(const char* a_path, ArchiveReader& a_reader)
{
    if (!a_reader.read(a_path))
    {
        fprintf(stderr, "qorfs: cannot open %s: %s\n", a_path, strerror(errno));
        return false;
    }
    if (!a_reader.valid())
    {
        printFaults(a_path, a_reader);
        fprintf(stderr, "qorfs: %s is not a valid archive\n", a_path);
        return false;
    }
    return true;
}

bool parseKey(const char* a_text, uint32_t& a_key)
{
    const char* digits = a_text;
    if (digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X'))
        digits += 2;
    const size_t length = strlen(digits);
    if (length == 0 || length > 8 || strspn(digits, "0123456789abcdefABCDEF") != length)
        return false;
    a_key = static_cast<uint32_t>(strtoul(digits, nullptr, 16));
    return true;
}

bool readWholeFile(const fs::path& a_path, std::vector<uint8_t>& a_contents)
{
    std::ifstream stream(a_path, std::ios::binary);
    if (!stream)
        return false;
    a_contents.assign(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
    return !stream.bad();
}

int pack(int a_argc, char** a_argv)
{
    if (a_argc < 2)
        return usage();
    const fs::path folder = a_argv[0];
    const char* output = a_argv[1];
    bool plain = false;
    uint32_t key = ArchiveWriter::kDefaultKey;
    for (int index = 2; index < a_argc; ++index)
    {
        if (strcmp(a_argv[index], "--plain") == 0)
            plain = true;
        else if (strcmp(a_argv[index], "--key") == 0 && index + 1 < a_argc)
        {
            if (!parseKey(a_argv[++index], key))
            {
                fprintf(stderr, "qorfs: --key takes 1 to 8 hexadecimal digits, not \"%s\"\n",
                        a_argv[index]);
                return kExitUsage;
            }
        }
        else
            return usage();
    }

    std::error_code error;
    std::vector<fs::path> files;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
    {
        // The archive may be written into the folder it packs: leave it out.
        if (it->is_regular_file() && !fs::equivalent(it->path(), output, error))
            files.push_back(it->path());
        error.clear();
    }
    if (error)
    {
        fprintf(stderr, "qorfs: cannot read folder %s: %s\n", folder.c_str(),
                error.message().c_str());
        return kExitFailure;
    }
    // Byte order of the names, whatever order the folder lists them in.
    std::sort(files.begin(), files.end(), [](const fs::path& a_left, const fs::path& a_right) {
        return a_left.filename().native() < a_right.filename().native();
    });

    std::vector<ArchiveWriter::Input> inputs;
    for (const fs::path& file : files)
    {
        ArchiveWriter::Input input{file.filename().native(), {}};
        if (!readWholeFile(file, input.contents))
        {
            fprintf(stderr, "qorfs: cannot read %s\n", file.c_str());
            return kExitFailure;
        }
        inputs.push_back(std::move(input));
    }

    std::string problem;
    if (!ArchiveWriter::write(output, inputs, key, plain, problem))
    {
        fprintf(stderr, "qorfs: %s\n", problem.c_str());
        return kExitFailure;
    }
    return kExitOk;
}

int list(int a_argc, char** a_argv)
{
    if (a_argc != 1)
        return usage();
    ArchiveReader reader;
    if (!readValid(a_argv[0], reader))
        return kExitFailure;
    for (const FileEntry& entry : reader.entries())
        printf("%s\t%u\t%u\n", entry.name.c_str(), entry.offset, entry.size);
    return kExitOk;
}

// A name the archive gives us must not climb out of the target folder.
bool isPlainName(const std::string& a_name)
{
    return !a_name.empty() && a_name != "." && a_name != ".." &&
           a_name.find('/') == std::string::npos;
}

int extract(int a_argc, char** a_argv)
{
    if (a_argc != 2)
        return usage();
    ArchiveReader reader;
    if (!readValid(a_argv[0], reader))
        return kExitFailure;

    const fs::path folder = a_argv[1];
    std::error_code error;
    fs::create_directories(folder, error);
    if (error)
    {
        fprintf(stderr, "qorfs: cannot create %s: %s\n", folder.c_str(), error.message().c_str());
        return kExitFailure;
    }

    int result = kExitOk;
    std::set<std::string> written;
    for (const FileEntry& entry : reader.entries())
    {
        if (!isPlainName(entry.name))
        {
            fprintf(stderr, "qorfs: skipped \"%s\": not a plain file name\n", entry.name.c_str());
            result = kExitFailure;
            continue;
        }
        // Like the demo, take the first entry of a name.
        if (!written.insert(entry.name).second)
            continue;
        const fs::path path = folder / entry.name;
        FILE* stream = fopen(path.c_str(), "wb");
        bool ok =
            stream && fwrite(reader.data() + entry.offset, 1, entry.size, stream) == entry.size;
        if (stream && fclose(stream) != 0)
            ok = false;
        if (!ok)
        {
            fprintf(stderr, "qorfs: cannot write %s\n", path.c_str());
            return kExitFailure;
        }
    }
    return result;
}

int verify(int a_argc, char** a_argv)
{
    if (a_argc != 1)
        return usage();
    const char* path = a_argv[0];
    ArchiveReader reader;
    if (!reader.read(path))
    {
        fprintf(stderr, "qorfs: cannot open %s: %s\n", path, strerror(errno));
        return kExitFailure;
    }
    printFaults(path, reader);
    if (!reader.faults().empty())
        return kExitFailure;
    printf("%s: ok, %zu entries, %u bytes of data\n", path, reader.entries().size(),
           reader.dataSize());
    return kExitOk;
}

}

int main(int a_argc, char** a_argv)
{
    if (a_argc < 2)
        return usage();
    const char* command = a_argv[1];
    if (strcmp(command, "pack") == 0)
        return pack(a_argc - 2, a_argv + 2);
    if (strcmp(command, "list") == 0)
        return list(a_argc - 2, a_argv + 2);
    if (strcmp(command, "extract") == 0)
        return extract(a_argc - 2, a_argv + 2);
    if (strcmp(command, "verify") == 0)
        return verify(a_argc - 2, a_argv + 2);
    if (strcmp(command, "--help") == 0 || strcmp(command, "-h") == 0)
    {
        fputs(kUsage, stdout);
        return kExitOk;
    }
    return usage();
}
