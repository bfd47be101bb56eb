// A user file in memory behind the four BASS_FILEPROCS, counting what the
// stream asks of it. Like the demo's soundtrack, it refuses a seek to its
// length or beyond.
#pragma once

#include <bass.h>

#include <stdint.h>

#include <vector>

class MemoryFile
{
public:
    explicit MemoryFile(std::vector<uint8_t> a_bytes) : m_bytes(std::move(a_bytes)) {}

    // The procedures, with this file as their user pointer.
    static const BASS_FILEPROCS s_procs;

    std::vector<uint8_t> m_bytes;
    uint64_t m_cursor = 0;
    int m_reads = 0;
    int m_closes = 0;
};
