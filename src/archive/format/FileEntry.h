// One entry of the archive's directory: where a named file lies in the data block.
#pragma once

#include <stdint.h>

#include <string>

struct FileEntry
{
    std::string name;  // unscrambled, without directories
    uint32_t offset;   // bytes from the data block's start
    uint32_t size;     // bytes, never 0
};
