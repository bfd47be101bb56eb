// The song "KUV-2": a drum and bass arrangement that follows the demo's timeline, rendered and mastered.
#include "Song.h"

#include "DrumPattern.h"
#include "Echo.h"
#include "Tempo.h"

#include <math.h>

#include <math.h>
#include <vector>

static_assert(Song::kLengthSeconds > Song::kBeats * 60.0 / Tempo::kBeatsPerMinute,
              "the song must outlast the demo");

namespace
{

// The frame a beat starts on, and equally the frames in a number of beats.
size_t frameOf(double a_beats)
{
    return Tempo::frameOfBeat(a_beats);
}

// An odd beat carries the backbeat snare (the second and fourth beat of a bar).
bool oddBeat(double a_beat)
{
    return fmod(a_beat, 2.0) == 1.0;
}

}

Song::Song()
    : m_mixer(Tempo::frames(kLengthSeconds)), m_echoSend(Tempo::frames(kLengthSeconds)),
      m_kick(0.12f, 180.0f, 50.0f, 0.5f), m_boom(0.8f, 120.0f, 38.0f, 0.35f),
      m_snare(0.08f, 190.0f), m_bigSnare(0.16f, 175.0f), m_hat(0.025f, 5600.0f, 0.2f),
      m_openHat(0.14f, 5200.0f, 0.4f), m_crash(0.55f, 4600.0f, 0.9f), m_stab(0.2f, 3200.0f),
      m_pluck(0.11f, 2600.0f), m_lead(0.3f, 2000.0f)
{
}

StereoBuffer Song::render()
{
    Song song;
    song.compose();
    // Dotted-eighth echoes (three sixteenths), the classic answer to a 170 BPM break.
    Echo(static_cast<size_t>(llround(3.0 * Tempo::framesPerStep())), 0.4f, 0.35f, 3500.0f)
        .process(song.m_echoSend);
    song.m_mixer.bus(Bus::Effects).mix(song.m_echoSend, 1.0f);
    return song.m_mixer.master();
}

