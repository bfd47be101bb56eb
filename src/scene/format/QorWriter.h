// Turns records into the bytes of a scene file, exactly as the demo's loader
// reads them; the tests, the content generators and the tools write through
// it. It can report where each field went, so that a test can damage one
// field by name.
#pragma once

#include "scene/format/QorFile.h"

#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

// Where the writer put one field: the record's position in QorFile::records
// (kHeader for the frame count and the end tag), the field's name as the
// format calls it ("vertexCount", "sourceIndex", ...), its offset and size.
struct QorField
{
    static constexpr size_t kHeader = ~size_t(0);
    size_t record;
    std::string name;
    size_t offset;
    size_t size;
};

class QorWriter
{
public:
    // The tag written after the last record.
    static constexpr uint8_t kEndTag = 0xFF;

    // The file's bytes, or false with a_error when a record cannot be
    // written as it stands: a name of more than 254 bytes, a texture name of
    // more than 259, a track whose key count is neither the frame count nor
    // (for meshes) 1, a sprite mesh without points, extra bytes that disagree
    // with the extra size, a camera's field of view that is not above 0 (no
    // projection can be built from it). Records the reader would refuse for
    // their content
    // (indices past the vertices, say) are written as given.
    static bool write(const QorFile& a_file, std::vector<uint8_t>& a_bytes, std::string& a_error,
                      std::vector<QorField>* a_fields = nullptr);
};
