// Rewriting the shipped archive through its reader and the tests' builder.
#include "support/ShippedArchive.h"

#include "archive/format/ArchiveReader.h"
#include "support/ArchiveBuilder.h"

bool rewriteArchive(const std::string& a_shipped, const std::string& a_path,
                    const std::string& a_name, const std::vector<uint8_t>& a_bytes)
{
    ArchiveReader reader;
    if (!reader.read(a_shipped.c_str()) || !reader.valid())
        return false;
    ArchiveBuilder builder;
    for (const FileEntry& entry : reader.entries())
    {
        const char* data = reinterpret_cast<const char*>(reader.data()) + entry.offset;
        if (entry.name != a_name)
            builder.add(entry.name, std::string(data, entry.size));
        else if (!a_bytes.empty())
            builder.add(entry.name, std::string(a_bytes.begin(), a_bytes.end()));
    }
    builder.write(a_path, true);
    return true;
}
