// The pad: a chord of detuned saws spread across the stereo field, through a low-pass that can open over the note.
#include "Pad.h"

#include "Envelope.h"
#include "Oscillator.h"
#include "StateVariableFilter.h"
#include "StereoBuffer.h"
#include "Tempo.h"

#include <math.h>

void Pad::play(StereoBuffer& a_out, size_t a_frame, size_t a_length,
               const std::vector<float>& a_notes, float a_velocity, float a_cutoffStart,
               float a_cutoffEnd) const
{
    // Three voices per note: flat on the left, sharp on the right, one in the middle.
    std::vector<Oscillator> voices;
    for (size_t n = 0; n < a_notes.size(); ++n)
    {
        const float spread[3] = {-0.11f, 0.0f, 0.12f};
        for (int v = 0; v < 3; ++v)
        {
            voices.emplace_back(Waveform::Saw, 0.29f * static_cast<float>(3 * n + v));
            voices.back().setFrequency(Oscillator::noteToHertz(a_notes[n] + spread[v]));
        }
    }
    StateVariableFilter left(a_cutoffStart, 0.9f);
    StateVariableFilter right(a_cutoffStart, 0.9f);
    Envelope envelope(0.35f, 1.5f, 0.8f, 0.5f);
    const float gain = a_velocity / sqrtf(static_cast<float>(a_notes.size()) * 3.0f);
    const float ratio = a_cutoffEnd / a_cutoffStart;
    for (size_t i = 0; !envelope.finished(); ++i)
    {
        if (i == a_length)
            envelope.release();
        if (i % 32 == 0)
        {
            const float progress =
                fminf(1.0f, static_cast<float>(i) / static_cast<float>(a_length));
            const float cutoff = a_cutoffStart * powf(ratio, progress);
            left.set(cutoff, 0.9f);
            right.set(cutoff, 0.9f);
        }
        float l = 0.0f;
        float r = 0.0f;
        for (size_t v = 0; v < voices.size(); v += 3)
        {
            const float flat = voices[v].next();
            const float centre = voices[v + 1].next();
            const float sharp = voices[v + 2].next();
            l += flat + 0.6f * centre;
            r += sharp + 0.6f * centre;
        }
        const float level = envelope.next() * gain;
        a_out.add(a_frame + i, level * left.process(l).low, level * right.process(r).low);
    }
}
