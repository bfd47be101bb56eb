// Shots through the deferred pipeline.
#include "ShotRenderer.h"

#include "core/FatalError.h"
#include "core/LauncherSettings.h"
#include "app/MainWindow.h"
#include "archive/FileSystem.h"
#include "lights/Light.h"
#include "render/DeferredShading.h"
#include "render/RenderTarget.h"
#include "render/Renderer.h"
#include "scene/QorLoader.h"
#include "scene/Scene.h"

#include <D3D9Offline.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <algorithm>
#include <math.h>

namespace
{

float halfToFloat(uint16_t a_half)
{
    const uint32_t sign = (a_half >> 15) & 1u;
    const uint32_t exponent = (a_half >> 10) & 0x1Fu;
    const uint32_t mantissa = a_half & 0x3FFu;
    float value;
    if (exponent == 0)
        value = ldexpf(float(mantissa), -24);
    else if (exponent == 31)
        value = mantissa ? NAN : INFINITY;
    else
        value = ldexpf(float(mantissa | 0x400u), int(exponent) - 25);
    return sign ? -value : value;
}

}  // namespace

// The timeline's tables: ambient, combine and fog of each part; the first
// light's flicker max(0, n + 1.4) at n = 0. The fog colours' alpha is 0 in
// every part, as the timeline passes it.
PartLook partLook(const std::string& a_scene)
{
    const float testGrey = 0.2857143f, otherGrey = 0.22222222f;
    if (a_scene == "hog.qor")
        return {{0, 0, 0, 0}, 2.5f,    1.0f, 1.4f, {testGrey, testGrey, testGrey, 0},
                10.0f,        2200.0f, 1.4f, 1.0f};
    if (a_scene == "test.qor")
        return {{0, 0, 0, 0}, 2.0f,    1.0f,  1.25f, {testGrey, testGrey, testGrey, 0},
                20.0f,        1500.0f, -1.0f, 1.0f};
    if (a_scene == "balls.qor")
        return {{0, 0, 0, 0}, 2.5f,    1.0f, 1.4f, {otherGrey, otherGrey, otherGrey, 0},
                0.0f,         1200.0f, 1.4f, 1.0f};
    if (a_scene == "blob.qor")
        return {{0, 0, 0, 0}, 2.6f,   1.0f, 1.4f, {otherGrey, otherGrey, otherGrey, 0},
                10.0f,        880.0f, 1.4f, 1.5f};
    if (a_scene == "satellite.qor")
        return {{0.05f, 0.05f, 0.05f, 0},
                2.6f,
                1.0f,
                1.4f,
                {otherGrey, otherGrey, otherGrey, 0},
                10.0f,
                300.0f,
                -1.0f,
                1.0f};
    return {{0, 0, 0, 0}, 1.0f, 1.0f, 1.0f, {0, 0, 0, 0}, 5000.0f, 5000.0f, -1.0f, 1.0f};
}

Shot makeShot(const char* a_scene, uint32_t a_camera, float a_cameraTime, float a_sceneTime,
              float a_fovScale)
{
    Shot result{a_scene, a_camera, a_cameraTime, a_sceneTime, partLook(a_scene)};
    if (a_fovScale > 0.0f)
        result.look.fovScale = a_fovScale;
    return result;
}

// One row per scene, four shots each, at camera and scene times the parts
// reach: the hog's three cameras; the test scene's "Camera01",
// "Camera02", "Camera03" and the fixed frame 15000; the balls and blob
// cameras both ways; the satellite at field-of-view scales 1, 0.5 and 1.5.
std::vector<Shot> contactSheetShots()
{
    return {
        makeShot("hog.qor", 0, 20.0f, -20.0f),
        makeShot("hog.qor", 1, 45.0f, -45.0f),
        makeShot("hog.qor", 2, 60.0f, -60.0f),
        makeShot("hog.qor", 0, 80.0f, -2000.0f),
        makeShot("test.qor", 0, 60.0f, 85.0f),
        makeShot("test.qor", 1, -160.0f, -160.0f),
        makeShot("test.qor", 2, 40.0f, 40.0f),
        makeShot("test.qor", 0, 15000.0f, 200.0f),
        makeShot("balls.qor", 0, 30.0f, -24.0f),
        makeShot("balls.qor", 0, 100.0f, -80.0f),
        makeShot("balls.qor", 0, -120.0f, 96.0f),
        makeShot("balls.qor", 0, -200.0f, 160.0f),
        makeShot("blob.qor", 0, 40.0f, -180.0f),
        makeShot("blob.qor", 0, 120.0f, 60.0f),
        makeShot("blob.qor", 0, 200.0f, 300.0f),
        makeShot("blob.qor", 0, -60.0f, -400.0f),
        makeShot("satellite.qor", 0, 520.0f, -200.0f, 1.0f),
        makeShot("satellite.qor", 0, 560.0f, -500.0f, 0.5f),
        makeShot("satellite.qor", 0, 600.0f, -800.0f, 1.5f),
        makeShot("satellite.qor", 0, 380.0f, -1300.0f, 1.0f),
    };
}

