// The pad: a chord of detuned saws spread across the stereo field, through a low-pass that can open over the note.
#pragma once

#include <stddef.h>

#include <vector>

class StereoBuffer;

class Pad
{
public:
    // Adds a chord (MIDI notes) of a_length frames at a_frame, velocity 0..1; the
    // low-pass moves from a_cutoffStart to a_cutoffEnd Hz over the chord. The release
    // rings on past the end.
    void play(StereoBuffer& a_out, size_t a_frame, size_t a_length,
              const std::vector<float>& a_notes, float a_velocity, float a_cutoffStart,
              float a_cutoffEnd) const;
};
