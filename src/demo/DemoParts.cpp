// The parts' cameras, times, shakes, flashes and frame values. All
// arithmetic is in float, as the flashes and cuts were timed.
#include "demo/DemoParts.h"

#include "core/Assert.h"
#include "demo/DemoState.h"
#include "demo/Timeline.h"
#include "scene/Scene.h"

#include <math.h>
#include <string.h>

#include <algorithm>
#include <initializer_list>

namespace
{

// The x of the camera-shake noise at a_time.
float noise(float a_time)
{
    return CameraShake::g_shakeNoise.sample(a_time).x;
}

// The first light of the scene flickers around 1.4 times its colour.
void flicker(FrameDescription* a_frame, float a_time)
{
    a_frame->flicker = true;
    a_frame->firstLightIntensity = std::max(0.0f, noise(50.0f * a_time) + 1.4f);
}

void shake(FrameDescription* a_frame, float a_position, float a_target, float a_roll, float a_phase)
{
    a_frame->positionShake = a_position;
    a_frame->targetShake = a_target;
    a_frame->rollShake = a_roll;
    a_frame->shakePhase = a_phase;
}

// At demo time a_time: a flash of one second starting a_beat beats in, and
// a bump a_width seconds wide around it.
float flash(const DemoState* a_demo, float a_time, float a_beat)
{
    return decay(a_time, beats(a_demo, a_beat), 1.0f, 1.0f);
}

float bump(const DemoState* a_demo, float a_time, float a_beat, float a_width)
{
    return pulse(a_time, beats(a_demo, a_beat), a_width, 1.0f);
}

// a_envelope minus a_scale x flash at every a_step-th beat from a_first to
// a_last, in that order; a_divisor divides each flash instead when set.
float minusFlashes(const DemoState* a_demo, float a_time, float a_envelope, int a_first, int a_last,
                   int a_step, float a_scale = 1.0f, float a_divisor = 0.0f)
{
    for (int beat = a_first; beat <= a_last; beat += a_step)
    {
        const float value = flash(a_demo, a_time, float(beat));
        a_envelope -= a_divisor != 0.0f ? value / a_divisor : a_scale * value;
    }
    return a_envelope;
}

void use(FrameDescription* a_frame, Scene* a_scene, Camera* a_camera, const char* a_part,
         float a_envelope)
{
    a_frame->part = a_part;
    a_frame->scene = a_scene;
    a_frame->camera = a_camera;
    for (uint32_t i = 0; i < a_scene->m_cameras.count(); ++i)
    {
        if (a_scene->m_cameras.at(i) == a_camera)
        {
            a_frame->cameraIndex = i;
            a_frame->cameraName = a_scene->m_cameras.nameAt(i);
        }
    }
    a_frame->envelope = a_envelope;
}

// The deferred shading's and the filters' settings: an ambient of a_ambient
// in each colour, a fog of a_grey in each.
void shade(FrameDescription* a_frame, float a_ambient, float a_contrast, float a_saturation,
           float a_brightness, float a_grey, float a_fogNear, float a_fogFar, float a_blurArea,
           float a_dofFar)
{
    const float ambient[4] = {a_ambient, a_ambient, a_ambient, 0.0f};
    const float fog[4] = {a_grey, a_grey, a_grey, 0.0f};
    memcpy(a_frame->ambient, ambient, sizeof(ambient));
    a_frame->contrast = a_contrast;
    a_frame->saturation = a_saturation;
    a_frame->brightness = a_brightness;
    memcpy(a_frame->fog, fog, sizeof(fog));
    a_frame->fogNear = a_fogNear;
    a_frame->fogFar = a_fogFar;
    a_frame->blurArea = a_blurArea;
    a_frame->dofFar = a_dofFar;
}

}  // namespace

// The hog cycles through its first three cameras every 16 beats; in the
// opening each 16-beat block replays the same stretch of the animation.
void hogPart(const DemoState* a_demo, float a_time, FrameMemory* a_memory,
             FrameDescription* a_frame)
{
    Scene* scene = a_demo->m_hogScene;
    const float t = a_time;
    const float block = beats(a_demo, 16.0f);
    const uint32_t index = static_cast<uint32_t>(static_cast<int64_t>(truncf(t / block)) % 3);
    Camera* camera = scene->m_cameras.at(index);
    shake(a_frame, 500.0f, 200.0f, 1.0f, 0.0f);
    float& cameraTime = a_memory->hogCameraTimes[index];
    if (t < beats(a_demo, 64.0f))
    {
        const float start = block * truncf(t / secondsPerBeat(a_demo) / 16.0f);
        a_frame->sceneTime = -15.0f * (t - start);
        cameraTime = 15.0f * (t - start);
    }
    else if (t < beats(a_demo, 296.0f))
        a_frame->sceneTime = -30.0f * t;
    else if (t < beats(a_demo, 304.0f))
        a_frame->sceneTime = -25.0f * (t - beats(a_demo, 296.0f));
    else if (t < beats(a_demo, 306.0f))
        a_frame->sceneTime = -25.0f * (t - beats(a_demo, 304.0f));
    else
        a_frame->sceneTime = -25.0f * (t - beats(a_demo, 312.0f));
    a_frame->cameraTime = cameraTime;

    float envelope = 1.0f;
    for (float beat : {0.0f, 16.0f, 32.0f, 48.0f})
        envelope -= flash(a_demo, t, beat);
    envelope -= bump(a_demo, t, 64.0f, 2.0f);
    use(a_frame, scene, camera, "hog", envelope);
    flicker(a_frame, t);
    shade(a_frame, 0.0f, 2.5f * envelope, envelope, 1.4f * envelope, 0.2857143f, 10.0f,
          2200.0f - 500.0f * noise(60.0f * t), 10.0f, 1800.0f);
}

