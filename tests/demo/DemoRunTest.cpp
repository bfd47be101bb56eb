// The whole demo as the program plays it, on the capture audio device at a
// small size and two frames a second: from the first frame to the last beat,
// where the demo ends, every part in its turn and no frame black unless its
// flashes darken it.
#include "demo/DemoApplication.h"

#include "demo/Timeline.h"
#include "render/RendererFixture.h"

#include <BassCapture.h>

#include <gtest/gtest.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <memory>
#include <string>

namespace
{

// What the run saw.
struct DemoRun
{
    std::string parts;  // each part as it came, after a space
    int blackFrames = 0;
    int frames = 0;
    bool ended = false;  // the demo reached its end
};

// The mean of what the screen shows of a_target (negative values are black).
double meanLight(const RenderTarget& a_target)
{
    const std::vector<Texel> texels = RendererFixture::readTexels(a_target, D3DFMT_A16B16G16R16F);
    double sum = 0.0;
    for (const Texel& texel : texels)
        sum += std::min(std::max(texel.c[0] + texel.c[1] + texel.c[2], 0.0f), 3.0f) / 3.0;
    return sum / double(texels.size());
}

DemoRun playWholeDemo()
{
    DemoRun run;
    if (!BassCapture::select(2))
    {
        ADD_FAILURE() << "the capture device cannot be selected";
        return run;
    }
    std::unique_ptr<DemoApplication> application(new DemoApplication(162.0));
    if (!application->m_ready)
    {
        ADD_FAILURE() << "the demo does not start";
        BassCapture::deselect();
        return run;
    }
    const char* last = nullptr;
    std::vector<int16_t> samples;
    for (int frame = 0; frame < 2 * 200; ++frame)
    {
        ReturnCode updated = application->m_tarvo.update();
        if (updated.failed())
        {
            ADD_FAILURE() << "frame " << frame << " failed";
            break;
        }
        if (application->m_tarvo.m_ended)
        {
            run.ended = true;
            break;
        }
        BassCapture::step(samples);
        samples.clear();
        const FrameDescription& trace = application->m_demo.m_frame;
        ++run.frames;
        if (!last || strcmp(last, trace.part) != 0)
            run.parts += std::string(" ") + trace.part;
        last = trace.part;
        if (trace.breakBrightness > 0.0f && trace.envelope > 0.5f &&
            meanLight(*application->m_demo.m_targets[1]) < 0.01)
        {
            ++run.blackFrames;
            fprintf(stderr, "black at beat %.2f (%s, fog far %.0f, camera %s at frame %.0f)\n",
                    double(trace.beat), trace.part, double(trace.fogFar), trace.cameraName,
                    double(trace.cameraTime));
        }
    }
    application.reset();
    BassCapture::deselect();
    return run;
}

}  // namespace

TEST(DemoRunTest, PlaysFromTheFirstFrameToTheLastBeat)
{
    const DemoRun run = playWholeDemo();
    EXPECT_TRUE(run.ended) << "after " << run.frames << " frames";
    EXPECT_EQ(run.parts,
              " hog test balls test balls satellite test satellite hog blob test blob balls test");
    EXPECT_EQ(run.blackFrames, 0);
}
