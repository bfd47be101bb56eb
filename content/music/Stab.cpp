// Stabs and plucks: a chord (or one note) struck with a fast filter envelope and a short decay.
#include "Stab.h"

#include "Oscillator.h"
#include "StateVariableFilter.h"
#include "StereoBuffer.h"
#include "Tempo.h"

#include <math.h>

Stab::Stab(float a_decay, float a_brightness) : m_decay(a_decay), m_brightness(a_brightness) {}

void Stab::play(StereoBuffer& a_out, size_t a_frame, const std::vector<float>& a_notes,
                float a_velocity, float a_pan) const
{
    std::vector<Oscillator> voices;
    for (size_t n = 0; n < a_notes.size(); ++n)
    {
        voices.emplace_back(Waveform::Saw, 0.13f * static_cast<float>(n));
        voices.back().setFrequency(Oscillator::noteToHertz(a_notes[n] + 0.05f));
        voices.emplace_back(Waveform::Square, 0.41f * static_cast<float>(n));
        voices.back().setFrequency(Oscillator::noteToHertz(a_notes[n] - 0.05f));
    }
    StateVariableFilter filter(m_brightness, 1.6f);
    const size_t length = Tempo::frames(6.0 * m_decay + 0.01);
    const float fall = expf(-1.0f / (m_decay * Tempo::kSampleRate));
    const float sweepFall = expf(-1.0f / (0.07f * Tempo::kSampleRate));
    const float gain = a_velocity / sqrtf(static_cast<float>(voices.size()));
    const float leftGain = gain * fminf(1.0f, 1.0f - a_pan);
    const float rightGain = gain * fminf(1.0f, 1.0f + a_pan);
    float level = 1.0f;
    float sweep = 1.0f;
    for (size_t i = 0; i < length; ++i)
    {
        if (i % 16 == 0)
            filter.set(250.0f + m_brightness * sweep, 1.6f);
        float sum = 0.0f;
        for (Oscillator& voice : voices)
            sum += voice.next();
        const float attack = fminf(1.0f, static_cast<float>(i) / 60.0f);
        const float value = filter.process(sum).low * level * attack;
        a_out.add(a_frame + i, leftGain * value, rightGain * value);
        level *= fall;
        sweep *= sweepFall;
    }
}
