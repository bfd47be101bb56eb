// The demo's timeline: demo time to beats of the music, the part that plays
// at each beat, the envelopes the parts build their flashes from, the frame
// every part draws, and the finishing step with the Break filter and the
// overlays.
#pragma once

#include <stdint.h>

struct DemoState;
class Camera;
class RenderTarget;
class Scene;

namespace Timeline
{
// Frames that went through finishFrame since the process started.
extern uint32_t g_finishedFrames;
// The beat the demo ends on (with Loop off) or starts over after (with it on).
constexpr float kLastBeat = 456.0f;
// The soundtrack's tempo, which the beat grid follows.
constexpr float kBeatsPerMinute = 170.0f;
}

// With Loop off, true from the last beat on: the demo has ended, and the
// main loop ends the process with exit code 0 instead of drawing a frame.
bool demoEnded(const DemoState* a_demo);

// One frame of the demo at Time::g_time; nothing once the demo has ended.
void runTimeline(DemoState* a_demo);

// Seconds per beat of the soundtrack's tempo, and a_beats of them (floats).
float secondsPerBeat(const DemoState* a_demo);
float beats(const DemoState* a_demo, float a_beats);

// The start of beat a_beat of bar a_bar of pattern a_pattern, in seconds:
// patterns are 16 beats, bars 4, and the grid starts 5 beats early.
float beatTime(const DemoState* a_demo, int32_t a_bar, int32_t a_pattern, int32_t a_beat);

// Envelopes of demo time, 0 to 1: a bump peaking at a_center, and a flash
// that starts full just after a_start and fades over a_width (seconds).
float pulse(float a_center, float a_width, float a_power);
float decay(float a_start, float a_width, float a_power);

// What a part feeds the frame it draws.
struct PartFrame
{
    Scene* scene;  // its m_camera and m_time already set
    float ambient[4];
    float contrast, saturation, brightness;
    float fog[4];
    float fogNear, fogFar;
    float blurArea;  // of the second blur
    float dofFar;
};

// The stages of a frame, in the order they run.
enum class FrameStage
{
    Geometry,       // the scene's materials into the G-buffer
    Lights,         // ambient, the scene's lights and its glow
    CombineAndFog,  // into target 1
    Blurs,          // target 1 lightly into 2, that strongly into 3
    DepthOfField,   // 1, 2 and 3 mixed by distance into 0
    Break,          // the Break filter from 0 into 1
    Copy,           // 1 onto the screen
};
constexpr int kFrameStages = 7;

// One stage of a_frame (the Break stage with the filter's parameters as
// finishFrame left them).
void drawFrameStage(DemoState* a_demo, const PartFrame& a_frame, FrameStage a_stage);

// The frame every part draws: the stages up to the depth of field, then
// finishFrame.
void drawPartFrame(DemoState* a_demo, const PartFrame& a_frame);

// The last step of every frame: the Break filter with the overlay of the
// moment from a_source, then onto the screen.
void finishFrame(DemoState* a_demo, RenderTarget* a_source, float a_brightness);
