// The snare drum: a pitched body of two sines and a band of noise that carries the crack.
#pragma once

#include <stddef.h>

class StereoBuffer;

class Snare
{
public:
    // a_decay: time constant of the noise in seconds; a_bodyHertz: the body's pitch.
    Snare(float a_decay, float a_bodyHertz);

    // Adds one hit at a_frame, velocity 0..1; pan -1 (left) .. 1 (right).
    void play(StereoBuffer& a_out, size_t a_frame, float a_velocity, float a_pan = 0.0f) const;

private:
    float m_decay;
    float m_bodyHertz;
};
