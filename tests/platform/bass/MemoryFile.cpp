// The four user file procedures over a MemoryFile.
#include "platform/bass/MemoryFile.h"

#include <string.h>

namespace
{

void CALLBACK closeFile(void* a_user)
{
    ++static_cast<MemoryFile*>(a_user)->m_closes;
}

QWORD CALLBACK fileLength(void* a_user)
{
    return static_cast<MemoryFile*>(a_user)->m_bytes.size();
}

DWORD CALLBACK readFile(void* a_buffer, DWORD a_length, void* a_user)
{
    MemoryFile& file = *static_cast<MemoryFile*>(a_user);
    const uint64_t left = file.m_bytes.size() - file.m_cursor;
    const DWORD count = a_length < left ? a_length : static_cast<DWORD>(left);
    memcpy(a_buffer, file.m_bytes.data() + file.m_cursor, count);
    file.m_cursor += count;
    ++file.m_reads;
    return count;
}

BOOL CALLBACK seekFile(QWORD a_offset, void* a_user)
{
    MemoryFile& file = *static_cast<MemoryFile*>(a_user);
    if (a_offset >= file.m_bytes.size())
        return FALSE;
    file.m_cursor = a_offset;
    return TRUE;
}

}

const BASS_FILEPROCS MemoryFile::s_procs = {closeFile, fileLength, readFile, seekFile};