// The test room plays five times: three stretches of the first camera from
// beat 64, the third camera from 256, the second from 352, and the first
// again for the finale from 432.
void testPart(const DemoState* a_demo, float a_time, FrameMemory*, FrameDescription* a_frame)
{
    Scene* scene = a_demo->m_testScene;
    const float t = a_time;
    const char* name = "Camera01";
    float local = t - beats(a_demo, 64.0f);
    float cameraTime = 0.0f;
    float shakes[4] = {};
    if (local < beats(a_demo, 16.0f))
    {
        cameraTime = 28.0f * local;
        shakes[0] = 100, shakes[1] = 100, shakes[2] = 4, shakes[3] = 5800;
    }
    else if (local < beats(a_demo, 32.0f))
    {
        local = t - beats(a_demo, 80.0f);
        cameraTime = -28.0f * local;
        shakes[0] = 900, shakes[1] = 900, shakes[2] = 4, shakes[3] = 9800;
    }
    else if (local < beats(a_demo, 64.0f))
    {
        local = t - beats(a_demo, 96.0f);
        cameraTime = 8.0f * local + 50.0f;
        shakes[0] = 600, shakes[1] = 300, shakes[2] = 4, shakes[3] = 2000;
    }
    else
    {
        local = t - beats(a_demo, 144.0f);
        cameraTime = 15000.0f;
        shakes[0] = 800, shakes[1] = 800, shakes[2] = 4, shakes[3] = 8000;
    }
    float sceneTime = 40.0f * local;

    if (t > beats(a_demo, 432.0f))
    {
        local = t - beats(a_demo, 432.0f);
        cameraTime = sceneTime = 25.0f * local;
        shakes[0] = 100, shakes[1] = 0, shakes[2] = 3, shakes[3] = 532;
    }
    else if (t > beats(a_demo, 352.0f) && t - beats(a_demo, 352.0f) < beats(a_demo, 16.0f))
    {
        name = "Camera02";
        local = t - beats(a_demo, 352.0f);
        cameraTime = sceneTime = -30.0f * local - 100.0f;
        shakes[0] = 500, shakes[1] = 500, shakes[2] = 4, shakes[3] = 8000;
    }
    else if (t > beats(a_demo, 352.0f))
    {
        name = "Camera02";
        local = t - beats(a_demo, 368.0f);
        cameraTime = 20.0f * local;
        sceneTime = 40.0f * local;
        shakes[0] = 20, shakes[1] = 20, shakes[2] = 1, shakes[3] = 8000;
    }
    else if (t > beats(a_demo, 256.0f))
    {
        name = "Camera03";
        local = t - beats(a_demo, 256.0f);
        cameraTime = sceneTime = 20.0f * local;
        shakes[0] = 20, shakes[1] = 20, shakes[2] = 1, shakes[3] = 8000;
    }
    Camera* camera = scene->m_cameras.find(name);
    TARVO_ASSERT(camera);
    a_frame->cameraTime = cameraTime;
    a_frame->sceneTime = sceneTime;
    shake(a_frame, shakes[0], shakes[1], shakes[2], shakes[3]);

    float envelope = 1.0f;
    for (float beat : {64.0f, 80.0f, 96.0f, 112.0f, 144.0f, 433.0f, 435.0f, 437.0f, 439.0f})
        envelope -= flash(a_demo, t, beat);
    envelope -= bump(a_demo, t, 448.0f, 4.0f);
    if (t > beats(a_demo, 352.0f) && t <= beats(a_demo, 432.0f))
    {
        envelope = minusFlashes(a_demo, t, envelope, 353, 367, 2, 1.0f, 1.5f);
        envelope = minusFlashes(a_demo, t, envelope, 369, 377, 2, 1.0f, 1.3f);
        envelope = minusFlashes(a_demo, t, envelope, 379, 383, 2, 1.0f, 1.6f);
        envelope -= bump(a_demo, t, 384.0f, 4.0f) / 1.5f;
    }
    use(a_frame, scene, camera, "test", envelope);
    shade(a_frame, 0.0f, 2.0f, 1.0f, 1.25f, 0.2857143f, 20.0f,
          (1500.0f - 1800.0f * noise(50.0f * local)) * envelope, 4.0f, 1500.0f);
}

