// The resource table.
#include "Resources.h"

#include <map>

namespace
{

std::map<WORD, const DialogTemplate*> g_dialogs;
std::map<WORD, std::vector<uint8_t>> g_bitmaps;
std::map<WORD, std::vector<uint8_t>> g_icons;

bool ordinal(LPCSTR a_name, WORD& a_id)
{
    if (!a_name || !IS_INTRESOURCE(a_name))
        return false;
    a_id = static_cast<WORD>(reinterpret_cast<UINT_PTR>(a_name));
    return true;
}

template <typename T>
const T* lookUp(const std::map<WORD, T>& a_table, LPCSTR a_name)
{
    WORD id = 0;
    if (!ordinal(a_name, id))
        return nullptr;
    const auto found = a_table.find(id);
    return found == a_table.end() ? nullptr : &found->second;
}

}

void Resources::addDialog(WORD a_id, const DialogTemplate* a_dialog)
{
    g_dialogs[a_id] = a_dialog;
}

void Resources::addBitmap(WORD a_id, const uint8_t* a_bmp, size_t a_size)
{
    g_bitmaps[a_id].assign(a_bmp, a_bmp + a_size);
}

void Resources::addIcon(WORD a_id, const uint8_t* a_bmp, size_t a_size)
{
    g_icons[a_id].assign(a_bmp, a_bmp + a_size);
}

const DialogTemplate* Resources::dialog(LPCSTR a_name)
{
    const DialogTemplate* const* found = lookUp(g_dialogs, a_name);
    return found ? *found : nullptr;
}

const std::vector<uint8_t>* Resources::bitmap(LPCSTR a_name)
{
    return lookUp(g_bitmaps, a_name);
}

const std::vector<uint8_t>* Resources::icon(LPCSTR a_name)
{
    return lookUp(g_icons, a_name);
}

// The handle is the resource id: small, non-zero and stable.
HICON Resources::iconHandle(LPCSTR a_name)
{
    WORD id = 0;
    if (!ordinal(a_name, id) || !g_icons.count(id))
        return nullptr;
    return reinterpret_cast<HICON>(static_cast<UINT_PTR>(id));
}

const std::vector<uint8_t>* Resources::iconFromHandle(HICON a_icon)
{
    const UINT_PTR value = reinterpret_cast<UINT_PTR>(a_icon);
    if (value == 0 || value > 0xFFFF)
        return nullptr;
    return icon(MAKEINTRESOURCEA(value));
}
