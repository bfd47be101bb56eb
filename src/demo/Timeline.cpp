// The timeline, its envelopes, the common frame and the finishing step.
#include "demo/Timeline.h"

#include "app/Tarvo.h"
#include "demo/DemoParts.h"
#include "demo/DemoState.h"
#include "filters/FilterBlur.h"
#include "filters/FilterBreak.h"
#include "filters/FilterDof.h"
#include "render/DeferredShading.h"
#include "render/Renderer.h"
#include "scene/Scene.h"
#include "sound/Soundtrack.h"
#include "sound/Time.h"

#include "core/LauncherSettings.h"

#include <math.h>

namespace
{

// Which part plays from each beat on (until the next row's).
const struct
{
    float from;
    PartFunction part;
} g_parts[] = {
    {0, hogPart},         {64, testPart},  {128, ballsPart},     {144, testPart}, {160, ballsPart},
    {192, satellitePart}, {256, testPart}, {272, satellitePart}, {288, hogPart},  {321, blobPart},
    {352, testPart},      {385, blobPart}, {416, ballsPart},     {432, testPart},
};

// The overlay of each stretch of beats (both ends excluded), in the order
// they are tested; a negative end means no end. Credits are steady
// ("overlayForce2"), everything else flashes with the picture.
const struct
{
    float from, to;
    Texture* (*image)(const DemoState*);
    const char* file;
    bool steady;
} g_overlays[] = {
    {128, 129, [](const DemoState* a_demo) { return a_demo->m_goImage; }, "go.jpg", false},
    {160, 161, [](const DemoState* a_demo) { return a_demo->m_jumpImage; }, "jump.jpg", false},
    {224, 236, [](const DemoState* a_demo) { return a_demo->m_credits1Image; }, "credits1.jpg",
     true},
    {240, 252, [](const DemoState* a_demo) { return a_demo->m_credits2Image; }, "credits2.jpg",
     true},
    {288, 290, [](const DemoState* a_demo) { return a_demo->m_titleImages[0]; }, "title1.jpg",
     false},
    {296, 298, [](const DemoState* a_demo) { return a_demo->m_titleImages[1]; }, "title2.jpg",
     false},
    {304, 306, [](const DemoState* a_demo) { return a_demo->m_titleImages[2]; }, "title3.jpg",
     false},
    {312, 321, [](const DemoState* a_demo) { return a_demo->m_holditImage; }, "holdit.jpg", false},
    {352, 353, [](const DemoState* a_demo) { return a_demo->m_jumpImage; }, "jump.jpg", false},
    {384, 385, [](const DemoState* a_demo) { return a_demo->m_stepImage; }, "step.jpg", false},
    {416, 417, [](const DemoState* a_demo) { return a_demo->m_goImage; }, "go.jpg", false},
    {432, -1, [](const DemoState* a_demo) { return a_demo->m_logoImage; }, "logo.jpg", false},
};

}  // namespace

float secondsPerBeat(const DemoState* a_demo)
{
    return static_cast<float>(60.0 / static_cast<double>(a_demo->m_tarvo->m_soundtrack->m_bpm));
}

float beats(const DemoState* a_demo, float a_beats)
{
    return a_beats * secondsPerBeat(a_demo);
}

float beatTime(const DemoState* a_demo, int32_t a_bar, int32_t a_pattern, int32_t a_beat)
{
    return secondsPerBeat(a_demo) * static_cast<float>(a_beat + 4 * a_bar + 16 * a_pattern - 5);
}

float pulse(float a_time, float a_center, float a_width, float a_power)
{
    const float distance = fabsf(a_time - a_center);
    return distance < a_width ? 1.0f - powf(distance / a_width, a_power) : 0.0f;
}

float decay(float a_time, float a_start, float a_width, float a_power)
{
    const float elapsed = a_time - a_start;
    return elapsed > 0.0f && elapsed <= a_width ? 1.0f - powf(elapsed / a_width, a_power) : 0.0f;
}

// The overlay of a beat: its credits are steady ("overlayForce2"), anything
// else flashes with the picture ("overlayForce"). The filter keeps the
// image assigned last.
static void describeOverlay(const DemoState* a_demo, float a_beat, FrameMemory* a_memory,
                            FrameDescription* a_frame)
{
    for (const auto& overlay : g_overlays)
    {
        if (a_beat > overlay.from && (overlay.to < 0.0f || a_beat < overlay.to))
        {
            a_memory->overlay = overlay.file;
            a_memory->overlayImage = overlay.image(a_demo);
            (overlay.steady ? a_frame->overlayForce2 : a_frame->overlayForce) = 1.0f;
            break;
        }
    }
    a_frame->overlay = a_memory->overlay;
    a_frame->overlayImage = a_memory->overlayImage;
}

// Past the last beat with Loop on, the test part plays on until the music
// wraps to the start.
FrameDescription describeFrame(DemoState* a_demo, float a_time)
{
    FrameDescription frame = {};
    frame.time = a_time;
    frame.beat = a_time / secondsPerBeat(a_demo);
    if (a_time >= beats(a_demo, Timeline::kLastBeat) && !g_loop)
    {
        frame.ended = true;
        return frame;
    }
    PartFunction part = g_parts[0].part;
    for (const auto& row : g_parts)
    {
        if (a_time >= beats(a_demo, row.from))
            part = row.part;
    }
    FrameMemory* memory = &a_demo->m_memory;
    frame.fovScale = 1.0f;  // the exported field of view, unless the part breathes it
    part(a_demo, a_time, memory, &frame);
    describeOverlay(a_demo, frame.beat, memory, &frame);
    // The first frames of a run show nothing.
    frame.breakBrightness = memory->finishedFrames > 2 ? 1.0f : 0.0f;
    ++memory->finishedFrames;
    // The spectrum refreshes when read at least 0.05 s of demo time after
    // its last refresh: reading it here, as the frame's Break filter will,
    // keeps that rhythm on frames that are described and not drawn.
    if (Time::g_soundtrack)
        Time::g_soundtrack->getSpectrum();
    return frame;
}

