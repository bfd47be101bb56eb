// Hi-hats and cymbals: filtered noise, short (closed), longer (open) or long and wide (crash).
#pragma once

#include <stddef.h>

class StereoBuffer;

class HiHat
{
public:
    // a_decay: time constant in seconds; a_centre: the Hz of the band that carries it;
    // a_width 0 (mono) .. 1 (left and right fully independent noise).
    HiHat(float a_decay, float a_centre, float a_width);

    // Adds one hit at a_frame, velocity 0..1; pan -1 (left) .. 1 (right).
    void play(StereoBuffer& a_out, size_t a_frame, float a_velocity, float a_pan = 0.0f) const;

private:
    float m_decay;
    float m_centre;
    float m_width;
};
