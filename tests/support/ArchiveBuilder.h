// Builds archive bytes by hand for tests, straight from the documented
// layout, including layouts no honest packer would write.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

class ArchiveBuilder
{
public:
    explicit ArchiveBuilder(uint32_t a_key = 0xA5C3E17Bu) : m_key(a_key) {}

    // Adds an entry whose offset is the data written so far.
    ArchiveBuilder& add(const std::string& a_name, const std::string& a_contents);
    // Adds a directory entry with the given fields and no data of its own.
    ArchiveBuilder& addRaw(const std::string& a_name, uint32_t a_offset, uint32_t a_size);
    // Replaces the count written in the header (normally the number of entries).
    ArchiveBuilder& count(uint32_t a_count);
    ArchiveBuilder& magic(const std::string& a_magic);
    // Bytes appended after the data block.
    ArchiveBuilder& trailer(const std::string& a_bytes);

    std::vector<uint8_t> bytes() const;

    // Writes bytes() to a_path, plain or as a gzip stream.
    void write(const std::string& a_path, bool a_gzip) const;

private:
    struct Entry
    {
        std::string name;
        uint32_t offset;
        uint32_t size;
    };

    uint32_t m_key;
    std::string m_magic = "QORFS1";
    std::vector<Entry> m_entries;
    std::string m_data;
    std::string m_trailer;
    bool m_countSet = false;
    uint32_t m_count = 0;
};

// Writes a_bytes to a_path as they are.
void writeBytes(const std::string& a_path, const std::vector<uint8_t>& a_bytes);
std::vector<uint8_t> readBytes(const std::string& a_path);
// Compresses a_bytes into a gzip stream.
std::vector<uint8_t> gzipBytes(const std::vector<uint8_t>& a_bytes);
