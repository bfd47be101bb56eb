// A chord of the song: the sub bass's root and the voicing the pads and stabs play.
#include "Chord.h"

#include <utility>

Chord::Chord(float a_root, std::vector<float> a_voicing)
    : m_root(a_root), m_voicing(std::move(a_voicing))
{
}

std::vector<float> Chord::voicing(int a_octaves) const
{
    std::vector<float> notes = m_voicing;
    for (float& note : notes)
        note += 12.0f * static_cast<float>(a_octaves);
    return notes;
}

const Chord& Chord::main(int a_index)
{
    static const Chord chords[4] = {
        Chord(38.0f, {50.0f, 53.0f, 57.0f, 60.0f, 64.0f}),  // Dm9
        Chord(34.0f, {50.0f, 53.0f, 57.0f, 58.0f, 62.0f}),  // Bbmaj7
        Chord(31.0f, {50.0f, 55.0f, 58.0f, 62.0f, 65.0f}),  // Gm7
        Chord(33.0f, {52.0f, 55.0f, 57.0f, 62.0f, 64.0f}),  // A7sus4
    };
    return chords[a_index & 3];
}

const Chord& Chord::lifting(int a_index)
{
    static const Chord chords[4] = {
        Chord(34.0f, {50.0f, 53.0f, 57.0f, 60.0f, 62.0f}),  // Bbmaj7(9)
        Chord(36.0f, {52.0f, 55.0f, 57.0f, 60.0f, 62.0f}),  // C6/9
        Chord(38.0f, {50.0f, 53.0f, 57.0f, 60.0f, 64.0f}),  // Dm9
        Chord(33.0f, {52.0f, 55.0f, 57.0f, 60.0f, 64.0f}),  // Am7
    };
    return chords[a_index & 3];
}
