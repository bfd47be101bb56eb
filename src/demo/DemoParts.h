// The five parts of the demo, one per scene: each picks its camera, drives
// the scene's and camera's frame times, shake and flashes from demo time,
// and returns what the frame is to be drawn with (drawPartFrame draws it).
#pragma once

#include "demo/Timeline.h"

struct DemoState;

PartFrame hogPart(DemoState* a_demo);
PartFrame testPart(DemoState* a_demo);
PartFrame ballsPart(DemoState* a_demo);
PartFrame blobPart(DemoState* a_demo);
PartFrame satellitePart(DemoState* a_demo);