// Between beats 176 and 192 the third row's time is negative: the balls
// run backwards into their finale.
void ballsPart(const DemoState* a_demo, float a_time, FrameMemory*, FrameDescription* a_frame)
{
    Scene* scene = a_demo->m_ballsScene;
    const float t = a_time;
    Camera* camera = scene->m_cameras.at(0);
    float local = t - beats(a_demo, 128.0f);
    if (local < beats(a_demo, 16.0f))
    {
        a_frame->cameraTime = 25.0f * local;
        shake(a_frame, 10.0f, 200.0f, 2.0f, 5000.0f);
    }
    else if (local < beats(a_demo, 48.0f))
    {
        local = local - beats(a_demo, 32.0f);
        a_frame->cameraTime = 25.0f * local;
        shake(a_frame, 250.0f, 350.0f, 6.0f, 5000.0f);
    }
    else
    {
        local = t - beats(a_demo, 416.0f);
        a_frame->cameraTime = -25.0f * local - 100.0f;
        shake(a_frame, 0.0f, 650.0f, 8.0f, 5000.0f);
    }
    a_frame->sceneTime = -20.0f * local;

    float envelope = minusFlashes(a_demo, t, 1.0f, 129, 143, 2);
    envelope = minusFlashes(a_demo, t, envelope, 161, 191, 2);
    envelope -= 3.6f * bump(a_demo, t, 192.0f, 4.0f);
    envelope = minusFlashes(a_demo, t, envelope, 417, 431, 2, 3.0f);
    use(a_frame, scene, camera, "balls", envelope);
    flicker(a_frame, local);
    shade(a_frame, 0.0f, 2.5f, 1.0f, 1.4f, 0.22222222f, 0.0f,
          (1200.0f - 300.0f * noise(20.0f * local)) * (0.25f * envelope + 0.75f), 5.0f, 800.0f);
}

// From its third stretch on, the blob's camera shake cuts to a new pattern
// every second beat.
void blobPart(const DemoState* a_demo, float a_time, FrameMemory*, FrameDescription* a_frame)
{
    Scene* scene = a_demo->m_blobScene;
    const float t = a_time;
    Camera* camera = scene->m_cameras.at(0);
    a_frame->fovScale = 1.5f;
    const float local = t - beats(a_demo, 320.0f);
    if (local < beats(a_demo, 17.0f))
    {
        a_frame->sceneTime = -40.0f * local - 100.0f;
        a_frame->cameraTime = 20.0f * local;
        shake(a_frame, 40.0f, 160.0f, 3.0f, 250.0f);
    }
    else if (local < beats(a_demo, 32.0f))
    {
        a_frame->sceneTime = 30.0f * (local - beats(a_demo, 17.0f));
        a_frame->cameraTime = 20.0f * (local - beats(a_demo, 17.0f));
        shake(a_frame, 40.0f, 160.0f, 3.0f, 30250.0f);
    }
    else
    {
        a_frame->sceneTime = a_frame->cameraTime = 20.0f * (local - beats(a_demo, 17.0f));
        const float cut = truncf((local + beats(a_demo, 1.0f)) / beats(a_demo, 2.0f));
        shake(a_frame, 140.0f, 160.0f, 4.0f, 30250.0f + 100.0f * cut);
    }

    float envelope = minusFlashes(a_demo, t, 1.0f, 321, 351, 2);
    envelope = minusFlashes(a_demo, t, envelope, 385, 415, 2, 1.0f, 1.3f);
    use(a_frame, scene, camera, "blob", envelope);
    flicker(a_frame, local);
    shade(a_frame, 0.0f, 2.6f, 1.0f, 1.4f, 0.22222222f, 10.0f,
          (800.0f - 200.0f * noise(a_frame->cameraTime)) * (envelope + 0.1f), 10.0f, 800.0f);
}

// The satellite's field of view breathes between half and one and a half
// times the exported one.
void satellitePart(const DemoState* a_demo, float a_time, FrameMemory*, FrameDescription* a_frame)
{
    Scene* scene = a_demo->m_satelliteScene;
    const float t = a_time;
    Camera* camera = scene->m_cameras.at(0);
    const float local = t - beats(a_demo, 192.0f);
    shake(a_frame, 10.0f, 50.0f, 1.0f, 250.0f);
    a_frame->sceneTime = -40.0f * local - 100.0f;
    a_frame->cameraTime = t > beats(a_demo, 256.0f) ? -5.0f * (t - beats(a_demo, 256.0f)) - 500.0f
                                                    : 5.0f * local + 500.0f;
    a_frame->fovScale = 0.5f * (sinf(noise(local)) + 1.0f) + 0.5f;

    float envelope = 1.0f - 2.0f * flash(a_demo, t, 192.0f);
    envelope = minusFlashes(a_demo, t, envelope, 197, 253, 4);
    use(a_frame, scene, camera, "satellite", envelope);
    shade(a_frame, 0.05f, 2.6f, 1.0f, 1.4f, 0.22222222f, 10.0f,
          (300.0f - 100.0f * noise(20.0f * local)) * (0.5f * envelope + 0.5f), 10.0f, 1800.0f);
}
