// The mid bass of the drops: detuned saws through a slowly moving low-pass, driven warm.
#include "Reese.h"

#include "Envelope.h"
#include "Oscillator.h"
#include "SoftClip.h"
#include "StateVariableFilter.h"
#include "StereoBuffer.h"
#include "Tempo.h"

#include <math.h>

void Reese::play(StereoBuffer& a_out, size_t a_frame, size_t a_length, float a_note,
                 float a_velocity, float a_cutoff) const
{
    Oscillator low(Waveform::Saw, 0.0f);
    Oscillator high(Waveform::Saw, 0.37f);
    Oscillator middle(Waveform::Square, 0.61f);
    low.setFrequency(Oscillator::noteToHertz(a_note - 0.14f));
    high.setFrequency(Oscillator::noteToHertz(a_note + 0.14f));
    middle.setFrequency(Oscillator::noteToHertz(a_note - 12.0f));
    StateVariableFilter left(a_cutoff, 1.2f);
    StateVariableFilter right(a_cutoff, 1.2f);
    Envelope envelope(0.006f, 0.3f, 0.8f, 0.03f);
    const double wobbleRate = 0.5 / Tempo::framesPerBeat();  // one cycle every two beats
    for (size_t i = 0; !envelope.finished(); ++i)
    {
        if (i == a_length)
            envelope.release();
        if (i % 32 == 0)
        {
            const double cycle = static_cast<double>(a_frame + i) * wobbleRate;
            const float wobble = 0.5f + 0.5f * static_cast<float>(sin(6.283185307 * cycle));
            left.set(a_cutoff * (0.6f + 0.9f * wobble), 1.2f);
            right.set(a_cutoff * (0.6f + 0.9f * (1.0f - wobble)), 1.2f);
        }
        const float a = low.next();
        const float b = high.next();
        const float c = 0.6f * middle.next();
        const float level = envelope.next() * a_velocity;
        const float l = softClip(1.6f * left.process(a + 0.5f * b + c).low);
        const float r = softClip(1.6f * right.process(b + 0.5f * a + c).low);
        a_out.add(a_frame + i, 0.5f * level * l, 0.5f * level * r);
    }
}
