// The mid bass of the drops: detuned saws through a slowly moving low-pass, driven warm.
#pragma once

#include <stddef.h>

class StereoBuffer;

class Reese
{
public:
    // Adds a note of a_length frames at a_frame, MIDI a_note, velocity 0..1, with the
    // low-pass around a_cutoff Hz (swept by a slow wobble tied to the song's clock).
    void play(StereoBuffer& a_out, size_t a_frame, size_t a_length, float a_note, float a_velocity,
              float a_cutoff) const;
};
