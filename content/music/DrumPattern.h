// One bar of a breakbeat: sixteen steps of velocities for kick, snare, closed and open hats.
#pragma once

#include <stddef.h>

#include <array>

class DrumPattern
{
public:
    static constexpr int kSteps = 16;

    // Each row is 16 characters, one per sixteenth note: '.' silent, 'x' full,
    // 'o' medium (0.6), 'g' ghost (0.3), '1'..'9' 0.1..0.9.
    DrumPattern(const char* a_kick, const char* a_snare, const char* a_hat, const char* a_openHat);

    // Velocities 0..1 at a step of the bar.
    float kick(int a_step) const { return m_kick[static_cast<size_t>(a_step)]; }
    float snare(int a_step) const { return m_snare[static_cast<size_t>(a_step)]; }
    float hat(int a_step) const { return m_hat[static_cast<size_t>(a_step)]; }
    float openHat(int a_step) const { return m_openHat[static_cast<size_t>(a_step)]; }

    // The breaks the song is built from. All keep the snare on the second and fourth
    // beat (steps 4 and 12), except the half-time one, which has it on the second only.
    static DrumPattern twoStep();
    static DrumPattern twoStepSkip();
    static DrumPattern chopped();
    static DrumPattern choppedAnswer();
    static DrumPattern rolling();
    static DrumPattern halfTime();
    static DrumPattern intro();

private:
    using Row = std::array<float, kSteps>;

    static Row parse(const char* a_row);

    Row m_kick;
    Row m_snare;
    Row m_hat;
    Row m_openHat;
};
