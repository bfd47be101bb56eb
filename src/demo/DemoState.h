// The one record of demo content: what content loading fills and the
// timeline and its parts read every frame, and what the last frame chose.
#pragma once

#include <stdint.h>

class FilterBlur;
class FilterBreak;
class FilterDof;
class FilterGlow;
class FilterRadialBlur;
class Renderer;
class RenderTarget;
class Scene;
class Tarvo;
class Texture;

// The values the timeline chose for the frame it drew last, for tests and
// for the offline renderer's trace. Names point to constant strings or to
// the scenes' own name copies.
struct TimelineTrace
{
    float time;        // seconds of demo time
    float beat;        // time / seconds per beat
    const char* part;  // "hog", "test", "balls", "blob", "satellite"
    const char* camera;
    uint32_t cameraIndex;  // position in the scene's cameras
    float sceneTime;       // frames
    float cameraTime;      // frames
    float positionShake, targetShake, rollShake, shakePhase;
    float fovScale;
    float envelope;  // the part's brightness envelope B
    float fogNear, fogFar;
    float blurArea;  // the second blur's area
    float dofFar;
    const char* overlay;  // the Break filter's overlay file, or null before the first
    float overlayForce, overlayForce2;
    float breakBrightness;
};

// Allocated by the entry point filled with zero bytes; never destroyed.
struct DemoState
{
    Tarvo* m_tarvo;
    Renderer* m_renderer;
    FilterBlur* m_blur;
    FilterRadialBlur* m_radialBlur;
    FilterDof* m_dof;
    FilterGlow* m_glow;
    FilterBreak* m_break;
    RenderTarget* m_targets[4];  // full-screen, A16B16G16R16F
    Scene* m_testScene;
    Scene* m_hogScene;
    Scene* m_ballsScene;
    Scene* m_blobScene;
    Scene* m_satelliteScene;
    Texture* m_titleImages[3];
    Texture* m_goImage;
    Texture* m_jumpImage;
    Texture* m_stepImage;
    Texture* m_logoImage;
    Texture* m_holditImage;
    Texture* m_credits1Image;
    Texture* m_credits2Image;
    uint32_t m_loadStartTick;  // GetTickCount() when loading began; the loading bar's seed
    Texture* m_loadBar;
    TimelineTrace m_trace;
};
