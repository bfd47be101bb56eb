// Reads the golden files of the qorasm tests.
#include "GoldenFiles.h"

#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

std::string GoldenFiles::folder(const std::string& a_group)
{
    return std::string(TARVO_TEST_DATA) + "/qorasm/" + a_group;
}

std::vector<std::string> GoldenFiles::list(const std::string& a_folder,
                                           const std::string& a_extension)
{
    std::vector<std::string> paths;
    for (const auto& entry : std::filesystem::directory_iterator(a_folder))
    {
        if (entry.path().extension() == a_extension)
            paths.push_back(entry.path().string());
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

std::vector<std::string> GoldenFiles::allSources()
{
    std::vector<std::string> sources = list(folder("programs"), ".asm");
    for (const char* extension : {".vsa", ".psa"})
    {
        for (const std::string& path : list(TARVO_SHADER_SOURCES, extension))
            sources.push_back(path);
    }
    return sources;
}

std::string GoldenFiles::sibling(const std::string& a_path, const std::string& a_extension)
{
    return std::filesystem::path(a_path).replace_extension(a_extension).string();
}

std::string GoldenFiles::readText(const std::string& a_path)
{
    std::ifstream file(a_path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::vector<uint32_t> GoldenFiles::readTokens(const std::string& a_path)
{
    std::vector<uint32_t> tokens;
    std::istringstream lines(readText(a_path));
    std::string line;
    while (std::getline(lines, line))
    {
        std::istringstream words(line.substr(0, line.find('#')));
        std::string word;
        while (words >> word)
            tokens.push_back(static_cast<uint32_t>(strtoul(word.c_str(), nullptr, 16)));
    }
    return tokens;
}

std::vector<uint8_t> GoldenFiles::bytes(const std::vector<uint32_t>& a_tokens)
{
    std::vector<uint8_t> bytes;
    for (uint32_t token : a_tokens)
    {
        for (int i = 0; i < 4; ++i)
            bytes.push_back(static_cast<uint8_t>(token >> (8 * i)));
    }
    return bytes;
}
