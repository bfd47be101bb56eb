// Test seam: records message boxes instead of showing them.
#include "MessageBoxRecorder.h"

namespace
{
MessageBoxRecorder* g_recorder = nullptr;
}

MessageBoxRecorder::MessageBoxRecorder() : m_previous(g_recorder)
{
    g_recorder = this;
}

MessageBoxRecorder::~MessageBoxRecorder()
{
    g_recorder = m_previous;
}

bool MessageBoxRecorder::record(HWND a_owner, LPCSTR a_text, LPCSTR a_caption, UINT a_type)
{
    if (!g_recorder)
        return false;
    g_recorder->m_boxes.push_back(Box{a_owner, a_text, a_caption, a_type});
    return true;
}