// The demo's parts, in order. The picture flashes on the beats of the hits placed
// here: on the sixteen-beat marks of the intro and the first drop, on every backbeat
// snare of the balls and blob parts, on the half-time snares of the satellite part,
// on the title cards, and on the last four snares before the fade.
void Song::compose()
{
    // Hog, beats 0-64: four impacts sixteen beats apart while the pads open up and
    // the drums come in, then a swell and a snare roll into the drop.
    pads(0.0, 64.0, 0.55f, 300.0f, 2600.0f);
    bass(0.0, 56.0, BassLine::Long, 0.55f, 0.0f);
    for (double beat : {0.0, 16.0, 32.0, 48.0})
        impact(beat, beat == 0.0 ? 0.7f : 0.9f);
    drums(
        16.0, 32.0,
        DrumPattern("................", "................", "4.2.4.2.4.2.4.2.", "................"),
        0.8f);
    drums(32.0, 56.0, DrumPattern::intro(), 0.6f);
    roll(56.0, 63.5, 0.25f, 0.8f);
    riser(52.0, 63.5, 0.3f);

    // Test, beats 64-128: the first drop, with an impact on every sixteen-beat mark.
    for (double beat : {64.0, 80.0, 96.0, 112.0})
        impact(beat, 1.0f);
    drums(64.0, 96.0, DrumPattern::twoStep(), 1.0f);
    drums(96.0, 124.0, DrumPattern::chopped(), 1.0f);
    roll(124.0, 128.0, 0.5f, 0.9f);
    bass(64.0, 128.0, BassLine::Rolling, 0.8f, 0.55f);
    melody(96.0, 124.0, 0.3f);
    pads(64.0, 128.0, 0.3f, 1500.0f, 1500.0f);

    // Balls, beats 128-144: "go"; a stab on the backbeats, leaving the last one
    // clear for the impact that follows.
    impact(128.0, 1.0f);
    drums(128.0, 144.0, DrumPattern::twoStepSkip(), 1.0f);
    for (double beat = 129.0; beat < 143.0; beat += 2.0)
        m_stab.play(m_echoSend, frameOf(beat), chordAt(beat).voicing(1), 0.35f,
                    beat < 136.0 ? -0.3f : 0.3f);
    bass(128.0, 144.0, BassLine::Rolling, 0.8f, 0.6f);
    pads(128.0, 144.0, 0.3f, 2000.0f, 2000.0f);

    // Test, beats 144-160: a rolling variation with plucks, then a roll into "jump".
    impact(144.0, 1.1f);
    drums(144.0, 158.0, DrumPattern::rolling(), 1.0f);
    roll(158.0, 160.0, 0.5f, 0.9f);
    bass(144.0, 160.0, BassLine::Rolling, 0.8f, 0.4f);
    arpeggio(144.0, 160.0, 0.3f);
    pads(144.0, 160.0, 0.25f, 1200.0f, 1800.0f);

    // Balls, beats 160-192: "jump"; backbeat stabs, and a swell into the big drop.
    impact(160.0, 1.0f);
    drums(160.0, 176.0, DrumPattern::chopped(), 1.0f);
    drums(176.0, 188.0, DrumPattern::choppedAnswer(), 1.0f);
    roll(188.0, 191.75, 0.6f, 1.0f);
    for (double beat = 161.0; beat < 176.0; beat += 2.0)
        m_stab.play(m_echoSend, frameOf(beat), chordAt(beat).voicing(1), 0.3f,
                    oddBeat(beat + 1.0) ? 0.3f : -0.3f);
    riser(179.0, 186.75, 0.35f);
    bass(160.0, 190.0, BassLine::Rolling, 0.8f, 0.6f);
    pads(160.0, 192.0, 0.3f, 1200.0f, 3500.0f);

    // Satellite, beats 192-256: the biggest impact, then half time: one big snare and
    // chord per bar, on the second beat, under wide pads.
    impact(192.0, 1.3f);
    drums(
        192.0, 196.0,
        DrumPattern("x.........x.....", "................", "5.3.5.3.5.3.5.3.", "................"),
        1.0f);
    drums(196.0, 256.0, DrumPattern::halfTime(), 1.0f);
    for (double beat = 197.0; beat < 256.0; beat += 4.0)
        hit(beat, 0.8f);
    bass(192.0, 256.0, BassLine::HalfTime, 0.85f, 0.0f);
    pads(192.0, 256.0, 0.5f, 1800.0f, 3000.0f);
    melody(224.0, 256.0, 0.3f);

    // Test and satellite, beats 256-288: the breakdown. Pads, plucks and hats only,
    // then the kick returns under a swell towards the titles.
    pads(256.0, 288.0, 0.6f, 900.0f, 3200.0f);
    arpeggio(256.0, 288.0, 0.32f);
    bass(256.0, 288.0, BassLine::Long, 0.6f, 0.0f);
    drums(
        256.0, 272.0,
        DrumPattern("................", "................", "7353735373537353", "................"),
        1.4f);
    drums(
        272.0, 284.0,
        DrumPattern("x.........x.....", "................", "7353735373537353", "..............4."),
        1.0f);
    roll(284.0, 288.0, 0.3f, 0.8f);
    riser(280.0, 287.5, 0.3f);

    // Hog, beats 288-321: four title cards, eight beats apart, each on an impact;
    // then "hold it": a roll and a swell, one silent beat, and the drop on 321.
    for (double beat : {288.0, 296.0, 304.0, 312.0})
        impact(beat, 1.0f);
    drums(288.0, 312.0, DrumPattern::intro(), 0.8f);
    bass(288.0, 312.0, BassLine::HalfTime, 0.75f, 0.3f);
    pads(288.0, 320.0, 0.4f, 800.0f, 4000.0f);
    roll(312.0, 319.75, 0.3f, 1.0f);
    riser(312.0, 320.0, 0.4f);

    // Blob, beats 321-352: the second drop lands on the snare of beat 321.
    impact(321.0, 1.2f);
    drums(321.0, 336.0, DrumPattern::chopped(), 1.0f);
    drums(336.0, 348.0, DrumPattern::choppedAnswer(), 1.0f);
    roll(348.0, 352.0, 0.5f, 1.0f);
    bass(321.0, 352.0, BassLine::Rolling, 0.85f, 0.7f);
    pads(321.0, 352.0, 0.3f, 1600.0f, 1600.0f);
    melody(336.0, 348.0, 0.3f);

    // Test, beats 352-385: "jump"; plucks over the two-step, a swell to "step" on 384.
    impact(352.0, 1.0f);
    drums(352.0, 380.0, DrumPattern::twoStep(), 1.0f);
    roll(380.0, 383.75, 0.5f, 1.0f);
    riser(371.0, 378.75, 0.35f);
    arpeggio(352.0, 380.0, 0.28f);
    bass(352.0, 382.0, BassLine::Rolling, 0.8f, 0.45f);
    pads(352.0, 384.0, 0.3f, 1200.0f, 3000.0f);
    impact(384.0, 1.0f);

    // Blob, beats 385-416: the lifting chords over a rolling break.
    drums(385.0, 412.0, DrumPattern::rolling(), 1.0f);
    roll(412.0, 416.0, 0.5f, 1.0f);
    bass(385.0, 414.0, BassLine::Rolling, 0.8f, 0.5f);
    arpeggio(385.0, 400.0, 0.25f);
    melody(400.0, 412.0, 0.3f);
    pads(384.0, 416.0, 0.4f, 2000.0f, 2500.0f);

    // Balls, beats 416-432: "go", the climax: a big snare and a stab on every backbeat.
    impact(416.0, 1.3f);
    drums(416.0, 428.0, DrumPattern::chopped(), 1.0f);
    roll(428.0, 432.0, 0.6f, 1.0f);
    for (double beat = 417.0; beat < 432.0; beat += 2.0)
        hit(beat, 0.6f);
    bass(416.0, 432.0, BassLine::Rolling, 0.85f, 0.75f);
    pads(416.0, 432.0, 0.35f, 2500.0f, 4000.0f);
    melody(416.0, 428.0, 0.3f);

    ending();
}

