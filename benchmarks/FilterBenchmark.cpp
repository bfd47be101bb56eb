// The cost of each filter's apply at the demo's 1280 x 720 as the timeline
// calls it, on SDL's offscreen driver and Mesa, and as a ratio ("copies") to
// a plain full-screen copy through the screen quad measured in the same run.
// Every iteration ends by drawing one pixel from the filter's output into a
// 1 x 1 target and reading it back, so the time is the GPU's, not just the
// time to queue the draws; the copy is timed the same way.
#include "BenchmarkDisplay.h"
#include "core/LauncherSettings.h"
#include "filters/FilterBlur.h"
#include "filters/FilterBreak.h"
#include "filters/FilterDof.h"
#include "filters/FilterRadialBlur.h"
#include "render/Quad.h"
#include "render/RenderTarget.h"
#include "render/Renderer.h"
#include "sound/Soundtrack.h"
#include "sound/Time.h"

#include <D3D9Testing.h>

#include <benchmark/benchmark.h>
#include <windows.h>

#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

namespace
{

LRESULT CALLBACK procedure(HWND a_window, UINT a_message, WPARAM a_wParam, LPARAM a_lParam)
{
    return DefWindowProcA(a_window, a_message, a_wParam, a_lParam);
}

const int32_t kWidth = 1280;
const int32_t kHeight = 720;

// The renderer, the timeline's four targets and a G-buffer-like target, the
// filters initialised from the content folder, and a soundtrack whose
// spectrum gives the Break filter a force of 20.
class Bench
{
public:
    Bench()
    {
        if (chdir(TARVO_CONTENT_FILES) != 0)
            return;
        WNDCLASSA description = {};
        description.lpfnWndProc = procedure;
        description.lpszClassName = "filterbench";
        RegisterClassA(&description);
        useBenchmarkDisplay(kWidth, kHeight);
        m_window = CreateWindowExA(0, "filterbench", "bench", WS_OVERLAPPEDWINDOW, 0, 0, kWidth,
                                   kHeight, nullptr, nullptr, nullptr, nullptr);
        m_renderer.reset(Renderer::create());
        ReturnCode initialised = m_renderer->init(kWidth, kHeight, m_window);
        if (initialised.failed())
            return;
        for (auto& target : m_targets)
        {
            target.reset(
                RenderTarget::create(m_renderer.get(), kWidth, kHeight, D3DFMT_A16B16G16R16F));
            if (!target)
                return;
            target->bind(0);
            m_renderer->device()->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF6080A0, 1.0f, 0);
        }
        m_distance.reset(RenderTarget::create(m_renderer.get(), kWidth, kHeight, D3DFMT_G32R32F));
        m_probe.reset(RenderTarget::create(m_renderer.get(), 1, 1, D3DFMT_A16B16G16R16F));
        if (!m_distance || !m_probe)
            return;

        m_blur.setParameter("area", 1.0f);
        ReturnCode blurReady = m_blur.init(m_renderer.get());
        ReturnCode radialReady = m_radialBlur.init(m_renderer.get());
        ReturnCode dofReady = m_dof.init(m_renderer.get());
        ReturnCode breakReady = m_break.init(m_renderer.get());
        m_dof.m_gbufferTarget = m_targets[3].get();
        for (float& bin : m_soundtrack.m_spectrum)
            bin = 0.01f;
        Time::g_time = 30.0f;
        m_soundtrack.m_spectrumTime = Time::g_time;
        Time::g_soundtrack = &m_soundtrack;
        m_ready = blurReady.succeeded() && radialReady.succeeded() && dofReady.succeeded() &&
                  breakReady.succeeded() && m_blur.m_pixelShader && m_radialBlur.m_pixelShader &&
                  m_break.m_noise;
    }

    ~Bench()
    {
        Time::g_soundtrack = nullptr;
        m_probe.reset();
        m_distance.reset();
        for (auto& target : m_targets)
            target.reset();
        if (m_renderer)
            m_renderer->shutdown();
        if (m_window)
            DestroyWindow(m_window);
    }

    bool ready() const { return m_ready; }
    RenderTarget* target(int a_index) { return m_targets[a_index].get(); }

    // One pixel of a_output drawn into the probe and read back: returns once
    // the device has finished everything before.
    void finish(RenderTarget* a_output)
    {
        m_probe->bind(0);
        a_output->bindTexture(0);
        m_renderer->m_quad->draw();
        std::vector<unsigned char> bytes;
        D3D9Testing::readSurface(m_probe->m_surface, &bytes);
    }

    void copy()
    {
        target(1)->bindTexture(0);
        target(0)->bind(0);
        m_renderer->m_quad->draw();
        finish(target(0));
    }

