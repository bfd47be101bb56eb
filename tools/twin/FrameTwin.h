// One run of the frame twin: the demo's own application object in a window
// of a fixed size, its clock stepped by the capture audio device at a fixed
// rate from demo time 0, every frame drawn, and the frames nearest to the
// chosen beats read back and written as PNG. The same program built against
// our layers and against the real Direct3D 9 steps the very same sequence of
// times, so that everything the demo carries from frame to frame (camera
// times, the spectrum's smoothing, the finished-frame count) is equal when a
// chosen frame is drawn, and the two pictures can be compared pixel for
// pixel.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

class FrameTwin
{
public:
    // Exit statuses of run().
    static constexpr int kDone = 0;
    static constexpr int kFailed = 1;    // the demo or an output failed
    static constexpr int kBadInput = 2;  // options, archive or output folder

    // Parses the command line (without the program's name); false with
    // m_error set when it is not one the program understands.
    bool parse(const std::vector<std::string>& a_arguments);
    static const char* usage();

    // Renders and writes what parse asked for; messages go to standard
    // error, the timing line to standard output. Runs once per process: the
    // demo keeps process-wide state.
    int run();

    std::string m_archive;
    std::string m_folder;  // where the PNG files go
    uint32_t m_width = 640;
    uint32_t m_height = 360;
    uint32_t m_fps = 2;  // steps of demo time per second
    std::vector<float> m_beats = {32.0f, 100.0f, 136.0f, 224.0f, 336.0f};
    bool m_help = false;
    std::string m_error;

private:
    bool enterArchiveFolder();
};
