// The whole demo as the program plays it, on the capture audio device at a
// small size and two frames a second: from the first frame to the last beat,
// where it ends the process with exit code 0, every part in its turn and no
// frame black unless its flashes darken it.
#include "demo/DemoApplication.h"

#include "demo/Timeline.h"
#include "render/RendererFixture.h"

#include <BassCapture.h>

#include <gtest/gtest.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <string>

namespace
{

// What the run saw, reported by the exit handler since the timeline ends
// the process itself.
std::string g_parts;
int g_blackFrames = 0;
int g_frames = 0;

void report()
{
    fprintf(stderr, "frames: %d\nparts:%s\nblack frames: %d\n", g_frames, g_parts.c_str(),
            g_blackFrames);
}

// The mean of what the screen shows of a_target (negative values are black).
double meanLight(const RenderTarget& a_target)
{
    const std::vector<Texel> texels = RendererFixture::readTexels(a_target, D3DFMT_A16B16G16R16F);
    double sum = 0.0;
    for (const Texel& texel : texels)
        sum += std::min(std::max(texel.c[0] + texel.c[1] + texel.c[2], 0.0f), 3.0f) / 3.0;
    return sum / double(texels.size());
}

void playWholeDemo()
{
    if (!BassCapture::select(2))
        return;
    DemoApplication* application = new DemoApplication(162.0);
    if (!application->m_ready)
        return;
    atexit(report);
    const char* last = nullptr;
    std::vector<int16_t> samples;
    for (int frame = 0; frame < 2 * 200; ++frame)
    {
        ReturnCode updated = application->m_tarvo.update();
        if (updated.failed())
            return;
        BassCapture::step(samples);
        samples.clear();
        const TimelineTrace& trace = application->m_demo.m_trace;
        ++g_frames;
        if (!last || strcmp(last, trace.part) != 0)
            g_parts += std::string(" ") + trace.part;
        last = trace.part;
        if (trace.breakBrightness > 0.0f && trace.envelope > 0.5f &&
            meanLight(*application->m_demo.m_targets[1]) < 0.01)
        {
            ++g_blackFrames;
            fprintf(stderr, "black at beat %.2f (%s, fog far %.0f, camera %s at frame %.0f)\n",
                    double(trace.beat), trace.part, double(trace.fogFar), trace.camera,
                    double(trace.cameraTime));
        }
    }
}

}  // namespace

TEST(DemoRunTest, PlaysFromTheFirstFrameToTheLastBeat)
{
    testing::FLAGS_gtest_death_test_style = "threadsafe";
    EXPECT_EXIT(
        playWholeDemo(), testing::ExitedWithCode(0),
        "parts: hog test balls test balls satellite test satellite hog blob test blob balls test\n"
        "black frames: 0\n");
}
