// Reads a packed archive and checks its structure. The demo's file system and
// the qorfs tool both read through here, so they agree on what is valid.
//
// Layout of the (optionally gzip-compressed) stream: "QORFS1", a 32-bit key,
// a 32-bit entry count, the scrambled directory, then the data block.
#pragma once

#include "archive/format/FileEntry.h"

#include <stdint.h>

#include <string>
#include <vector>

struct gzFile_s;  // zlib's stream

class ArchiveReader
{
public:
    static constexpr uint32_t kMaxNameLength = 259;  // bytes, without the terminator

    // A structural fault. Errors make the archive invalid; warnings mark an
    // archive that reads, but not as its maker probably meant.
    struct Fault
    {
        bool error;
        std::string text;
    };

    ArchiveReader() = default;
    ~ArchiveReader();
    ArchiveReader(const ArchiveReader&) = delete;
    ArchiveReader& operator=(const ArchiveReader&) = delete;

    // Reads a_path as far as its structure allows. False only when the file
    // cannot be opened; faults() then is empty.
    bool read(const char* a_path);

    // Results of the last read.
    bool valid() const;
    const std::vector<Fault>& faults() const { return m_faults; }
    // The first error's text, for a one-line message; "damaged" when the
    // archive is invalid without one.
    std::string firstError() const;
    uint32_t key() const { return m_key; }
    const std::vector<FileEntry>& entries() const { return m_entries; }
    const uint8_t* data() const { return m_data; }
    uint32_t dataSize() const { return m_dataSize; }  // bytes

    // Hand the directory and the data block over to the caller; the block is
    // allocated with malloc and never null after a valid read.
    std::vector<FileEntry> takeEntries();
    uint8_t* takeData();

private:
    void reset();
    void addFault(bool a_error, const char* a_format, ...) __attribute__((format(printf, 3, 4)));
    bool readStream(gzFile_s* a_stream, void* a_buffer, uint32_t a_size);
    bool readDirectory(gzFile_s* a_stream, uint32_t a_count);
    void noteStreamFault(gzFile_s* a_stream);
    uint64_t checkEntries();
    void readDataBlock(gzFile_s* a_stream, uint32_t a_size);

    std::vector<FileEntry> m_entries;
    std::vector<Fault> m_faults;
    uint8_t* m_data = nullptr;  // owned, malloc'd
    uint32_t m_dataSize = 0;    // bytes
    uint32_t m_key = 0;
    bool m_streamFault = false;  // a compressed-stream fault was reported
};
