// The sub bass: a sine with a touch of saturation, gliding from the note before it.
#pragma once

#include <stddef.h>

class StereoBuffer;

class SubBass
{
public:
    // Adds a note of a_length frames at a_frame, MIDI a_note, velocity 0..1; the pitch
    // slides from a_fromNote within about 40 ms (pass a_note for no slide).
    void play(StereoBuffer& a_out, size_t a_frame, size_t a_length, float a_note, float a_velocity,
              float a_fromNote) const;
};