// Test, beats 432-456: the logo. Four big snares on 433-439, then everything fades
// towards beat 448, where a last boom and chord ring out past the demo's end.
void Song::ending()
{
    impact(432.0, 1.1f);
    for (double beat : {433.0, 435.0, 437.0, 439.0})
        hit(beat, 1.0f);
    bass(432.0, 440.0, BassLine::HalfTime, 0.8f, 0.5f);
    pads(432.0, 448.0, 0.45f, 3000.0f, 400.0f);
    for (int bar = 0; bar < 2; ++bar)
    {
        const double from = 440.0 + 4.0 * bar;
        drums(from, from + 4.0,
              DrumPattern("x.........x.....", "................", "5.3.5.3.5.3.5.3.",
                          "................"),
              0.6f - 0.25f * static_cast<float>(bar));
    }
    m_riser.play(m_mixer.bus(Bus::Effects), frameOf(440.0), frameOf(8.0), 6000.0f, 300.0f, 0.4f,
                 false);
    m_boom.play(m_mixer.bus(Bus::Drums), frameOf(448.0), 0.7f);
    m_crash.play(m_mixer.bus(Bus::Drums), frameOf(448.0), 0.35f);
    const Chord& last = Chord::main(0);
    m_pad.play(m_mixer.bus(Bus::Music), frameOf(448.0), frameOf(8.0), last.voicing(), 0.5f, 2200.0f,
               500.0f);
    m_sub.play(m_mixer.bus(Bus::Bass), frameOf(448.0), frameOf(6.0), last.root(), 0.6f,
               last.root());
}

void Song::drums(double a_from, double a_to, const DrumPattern& a_pattern, float a_level)
{
    StereoBuffer& out = m_mixer.bus(Bus::Drums);
    for (double bar = 4.0 * floor(a_from / 4.0); bar < a_to; bar += 4.0)
    {
        for (int step = 0; step < DrumPattern::kSteps; ++step)
        {
            const double beat = bar + 0.25 * step;
            if (beat < a_from || beat >= a_to)
                continue;
            const size_t frame = frameOf(beat);
            if (a_pattern.kick(step) > 0.0f)
            {
                m_kick.play(out, frame, a_level * a_pattern.kick(step));
                m_mixer.duck(frame, 0.6f * a_pattern.kick(step));
            }
            if (a_pattern.snare(step) > 0.0f)
                m_snare.play(out, frame, 0.8f * a_level * a_pattern.snare(step), 0.05f);
            if (a_pattern.hat(step) > 0.0f)
                m_hat.play(out, frame, 0.75f * a_level * a_pattern.hat(step), 0.25f);
            if (a_pattern.openHat(step) > 0.0f)
                m_openHat.play(out, frame, 0.4f * a_level * a_pattern.openHat(step), -0.25f);
        }
    }
}

