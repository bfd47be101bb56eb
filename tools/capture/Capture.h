// One offline rendering: the demo's own application object on the offscreen
// video driver and the capture audio device, stepped one frame of the chosen
// rate at a time, each frame read back and handed to the encoder thread with
// its samples and its trace line. Frames before the range are described and
// not drawn, so a range renders exactly what a whole run renders there.
#pragma once

#include "CaptureOptions.h"

#include <stdint.h>

#include <memory>
#include <string>

class BackBufferReader;
struct CapturedFrame;
struct DemoState;
class EncoderThread;
class FrameRange;
class StagedFile;
class Tarvo;
class TraceWriter;
class VideoEncoder;

class Capture
{
public:
    // Exit statuses of run().
    static constexpr int kDone = 0;
    static constexpr int kFailed = 1;    // the demo or an output failed
    static constexpr int kBadInput = 2;  // options, archive, range or output path
    static constexpr int kInterrupted = 130;

    // a_quiet: no progress report (benchmarks).
    explicit Capture(const CaptureOptions& a_options, bool a_quiet = false);

    // Renders and writes everything asked for; messages go to standard
    // error. Returns one of the statuses above. Runs once per process: the
    // layers' offline modes and the demo's settings are process-wide.
    int run();

    // After run: frames rendered in the range, and their rate (frames per
    // second of wall time, from the first frame of the range to the last
    // written).
    uint32_t m_rendered = 0;
    double m_framesPerSecond = 0.0;
    // The process's processor time (every thread: the rasteriser's, the
    // encoder's) per rendered frame over the same span, in seconds; unlike
    // the rate it barely moves when other work shares the machine.
    double m_processorSecondsPerFrame = 0.0;

    // A SIGINT or SIGTERM asks the running capture to stop and clean up.
    static void installInterruptHandler();

private:
    // The steps of run, in order; each complains about what fails.
    bool openOutputs(VideoEncoder* a_encoder, std::unique_ptr<StagedFile>* a_video,
                     std::unique_ptr<TraceWriter>* a_trace);
    bool prepareOutputs();
    bool prepareArchive();
    bool startDemo(Tarvo* a_tarvo);
    bool resolveRange(const DemoState* a_demo, FrameRange* a_range);
    bool stepFrame(Tarvo* a_tarvo, bool a_draw, BackBufferReader* a_reader, CapturedFrame* a_frame);
    int handOver(BackBufferReader* a_reader, CapturedFrame* a_frame, EncoderThread* a_encoding);
    // The frames up to the range's end, those in it drawn, read back and
    // handed to the encoder thread (a_encoder: null when no video).
    int renderFrames(Tarvo* a_tarvo, const FrameRange& a_range, VideoEncoder* a_encoder,
                     TraceWriter* a_trace);

    CaptureOptions m_options;
    bool m_quiet;
    std::string m_output;  // absolute paths; the working directory changes
    std::string m_pngFolder;
    std::string m_traceFile;
    std::string m_workFolder;  // holds the link "tarvo.fs" the demo opens
};
