// Reading the qorasm golden files: sources, expected texts and token listings.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

class GoldenFiles
{
public:
    // The folder of a group under tests/data/qorasm ("programs", "errors").
    static std::string folder(const std::string& a_group);
    // Paths of the files in a folder whose names end in a_extension, sorted.
    static std::vector<std::string> list(const std::string& a_folder,
                                         const std::string& a_extension);
    // Every assembly source the project has: the golden programs, then the demo's shaders.
    static std::vector<std::string> allSources();
    // a_path with its extension replaced ("x.asm" -> "x.dis").
    static std::string sibling(const std::string& a_path, const std::string& a_extension);

    static std::string readText(const std::string& a_path);
    // A token listing: hexadecimal DWORDs separated by blanks, '#' comments to the end of a line.
    static std::vector<uint32_t> readTokens(const std::string& a_path);

    // Byte code as a file holds it: little-endian DWORDs.
    static std::vector<uint8_t> bytes(const std::vector<uint32_t>& a_tokens);
};
