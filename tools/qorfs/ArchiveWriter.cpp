// Archive writing through zlib's gzip stream (or its transparent mode).
#include "ArchiveWriter.h"

#include "archive/format/ArchiveReader.h"

#include <stdio.h>
#include <zlib.h>

namespace
{

void appendLittleEndian32(std::vector<uint8_t>& a_bytes, uint32_t a_value)
{
    for (int shift = 0; shift < 32; shift += 8)
        a_bytes.push_back(static_cast<uint8_t>(a_value >> shift));
}

std::vector<uint8_t> buildHeader(const std::vector<ArchiveWriter::Input>& a_inputs, uint32_t a_key)
{
    std::vector<uint8_t> header = {'Q', 'O', 'R', 'F', 'S', '1'};
    appendLittleEndian32(header, a_key);
    appendLittleEndian32(header, static_cast<uint32_t>(a_inputs.size()));

    const uint8_t nameKey = static_cast<uint8_t>(a_key & 0xFF);
    uint32_t offset = 0;
    for (const ArchiveWriter::Input& input : a_inputs)
    {
        for (char c : input.name)
            header.push_back(static_cast<uint8_t>(c) ^ nameKey);
        header.push_back(nameKey);  // the scrambled terminator
        const uint32_t size = static_cast<uint32_t>(input.contents.size());
        appendLittleEndian32(header, offset ^ a_key);
        appendLittleEndian32(header, size ^ a_key);
        offset += size;
    }
    return header;
}

bool writeAll(gzFile a_stream, const std::vector<uint8_t>& a_bytes)
{
    size_t done = 0;
    while (done < a_bytes.size())
    {
        const size_t left = a_bytes.size() - done;
        const unsigned chunk = left < (1u << 30) ? static_cast<unsigned>(left) : (1u << 30);
        if (gzwrite(a_stream, a_bytes.data() + done, chunk) != static_cast<int>(chunk))
            return false;
        done += chunk;
    }
    return true;
}

}

bool ArchiveWriter::write(const char* a_path, const std::vector<Input>& a_inputs, uint32_t a_key,
                          bool a_plain, std::string& a_error)
{
    uint64_t total = 0;
    for (const Input& input : a_inputs)
    {
        if (input.name.empty() || input.name.size() > ArchiveReader::kMaxNameLength)
        {
            a_error = "\"" + input.name + "\": a name must have 1 to 259 bytes";
            return false;
        }
        if (input.name.find('/') != std::string::npos)
        {
            a_error = "\"" + input.name + "\": names cannot contain directories";
            return false;
        }
        if (input.contents.empty())
        {
            a_error = "\"" + input.name + "\": empty files cannot be packed";
            return false;
        }
        total += input.contents.size();
    }
    if (total > UINT32_MAX)
    {
        a_error = "the files add up to more than 4 GiB";
        return false;
    }

    const std::string temporary = std::string(a_path) + ".tmp";
    // "T" writes without compression; "9" compresses as small as zlib can.
    gzFile stream = gzopen(temporary.c_str(), a_plain ? "wbT" : "wb9");
    if (!stream)
    {
        a_error = "cannot create " + temporary;
        return false;
    }
    bool ok = writeAll(stream, buildHeader(a_inputs, a_key));
    for (size_t index = 0; ok && index < a_inputs.size(); ++index)
        ok = writeAll(stream, a_inputs[index].contents);
    if (gzclose(stream) != Z_OK)
        ok = false;

    if (!ok || rename(temporary.c_str(), a_path) != 0)
    {
        remove(temporary.c_str());
        a_error = std::string("cannot write ") + a_path;
        return false;
    }
    return true;
}
