// How far a capture has come: a bar redrawn in place on a terminal, plain
// lines at intervals otherwise (a log file, a batch runner's output).
#pragma once

#include <stdint.h>
#include <stdio.h>

#include <chrono>

class ProgressReporter
{
public:
    // Frames a_first up to a_last at a_fps, reported on a_stream; a_terminal
    // picks the bar, otherwise a line at most every a_lineSeconds.
    ProgressReporter(FILE* a_stream, bool a_terminal, uint32_t a_first, uint32_t a_last,
                     double a_lineSeconds = 10.0);

    // Frame a_frame is rendered: it showed beat a_beat of part a_part.
    void frameDone(uint32_t a_frame, float a_beat, const char* a_part);
    // The last words: frames, time taken and their rate.
    void finish();

private:
    using Clock = std::chrono::steady_clock;

    void report(uint32_t a_frame, float a_beat, const char* a_part);

    FILE* m_stream;
    bool m_terminal;
    uint32_t m_first;
    uint32_t m_last;
    double m_lineSeconds;
    uint32_t m_done = 0;
    Clock::time_point m_start = Clock::now();
    Clock::time_point m_lastReport{};
    bool m_reported = false;
};
