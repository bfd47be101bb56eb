// A chord of the song: the sub bass's root and the voicing the pads and stabs play.
#pragma once

#include <vector>

class Chord
{
public:
    Chord(float a_root, std::vector<float> a_voicing);

    // MIDI notes: the root for the sub bass, the voicing for pads and stabs.
    float root() const { return m_root; }
    const std::vector<float>& voicing() const { return m_voicing; }

    // The voicing moved by whole octaves (stabs and plucks sit above the pads).
    std::vector<float> voicing(int a_octaves) const;

    // The song's two progressions in D minor, one chord per two bars (eight beats):
    // the main one (Dm9, Bbmaj7, Gm7, A7sus4) and a lifting one for the half-time
    // and breakdown stretches (Bbmaj7, C6/9, Dm9, Am7).
    static const Chord& main(int a_index);
    static const Chord& lifting(int a_index);

private:
    float m_root;
    std::vector<float> m_voicing;
};
