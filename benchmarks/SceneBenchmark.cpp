// The largest scene file the demo ships: parsing it, creating its device
// resources, and its material pass at 1280 x 720 from its first camera,
// against an empty frame (begin, present) measured in the same run.
#include "ContentApplication.h"

#include "archive/FileSystem.h"
#include "render/DeferredShading.h"
#include "render/Renderer.h"
#include "scene/QorLoader.h"
#include "scene/format/QorReader.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

namespace
{

// The largest scene file of the content folder, read whole.
class LargestScene
{
public:
    LargestScene()
    {
        for (const auto& entry : std::filesystem::directory_iterator("."))
        {
            if (entry.path().extension() == ".qor" && entry.file_size() > m_size)
            {
                m_size = entry.file_size();
                m_name = entry.path().filename().string();
            }
        }
        m_ready = !m_name.empty() && FileSystem::readFile(m_name.c_str(), m_file).succeeded();
    }

    bool m_ready = false;
    std::string m_name;
    uintmax_t m_size = 0;
    File m_file;
};

// The application, then the scene from its folder; null when either is missing.
LargestScene* largestScene()
{
    if (!ContentApplication::instance().ready())
        return nullptr;
    static LargestScene scene;
    return scene.m_ready ? &scene : nullptr;
}

void BM_ParseScene(benchmark::State& a_state)
{
    LargestScene* largest = largestScene();
    if (!largest)
    {
        a_state.SkipWithError("the content folder or its scenes are missing");
        return;
    }
    for (auto _ : a_state)
    {
        QorFile file;
        std::string error;
        benchmark::DoNotOptimize(
            QorReader::read(largest->m_file.m_data, largest->m_file.m_size, file, error));
    }
    a_state.SetLabel(largest->m_name);
    a_state.SetBytesProcessed(int64_t(a_state.iterations()) * int64_t(largest->m_file.m_size));
}
BENCHMARK(BM_ParseScene)->Unit(benchmark::kMicrosecond);

void BM_CreateScene(benchmark::State& a_state)
{
    LargestScene* largest = largestScene();
    Tarvo& tarvo = ContentApplication::instance().m_tarvo;
    if (!largest)
    {
        a_state.SkipWithError("the content folder or its scenes are missing");
        return;
    }
    QorFile file;
    std::string error;
    QorReader::read(largest->m_file.m_data, largest->m_file.m_size, file, error);
    for (auto _ : a_state)
    {
        Scene* scene = QorLoader::create(tarvo.m_renderer, &tarvo, largest->m_name.c_str(), file);
        benchmark::DoNotOptimize(scene);
        delete scene;
    }
    a_state.SetLabel(largest->m_name);
}
BENCHMARK(BM_CreateScene)->Unit(benchmark::kMicrosecond);

// The reference: a frame that draws nothing.
void BM_EmptyFrame(benchmark::State& a_state)
{
    LargestScene* largest = largestScene();
    Tarvo& tarvo = ContentApplication::instance().m_tarvo;
    if (!largest)
    {
        a_state.SkipWithError("the content folder or its scenes are missing");
        return;
    }
    Renderer* renderer = tarvo.m_renderer;
    for (auto _ : a_state)
    {
        renderer->beginFrame();
        renderer->endFrame();
    }
}
BENCHMARK(BM_EmptyFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_MaterialPass(benchmark::State& a_state)
{
    LargestScene* largest = largestScene();
    Tarvo& tarvo = ContentApplication::instance().m_tarvo;
    if (!largest)
    {
        a_state.SkipWithError("the content folder or its scenes are missing");
        return;
    }
    std::unique_ptr<Scene> scene(
        QorLoader::load(tarvo.m_renderer, &tarvo, largest->m_name.c_str()));
    if (!scene)
    {
        a_state.SkipWithError("the scene does not load");
        return;
    }
    Renderer* renderer = tarvo.m_renderer;
    DeferredShading* deferred = tarvo.m_deferred;
    Camera* camera = scene->m_cameras.count() != 0 ? scene->m_cameras.at(0) : nullptr;
    const D3DXVECTOR3 eye(0.0f, 0.5f, -2.0f), target(0.0f, 0.0f, 0.0f), up(0.0f, 1.0f, 0.0f);
    float time = 0.0f;
    for (auto _ : a_state)
    {
        renderer->beginFrame();
        deferred->beginGeometryPass();
        if (camera)
        {
            camera->m_time = time;
            deferred->m_view = camera->viewMatrix();
            deferred->m_projection = camera->projectionMatrix();
            const D3DXVECTOR3 position = camera->eye();
            deferred->m_viewPosition = D3DXVECTOR4(position.x, position.y, position.z, 1.0f);
        }
        else
        {
            D3DXMatrixLookAtLH(&deferred->m_view, &eye, &target, &up);
            D3DXMatrixPerspectiveFovLH(&deferred->m_projection, 1.0f, 16.0f / 9.0f, 0.1f, 100.0f);
            deferred->m_viewPosition = D3DXVECTOR4(eye.x, eye.y, eye.z, 1.0f);
        }
        deferred->setViewConstants();
        scene->m_time = time;
        scene->render();
        deferred->endGeometryPass();
        renderer->endFrame();
        time += 0.5f;
    }
    a_state.SetLabel(largest->m_name);
}
BENCHMARK(BM_MaterialPass)->Unit(benchmark::kMillisecond)->UseRealTime();

}
