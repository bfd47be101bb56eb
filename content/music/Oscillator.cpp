// A band-limited oscillator (sine, saw, square) driven by a phase accumulator.
#include "Oscillator.h"

#include "Tempo.h"

Oscillator::Oscillator(Waveform a_waveform, float a_phase)
    : m_waveform(a_waveform), m_phase(a_phase - floorf(a_phase)), m_increment(0.0f)
{
}

void Oscillator::setFrequency(float a_hertz)
{
    m_increment = fminf(fmaxf(a_hertz, 0.0f) / Tempo::kSampleRate, 0.5f);
}

float Oscillator::noteToHertz(float a_note)
{
    return 440.0f * exp2f((a_note - 69.0f) / 12.0f);
}
