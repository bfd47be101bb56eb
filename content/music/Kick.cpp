// The kick drum: a sine whose pitch falls fast, with a short noise click on the attack.
#include "Kick.h"

#include "Oscillator.h"
#include "Random.h"
#include "SoftClip.h"
#include "StateVariableFilter.h"
#include "StereoBuffer.h"
#include "Tempo.h"

#include <math.h>

Kick::Kick(float a_decay, float a_startHertz, float a_endHertz, float a_click)
    : m_sound(Tempo::frames(6.0 * a_decay + 0.05))
{
    Oscillator body(Waveform::Sine);
    Random noise(0x6b69636bu);
    StateVariableFilter clickFilter(2500.0f, 0.7f);
    const float pitchFall = expf(-1.0f / (0.04f * Tempo::kSampleRate));
    const float bodyFall = expf(-1.0f / (a_decay * Tempo::kSampleRate));
    const float clickFall = expf(-1.0f / (0.004f * Tempo::kSampleRate));
    float sweep = 1.0f;
    float level = 1.0f;
    float click = a_click;
    for (size_t i = 0; i < m_sound.size(); ++i)
    {
        body.setFrequency(a_endHertz + (a_startHertz - a_endHertz) * sweep);
        const float attack = fminf(1.0f, static_cast<float>(i) / 40.0f);
        // A little saturation rounds the sine into a punchier, louder shape.
        m_sound[i] = softClip(1.8f * body.next() * level * attack) * 0.8f +
                     clickFilter.process(noise.next()).high * click * attack;
        sweep *= pitchFall;
        level *= bodyFall;
        click *= clickFall;
    }
}

void Kick::play(StereoBuffer& a_out, size_t a_frame, float a_velocity) const
{
    for (size_t i = 0; i < m_sound.size(); ++i)
        a_out.add(a_frame + i, a_velocity * m_sound[i], a_velocity * m_sound[i]);
}
