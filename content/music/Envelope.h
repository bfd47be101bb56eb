// An ADSR envelope: linear attack, exponential decay to the sustain level and exponential release.
#pragma once

class Envelope
{
public:
    // Times in seconds; the decay and release times are time constants (the level
    // falls to 1/e of its distance in that time). a_sustain is a level in 0..1.
    Envelope(float a_attack, float a_decay, float a_sustain, float a_release);

    // Starts the release from wherever the envelope is.
    void release();

    // The next level, in 0..1.
    float next();

    // True once the release has faded below audibility.
    bool finished() const { return m_stage == Stage::Done; }

private:
    enum class Stage
    {
        Attack,
        Decay,
        Release,
        Done,
    };

    Stage m_stage;
    float m_level;
    float m_attackStep;
    float m_decayFactor;
    float m_sustain;
    float m_releaseFactor;
};
