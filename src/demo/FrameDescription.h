// What the timeline decides for one frame, from demo time alone: the part
// and its scene, the camera and its shake, the times, the envelope, the
// shading, fog, blur and depth-of-field settings, and the overlay. The
// drawing stages take nothing else from the timeline; the offline renderer
// writes it to its trace, and tests read it without a device.
#pragma once

#include <stdint.h>

class Camera;
class Scene;
class Texture;

struct FrameDescription
{
    bool ended;  // past the last beat with Loop off: nothing is drawn
    float time;  // seconds of demo time
    float beat;  // time / seconds per beat

    // The part, its scene and the camera it looks through.
    const char* part;  // "hog", "test", "balls", "blob", "satellite"
    Scene* scene;
    Camera* camera;          // one of the scene's cameras
    const char* cameraName;  // its name in the scene
    uint32_t cameraIndex;    // its position in the scene's cameras
    float sceneTime;         // frames
    float cameraTime;        // frames
    float positionShake, targetShake, rollShake, shakePhase;
    float fovScale;
    bool flicker;               // the part sets its first light's intensity:
    float firstLightIntensity;  // this one
    float envelope;             // the part's brightness envelope B

    // The deferred shading's settings and the filters' parameters.
    float ambient[4];
    float contrast, saturation, brightness;
    float fog[4];
    float fogNear, fogFar;
    float blurArea;  // the second blur's area
    float dofFar;

    // The Break filter: the overlay assigned last (it stays assigned after
    // its stretch, with no force), and the frame's forces and brightness.
    const char* overlay;  // its file, or null before the first
    Texture* overlayImage;
    float overlayForce, overlayForce2;
    float breakBrightness;
};

// What one frame hands on to the next, besides the soundtrack's spectrum
// (which the soundtrack keeps): filled with zero bytes at the start.
struct FrameMemory
{
    uint32_t finishedFrames;  // frames described so far
    float hogCameraTimes[3];  // the hog's cameras stay where its opening left them
    const char* overlay;      // the overlay assigned last, and its image
    Texture* overlayImage;
};
