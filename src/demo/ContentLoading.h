// Loading the demo's content behind a growing loading bar: the soundtrack,
// the filters, the full-screen targets, the five scenes and the overlays.
#pragma once

struct DemoState;
class Scene;
class Tarvo;

// Everything the timeline reads, into a_demo; then a black frame and a
// pause of 1.5 s. False (after the message of what was missing) when a
// piece of the shipped sequence cannot be loaded.
bool loadContent(Tarvo* a_tarvo, DemoState* a_demo);

// One whole frame of the loading screen: a_progress x 100 segments.
void drawLoadingBar(DemoState* a_demo, float a_progress);

// The scene registered under a_name, loaded and registered first when it
// is not; null when it cannot be loaded (after its message).
Scene* loadScene(DemoState* a_demo, const char* a_name);
