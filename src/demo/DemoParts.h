// The five parts of the demo, one per scene: each picks its camera, drives
// the scene's and camera's frame times, shake and flashes from demo time,
// and draws the frame.
#pragma once

struct DemoState;

void drawHogPart(DemoState* a_demo);
void drawTestPart(DemoState* a_demo);
void drawBallsPart(DemoState* a_demo);
void drawBlobPart(DemoState* a_demo);
void drawSatellitePart(DemoState* a_demo);
