// The five parts of the demo, one per scene: each picks its camera, its
// scene's and camera's frame times, shake and flashes from demo time, and
// the frame's shading (the drawing stages put them on the scene).
#pragma once

#include "demo/Timeline.h"

struct DemoState;

// a_frame's part, scene, camera, times, shake, flicker, envelope and
// shading at a_time; a_memory holds what a part carries between frames.
using PartFunction = void (*)(const DemoState* a_demo, float a_time, FrameMemory* a_memory,
                              FrameDescription* a_frame);

void hogPart(const DemoState* a_demo, float a_time, FrameMemory* a_memory,
             FrameDescription* a_frame);
void testPart(const DemoState* a_demo, float a_time, FrameMemory* a_memory,
              FrameDescription* a_frame);
void ballsPart(const DemoState* a_demo, float a_time, FrameMemory* a_memory,
               FrameDescription* a_frame);
void blobPart(const DemoState* a_demo, float a_time, FrameMemory* a_memory,
              FrameDescription* a_frame);
void satellitePart(const DemoState* a_demo, float a_time, FrameMemory* a_memory,
                   FrameDescription* a_frame);
