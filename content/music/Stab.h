// Stabs and plucks: a chord (or one note) struck with a fast filter envelope and a short decay.
#pragma once

#include <stddef.h>

#include <vector>

class StereoBuffer;

class Stab
{
public:
    // a_decay: time constant of the level in seconds; a_brightness: how far (Hz) the
    // filter opens on the attack.
    Stab(float a_decay, float a_brightness);

    // Adds the chord (MIDI notes) at a_frame, velocity 0..1; pan -1 .. 1.
    void play(StereoBuffer& a_out, size_t a_frame, const std::vector<float>& a_notes,
              float a_velocity, float a_pan = 0.0f) const;

private:
    float m_decay;
    float m_brightness;
};
