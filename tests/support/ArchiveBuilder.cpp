// Hand-built archives for tests.
#include "support/ArchiveBuilder.h"

#include <stdio.h>
#include <zlib.h>

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace
{

void put32(std::vector<uint8_t>& a_bytes, uint32_t a_value)
{
    for (int shift = 0; shift < 32; shift += 8)
        a_bytes.push_back(static_cast<uint8_t>(a_value >> shift));
}

}

ArchiveBuilder& ArchiveBuilder::add(const std::string& a_name, const std::string& a_contents)
{
    m_entries.push_back(Entry{a_name, static_cast<uint32_t>(m_data.size()),
                              static_cast<uint32_t>(a_contents.size())});
    m_data += a_contents;
    return *this;
}

ArchiveBuilder& ArchiveBuilder::addRaw(const std::string& a_name, uint32_t a_offset,
                                       uint32_t a_size)
{
    m_entries.push_back(Entry{a_name, a_offset, a_size});
    return *this;
}

ArchiveBuilder& ArchiveBuilder::count(uint32_t a_count)
{
    m_countSet = true;
    m_count = a_count;
    return *this;
}

ArchiveBuilder& ArchiveBuilder::magic(const std::string& a_magic)
{
    m_magic = a_magic;
    return *this;
}

ArchiveBuilder& ArchiveBuilder::trailer(const std::string& a_bytes)
{
    m_trailer = a_bytes;
    return *this;
}

std::vector<uint8_t> ArchiveBuilder::bytes() const
{
    std::vector<uint8_t> out(m_magic.begin(), m_magic.end());
    put32(out, m_key);
    put32(out, m_countSet ? m_count : static_cast<uint32_t>(m_entries.size()));
    const uint8_t nameKey = static_cast<uint8_t>(m_key);
    for (const Entry& entry : m_entries)
    {
        for (char c : entry.name)
            out.push_back(static_cast<uint8_t>(c) ^ nameKey);
        out.push_back(nameKey);
        put32(out, entry.offset ^ m_key);
        put32(out, entry.size ^ m_key);
    }
    out.insert(out.end(), m_data.begin(), m_data.end());
    out.insert(out.end(), m_trailer.begin(), m_trailer.end());
    return out;
}

void ArchiveBuilder::write(const std::string& a_path, bool a_gzip) const
{
    writeBytes(a_path, a_gzip ? gzipBytes(bytes()) : bytes());
}

void writeBytes(const std::string& a_path, const std::vector<uint8_t>& a_bytes)
{
    std::ofstream stream(a_path, std::ios::binary | std::ios::trunc);
    stream.write(reinterpret_cast<const char*>(a_bytes.data()),
                 static_cast<std::streamsize>(a_bytes.size()));
    if (!stream)
        throw std::runtime_error("cannot write " + a_path);
}

std::vector<uint8_t> readBytes(const std::string& a_path)
{
    std::ifstream stream(a_path, std::ios::binary);
    if (!stream)
        throw std::runtime_error("cannot read " + a_path);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(stream),
                                std::istreambuf_iterator<char>());
}

std::vector<uint8_t> gzipBytes(const std::vector<uint8_t>& a_bytes)
{
    z_stream stream{};
    // 15 window bits plus 16: a gzip wrapper rather than zlib's own.
    if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) !=
        Z_OK)
        throw std::runtime_error("deflateInit2 failed");
    std::vector<uint8_t> out(deflateBound(&stream, static_cast<uLong>(a_bytes.size())));
    stream.next_in = const_cast<Bytef*>(a_bytes.data());
    stream.avail_in = static_cast<uInt>(a_bytes.size());
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    const int result = deflate(&stream, Z_FINISH);
    deflateEnd(&stream);
    if (result != Z_STREAM_END)
        throw std::runtime_error("deflate failed");
    out.resize(stream.total_out);
    return out;
}
