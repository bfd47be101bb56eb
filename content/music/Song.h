// The song "KUV-2": a drum and bass arrangement that follows the demo's timeline, rendered and mastered.
#pragma once

#include "Chord.h"
#include "HiHat.h"
#include "Kick.h"
#include "Mixer.h"
#include "Pad.h"
#include "Reese.h"
#include "Riser.h"
#include "Snare.h"
#include "Stab.h"
#include "StereoBuffer.h"
#include "SubBass.h"

#include "demo/Timeline.h"

class DrumPattern;

class Song
{
public:
    // The demo plays 456 beats; the last chord rings out a little past them.
    static constexpr double kBeats = Timeline::kLastBeat;
    static constexpr double kLengthSeconds = 164.0;

    // Renders the whole song: 44.1 kHz stereo, mastered, peaks below full scale.
    static StereoBuffer render();

private:
    enum class BassLine
    {
        Long,
        HalfTime,
        Rolling,
    };

    Song();

    // The arrangement, part by part of the demo.
    void compose();

    // Building blocks; positions and lengths in beats, levels 0..1.
    void drums(double a_from, double a_to, const DrumPattern& a_pattern, float a_level);
    void roll(double a_from, double a_to, float a_fromLevel, float a_toLevel);
    void impact(double a_beat, float a_strength);
    void hit(double a_beat, float a_strength);
    void pads(double a_from, double a_to, float a_level, float a_fromCutoff, float a_toCutoff);
    void bass(double a_from, double a_to, BassLine a_line, float a_subLevel, float a_reeseLevel);
    void arpeggio(double a_from, double a_to, float a_level);
    void melody(double a_from, double a_to, float a_level);
    void riser(double a_from, double a_to, float a_level);
    void ending();

    // The chord under a beat: the lifting progression in the half-time and
    // breakdown stretches and in the second blob part, the main one elsewhere.
    static bool liftingAt(double a_beat);
    static const Chord& chordAt(double a_beat);

    Mixer m_mixer;
    StereoBuffer m_echoSend;  // stabs and plucks, echoed into the effects bus (never ducked)
    Kick m_kick;
    Kick m_boom;
    Snare m_snare;
    Snare m_bigSnare;
    HiHat m_hat;
    HiHat m_openHat;
    HiHat m_crash;
    SubBass m_sub;
    Reese m_reese;
    Pad m_pad;
    Stab m_stab;
    Stab m_pluck;
    Stab m_lead;
    Riser m_riser;
};
