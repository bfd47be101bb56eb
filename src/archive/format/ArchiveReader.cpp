// Archive reading with every length, offset and count checked before use.
#include "archive/format/ArchiveReader.h"

#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <zlib.h>

#include <unordered_map>

namespace
{

const char kMagic[6] = {'Q', 'O', 'R', 'F', 'S', '1'};

// Large enough that gzip inflates in big strides; small enough that a
// damaged size field cannot make us reserve gigabytes before the stream
// proves it holds them.
constexpr uint32_t kReadChunk = 16u << 20;  // bytes
// The data block starts this small and doubles as the stream delivers, so
// that a damaged size in a short file costs no large allocation either.
constexpr uint32_t kFirstBlock = 64u << 10;  // bytes

uint32_t littleEndian32(const uint8_t* a_bytes)
{
    return static_cast<uint32_t>(a_bytes[0]) | static_cast<uint32_t>(a_bytes[1]) << 8 |
           static_cast<uint32_t>(a_bytes[2]) << 16 | static_cast<uint32_t>(a_bytes[3]) << 24;
}

}

ArchiveReader::~ArchiveReader()
{
    free(m_data);
}

bool ArchiveReader::read(const char* a_path)
{
    reset();

    // zlib reads a stream without the gzip magic as it stands, so a plain
    // archive of the same layout reads through the same calls.
    gzFile stream = gzopen(a_path, "rb");
    if (!stream)
        return false;
    gzbuffer(stream, 256u << 10);

    uint8_t header[14];
    if (!readStream(stream, header, 6))
    {
        addFault(true, "header cut short: the file ends before its magic");
    }
    else if (memcmp(header, kMagic, sizeof(kMagic)) != 0)
    {
        addFault(true, "bad magic: the file does not begin with \"QORFS1\"");
    }
    else if (!readStream(stream, header + 6, 8))
    {
        addFault(true, "header cut short: the file ends before its key and entry count");
    }
    else
    {
        m_key = littleEndian32(header + 6);
        if (readDirectory(stream, littleEndian32(header + 10)))
        {
            const uint64_t total = checkEntries();
            if (total > UINT32_MAX)
                addFault(true,
                         "the entries' sizes add up to %llu bytes, more than a data block can hold",
                         static_cast<unsigned long long>(total));
            else
                readDataBlock(stream, static_cast<uint32_t>(total));
        }
    }

    gzclose(stream);
    return true;
}

bool ArchiveReader::valid() const
{
    if (!m_data)
        return false;
    for (const Fault& fault : m_faults)
    {
        if (fault.error)
            return false;
    }
    return true;
}

std::string ArchiveReader::firstError() const
{
    for (const Fault& fault : m_faults)
    {
        if (fault.error)
            return fault.text;
    }
    return "damaged";
}

std::vector<FileEntry> ArchiveReader::takeEntries()
{
    return std::move(m_entries);
}

uint8_t* ArchiveReader::takeData()
{
    uint8_t* data = m_data;
    m_data = nullptr;
    m_dataSize = 0;
    return data;
}

void ArchiveReader::reset()
{
    m_entries.clear();
    m_faults.clear();
    free(m_data);
    m_data = nullptr;
    m_dataSize = 0;
    m_key = 0;
    m_streamFault = false;
}

void ArchiveReader::addFault(bool a_error, const char* a_format, ...)
{
    char text[512];
    va_list arguments;
    va_start(arguments, a_format);
    vsnprintf(text, sizeof(text), a_format, arguments);
    va_end(arguments);
    m_faults.push_back(Fault{a_error, text});
}

// Reads exactly a_size bytes; false when the stream ends first.
bool ArchiveReader::readStream(gzFile_s* a_stream, void* a_buffer, uint32_t a_size)
{
    uint8_t* out = static_cast<uint8_t*>(a_buffer);
    while (a_size > 0)
    {
        const uint32_t chunk = a_size < kReadChunk ? a_size : kReadChunk;
        const int count = gzread(a_stream, out, chunk);
        if (count <= 0)
        {
            noteStreamFault(a_stream);
            return false;
        }
        out += count;
        a_size -= static_cast<uint32_t>(count);
    }
    return true;
}

// A damaged or cut gzip stream is reported once, as it explains every later
// shortfall.
void ArchiveReader::noteStreamFault(gzFile_s* a_stream)
{
    int code = Z_OK;
    const char* message = gzerror(a_stream, &code);
    if (code != Z_OK && !m_streamFault)
    {
        m_streamFault = true;
        addFault(true, "compressed stream damaged: %s", message);
    }
}

