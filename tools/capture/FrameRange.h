// Which frames a capture renders: the whole demo, or a range given in frames
// or in beats, resolved against the frame rate and the demo's end.
#pragma once

#include <stdint.h>

#include <string>

class FrameRange
{
public:
    // The frames whose demo time, k / a_fps seconds as the clock reads it in
    // single precision, comes before a_endSeconds: frames 0 to that count - 1.
    static uint32_t framesBefore(float a_endSeconds, uint32_t a_fps);

    // Resolves "FIRST:LAST" (a_frames) or "FROM:TO" (a_beats, at
    // a_secondsPerBeat) for a demo of a_total frames at a_fps that ends at
    // beat a_endBeat; an end left out is the demo's start or end, and both
    // texts empty mean the whole demo. False with m_error set when a text is
    // malformed, the range is empty or it reaches past the demo's end.
    bool resolve(const std::string& a_frames, const std::string& a_beats, uint32_t a_fps,
                 float a_secondsPerBeat, uint32_t a_total, float a_endBeat);

    uint32_t count() const { return m_last - m_first; }

    uint32_t m_first = 0;
    uint32_t m_last = 0;  // one past the last frame rendered
    std::string m_error;

private:
    bool resolveFrames(const std::string& a_text, uint32_t a_total);
    bool resolveBeats(const std::string& a_text, uint32_t a_fps, float a_secondsPerBeat,
                      uint32_t a_total, float a_endBeat);
};
