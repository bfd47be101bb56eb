// The light pass at 1280 x 720 over a floor filling the picture, with 1, 8
// and 32 omni lights whose reach covers a small part of the screen each or
// most of it, against the same pass with the ambient light alone (the
// reference, measured in the same run). Each iteration is the light pass
// and a present, which waits for it.
#include "ContentApplication.h"

#include "render/DeferredShading.h"
#include "render/Renderer.h"
#include "scene/QorLoader.h"
#include "scene/Scene.h"
#include "scene/format/MeshBuilder.h"

#include <benchmark/benchmark.h>

#include <math.h>

#include <memory>
#include <string>

namespace
{

// A floor seen from above at an angle, and a_lights lights of reach
// a_reach spread over it in a ring.
QorFile litFloor(int a_lights, float a_reach)
{
    QorFile file;
    QorMaterial material;
    material.name = "floor";
    material.glossiness = 0.5f;
    material.specularPower = 24.0f;
    file.records.push_back(material);
    QorMesh floor;
    floor.name = "floor";
    floor.materialIndex = 0;
    MeshBuilder builder;
    builder.box(D3DXVECTOR3(-100, -1, -100), D3DXVECTOR3(100, 0, 100));
    builder.finish(floor);
    floor.animation.translation = {D3DXVECTOR3(0, 0, 0)};
    floor.animation.rotation = {D3DXQUATERNION(0, 0, 0, 1)};
    floor.animation.scale = {D3DXVECTOR3(1, 1, 1)};
    file.records.push_back(floor);
    QorCamera camera;
    camera.name = "Camera01";
    camera.positions = {D3DXVECTOR3(0, 30, -40)};
    camera.targets = {D3DXVECTOR3(0, 0, 0)};
    camera.roll = {0.0f};
    camera.fov = {1.2f};
    file.records.push_back(camera);
    for (int i = 0; i < a_lights; ++i)
    {
        const float angle = 6.2831853f * float(i) / float(a_lights);
        QorLight light;
        light.name = "light" + std::to_string(i);
        light.color = D3DXVECTOR3(0.5f + 0.5f * cosf(angle), 0.6f, 0.5f + 0.5f * sinf(angle));
        light.nearRange = a_reach * 0.2f;
        light.farRange = a_reach;
        light.intensities = {1.0f};
        light.positions = {D3DXVECTOR3(12.0f * cosf(angle), 3.0f, 12.0f * sinf(angle))};
        file.records.push_back(light);
    }
    return file;
}

void BM_LightPass(benchmark::State& a_state)
{
    ContentApplication& application = ContentApplication::instance();
    if (!application.ready())
    {
        a_state.SkipWithError("the content folder is missing");
        return;
    }
    Tarvo& tarvo = application.m_tarvo;
    const int lights = int(a_state.range(0));
    const float reach = float(a_state.range(1));
    std::unique_ptr<Scene> scene(
        QorLoader::create(tarvo.m_renderer, &tarvo, "floor", litFloor(lights, reach)));
    if (!scene)
    {
        a_state.SkipWithError("the lights' programs are missing");
        return;
    }
    Renderer* renderer = tarvo.m_renderer;
    DeferredShading* deferred = tarvo.m_deferred;
    Camera* camera = scene->m_cameras.at(0);
    scene->m_camera = camera;
    const float ambient[4] = {0.1f, 0.1f, 0.12f, 1.0f};

    // The G-buffer once: the pass reads it, and it does not change.
    renderer->beginFrame();
    deferred->beginGeometryPass();
    deferred->m_view = camera->viewMatrix();
    deferred->m_projection = camera->projectionMatrix();
    const D3DXVECTOR3 eye = camera->eye();
    deferred->m_viewPosition = D3DXVECTOR4(eye.x, eye.y, eye.z, 1.0f);
    deferred->setViewConstants();
    scene->render();
    deferred->endGeometryPass();
    renderer->endFrame();

    for (auto _ : a_state)
    {
        renderer->beginFrame();
        deferred->beginLightPass(ambient);
        scene->renderLights();
        deferred->endLightPass();
        renderer->endFrame();
    }
    a_state.SetLabel(std::to_string(lights) + " lights of reach " + std::to_string(int(reach)));
}
// Reach 4: each light covers a few per cent of the picture; reach 40: each
// covers most of it. Zero lights is the reference.
BENCHMARK(BM_LightPass)
    ->ArgsProduct({{0, 1, 8, 32}, {4, 40}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}