// Entries are read in file order. Each name is scrambled with the key's low
// byte and ends at the byte that unscrambles to zero; offset and size are
// scrambled with the whole key.
bool ArchiveReader::readDirectory(gzFile_s* a_stream, uint32_t a_count)
{
    const uint8_t nameKey = static_cast<uint8_t>(m_key & 0xFF);
    for (uint32_t index = 0; index < a_count; ++index)
    {
        FileEntry entry{std::string(), 0, 0};
        uint32_t length = 0;
        for (;;)
        {
            uint8_t byte;
            if (!readStream(a_stream, &byte, 1))
            {
                addFault(
                    true,
                    "directory cut short in the name of entry %u; the header promises %u entries",
                    index, a_count);
                return false;
            }
            byte ^= nameKey;
            if (byte == 0)
                break;
            // Keep scanning an over-long name to its end, so the entries
            // after it can still be checked.
            if (length < kMaxNameLength)
                entry.name.push_back(static_cast<char>(byte));
            ++length;
        }

        uint8_t fields[8];
        if (!readStream(a_stream, fields, sizeof(fields)))
        {
            addFault(true,
                     "directory cut short in the offset or size of entry %u; the header promises "
                     "%u entries",
                     index, a_count);
            return false;
        }
        entry.offset = littleEndian32(fields) ^ m_key;
        entry.size = littleEndian32(fields + 4) ^ m_key;

        if (length > kMaxNameLength)
            addFault(true, "entry %u: name of %u bytes is longer than %u bytes", index, length,
                     kMaxNameLength);
        m_entries.push_back(std::move(entry));
    }
    return true;
}

// Returns the data block's size: the sum of all entry sizes.
uint64_t ArchiveReader::checkEntries()
{
    uint64_t total = 0;
    for (const FileEntry& entry : m_entries)
        total += entry.size;

    std::unordered_map<std::string, size_t> firstIndex;
    for (size_t index = 0; index < m_entries.size(); ++index)
    {
        const FileEntry& entry = m_entries[index];
        const char* name = entry.name.c_str();
        if (entry.name.empty())
            addFault(true, "entry %zu: empty name", index);
        if (entry.size == 0)
            addFault(true, "entry %zu \"%s\": size is 0", index, name);
        else if (static_cast<uint64_t>(entry.offset) + entry.size > total)
            addFault(true,
                     "entry %zu \"%s\": bytes %u to %llu lie outside the %llu-byte data block",
                     index, name, entry.offset,
                     static_cast<unsigned long long>(entry.offset) + entry.size - 1,
                     static_cast<unsigned long long>(total));

        const auto inserted = firstIndex.emplace(entry.name, index);
        if (!inserted.second)
            addFault(false, "entry %zu \"%s\" repeats entry %zu; only the first is read", index,
                     name, inserted.first->second);
    }
    return total;
}

// The block grows as the stream delivers it, up to the size the directory
// promises, so a damaged size costs no more memory than the stream holds.
void ArchiveReader::readDataBlock(gzFile_s* a_stream, uint32_t a_size)
{
    uint32_t capacity = a_size < kFirstBlock ? a_size : kFirstBlock;
    // Never null, even for an empty block: a loaded archive has a block.
    uint8_t* block = static_cast<uint8_t*>(malloc(capacity > 0 ? capacity : 1));
    uint32_t filled = 0;
    while (block && filled < a_size)
    {
        if (filled == capacity)
        {
            capacity = a_size - capacity < capacity ? a_size : capacity * 2;
            uint8_t* grown = static_cast<uint8_t*>(realloc(block, capacity));
            if (!grown)
            {
                free(block);
                block = nullptr;
                break;
            }
            block = grown;
        }
        const uint32_t room = capacity - filled;
        const int count = gzread(a_stream, block + filled, room < kReadChunk ? room : kReadChunk);
        if (count <= 0)
        {
            noteStreamFault(a_stream);
            break;
        }
        filled += static_cast<uint32_t>(count);
    }

    if (!block)
    {
        addFault(true, "out of memory for a data block of %u bytes", a_size);
        return;
    }
    m_data = block;
    m_dataSize = filled;

    if (filled < a_size)
    {
        addFault(true, "data block cut short: %u of %u bytes", filled, a_size);
        return;
    }

    // The block must end the stream: bytes after it mean the directory's
    // sizes are wrong. A gzip stream must also end cleanly, with its check.
    uint8_t probe;
    if (readStream(a_stream, &probe, 1))
        addFault(true, "bytes follow the %u-byte data block", a_size);
}
