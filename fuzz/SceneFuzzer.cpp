// Scene files: any bytes through QorReader. A file it accepts must write
// back through QorWriter, and the written bytes must read to records that
// write to the same bytes again (reserved fields are dropped on the first
// pass, so only the second is a fixed point). A refusal must say why.
#include "scene/format/QorReader.h"
#include "scene/format/QorWriter.h"

#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* a_data, size_t a_size)
{
    QorFile file;
    std::string error;
    if (!QorReader::read(a_data, a_size, file, error))
    {
        if (error.empty())
            __builtin_trap();
        return 0;
    }
    std::vector<uint8_t> written;
    if (!QorWriter::write(file, written, error))
        __builtin_trap();  // the writer takes whatever the reader accepts

    QorFile again;
    if (!QorReader::read(written.data(), written.size(), again, error))
        __builtin_trap();  // the reader takes whatever the writer writes
    std::vector<uint8_t> rewritten;
    if (!QorWriter::write(again, rewritten, error) || rewritten != written)
        __builtin_trap();
    return 0;
}
