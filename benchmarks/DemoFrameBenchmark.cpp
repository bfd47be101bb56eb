// One whole demo frame at 1280 x 720 for each of the five parts, as the
// timeline draws it, and the cost of each stage of that frame (geometry,
// lights, combine and fog, blurs, depth of field, Break, copy to the
// screen), each stage drawn alone between a frame begin and a present; the
// stage's share is its time over the whole frame's, both from this run.
// The CPU column is the whole process's (the rasteriser's threads included),
// which a machine shared with other work barely moves.
#include "ContentApplication.h"

#include "demo/DemoState.h"
#include "demo/Timeline.h"
#include "render/Renderer.h"
#include "sound/Time.h"

#include <benchmark/benchmark.h>

namespace
{

// A moment of each part, away from its flashes.
const struct
{
    const char* name;
    float beat;
} g_parts[] = {
    {"hog", 8.5f}, {"test", 100.5f}, {"balls", 136.5f}, {"blob", 330.2f}, {"satellite", 210.5f},
};

const char* const g_stages[kFrameStages] = {
    "geometry", "lights", "combine and fog", "blurs", "depth of field", "Break", "copy"};

ContentApplication* application(benchmark::State& a_state)
{
    ContentApplication& instance = ContentApplication::instance();
    if (!instance.ready())
    {
        a_state.SkipWithError("the content folder is missing or does not load");
        return nullptr;
    }
    return &instance;
}

void BM_DemoFrame(benchmark::State& a_state)
{
    ContentApplication* app = application(a_state);
    if (!app)
        return;
    const auto& part = g_parts[a_state.range(0)];
    Renderer* renderer = app->m_tarvo.m_renderer;
    DemoState* demo = &app->m_demo;
    Time::g_time = beats(demo, part.beat);
    demo->m_memory.finishedFrames = 3;
    for (auto _ : a_state)
    {
        renderer->beginFrame();
        drawFrame(demo, describeFrame(demo, Time::g_time));
        renderer->endFrame();
    }
    a_state.SetLabel(part.name);
}
BENCHMARK(BM_DemoFrame)
    ->DenseRange(0, 4)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

void BM_FrameStage(benchmark::State& a_state)
{
    ContentApplication* app = application(a_state);
    if (!app)
        return;
    const auto& part = g_parts[a_state.range(0)];
    const auto stage = static_cast<FrameStage>(a_state.range(1));
    Renderer* renderer = app->m_tarvo.m_renderer;
    DemoState* demo = &app->m_demo;
    Time::g_time = beats(demo, part.beat);
    // A whole frame first, so every target holds what the stage reads.
    const FrameDescription frame = describeFrame(demo, Time::g_time);
    renderer->beginFrame();
    drawFrame(demo, frame);
    renderer->endFrame();
    for (auto _ : a_state)
    {
        renderer->beginFrame();
        drawFrameStage(demo, frame, stage);
        renderer->endFrame();
    }
    a_state.SetLabel(std::string(part.name) + ": " + g_stages[a_state.range(1)]);
}
// The reference for the stages: a frame that draws nothing.
void BM_EmptyFrame(benchmark::State& a_state)
{
    ContentApplication* app = application(a_state);
    if (!app)
        return;
    Renderer* renderer = app->m_tarvo.m_renderer;
    for (auto _ : a_state)
    {
        renderer->beginFrame();
        renderer->endFrame();
    }
}
BENCHMARK(BM_EmptyFrame)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(BM_FrameStage)
    ->ArgsProduct({{0, 1, 2, 3, 4}, {0, 1, 2, 3, 4, 5, 6}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

}
