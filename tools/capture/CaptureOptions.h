// What tarvo-capture was asked to do: its command line, checked and parsed.
#pragma once

#include "core/LauncherSettings.h"

#include <stdint.h>

#include <string>
#include <vector>

class CaptureOptions
{
public:
    // The demo's own picture size and a video's usual frame rate.
    static constexpr uint32_t kDefaultWidth = kFrameWidth;
    static constexpr uint32_t kDefaultHeight = kFrameHeight;
    static constexpr uint32_t kDefaultFps = 60;
    // Sides are even (4:2:0 video halves them) and at most this many pixels.
    static constexpr uint32_t kMaxSide = 8192;
    static constexpr uint32_t kMaxFps = 240;

    // Parses a_arguments (without the program name). False with m_error set
    // when an option is unknown, lacks its value or has a value out of range.
    bool parse(const std::vector<std::string>& a_arguments);

    // The text --help prints.
    static const char* usage();

    uint32_t m_width = kDefaultWidth;
    uint32_t m_height = kDefaultHeight;
    uint32_t m_fps = kDefaultFps;
    float m_aspect = 0.0f;  // of the monitor shown; 0 = the picture's own, width / height
    // The range as given: "FIRST:LAST" frames or "FROM:TO" beats, either end
    // optional; empty = the whole demo. FrameRange resolves it.
    std::string m_frames;
    std::string m_beats;
    std::string m_pngFolder;  // empty: no PNG frames
    std::string m_traceFile;  // empty: no trace
    std::string m_output;     // the MP4; empty when only PNG frames were asked for
    std::string m_archive = "tarvo.fs";
    // What the MP4 holds: parts of a video made on several machines carry
    // pictures only and the range's sound is written once, on its own.
    bool m_noSound = false;
    bool m_soundOnly = false;
    bool m_lossless = false;
    // Only print the range resolved, "FIRST LAST", and render nothing.
    bool m_printRange = false;
    bool m_help = false;
    std::string m_error;
};
