// The largest scene file the demo ships: parsing it, creating its device
// resources, and its material pass at 1280 x 720 from its first camera,
// against an empty frame (begin, present) measured in the same run. Runs the
// real application object on the content folder's loose files.
#include "app/LauncherSettings.h"
#include "app/MainWindow.h"
#include "app/Tarvo.h"
#include "archive/FileSystem.h"
#include "render/DeferredShading.h"
#include "render/Renderer.h"
#include "scene/QorLoader.h"
#include "scene/format/QorReader.h"

#include <D3D9Testing.h>

#include <benchmark/benchmark.h>

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

namespace
{

class Application
{
public:
    Application()
    {
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        if (chdir(TARVO_CONTENT_FILES) != 0)
            return;
        for (const auto& entry : std::filesystem::directory_iterator("."))
        {
            if (entry.path().extension() == ".qor" && entry.file_size() > m_largest)
            {
                m_largest = entry.file_size();
                m_name = entry.path().filename().string();
            }
        }
        D3D9Testing::setDisplayModes({{1280, 720, 60, D3DFMT_X8R8G8B8}});
        g_displayMode = 0;
        g_windowed = true;
        g_fullScreen = false;
        g_aspect = 16.0f / 9.0f;
        m_window = createMainWindow(nullptr);
        ReturnCode initialised = m_tarvo.init(m_window);
        m_ready = initialised.succeeded() && !m_name.empty() &&
                  FileSystem::readFile(m_name.c_str(), m_file).succeeded();
    }

    ~Application()
    {
        m_tarvo.shutdown();
        if (m_window)
            DestroyWindow(m_window);
    }

    bool ready() const { return m_ready; }

    Tarvo m_tarvo;
    File m_file;
    std::string m_name;
    uintmax_t m_largest = 0;

private:
    HWND m_window = nullptr;
    bool m_ready = false;
};

Application& application()
{
    static Application instance;
    return instance;
}

void BM_ParseScene(benchmark::State& a_state)
{
    Application& app = application();
    if (!app.ready())
    {
        a_state.SkipWithError("the content folder or its scenes are missing");
        return;
    }
    for (auto _ : a_state)
    {
        QorFile file;
        std::string error;
        benchmark::DoNotOptimize(QorReader::read(app.m_file.m_data, app.m_file.m_size, file, error));
    }
    a_state.SetLabel(app.m_name);
    a_state.SetBytesProcessed(int64_t(a_state.iterations()) * int64_t(app.m_file.m_size));
}
BENCHMARK(BM_ParseScene)->Unit(benchmark::kMicrosecond);

void BM_CreateScene(benchmark::State& a_state)
{
    Application& app = application();
    if (!app.ready())
    {
        a_state.SkipWithError("the content folder or its scenes are missing");
        return;
    }
    QorFile file;
    std::string error;
    QorReader::read(app.m_file.m_data, app.m_file.m_size, file, error);
    for (auto _ : a_state)
    {
        Scene* scene = QorLoader::create(app.m_tarvo.m_renderer, &app.m_tarvo, app.m_name.c_str(), file);
        benchmark::DoNotOptimize(scene);
        delete scene;
    }
    a_state.SetLabel(app.m_name);
}
BENCHMARK(BM_CreateScene)->Unit(benchmark::kMicrosecond);

// The reference: a frame that draws nothing.
void BM_EmptyFrame(benchmark::State& a_state)
{
    Application& app = application();
    if (!app.ready())
    {
        a_state.SkipWithError("the content folder or its scenes are missing");
        return;
    }
    Renderer* renderer = app.m_tarvo.m_renderer;
    for (auto _ : a_state)
    {
        renderer->beginFrame();
        renderer->endFrame();
    }
}
BENCHMARK(BM_EmptyFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_MaterialPass(benchmark::State& a_state)
{
    Application& app = application();
    if (!app.ready())
    {
        a_state.SkipWithError("the content folder or its scenes are missing");
        return;
    }
    std::unique_ptr<Scene> scene(QorLoader::load(app.m_tarvo.m_renderer, &app.m_tarvo, app.m_name.c_str()));
    if (!scene)
    {
        a_state.SkipWithError("the scene does not load");
        return;
    }
    Renderer* renderer = app.m_tarvo.m_renderer;
    DeferredShading* deferred = app.m_tarvo.m_deferred;
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
    a_state.SetLabel(app.m_name);
}
BENCHMARK(BM_MaterialPass)->Unit(benchmark::kMillisecond)->UseRealTime();

}
