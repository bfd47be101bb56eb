// The packed archive: any bytes as "tarvo.fs" (zlib reads a gzip stream and a
// plain file alike), checked by ArchiveReader and opened by the file system,
// every named file then read back whole. The reader's verdict, the file
// system's message and the entries' bounds must agree.
#include "core/FatalError.h"
#include "archive/format/ArchiveReader.h"
#include "archive/FileSystem.h"
#include "support/ArchiveBuilder.h"
#include "support/TemporaryFolder.h"

#include <MessageBoxRecorder.h>

#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include <string>
#include <unordered_map>
#include <vector>

namespace
{

const char kMessage[] = "Invalid header in filesystem 'tarvo.fs'.";

void checkReader(const ArchiveReader& a_reader)
{
    if (!a_reader.valid())
    {
        bool error = false;
        for (const ArchiveReader::Fault& fault : a_reader.faults())
            error = error || (fault.error && !fault.text.empty());
        if (!error)
            __builtin_trap();  // refused without saying why
        return;
    }
    for (const FileEntry& entry : a_reader.entries())
    {
        if (entry.name.empty() || entry.size == 0 ||
            uint64_t(entry.offset) + entry.size > a_reader.dataSize())
            __builtin_trap();  // a valid archive with an entry outside its block
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* a_data, size_t a_size)
{
    static TemporaryFolder s_folder(true);
    writeBytes("tarvo.fs", std::vector<uint8_t>(a_data, a_data + a_size));

    ArchiveReader reader;
    if (!reader.read("tarvo.fs"))
        __builtin_trap();  // the file is there
    checkReader(reader);

    g_fatalErrorShown = false;
    MessageBoxRecorder boxes;
    ReturnCode opened = FileSystem::open();
    const bool loaded = opened.succeeded();
    if (loaded != reader.valid())
        __builtin_trap();
    if (!loaded)
    {
        if (boxes.boxes().size() != 1 || boxes.boxes()[0].text != kMessage)
            __builtin_trap();
        return 0;
    }
    // Each name gives the bytes of its first entry, read by both readers alike.
    std::unordered_map<std::string, const FileEntry*> first;
    for (const FileEntry& entry : reader.entries())
        first.emplace(entry.name, &entry);
    for (const auto& named : first)
    {
        File file;
        ReturnCode read = FileSystem::readFile(named.first.c_str(), file);
        if (read.failed() || file.m_size != named.second->size ||
            memcmp(file.m_data, reader.data() + named.second->offset, file.m_size) != 0)
            __builtin_trap();
    }
    FileSystem::close();
    return 0;
}
