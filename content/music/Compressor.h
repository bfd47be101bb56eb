// A feed-forward compressor with a stereo-linked peak detector: the glue of the master bus.
#pragma once

class StereoBuffer;

class Compressor
{
public:
    // Above a_threshold (dBFS) the level rises only 1/a_ratio dB per dB. a_attack and
    // a_release are the time constants (seconds) of the gain reduction; a_makeup (dB)
    // is added after it. The detector listens through a high-pass at a_detectorCutoff
    // Hz (0: none), so a sub bass alone does not pump the whole mix.
    Compressor(float a_threshold, float a_ratio, float a_attack, float a_release, float a_makeup,
               float a_detectorCutoff = 0.0f);

    // Compresses a_buffer in place.
    void process(StereoBuffer& a_buffer) const;

private:
    float m_threshold;
    float m_ratio;
    float m_attack;
    float m_release;
    float m_makeup;
    float m_detectorCutoff;
};
