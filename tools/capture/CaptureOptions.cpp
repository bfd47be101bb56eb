// Command-line parsing of tarvo-capture.
#include "CaptureOptions.h"

#include <errno.h>
#include <stdlib.h>

#include <utility>

namespace
{

// A whole decimal number from a_min to a_max, nothing else.
bool parseNumber(const std::string& a_text, uint32_t a_min, uint32_t a_max, uint32_t* a_value)
{
    if (a_text.empty() || a_text.find_first_not_of("0123456789") != std::string::npos ||
        a_text.size() > 9)
        return false;
    const unsigned long value = strtoul(a_text.c_str(), nullptr, 10);
    if (value < a_min || value > a_max)
        return false;
    *a_value = static_cast<uint32_t>(value);
    return true;
}

// "1.6", or a ratio "16:9" / "4/3".
bool parseAspect(const std::string& a_text, float* a_value)
{
    const size_t separator = a_text.find_first_of(":/");
    auto number = [](const std::string& a_part, double* a_number) {
        if (a_part.empty() || a_part.find_first_not_of("0123456789.") != std::string::npos)
            return false;
        char* end = nullptr;
        errno = 0;
        *a_number = strtod(a_part.c_str(), &end);
        return errno == 0 && *end == '\0' && *a_number > 0.0;
    };
    double value = 0.0;
    if (separator == std::string::npos)
    {
        if (!number(a_text, &value))
            return false;
    }
    else
    {
        double width = 0.0, height = 0.0;
        if (!number(a_text.substr(0, separator), &width) ||
            !number(a_text.substr(separator + 1), &height))
            return false;
        value = width / height;
    }
    // Wider than 4:1 or taller than 1:4 is no monitor.
    if (value < 0.25 || value > 4.0)
        return false;
    *a_value = static_cast<float>(value);
    return true;
}

}  // namespace

const char* CaptureOptions::usage()
{
    return "usage: tarvo-capture [options] [ARCHIVE]\n"
           "Renders the demo headless, frame by frame at a fixed rate, to an MP4 video\n"
           "(H.264 and AAC) with its soundtrack, PNG frames and a trace of the timeline.\n"
           "\n"
           "  ARCHIVE             the demo's archive (default: tarvo.fs)\n"
           "  -o, --output FILE   the MP4 to write (default: tarvo.mp4, or none when\n"
           "                      only --png is given)\n"
           "  --width W           picture width in pixels, even (default 1280)\n"
           "  --height H          picture height in pixels, even (default 720)\n"
           "  --fps N             frames per second, 1 to 240 (default 60)\n"
           "  --aspect A          the monitor's aspect shown, as 1.6 or 16:10 (default:\n"
           "                      the picture's, so pixels are square); the demo\n"
           "                      letterboxes its 16:9 image in it\n"
           "  --frames FIRST:LAST frames FIRST up to but not including LAST; frame k\n"
           "                      shows demo time k / fps (either end may be left out)\n"
           "  --beats FROM:TO     the frames from beat FROM up to but not including beat TO\n"
           "  --png DIR           also write every frame as DIR/frame-NNNNNN.png, numbered\n"
           "                      as in the whole demo\n"
           "  --trace FILE        write the timeline's values of every frame as CSV\n"
           "  --no-sound          write the video without its sound\n"
           "  --sound-only        write only the sound of the range (AAC in MP4), without\n"
           "                      drawing: the part of a split capture that has no seam\n"
           "  --lossless          encode the pictures losslessly (large files)\n"
           "  --print-range       print the range's first frame and the frame after its\n"
           "                      last, as \"FIRST LAST\", and render nothing\n"
           "  -h, --help          show this text\n"
           "\n"
           "A range renders exactly the frames a whole run gives, so a long capture can\n"
           "be split into ranges on several machines and joined: scripts/capture-farm.sh\n"
           "does it (see README.md).\n";
}

bool CaptureOptions::parse(const std::vector<std::string>& a_arguments)
{
    bool outputGiven = false;
    bool archiveGiven = false;
    for (size_t i = 0; i < a_arguments.size(); ++i)
    {
        const std::string& argument = a_arguments[i];
        if (argument == "-h" || argument == "--help")
        {
            m_help = true;
            return true;
        }
        if (argument.empty() || argument[0] != '-' || argument == "-")
        {
            if (archiveGiven)
            {
                m_error = "more than one archive given: '" + m_archive + "' and '" + argument + "'";
                return false;
            }
            m_archive = argument;
            archiveGiven = true;
            continue;
        }
        static const std::pair<const char*, bool CaptureOptions::*> kFlags[] = {
            {"--no-sound", &CaptureOptions::m_noSound},
            {"--sound-only", &CaptureOptions::m_soundOnly},
            {"--lossless", &CaptureOptions::m_lossless},
            {"--print-range", &CaptureOptions::m_printRange}};
        bool flag = false;
        for (const auto& entry : kFlags)
            if (argument == entry.first)
            {
                this->*entry.second = true;
                flag = true;
            }
        if (flag)
            continue;
        static const char* const kWithValue[] = {"-o",    "--output", "--width",  "--height",
                                                 "--fps", "--aspect", "--frames", "--beats",
                                                 "--png", "--trace"};
        bool known = false;
        for (const char* name : kWithValue)
            known = known || argument == name;
        if (!known)
        {
            m_error = "unknown option '" + argument + "'";
            return false;
        }
        if (i + 1 >= a_arguments.size() || a_arguments[i + 1].empty())
        {
            m_error = "option '" + argument + "' needs a value";
            return false;
        }
        const std::string& value = a_arguments[++i];
        if (argument == "-o" || argument == "--output")
        {
            m_output = value;
            outputGiven = true;
        }
        else if (argument == "--width" || argument == "--height")
        {
            uint32_t& side = argument == "--width" ? m_width : m_height;
            if (!parseNumber(value, 16, kMaxSide, &side) || side % 2 != 0)
            {
                m_error = argument + " must be an even number of pixels from 16 to " +
                          std::to_string(kMaxSide) + ", not '" + value + "'";
                return false;
            }
        }
        else if (argument == "--fps")
        {
            if (!parseNumber(value, 1, kMaxFps, &m_fps))
            {
                m_error = "--fps must be a whole number from 1 to " + std::to_string(kMaxFps) +
                          ", not '" + value + "'";
                return false;
            }
        }
        else if (argument == "--aspect")
        {
            if (!parseAspect(value, &m_aspect))
            {
                m_error = "--aspect must be a ratio from 1:4 to 4:1 such as 16:9 or 1.6, not '" +
                          value + "'";
                return false;
            }
        }
        else if (argument == "--frames")
            m_frames = value;
        else if (argument == "--beats")
            m_beats = value;
        else if (argument == "--png")
            m_pngFolder = value;
        else
            m_traceFile = value;
    }
    if (!m_frames.empty() && !m_beats.empty())
    {
        m_error = "--frames and --beats both give a range; give one";
        return false;
    }
    if (m_noSound && m_soundOnly)
        m_error = "--no-sound and --sound-only leave nothing to write; give one";
    else if (m_soundOnly && !m_pngFolder.empty())
        m_error = "--sound-only draws no pictures, so it writes no PNG frames (--png)";
    else if (m_soundOnly && m_lossless)
        m_error = "--lossless is about pictures, which --sound-only does not write";
    else if ((m_noSound || m_lossless) && !outputGiven && !m_pngFolder.empty())
        m_error = "--no-sound and --lossless are about the MP4; give it with -o";
    if (!m_error.empty())
        return false;
    if (!outputGiven && m_pngFolder.empty())
        m_output = "tarvo.mp4";
    return true;
}
