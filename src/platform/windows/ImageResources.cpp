// Resources on Windows: the loader maps them with the executable's image,
// from the resource script windres compiled. Registering compares the
// program's table with what the image holds, so the resource script and the
// table the Linux build shows cannot drift apart unnoticed: a difference
// fails an assertion naming the resource.
#include <Resources.h>

#include "core/Assert.h"

#include <string.h>

#include <string>

namespace
{

// Reads the DLGTEMPLATEEX layout (the only one windres writes for DIALOGEX)
// with a bounds check on every field.
class TemplateReader
{
public:
    TemplateReader(const uint8_t* a_data, size_t a_size) : m_data(a_data), m_size(a_size) {}

    bool ok() const { return m_ok; }

    uint16_t word()
    {
        uint16_t value = 0;
        take(&value, sizeof(value));
        return value;
    }
    uint32_t dword()
    {
        uint32_t value = 0;
        take(&value, sizeof(value));
        return value;
    }
    int16_t coordinate() { return static_cast<int16_t>(word()); }

    // A string or an ordinal (0xFFFF then the number), given back as the
    // string, or "#" and the number.
    std::string stringOrOrdinal()
    {
        const uint16_t first = word();
        if (first == 0xFFFF)
            return "#" + std::to_string(word());
        std::string text;
        for (uint16_t c = first; m_ok && c != 0; c = word())
            text += c < 0x80 ? static_cast<char>(c) : '?';
        return text;
    }

    void skip(size_t a_bytes) { take(nullptr, a_bytes); }
    void alignToDword() { skip((4 - m_offset % 4) % 4); }

private:
    void take(void* a_out, size_t a_bytes)
    {
        if (!m_ok || a_bytes > m_size - m_offset)
        {
            m_ok = false;
            return;
        }
        if (a_out)
            memcpy(a_out, m_data + m_offset, a_bytes);
        m_offset += a_bytes;
    }

    const uint8_t* m_data;
    size_t m_size;
    size_t m_offset = 0;
    bool m_ok = true;
};

bool findResource(WORD a_id, LPCSTR a_type, const uint8_t*& a_data, size_t& a_size)
{
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(a_id), a_type);
    HGLOBAL loaded = found ? LoadResource(nullptr, found) : nullptr;
    a_data = loaded ? static_cast<const uint8_t*>(LockResource(loaded)) : nullptr;
    a_size = found ? SizeofResource(nullptr, found) : 0;
    return a_data != nullptr;
}

// Window class names compare without case, and the resource compiler may
// write the predefined classes as their atoms instead.
bool sameClass(const std::string& a_image, const char* a_table)
{
    const char* name = a_image == "#128"   ? "Button"
                       : a_image == "#130" ? "Static"
                       : a_image == "#133" ? "ComboBox"
                                           : a_image.c_str();
    return lstrcmpiA(name, a_table) == 0;
}

std::string itemText(const char* a_text)
{
    if (IS_INTRESOURCE(a_text))
        return "#" + std::to_string(reinterpret_cast<uintptr_t>(a_text));
    return a_text;
}

bool sameItem(TemplateReader& a_reader, const DialogItemTemplate& a_item)
{
    a_reader.alignToDword();
    a_reader.dword();  // help id
    a_reader.dword();  // extended style
    // The resource compiler makes every control a visible child.
    const DWORD style = a_reader.dword() & ~static_cast<DWORD>(WS_CHILD | WS_VISIBLE);
    const int16_t x = a_reader.coordinate();
    const int16_t y = a_reader.coordinate();
    const int16_t cx = a_reader.coordinate();
    const int16_t cy = a_reader.coordinate();
    const int32_t id = static_cast<int32_t>(a_reader.dword());
    const std::string itemClass = a_reader.stringOrOrdinal();
    const std::string text = a_reader.stringOrOrdinal();
    a_reader.skip(a_reader.word());  // creation data
    return a_reader.ok() && style == a_item.style && x == a_item.x && y == a_item.y &&
           cx == a_item.cx && cy == a_item.cy && static_cast<int16_t>(id) == a_item.id &&
           sameClass(itemClass, a_item.className) && text == itemText(a_item.text);
}

bool sameDialog(const uint8_t* a_data, size_t a_size, const DialogTemplate& a_dialog)
{
    TemplateReader reader(a_data, a_size);
    if (reader.word() != 1 || reader.word() != 0xFFFF)
        return false;  // not DLGTEMPLATEEX
    reader.dword();    // help id
    const DWORD exStyle = reader.dword();
    const DWORD style = reader.dword();
    const uint16_t items = reader.word();
    const int16_t x = reader.coordinate();
    const int16_t y = reader.coordinate();
    const int16_t cx = reader.coordinate();
    const int16_t cy = reader.coordinate();
    reader.stringOrOrdinal();  // menu
    reader.stringOrOrdinal();  // window class
    const std::string caption = reader.stringOrOrdinal();
    const uint16_t pointSize = reader.word();
    reader.word();   // weight
    reader.skip(2);  // italic, character set
    const std::string font = reader.stringOrOrdinal();
    if (!reader.ok() || style != a_dialog.style || exStyle != a_dialog.exStyle || x != a_dialog.x ||
        y != a_dialog.y || cx != a_dialog.cx || cy != a_dialog.cy || caption != a_dialog.caption ||
        pointSize != a_dialog.pointSize || font != a_dialog.fontName ||
        items != a_dialog.items.size())
        return false;
    for (const DialogItemTemplate& item : a_dialog.items)
        if (!sameItem(reader, item))
            return false;
    return true;
}

}

void Resources::addDialog(WORD a_id, const DialogTemplate* a_dialog)
{
    const uint8_t* data = nullptr;
    size_t size = 0;
    const bool imageMatchesTable =
        a_dialog && findResource(a_id, RT_DIALOG, data, size) && sameDialog(data, size, *a_dialog);
    TARVO_ASSERT(imageMatchesTable);
}

// A bitmap resource is the .bmp file without its 14-byte file header.
void Resources::addBitmap(WORD a_id, const uint8_t* a_bmp, size_t a_size)
{
    const size_t kFileHeader = 14;
    const uint8_t* data = nullptr;
    size_t size = 0;
    const bool imageMatchesTable =
        a_bmp && a_size > kFileHeader && findResource(a_id, RT_BITMAP, data, size) &&
        size == a_size - kFileHeader && memcmp(data, a_bmp + kFileHeader, size) == 0;
    TARVO_ASSERT(imageMatchesTable);
}

// The icon resource holds the same picture as the .bmp, with the AND mask
// icons add; its presence is what the program relies on.
void Resources::addIcon(WORD a_id, const uint8_t* a_bmp, size_t a_size)
{
    const uint8_t* data = nullptr;
    size_t size = 0;
    const bool imageMatchesTable =
        a_bmp && a_size != 0 && findResource(a_id, RT_GROUP_ICON, data, size);
    TARVO_ASSERT(imageMatchesTable);
}
