// Writes a packed archive from a set of named files, in the layout the demo
// reads: magic, key, count, the scrambled directory, then the data block.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

class ArchiveWriter
{
public:
    // Used when no key is given: any value works, and a fixed one keeps the
    // output the same for the same input.
    static constexpr uint32_t kDefaultKey = 0x5EC7A9D3;

    struct Input
    {
        std::string name;
        std::vector<uint8_t> contents;
    };

    // Writes a_inputs in the order given, gzip-compressed unless a_plain.
    // Writes to a temporary file beside a_path and renames it into place, so
    // a failure leaves any earlier archive untouched. On failure a_error says why.
    static bool write(const char* a_path, const std::vector<Input>& a_inputs, uint32_t a_key,
                      bool a_plain, std::string& a_error);
};
