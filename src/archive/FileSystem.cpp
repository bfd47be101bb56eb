// The archive in memory and the lookup of named files.
#include "archive/FileSystem.h"

#include "core/FatalError.h"
#include "archive/format/ArchiveReader.h"
#include "core/Assert.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

namespace
{

const char kArchiveName[] = "tarvo.fs";

}

namespace FileSystem
{
std::vector<FileEntry> g_entries;  // the directory, in file order
uint8_t* g_archiveData = nullptr;  // the data block; null while no archive is loaded
}

File::~File()
{
    if (m_ownsData)
        free(m_data);
}

void File::setData(uint8_t* a_data)
{
    TARVO_ASSERT(a_data);
    m_data = a_data;
}

void File::setSize(uint32_t a_size)
{
    TARVO_ASSERT(a_size != 0);
    m_size = a_size;
}

namespace FileSystem
{

namespace
{

const FileEntry* findEntry(const char* a_name)
{
    for (const FileEntry& entry : g_entries)
    {
        if (strcmp(entry.name.c_str(), a_name) == 0)
            return &entry;
    }
    return nullptr;
}

// Reads a whole loose file into memory owned by a_file.
ReturnCode readLooseFile(const char* a_name, File& a_file)
{
    FILE* stream = fopen(a_name, "rb");
    if (!stream)
    {
        fatalError(a_name, "File not found.");
        return ReturnCode(ReturnCode::kFailure);
    }

    const char* problem = nullptr;
    long length = -1;
    if (fseek(stream, 0, SEEK_END) == 0)
        length = ftell(stream);
    if (length < 0 || fseek(stream, 0, SEEK_SET) != 0)
        problem = "File could not be read.";
    else if (length == 0)
        problem = "File is empty.";
    else if (static_cast<unsigned long>(length) > UINT32_MAX)
        problem = "File is too large.";

    uint8_t* data = nullptr;
    if (!problem)
    {
        data = static_cast<uint8_t*>(malloc(static_cast<size_t>(length)));
        if (!data)
            problem = "Not enough memory to read the file.";
        else if (fread(data, 1, static_cast<size_t>(length), stream) != static_cast<size_t>(length))
            problem = "File could not be read.";
    }
    fclose(stream);

    if (problem)
    {
        free(data);
        fatalError(a_name, problem);
        return ReturnCode(ReturnCode::kFailure);
    }

    if (a_file.m_ownsData)
        free(a_file.m_data);
    a_file.setData(data);
    a_file.setSize(static_cast<uint32_t>(length));
    a_file.m_ownsData = true;
    return ReturnCode(ReturnCode::kSuccess);
}

}

ReturnCode open()
{
    TARVO_ASSERT(!g_archiveData);

    ArchiveReader reader;
    if (!reader.read(kArchiveName))
        return ReturnCode(ReturnCode::kFailure);

    // Every structural fault (bad magic, a cut directory or data block, an
    // entry outside the block, an over-long name, an empty entry) gets the
    // same message: the user can do nothing different about any of them.
    if (!reader.valid())
    {
        char message[256];
        snprintf(message, sizeof(message), "Invalid header in filesystem '%s'.", kArchiveName);
        fatalError(message);
        return ReturnCode(ReturnCode::kFailure);
    }

    g_entries = reader.takeEntries();
    g_archiveData = reader.takeData();
    return ReturnCode(ReturnCode::kSuccess);
}

ReturnCode readFile(const char* a_name, File& a_file)
{
    if (!g_archiveData)
        return readLooseFile(a_name, a_file);

    const FileEntry* entry = findEntry(a_name);
    if (!entry)
    {
        fatalError(a_name, "File not found (.fs in use).");
        return ReturnCode(ReturnCode::kFailure);
    }
    if (a_file.m_ownsData)
        free(a_file.m_data);
    a_file.setData(g_archiveData + entry->offset);
    a_file.setSize(entry->size);
    a_file.m_ownsData = false;
    return ReturnCode(ReturnCode::kSuccess);
}

bool fileExists(const char* a_name)
{
    if (g_archiveData)
        return findEntry(a_name) != nullptr;

    FILE* stream = fopen(a_name, "rb");
    if (!stream)
        return false;
    fclose(stream);
    return true;
}

void close()
{
    if (!g_archiveData)
        return;
    g_entries.clear();
    g_entries.shrink_to_fit();
    free(g_archiveData);
    g_archiveData = nullptr;
}

}