    // Seconds per synchronised copy: the median of a few dozen.
    double copySeconds()
    {
        if (m_copySeconds > 0.0)
            return m_copySeconds;
        std::vector<double> times;
        for (int i = 0; i < 41; ++i)
        {
            const auto start = std::chrono::steady_clock::now();
            copy();
            times.push_back(
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        }
        std::nth_element(times.begin(), times.begin() + 20, times.end());
        m_copySeconds = times[20];
        return m_copySeconds;
    }

    FilterBlur m_blur;
    FilterRadialBlur m_radialBlur;
    FilterDof m_dof;
    FilterBreak m_break;
    std::unique_ptr<RenderTarget> m_distance;

private:
    HWND m_window = nullptr;
    std::unique_ptr<Renderer> m_renderer;
    std::unique_ptr<RenderTarget> m_targets[4];
    std::unique_ptr<RenderTarget> m_probe;
    Soundtrack m_soundtrack;
    double m_copySeconds = 0.0;
    bool m_ready = false;
};

Bench& bench()
{
    static Bench instance;
    return instance;
}

// Runs a_step (ending in a synchronised read) and reports its time as a
// multiple of the plain copy's.
template <typename Step>
void run(benchmark::State& a_state, Step a_step)
{
    Bench& b = bench();
    if (!b.ready())
    {
        a_state.SkipWithError("the renderer, the content's programs or noise2.jpg are missing");
        return;
    }
    const double copy = b.copySeconds();
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : a_state)
        a_step(b);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    a_state.counters["copies"] = seconds / double(a_state.iterations()) / copy;
}

void BM_Copy(benchmark::State& a_state)
{
    run(a_state, [](Bench& a_bench) { a_bench.copy(); });
}
BENCHMARK(BM_Copy)->Unit(benchmark::kMillisecond)->UseRealTime();

// The frame's first blur: 5 passes of area 4 from target 1 into target 2.
void BM_Blur5PassesArea4(benchmark::State& a_state)
{
    run(a_state, [](Bench& a_bench) {
        a_bench.m_blur.setParameter("passes", 5);
        a_bench.m_blur.setParameter("area", 4.0f);
        a_bench.m_blur.apply(a_bench.target(2), a_bench.target(1), nullptr, nullptr, nullptr);
        a_bench.finish(a_bench.target(2));
    });
}
BENCHMARK(BM_Blur5PassesArea4)->Unit(benchmark::kMillisecond)->UseRealTime();

// The second: 4 passes (area 10, as in two of the parts) from target 2 into target 3.
void BM_Blur4PassesArea10(benchmark::State& a_state)
{
    run(a_state, [](Bench& a_bench) {
        a_bench.m_blur.setParameter("passes", 4);
        a_bench.m_blur.setParameter("area", 10.0f);
        a_bench.m_blur.apply(a_bench.target(3), a_bench.target(2), nullptr, nullptr, nullptr);
        a_bench.finish(a_bench.target(3));
    });
}
BENCHMARK(BM_Blur4PassesArea10)->Unit(benchmark::kMillisecond)->UseRealTime();

// Sharp, lightly blurred, distance and strongly blurred images into target 0.
void BM_DepthOfField(benchmark::State& a_state)
{
    run(a_state, [](Bench& a_bench) {
        a_bench.m_dof.setParameter("far", 1500.0f);
        a_bench.m_dof.apply(a_bench.target(0), a_bench.target(1), a_bench.target(2),
                            a_bench.m_distance.get(), a_bench.target(3));
        a_bench.finish(a_bench.target(0));
    });
}
BENCHMARK(BM_DepthOfField)->Unit(benchmark::kMillisecond)->UseRealTime();

// Break with a force of 20 and no overlay, from target 0 into target 1.
void BM_Break(benchmark::State& a_state)
{
    run(a_state, [](Bench& a_bench) {
        a_bench.m_break.apply(a_bench.target(1), a_bench.target(0), nullptr, nullptr, nullptr);
        a_bench.finish(a_bench.target(1));
    });
}
BENCHMARK(BM_Break)->Unit(benchmark::kMillisecond)->UseRealTime();

// The radial blur's default 3 passes at power 1.
void BM_RadialBlur3Passes(benchmark::State& a_state)
{
    run(a_state, [](Bench& a_bench) {
        a_bench.m_radialBlur.apply(a_bench.target(2), a_bench.target(1), nullptr, nullptr, nullptr);
        a_bench.finish(a_bench.target(2));
    });
}
BENCHMARK(BM_RadialBlur3Passes)->Unit(benchmark::kMillisecond)->UseRealTime();

}