// A snare roll that speeds up from eighths to sixteenths, growing louder. The
// backbeats stay accented and a sixteenth of air goes before each of them and
// before the roll's target, so they still land as hits.
void Song::roll(double a_from, double a_to, float a_fromLevel, float a_toLevel)
{
    StereoBuffer& out = m_mixer.bus(Bus::Drums);
    const double length = a_to - a_from;
    for (double beat = a_from; beat < a_to; beat += 0.25)
    {
        const double progress = (beat - a_from) / length;
        const bool accent = oddBeat(beat);
        const double next = beat + 0.25;
        if ((progress < 0.4 && fmod(beat, 0.5) != 0.0) || oddBeat(next) || next >= a_to)
            continue;
        const float level = a_fromLevel + (a_toLevel - a_fromLevel) * static_cast<float>(progress);
        if (accent)
            m_bigSnare.play(out, frameOf(beat), 0.8f * level);
        else
            m_snare.play(out, frameOf(beat), 0.5f * level, progress < 0.5 ? -0.15f : 0.15f);
        if (fmod(beat, 1.0) == 0.0)
        {
            m_kick.play(out, frameOf(beat), 0.5f * level);
            m_mixer.duck(frameOf(beat), 0.3f);
        }
    }
}

// The full-band accent under a flash: boom, kick, crash and a chord stab.
void Song::impact(double a_beat, float a_strength)
{
    StereoBuffer& drums = m_mixer.bus(Bus::Drums);
    const size_t frame = frameOf(a_beat);
    m_kick.play(drums, frame, 0.5f * fminf(a_strength, 1.0f));
    m_boom.play(drums, frame, 0.25f * a_strength);
    m_crash.play(drums, frame, 0.5f * a_strength);
    m_bigSnare.play(drums, frame, 0.5f * a_strength);
    m_mixer.duck(frame, 0.7f);
    m_stab.play(m_echoSend, frame, chordAt(a_beat).voicing(), 0.45f * a_strength);
}

// A backbeat accent: the big snare with a chord stab above it.
void Song::hit(double a_beat, float a_strength)
{
    const size_t frame = frameOf(a_beat);
    m_bigSnare.play(m_mixer.bus(Bus::Drums), frame, 0.8f * a_strength);
    m_stab.play(m_echoSend, frame, chordAt(a_beat).voicing(1), 0.3f * a_strength);
}

void Song::pads(double a_from, double a_to, float a_level, float a_fromCutoff, float a_toCutoff)
{
    const double length = a_to - a_from;
    double start = a_from;
    while (start < a_to)
    {
        // Chords change on the eight-beat grid, so a part that starts late gets a short chord.
        const double end = fmin(8.0 * floor(start / 8.0) + 8.0, a_to);
        const float from = static_cast<float>((start - a_from) / length);
        const float to = static_cast<float>((end - a_from) / length);
        const float ratio = a_toCutoff / a_fromCutoff;
        m_pad.play(m_mixer.bus(Bus::Music), frameOf(start), frameOf(end - start),
                   chordAt(start).voicing(), a_level, a_fromCutoff * powf(ratio, from),
                   a_fromCutoff * powf(ratio, to));
        start = end;
    }
}

void Song::bass(double a_from, double a_to, BassLine a_line, float a_subLevel, float a_reeseLevel)
{
    struct Note
    {
        int step;        // sixteenths into the pattern
        int length;      // sixteenths
        float interval;  // semitones above the root; NAN: leads into the next bar
    };
    struct Pattern
    {
        double beats;
        std::vector<Note> notes;
    };
    // The sub follows the kick of the two-step; the long line holds each chord.
    static const Pattern kLong = {8.0, {{0, 30, 0.0f}}};
    static const Pattern kHalfTime = {4.0, {{0, 9, 0.0f}, {10, 5, 0.0f}}};
    static const Pattern kRolling = {4.0,
                                     {{0, 6, 0.0f}, {6, 3, 12.0f}, {10, 3, 0.0f}, {14, 2, NAN}}};
    const Pattern& pattern = a_line == BassLine::Long       ? kLong
                             : a_line == BassLine::HalfTime ? kHalfTime
                                                            : kRolling;

    float previous = chordAt(a_from).root();
    for (double start = pattern.beats * floor(a_from / pattern.beats); start < a_to;
         start += pattern.beats)
    {
        for (size_t n = 0; n < pattern.notes.size(); ++n)
        {
            const Note& step = pattern.notes[n];
            const double beat = start + 0.25 * step.step;
            if (beat < a_from || beat >= a_to)
                continue;
            // The lead-in note is the next chord's root before a change, else the fifth.
            const double nextBar = 4.0 * floor(beat / 4.0) + 4.0;
            const float note = isnan(step.interval) ? chordAt(nextBar).root() +
                                                          (fmod(nextBar, 8.0) == 0.0 ? 0.0f : 7.0f)
                                                    : chordAt(beat).root() + step.interval;
            const size_t length = frameOf(0.25 * step.length);
            m_sub.play(m_mixer.bus(Bus::Bass), frameOf(beat), length, note, a_subLevel, previous);
            if (a_reeseLevel > 0.0f)
                m_reese.play(m_mixer.bus(Bus::Bass), frameOf(beat), length, note + 12.0f,
                             a_reeseLevel, 500.0f + 300.0f * static_cast<float>(n));
            previous = note;
        }
    }
}

