// Frame ranges from frames or beats.
#include "FrameRange.h"

#include <errno.h>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>

namespace
{

// "A:B" into its two sides; false without exactly one colon.
bool split(const std::string& a_text, std::string* a_from, std::string* a_to)
{
    const size_t colon = a_text.find(':');
    if (colon == std::string::npos || a_text.find(':', colon + 1) != std::string::npos)
        return false;
    *a_from = a_text.substr(0, colon);
    *a_to = a_text.substr(colon + 1);
    return true;
}

bool wholeNumber(const std::string& a_text, uint64_t* a_value)
{
    if (a_text.empty() || a_text.size() > 12 ||
        a_text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    *a_value = strtoull(a_text.c_str(), nullptr, 10);
    return true;
}

bool decimalNumber(const std::string& a_text, double* a_value)
{
    if (a_text.empty() || a_text.find_first_not_of("0123456789.") != std::string::npos)
        return false;
    char* end = nullptr;
    errno = 0;
    *a_value = strtod(a_text.c_str(), &end);
    return errno == 0 && *end == '\0' && isfinite(*a_value);
}

float frameTime(uint64_t a_frame, uint32_t a_fps)
{
    return static_cast<float>(static_cast<double>(a_frame) / a_fps);
}

}  // namespace

uint32_t FrameRange::framesBefore(float a_endSeconds, uint32_t a_fps)
{
    if (!(a_endSeconds > 0.0f))
        return 0;
    // Near the product, then exact by the clock's own rounding.
    uint64_t frame = static_cast<uint64_t>(static_cast<double>(a_endSeconds) * a_fps);
    frame = frame > 2 ? frame - 2 : 0;
    while (frameTime(frame, a_fps) < a_endSeconds)
        ++frame;
    return static_cast<uint32_t>(frame);
}

bool FrameRange::resolve(const std::string& a_frames, const std::string& a_beats, uint32_t a_fps,
                         float a_secondsPerBeat, uint32_t a_total, float a_endBeat)
{
    m_error.clear();
    if (!a_beats.empty())
        return resolveBeats(a_beats, a_fps, a_secondsPerBeat, a_total, a_endBeat);
    if (!a_frames.empty())
        return resolveFrames(a_frames, a_total);
    m_first = 0;
    m_last = a_total;
    return true;
}

bool FrameRange::resolveFrames(const std::string& a_text, uint32_t a_total)
{
    std::string from, to;
    uint64_t first = 0, last = a_total;
    if (!split(a_text, &from, &to) || (!from.empty() && !wholeNumber(from, &first)) ||
        (!to.empty() && !wholeNumber(to, &last)))
    {
        m_error =
            "--frames must be FIRST:LAST in whole frames, such as 600:1200, not '" + a_text + "'";
        return false;
    }
    if (last > a_total)
    {
        m_error = "--frames " + a_text + " reaches past the demo's end: its last frame is " +
                  std::to_string(a_total - 1) + " (LAST is not rendered, so at most " +
                  std::to_string(a_total) + ")";
        return false;
    }
    if (first >= last)
    {
        m_error = "--frames " + a_text + " holds no frame";
        return false;
    }
    m_first = static_cast<uint32_t>(first);
    m_last = static_cast<uint32_t>(last);
    return true;
}

// Frame k belongs to beat b = (k / fps) / seconds per beat, in double precision.
bool FrameRange::resolveBeats(const std::string& a_text, uint32_t a_fps, float a_secondsPerBeat,
                              uint32_t a_total, float a_endBeat)
{
    std::string from, to;
    double fromBeat = 0.0, toBeat = -1.0;
    if (!split(a_text, &from, &to) || (!from.empty() && !decimalNumber(from, &fromBeat)) ||
        (!to.empty() && !decimalNumber(to, &toBeat)))
    {
        m_error =
            "--beats must be FROM:TO in beats, such as 64:128 or 16.5:17, not '" + a_text + "'";
        return false;
    }
    const double framesPerBeat = static_cast<double>(a_secondsPerBeat) * a_fps;
    if (fromBeat >= a_endBeat || toBeat > a_endBeat)
    {
        char end[32];
        snprintf(end, sizeof(end), "%g", double(a_endBeat));
        m_error = "--beats " + a_text + " reaches past the demo's end at beat " + end;
        return false;
    }
    // A beat that falls on a frame within rounding starts with that frame.
    const double kRounding = 1.0e-9;
    const uint64_t first = static_cast<uint64_t>(ceil(fromBeat * framesPerBeat - kRounding));
    uint64_t last =
        toBeat < 0.0 ? a_total : static_cast<uint64_t>(ceil(toBeat * framesPerBeat - kRounding));
    if (last > a_total)
        last = a_total;
    if (first >= last)
    {
        m_error = "--beats " + a_text + " holds no frame at " + std::to_string(a_fps) +
                  " frames per second";
        return false;
    }
    m_first = static_cast<uint32_t>(first);
    m_last = static_cast<uint32_t>(last);
    return true;
}
