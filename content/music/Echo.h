// A ping-pong echo with darkening repeats, for stabs, plucks and the lead.
#pragma once

#include <stddef.h>

class StereoBuffer;

class Echo
{
public:
    // a_delay: frames between repeats; a_feedback 0..1; a_mix: level of the echoes
    // added to the dry sound; a_damping: low-pass Hz applied to every repeat.
    Echo(size_t a_delay, float a_feedback, float a_mix, float a_damping);

    // Adds the echoes of a_buffer into it, in place.
    void process(StereoBuffer& a_buffer) const;

private:
    size_t m_delay;
    float m_feedback;
    float m_mix;
    float m_damping;
};