// Plucked sixteenths walking up and down the chord an octave above the pads.
void Song::arpeggio(double a_from, double a_to, float a_level)
{
    static const int kOrder[8] = {0, 2, 4, 1, 3, 2, 4, 3};
    int index = 0;
    for (double beat = a_from; beat < a_to; beat += 0.25, ++index)
    {
        const std::vector<float> notes = chordAt(beat).voicing(1);
        const float note = notes[static_cast<size_t>(kOrder[index % 8]) % notes.size()];
        const float accent = index % 4 == 0 ? 1.0f : 0.65f;
        m_pluck.play(m_echoSend, frameOf(beat), {note}, a_level * accent,
                     index % 2 == 0 ? -0.4f : 0.4f);
    }
}

// The hook: a phrase of chord tones over the 32 beats of each progression, played
// on a soft lead through the echo.
void Song::melody(double a_from, double a_to, float a_level)
{
    struct Note
    {
        double beat;  // within the 32-beat phrase
        float note;   // MIDI
    };
    static const std::vector<Note> kMain = {
        {0.0, 81},  {1.5, 84},  {3.0, 81},  {4.0, 79},  {5.5, 77},  {6.5, 76},   // Dm9
        {8.0, 77},  {9.5, 81},  {11.0, 84}, {12.0, 81}, {13.5, 79}, {14.5, 77},  // Bbmaj7
        {16.0, 74}, {17.5, 77}, {19.0, 79}, {20.0, 81}, {21.5, 82}, {22.5, 81},  // Gm7
        {24.0, 76}, {25.5, 79}, {27.0, 81}, {28.0, 86}, {29.5, 84}, {30.5, 81},  // A7sus4
    };
    static const std::vector<Note> kLifting = {
        {0.0, 86},  {1.5, 84},  {3.0, 81},  {4.5, 77},  {6.0, 79},   // Bbmaj7(9)
        {8.0, 76},  {9.5, 79},  {11.0, 81}, {12.5, 84}, {14.0, 86},  // C6/9
        {16.0, 81}, {17.5, 77}, {19.0, 76}, {20.5, 74}, {22.0, 77},  // Dm9
        {24.0, 76}, {25.5, 79}, {27.0, 81}, {28.5, 84}, {30.0, 88},  // Am7
    };
    for (double phrase = 32.0 * floor(a_from / 32.0); phrase < a_to; phrase += 32.0)
    {
        for (const Note& note : liftingAt(phrase) ? kLifting : kMain)
        {
            const double beat = phrase + note.beat;
            if (beat >= a_from && beat < a_to)
                m_lead.play(m_echoSend, frameOf(beat), {note.note}, a_level, 0.15f);
        }
    }
}

void Song::riser(double a_from, double a_to, float a_level)
{
    m_riser.play(m_mixer.bus(Bus::Effects), frameOf(a_from), frameOf(a_to - a_from), 300.0f,
                 9000.0f, a_level, true);
}

bool Song::liftingAt(double a_beat)
{
    return (a_beat >= 192.0 && a_beat < 288.0) || (a_beat >= 384.0 && a_beat < 416.0);
}

const Chord& Song::chordAt(double a_beat)
{
    const int index = static_cast<int>(floor(a_beat / 8.0));
    return liftingAt(a_beat) ? Chord::lifting(index) : Chord::main(index);
}
