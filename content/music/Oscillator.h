// A band-limited oscillator (sine, saw, square) driven by a phase accumulator.
#pragma once

#include <math.h>

enum class Waveform
{
    Sine,
    Saw,
    Square,
};

class Oscillator
{
public:
    explicit Oscillator(Waveform a_waveform, float a_phase = 0.0f);

    // Frequency in Hz; may change on every sample (pitch sweeps, glides).
    void setFrequency(float a_hertz);

    // The next sample, in [-1, 1] (inline: it runs for every sample of every voice).
    float next();

    // Converts a MIDI note number (69 = A4 = 440 Hz) to Hz.
    static float noteToHertz(float a_note);

private:
    // Polynomial band-limited step (Välimäki's polyBLEP): subtracts the aliasing of a
    // unit jump at phase 0 over one sample on either side of it.
    static float polyBlep(float a_phase, float a_increment);

    Waveform m_waveform;
    float m_phase;      // cycles, in [0, 1)
    float m_increment;  // cycles per sample
};

inline float Oscillator::polyBlep(float a_phase, float a_increment)
{
    if (a_phase < a_increment)
    {
        const float t = a_phase / a_increment;
        return t + t - t * t - 1.0f;
    }
    if (a_phase > 1.0f - a_increment)
    {
        const float t = (a_phase - 1.0f) / a_increment;
        return t * t + t + t + 1.0f;
    }
    return 0.0f;
}

inline float Oscillator::next()
{
    const float phase = m_phase;
    float value = 0.0f;
    switch (m_waveform)
    {
    case Waveform::Sine:
        value = sinf(6.28318530718f * phase);
        break;
    case Waveform::Saw:
        value = 2.0f * phase - 1.0f - polyBlep(phase, m_increment);
        break;
    case Waveform::Square:
    {
        const float shifted = phase + 0.5f < 1.0f ? phase + 0.5f : phase - 0.5f;
        value = (phase < 0.5f ? 1.0f : -1.0f) + polyBlep(phase, m_increment) -
                polyBlep(shifted, m_increment);
        break;
    }
    }
    m_phase += m_increment;
    if (m_phase >= 1.0f)
        m_phase -= 1.0f;
    return value;
}
