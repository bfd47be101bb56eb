// The offline renderer's frames per second against the live demo's at the
// same size and on the same frames, measured in one run: "live" is the
// demo's own frame (update, draw, present) on the capture clock with nothing
// read back; "capture" adds the read-back and the MP4 encoding, which run on
// the encoder thread. cost_to_live is the captured frame's time over the live
// frame's (goal: at most 1.05, as the encoding hides behind the drawing). The
// machine's speed drifts over a run, so the two alternate, kRounds times, and
// the median of the rounds' ratios is reported. cpu_cost_to_live is the same
// ratio of the process's processor time per frame (all threads), which a
// machine shared with other work barely moves: with the cores kept busy by
// the rasteriser, what the encoder spends is what the drawing loses.
// A short untimed run first compiles the frames' shaders, so that neither
// measured run pays for that.
#include "Capture.h"
#include "CaptureOptions.h"

#include <benchmark/benchmark.h>

#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

namespace
{

// The test room from beat 64 on, at 30 frames per second.
const char kFrames[] = "680:740";
const int kRounds = 3;

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

struct Run
{
    double framesPerSecond = 0.0;  // 0 when the run failed
    double processorSecondsPerFrame = 0.0;
};

Run measure(const CaptureOptions& a_settings)
{
    Capture capture(a_settings, true);
    Run result;
    if (capture.run() == Capture::kDone)
    {
        result.framesPerSecond = capture.m_framesPerSecond;
        result.processorSecondsPerFrame = capture.m_processorSecondsPerFrame;
    }
    return result;
}

double median(std::vector<double> a_values)
{
    std::sort(a_values.begin(), a_values.end());
    return a_values[a_values.size() / 2];
}

void warmUp(benchmark::State& a_state)
{
    CaptureOptions settings = options(a_state);
    settings.m_frames = "680:684";
    for (auto _ : a_state)
        if (measure(settings).framesPerSecond <= 0.0)
            a_state.SkipWithError("the capture failed");
}

void captureAgainstLive(benchmark::State& a_state)
{
    char folder[] = "/tmp/tarvo-capture-benchmark-XXXXXX";
    if (!mkdtemp(folder))
    {
        a_state.SkipWithError("no scratch folder");
        return;
    }
    const CaptureOptions live = options(a_state);
    CaptureOptions captured = live;
    captured.m_output = std::string(folder) + "/capture.mp4";
    std::vector<double> liveFps, captureFps, ratios, processorRatios;
    for (auto _ : a_state)
        for (int round = 0; round < kRounds; ++round)
        {
            const Run liveRun = measure(live);
            const Run captureRun = measure(captured);
            if (liveRun.framesPerSecond <= 0.0 || captureRun.framesPerSecond <= 0.0)
            {
                a_state.SkipWithError("the capture failed");
                break;
            }
            liveFps.push_back(liveRun.framesPerSecond);
            captureFps.push_back(captureRun.framesPerSecond);
            ratios.push_back(liveRun.framesPerSecond / captureRun.framesPerSecond);
            processorRatios.push_back(captureRun.processorSecondsPerFrame /
                                      liveRun.processorSecondsPerFrame);
        }
    unlink(captured.m_output.c_str());
    rmdir(folder);
    if (ratios.empty())
        return;
    a_state.counters["live_fps"] = median(liveFps);
    a_state.counters["capture_fps"] = median(captureFps);
    a_state.counters["cost_to_live"] = median(ratios);
    a_state.counters["cpu_cost_to_live"] = median(processorRatios);
}

}  // namespace

BENCHMARK(warmUp)->Args({320, 180})->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(captureAgainstLive)
    ->Args({320, 180})
    ->Args({1280, 720})
    ->Iterations(1)
    ->Unit(benchmark::kSecond);
