// Test seam of the Win32 layer, not part of the mirrored API: while a
// MessageBoxRecorder exists, MessageBoxA records each box instead of showing
// it and answers IDOK, so tests can check what the user would have been told.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class MessageBoxRecorder
{
public:
    struct Box
    {
        HWND owner;
        std::string text;
        std::string caption;
        UINT type;
    };

    MessageBoxRecorder();
    ~MessageBoxRecorder();
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    const std::vector<Box>& boxes() const { return m_boxes; }

    // Called by MessageBoxA with its caption and text (never null); true
    // when a recorder took the box.
    static bool record(HWND a_owner, LPCSTR a_text, LPCSTR a_caption, UINT a_type);

private:
    std::vector<Box> m_boxes;
    MessageBoxRecorder* m_previous;  // recorders nest; the newest one records
};
