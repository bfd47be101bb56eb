// What the shipped content costs at start-up: opening the real archive
// "tarvo.fs" (inflating it whole), then loading the five scenes of the
// demo's parts from it through the demo's loader, with every image their
// materials name decoded and uploaded. The application's own start (device,
// shaders, null textures, the primitives) is left out of the timing.
#include "BenchmarkDisplay.h"
#include "core/LauncherSettings.h"
#include "app/MainWindow.h"
#include "app/Tarvo.h"
#include "archive/FileSystem.h"
#include "scene/QorLoader.h"

#include <D3D9Testing.h>

#include <benchmark/benchmark.h>

#include <stdlib.h>
#include <unistd.h>

namespace
{

const char* const kScenes[] = {"test.qor", "hog.qor", "balls.qor", "blob.qor", "satellite.qor"};

void BM_OpenArchiveAndLoadScenes(benchmark::State& a_state)
{
    if (chdir(TARVO_CONTENT_ARCHIVE_DIR) != 0)
    {
        a_state.SkipWithError("the content folder is missing");
        return;
    }
    useBenchmarkDisplay(1280, 720);
    for (auto _ : a_state)
    {
        ReturnCode opened = FileSystem::open();
        if (!opened.succeeded())
        {
            a_state.SkipWithError("tarvo.fs does not open");
            return;
        }
        a_state.PauseTiming();
        HWND window = createMainWindow(nullptr);
        Tarvo* tarvo = new Tarvo();
        ReturnCode initialised = tarvo->init(window);
        const bool ready = initialised.succeeded();
        a_state.ResumeTiming();
        bool loaded = ready;
        for (const char* name : kScenes)
        {
            Scene* scene = ready ? QorLoader::load(tarvo->m_renderer, tarvo, name) : nullptr;
            loaded = loaded && scene;
            if (scene)
                tarvo->m_scenes.add(name, scene);
        }
        a_state.PauseTiming();
        delete tarvo;
        DestroyWindow(window);
        FileSystem::close();
        a_state.ResumeTiming();
        if (!loaded)
        {
            a_state.SkipWithError("a scene does not load");
            return;
        }
    }
}
BENCHMARK(BM_OpenArchiveAndLoadScenes)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

}  // namespace