// The Break filter must not read the target it draws into: from the depth
// of field's output (target 0) it draws into target 1, whose combined image
// the depth of field has used already.
static RenderTarget* breakOutput(DemoState* a_demo, RenderTarget* a_source)
{
    return a_source == a_demo->m_targets[1] ? a_demo->m_targets[2] : a_demo->m_targets[1];
}

// The frame's times, camera, shake and flicker on its scene.
static void pose(const FrameDescription& a_frame)
{
    Scene* scene = a_frame.scene;
    Camera* camera = a_frame.camera;
    scene->m_camera = camera;
    scene->m_time = a_frame.sceneTime;
    camera->m_time = a_frame.cameraTime;
    camera->m_positionShake = a_frame.positionShake;
    camera->m_targetShake = a_frame.targetShake;
    camera->m_rollShake = a_frame.rollShake;
    camera->m_shakePhase = a_frame.shakePhase;
    camera->m_fovScale = a_frame.fovScale;
    if (a_frame.flicker)
        scene->m_lights.at(0)->m_intensity = a_frame.firstLightIntensity;
}

// The pipeline's order: materials into the G-buffer, lights and glow into
// the light buffers, combine and fog into target 1; a light blur of it
// into 2 and a strong blur of that into 3; the depth of field mixes 1, 2
// and 3 by distance into 0, which the Break filter reads into a spare
// target, shown on the screen.
void drawFrameStage(DemoState* a_demo, const FrameDescription& a_frame, FrameStage a_stage)
{
    DeferredShading* deferred = a_demo->m_tarvo->m_deferred;
    Scene* scene = a_frame.scene;
    Camera* camera = a_frame.camera;
    RenderTarget** targets = a_demo->m_targets;
    FilterBreak* filter = a_demo->m_break;
    switch (a_stage)
    {
    case FrameStage::Geometry:
    {
        pose(a_frame);
        deferred->beginGeometryPass();
        deferred->m_view = camera->viewMatrix();
        deferred->m_projection = camera->projectionMatrix();
        const D3DXVECTOR3 eye = camera->eye();
        deferred->m_viewPosition = D3DXVECTOR4(eye.x, eye.y, eye.z, 1.0f);
        deferred->setViewConstants();
        if (deferred->beginDepthPass())
        {
            scene->render();
            deferred->beginShadingPass();
        }
        scene->render();
        deferred->endGeometryPass();
        break;
    }
    case FrameStage::Lights:
        deferred->beginLightPass(a_frame.ambient);
        scene->renderLights();
        scene->renderSelfIllumination();
        deferred->endLightPass();
        break;
    case FrameStage::CombineAndFog:
        deferred->combine(*targets[1], a_frame.contrast, a_frame.saturation, a_frame.brightness);
        deferred->applyFog(*targets[1], a_frame.fog, a_frame.fogNear, a_frame.fogFar);
        break;
    case FrameStage::Blurs:
        a_demo->m_blur->setParameter("passes", int32_t(5));
        a_demo->m_blur->setParameter("area", 4.0f);
        a_demo->m_blur->m_sourceBlurred = false;
        a_demo->m_blur->apply(targets[2], targets[1], nullptr, nullptr, nullptr);
        // The second blur reads the first's bell, which five taps a pass keep smooth.
        a_demo->m_blur->m_sourceBlurred = true;
        a_demo->m_blur->setParameter("passes", int32_t(4));
        a_demo->m_blur->setParameter("area", a_frame.blurArea);
        a_demo->m_blur->apply(targets[3], targets[2], nullptr, nullptr, nullptr);
        break;
    case FrameStage::DepthOfField:
        a_demo->m_dof->setParameter("far", a_frame.dofFar);
        a_demo->m_dof->apply(targets[0], targets[1], targets[2], deferred->m_gbuffer[3],
                             targets[3]);
        break;
    case FrameStage::Break:
        filter->setParameter("brightness", a_frame.breakBrightness);
        if (a_frame.overlayImage)
            filter->m_overlay = a_frame.overlayImage;
        filter->setParameter("overlayForce", a_frame.overlayForce);
        filter->setParameter("overlayForce2", a_frame.overlayForce2);
        filter->apply(breakOutput(a_demo, targets[0]), targets[0], nullptr, nullptr, nullptr);
        // The credits' steady force lasts only while a frame is drawn.
        filter->setParameter("overlayForce2", 0.0f);
        break;
    case FrameStage::Copy:
        a_demo->m_renderer->drawToScreen(breakOutput(a_demo, targets[0]));
        break;
    }
}

void drawFrame(DemoState* a_demo, const FrameDescription& a_frame)
{
    if (a_frame.ended)
        return;
    for (int stage = 0; stage < kFrameStages; ++stage)
        drawFrameStage(a_demo, a_frame, static_cast<FrameStage>(stage));
}
