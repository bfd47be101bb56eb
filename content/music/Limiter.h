// The master bus's final limiter: looks ahead so that no sample exceeds the ceiling, without clipping.
#pragma once

#include <stddef.h>

class StereoBuffer;

class Limiter
{
public:
    // a_ceiling: the largest sample magnitude allowed (linear, 0..1); a_lookahead:
    // seconds over which the gain ramps down before a peak; a_release: time constant
    // (seconds) of the gain's return to unity.
    Limiter(float a_ceiling, float a_lookahead, float a_release);

    // Limits a_buffer in place. Material whose peaks already stay at or below the
    // ceiling leaves the limiter unchanged.
    void process(StereoBuffer& a_buffer) const;

private:
    float m_ceiling;
    float m_lookahead;
    float m_release;
};
