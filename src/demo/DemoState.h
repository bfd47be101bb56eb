// The one record of demo content: what content loading fills and the
// timeline and its parts read every frame, the frame they described last
// and what it hands on to the next.
#pragma once

#include "demo/FrameDescription.h"

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
    FrameDescription m_frame;  // the frame described last
    FrameMemory m_memory;
};
