// The program's resource table, standing in for the resources Win32 finds in
// an executable: the program registers its dialogs, bitmaps and icons once at
// start, and the dialog manager, LoadIconA and SetClassLongA look them up.
// Not part of the mirrored API.
#pragma once

#include <windows.h>

#include <stddef.h>
#include <stdint.h>

#include <vector>

// A control as a dialog template gives it; positions and sizes in dialog units.
struct DialogItemTemplate
{
    const char* className;  // "Button", "ComboBox" or "Static"
    const char* text;       // or MAKEINTRESOURCEA(id) of a bitmap, for SS_BITMAP
    int id;                 // -1 for controls nobody addresses
    short x;
    short y;
    short cx;
    short cy;
    DWORD style;
};

struct DialogTemplate
{
    DWORD style;
    DWORD exStyle;
    short x;
    short y;
    short cx;
    short cy;
    const char* caption;
    const char* fontName;
    WORD pointSize;
    std::vector<DialogItemTemplate> items;  // in tab order
};

class Resources
{
public:
    // Registration: the data must outlive the program's use of it.
    static void addDialog(WORD a_id, const DialogTemplate* a_dialog);
    // a_bmp: the bytes of a .bmp file (palettised or 32-bit with alpha).
    static void addBitmap(WORD a_id, const uint8_t* a_bmp, size_t a_size);
    static void addIcon(WORD a_id, const uint8_t* a_bmp, size_t a_size);

    // Lookups by MAKEINTRESOURCEA id; null when not registered.
    static const DialogTemplate* dialog(LPCSTR a_name);
    static const std::vector<uint8_t>* bitmap(LPCSTR a_name);
    static const std::vector<uint8_t>* icon(LPCSTR a_name);

    // Icons handed out by LoadIconA are small numbers, so that they survive
    // the 32-bit class values of SetClassLongA.
    static HICON iconHandle(LPCSTR a_name);
    static const std::vector<uint8_t>* iconFromHandle(HICON a_icon);
};