ShotRenderer::~ShotRenderer()
{
    delete m_output;
    m_tarvo.shutdown();
    if (m_window)
        DestroyWindow(m_window);
}

bool ShotRenderer::init(const std::string& a_folder)
{
    D3D9Offline::selectOffscreen();
    if (chdir(a_folder.c_str()) != 0)
    {
        fprintf(stderr, "scenepreview: cannot enter %s\n", a_folder.c_str());
        return false;
    }
    ReturnCode opened = FileSystem::open();
    (void)opened.succeeded();
    D3D9Offline::setDisplayMode(kWidth, kHeight, 60);
    g_displayMode = 0;
    g_windowed = true;
    g_fullScreen = false;
    g_aspect = float(kWidth) / float(kHeight);
    m_window = createMainWindow(nullptr);
    ReturnCode initialised = m_tarvo.init(m_window);
    if (initialised.failed())
    {
        fprintf(stderr, "scenepreview: the application does not start on %s\n", a_folder.c_str());
        return false;
    }
    m_output = RenderTarget::create(m_tarvo.m_renderer, kWidth, kHeight, D3DFMT_A16B16G16R16F);
    return m_output != nullptr;
}

Scene* ShotRenderer::scene(const std::string& a_name)
{
    Scene* found = m_tarvo.m_scenes.find(a_name.c_str());
    if (found)
        return found;
    Scene* loaded = QorLoader::load(m_tarvo.m_renderer, &m_tarvo, a_name.c_str());
    if (loaded)
        m_tarvo.m_scenes.add(a_name.c_str(), loaded);
    return loaded;
}

// The steps of the timeline's frame, 2 to 8.
std::vector<uint8_t> ShotRenderer::render(const Shot& a_shot)
{
    Scene* shown = scene(a_shot.scene);
    if (!shown || a_shot.camera >= shown->m_cameras.count())
    {
        fprintf(stderr, "scenepreview: %s has no camera %u\n", a_shot.scene.c_str(), a_shot.camera);
        return {};
    }
    Camera* camera = shown->m_cameras.at(a_shot.camera);
    camera->m_time = a_shot.cameraTime;
    camera->m_fovScale = a_shot.look.fovScale;
    shown->m_time = a_shot.sceneTime;
    shown->m_camera = camera;
    if (a_shot.look.firstLight >= 0.0f && shown->m_lights.count() != 0)
        shown->m_lights.at(0)->m_intensity = a_shot.look.firstLight;

    Renderer* renderer = m_tarvo.m_renderer;
    DeferredShading* deferred = m_tarvo.m_deferred;
    // Two frames: the first leaves the cull mode the self-illumination
    // pass records, which every later material pass of the demo starts from.
    for (int frame = 0; frame < 2; ++frame)
    {
        ReturnCode begun = renderer->beginFrame();
        (void)begun.succeeded();
        deferred->beginGeometryPass();
        deferred->m_view = camera->viewMatrix();
        deferred->m_projection = camera->projectionMatrix();
        const D3DXVECTOR3 eye = camera->eye();
        deferred->m_viewPosition = D3DXVECTOR4(eye.x, eye.y, eye.z, 1.0f);
        deferred->setViewConstants();
        shown->render();
        deferred->endGeometryPass();
        deferred->beginLightPass(a_shot.look.ambient);
        shown->renderLights();
        shown->renderSelfIllumination();
        deferred->endLightPass();
        deferred->combine(*m_output, a_shot.look.contrast, a_shot.look.saturation,
                          a_shot.look.brightness);
        deferred->applyFog(*m_output, a_shot.look.fog, a_shot.look.fogNear, a_shot.look.fogFar);
        renderer->endFrame();
    }

    std::vector<unsigned char> bytes;
    if (D3D9Offline::readSurface(m_output->m_surface, &bytes) != D3D_OK ||
        bytes.size() < size_t(kWidth) * size_t(kHeight) * 8)
    {
        fprintf(stderr, "scenepreview: cannot read the frame back\n");
        return {};
    }
    std::vector<uint8_t> rgb(size_t(kWidth) * size_t(kHeight) * 3);
    for (size_t i = 0; i < size_t(kWidth) * size_t(kHeight); ++i)
    {
        uint16_t halves[4];
        memcpy(halves, &bytes[i * 8], 8);
        for (int k = 0; k < 3; ++k)
        {
            const float value = std::clamp(halfToFloat(halves[k]), 0.0f, 1.0f);
            rgb[i * 3 + size_t(k)] = uint8_t(value * 255.0f + 0.5f);
        }
    }
    return rgb;
}
