// The --trace file: one CSV line per frame with what the timeline chose for
// it, after a header line naming the columns.
#pragma once

#include "StagedFile.h"

#include <stdint.h>
#include <stdio.h>

#include <string>

struct FrameDescription;

class TraceWriter
{
public:
    explicit TraceWriter(const std::string& a_path);
    ~TraceWriter();
    TraceWriter(const TraceWriter&) = delete;
    TraceWriter& operator=(const TraceWriter&) = delete;

    // Creates the temporary file and writes the header. False, with a
    // message on standard error, when it cannot be created.
    bool open();
    // The line of frame a_frame.
    void write(uint32_t a_frame, const FrameDescription& a_trace);
    // Closes and renames to the final name; false, with a message, when a
    // write failed on the way.
    bool finish();

    // The header line, without its line break.
    static const char* header();

private:
    StagedFile m_file;
    FILE* m_stream = nullptr;
};
