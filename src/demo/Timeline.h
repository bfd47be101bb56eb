// The demo's timeline: demo time to beats of the music, the part that plays
// at each beat and the envelopes the parts build their flashes from, which
// together describe a frame; and the stages that draw a described frame,
// ending with the Break filter and the overlays.
#pragma once

#include "demo/FrameDescription.h"

#include <stdint.h>

struct DemoState;

namespace Timeline
{
// The beat the demo ends on (with Loop off) or starts over after (with it on).
constexpr float kLastBeat = 456.0f;
// The soundtrack's tempo, which the beat grid follows.
constexpr float kBeatsPerMinute = 170.0f;
}

// The frame at a_time seconds of demo time (Time::g_time when the demo
// runs): the part of that beat and everything it sets, the overlay and the
// Break filter's brightness. Touches no device; reads the soundtrack's
// spectrum as the frame's Break filter will, and hands on a_demo's
// m_memory. With Loop off, from the last beat on the frame has ended and
// nothing else is set: the main loop ends the process with exit code 0.
FrameDescription describeFrame(DemoState* a_demo, float a_time);

// Seconds per beat of the soundtrack's tempo, and a_beats of them (floats).
float secondsPerBeat(const DemoState* a_demo);
float beats(const DemoState* a_demo, float a_beats);

// The start of beat a_beat of bar a_bar of pattern a_pattern, in seconds:
// patterns are 16 beats, bars 4, and the grid starts 5 beats early.
float beatTime(const DemoState* a_demo, int32_t a_bar, int32_t a_pattern, int32_t a_beat);

// Envelopes of demo time a_time, 0 to 1: a bump peaking at a_center, and a
// flash that starts full just after a_start and fades over a_width (seconds).
float pulse(float a_time, float a_center, float a_width, float a_power);
float decay(float a_time, float a_start, float a_width, float a_power);

// The stages of a frame, in the order they run.
enum class FrameStage
{
    Geometry,       // the scene's materials into the G-buffer
    Lights,         // ambient, the scene's lights and its glow
    CombineAndFog,  // into target 1
    Blurs,          // target 1 lightly into 2, that strongly into 3
    DepthOfField,   // 1, 2 and 3 mixed by distance into 0
    Break,          // the Break filter with the overlay from 0 into 1
    Copy,           // 1 onto the screen
};
constexpr int kFrameStages = 7;

// One stage of a_frame. The Geometry stage first puts the frame's times,
// camera, shake and flicker on its scene.
void drawFrameStage(DemoState* a_demo, const FrameDescription& a_frame, FrameStage a_stage);

// Every stage of a_frame, in order (nothing for a frame that has ended).
void drawFrame(DemoState* a_demo, const FrameDescription& a_frame);
