// The packed archive "tarvo.fs" and the files read from it: views into the
// archive's memory while it is loaded, loose files of the working directory
// once it is closed.
#pragma once

#include "core/ReturnCode.h"

#include <stdint.h>

// An in-memory file, as FileSystem::readFile hands it out.
class File
{
public:
    File() = default;
    ~File();
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    // Contents; both assert on empty values.
    void setData(uint8_t* a_data);
    void setSize(uint32_t a_size);

    uint8_t* m_data = nullptr;
    uint32_t m_size = 0;      // bytes, never 0 once set
    uint32_t m_position = 0;  // read cursor of sequential readers; FileSystem never moves it
    bool m_ownsData = true;   // m_data is freed with the File
};

namespace FileSystem
{

// Loads the archive from the working directory; fails silently when there
// is none, and with the invalid-header message when it is damaged.
ReturnCode open();

// Reads a_name from the archive, or the loose file when no archive is loaded.
// On failure a_file is left untouched.
ReturnCode readFile(const char* a_name, File& a_file);

bool fileExists(const char* a_name);

// Releases the archive; every File that points into it becomes invalid.
void close();

}
