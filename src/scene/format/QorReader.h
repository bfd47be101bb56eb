// Parses the bytes of a scene file into records, checking everything the
// loader and the device rely on, without a device. The demo's loader and the
// qorscene tool both read through it, so they agree on what is valid.
#pragma once

#include "scene/format/QorFile.h"

#include <stddef.h>
#include <stdint.h>

#include <string>

class QorReader
{
public:
    // Fills a_file from a_size bytes, or returns false with a_error naming
    // the first fault and its byte offset. The end of the data ends the file
    // where a record could start. Nothing is read outside the data, and no
    // count is allocated before the data is known to hold it.
    static bool read(const uint8_t* a_data, size_t a_size, QorFile& a_file, std::string& a_error);

private:
    QorReader(const uint8_t* a_data, size_t a_size) : m_data(a_data), m_size(a_size) {}

    bool readFile(QorFile& a_file);
    bool readMesh(QorMesh& a_mesh);
    bool readMaterial(QorMaterial& a_material);
    bool readCamera(QorCamera& a_camera);
    bool readLight(QorLight& a_light);
    bool readAnimation(QorAnimation& a_animation);

    // Each fails with a message naming a_what when the data ends first.
    bool need(uint64_t a_bytes, const char* a_what);
    bool readName(std::string& a_name);
    template <typename T>
    bool readValue(T& a_value, const char* a_what);
    // a_count items of a_what, a_itemSize bytes each in the file.
    template <typename T>
    bool readArray(std::vector<T>& a_items, uint64_t a_count, const char* a_what);
    bool fail(const std::string& a_message);

    const uint8_t* m_data;
    size_t m_size;
    size_t m_position = 0;
    size_t m_recordStart = 0;
    const char* m_recordKind = "";
    std::string m_recordName;
    uint32_t m_frameCount = 0;
    uint32_t m_meshes = 0;     // mesh records read so far
    uint32_t m_materials = 0;  // material records read so far
    std::string m_error;
};
