// The offline renderer's frames per second against the live demo's at the
// same size and on the same frames, measured in one run: "live" is the
// demo's own frame (update, draw, present) on the capture clock with nothing
// read back; "capture" adds the read-back and the MP4 encoding, which run on
// the encoder thread. cost_to_live is the captured frame's time over the live
// frame's (goal: at most 1.05, as the encoding hides behind the drawing).
// A short untimed run first compiles the frames' shaders, so that neither
// measured run pays for that.
#include "Capture.h"
#include "CaptureOptions.h"

#include <benchmark/benchmark.h>

#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <string>

namespace
{

// The test room from beat 64 on, at 30 frames per second.
const char kFrames[] = "680:740";

double g_liveFps[2] = {0.0, 0.0};

CaptureOptions options(const benchmark::State& a_state)
{
    CaptureOptions result;
    result.m_width = uint32_t(a_state.range(0));
    result.m_height = uint32_t(a_state.range(1));
    result.m_fps = 30;
    result.m_frames = kFrames;
    result.m_archive = TARVO_ARCHIVE_FILE;
    return result;
}

void warmUp(benchmark::State& a_state)
{
    CaptureOptions settings = options(a_state);
    settings.m_frames = "680:684";
    Capture capture(settings, true);
    for (auto _ : a_state)
        if (capture.run() != Capture::kDone)
            a_state.SkipWithError("the capture failed");
}

void live(benchmark::State& a_state)
{
    Capture capture(options(a_state), true);
    for (auto _ : a_state)
        if (capture.run() != Capture::kDone)
            a_state.SkipWithError("the capture failed");
    g_liveFps[a_state.range(0) > 640] = capture.m_framesPerSecond;
    a_state.counters["frames_per_second"] = capture.m_framesPerSecond;
}

void capture(benchmark::State& a_state)
{
    char folder[] = "/tmp/tarvo-capture-benchmark-XXXXXX";
    if (!mkdtemp(folder))
    {
        a_state.SkipWithError("no scratch folder");
        return;
    }
    CaptureOptions settings = options(a_state);
    settings.m_output = std::string(folder) + "/capture.mp4";
    Capture capture(settings, true);
    for (auto _ : a_state)
        if (capture.run() != Capture::kDone)
            a_state.SkipWithError("the capture failed");
    unlink(settings.m_output.c_str());
    rmdir(folder);
    const double reference = g_liveFps[a_state.range(0) > 640];
    a_state.counters["frames_per_second"] = capture.m_framesPerSecond;
    a_state.counters["cost_to_live"] =
        capture.m_framesPerSecond > 0.0 ? reference / capture.m_framesPerSecond : 0.0;
}

}  // namespace

// Live first: the capture's ratio refers to it.
BENCHMARK(warmUp)->Args({320, 180})->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(live)->Args({320, 180})->Args({1280, 720})->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(capture)->Args({320, 180})->Args({1280, 720})->Iterations(1)->Unit(benchmark::kSecond);
