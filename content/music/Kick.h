// The kick drum: a sine whose pitch falls fast, with a short noise click on the attack.
#pragma once

#include <stddef.h>

#include <vector>

class StereoBuffer;

class Kick
{
public:
    // a_decay: time constant of the body in seconds; pitch falls from a_startHertz
    // to a_endHertz; a_click scales the attack click. A long decay and a low end
    // pitch make the "boom" of an impact.
    Kick(float a_decay, float a_startHertz, float a_endHertz, float a_click);

    // Adds one hit at a_frame, velocity 0..1.
    void play(StereoBuffer& a_out, size_t a_frame, float a_velocity) const;

private:
    // Every hit is the same sound at another level, so it is rendered once.
    std::vector<float> m_sound;
};
