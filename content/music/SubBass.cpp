// The sub bass: a sine with a touch of saturation, gliding from the note before it.
#include "SubBass.h"

#include "Envelope.h"
#include "Oscillator.h"
#include "SoftClip.h"
#include "StereoBuffer.h"
#include "Tempo.h"

#include <math.h>

void SubBass::play(StereoBuffer& a_out, size_t a_frame, size_t a_length, float a_note,
                   float a_velocity, float a_fromNote) const
{
    Oscillator sine(Waveform::Sine);
    Envelope envelope(0.004f, 0.5f, 0.85f, 0.02f);
    const float glide = expf(-1.0f / (0.012f * Tempo::kSampleRate));
    float offset = a_fromNote - a_note;
    for (size_t i = 0; !envelope.finished(); ++i)
    {
        if (i == a_length)
            envelope.release();
        sine.setFrequency(Oscillator::noteToHertz(a_note + offset));
        // The saturation adds the second and third harmonics that let small
        // speakers suggest a sub they cannot play.
        const float value = softClip(1.5f * sine.next()) * 0.45f * envelope.next() * a_velocity;
        a_out.add(a_frame + i, value, value);
        offset *= glide;
    }
}
