// The snare drum: a pitched body of two sines and a band of noise that carries the crack.
#include "Snare.h"

#include "Oscillator.h"
#include "Random.h"
#include "SoftClip.h"
#include "StateVariableFilter.h"
#include "StereoBuffer.h"
#include "Tempo.h"

#include <math.h>

Snare::Snare(float a_decay, float a_bodyHertz) : m_decay(a_decay), m_bodyHertz(a_bodyHertz) {}

void Snare::play(StereoBuffer& a_out, size_t a_frame, float a_velocity, float a_pan) const
{
    Oscillator low(Waveform::Sine);
    Oscillator high(Waveform::Sine);
    // A new noise seed per hit, so rolls do not sound like one sample repeated.
    Random noise(static_cast<uint32_t>(a_frame) * 2654435761u ^ 0x736e6172u);
    // The crack sits between 3 and 7 kHz; a high-pass adds the sizzle above it.
    StateVariableFilter crack(5000.0f, 0.9f);
    StateVariableFilter sizzle(7500.0f, 0.7f);
    StateVariableFilter body(1200.0f, 0.7f);
    const size_t length = Tempo::frames(6.0 * m_decay + 0.02);
    const float toneFall = expf(-1.0f / (0.055f * Tempo::kSampleRate));
    const float noiseFall = expf(-1.0f / (m_decay * Tempo::kSampleRate));
    const float pitchFall = expf(-1.0f / (0.02f * Tempo::kSampleRate));
    const float leftGain = a_velocity * fminf(1.0f, 1.0f - a_pan);
    const float rightGain = a_velocity * fminf(1.0f, 1.0f + a_pan);
    float tone = 1.0f;
    float hiss = 1.0f;
    float bend = 1.0f;
    for (size_t i = 0; i < length; ++i)
    {
        low.setFrequency(m_bodyHertz * (1.0f + 0.4f * bend));
        high.setFrequency(m_bodyHertz * 1.78f * (1.0f + 0.3f * bend));
        const float white = noise.next();
        const float n = 1.6f * crack.process(white).band + 0.55f * sizzle.process(white).high +
                        0.35f * body.process(white).band;
        const float attack = fminf(1.0f, static_cast<float>(i) / 20.0f);
        const float value = attack * (tone * (0.55f * low.next() + 0.3f * high.next()) + hiss * n);
        const float shaped = softClip(1.3f * value);
        a_out.add(a_frame + i, leftGain * shaped, rightGain * shaped);
        tone *= toneFall;
        hiss *= noiseFall;
        bend *= pitchFall;
    }
}
