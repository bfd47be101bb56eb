// The capture's set-up, frame loop and completion.
#include "Capture.h"

#include "BackBufferReader.h"
#include "CapturedFrame.h"
#include "EncoderThread.h"
#include "FrameRange.h"
#include "ProgressReporter.h"
#include "StagedFile.h"
#include "TraceWriter.h"
#include "VideoEncoder.h"

#include "app/MainWindow.h"
#include "app/Tarvo.h"
#include "archive/format/ArchiveReader.h"
#include "archive/FileSystem.h"
#include "core/FatalError.h"
#include "core/LauncherSettings.h"
#include "demo/DemoState.h"
#include "demo/Timeline.h"
#include "render/Renderer.h"
#include "sound/Soundtrack.h"
#include "sound/Timer.h"

#include <BassCapture.h>
#include <D3D9Offline.h>
#include <Win32Offline.h>
#include <windows.h>

#include <errno.h>
#include <limits.h>
#include <signal.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <memory>

namespace
{

// The rate the soundtrack opens the audio device at, so the rate of the
// stepped samples.
const uint32_t kSampleRate = 44100;

volatile sig_atomic_t g_interrupted = 0;

void onInterrupt(int)
{
    g_interrupted = 1;
}

void complain(const char* a_format, ...) __attribute__((format(printf, 1, 2)));
void complain(const char* a_format, ...)
{
    va_list arguments;
    va_start(arguments, a_format);
    fputs("tarvo-capture: ", stderr);
    vfprintf(stderr, a_format, arguments);
    fputc('\n', stderr);
    va_end(arguments);
}

std::string absolute(const std::string& a_path)
{
    if (a_path.empty() || a_path[0] == '/')
        return a_path;
    char folder[PATH_MAX];
    if (!getcwd(folder, sizeof(folder)))
        return a_path;
    return std::string(folder) + "/" + a_path;
}

// The link "tarvo.fs" and its folder, removed when the capture ends.
struct WorkFolder
{
    std::string path;
    ~WorkFolder()
    {
        if (path.empty())
            return;
        unlink((path + "/tarvo.fs").c_str());
        rmdir(path.c_str());
    }
};

}  // namespace

Capture::Capture(const CaptureOptions& a_options, bool a_quiet)
    : m_options(a_options), m_quiet(a_quiet)
{
}

void Capture::installInterruptHandler()
{
    struct sigaction action = {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

// The demo opens "tarvo.fs" in its working directory, so the capture works
// in a folder of its own where that name links to the archive given.
bool Capture::prepareArchive()
{
    const std::string archive = absolute(m_options.m_archive);
    ArchiveReader reader;
    if (!reader.read(archive.c_str()))
    {
        complain("cannot open the archive '%s': %s", m_options.m_archive.c_str(),
                 strerror(errno ? errno : ENOENT));
        return false;
    }
    if (!reader.valid())
    {
        complain("'%s' is not a valid demo archive: %s", m_options.m_archive.c_str(),
                 reader.firstError().c_str());
        return false;
    }
    char folder[] = "/tmp/tarvo-capture-XXXXXX";
    if (!mkdtemp(folder))
    {
        complain("cannot make a working folder: %s", strerror(errno));
        return false;
    }
    m_workFolder = folder;
    if (symlink(archive.c_str(), (m_workFolder + "/tarvo.fs").c_str()) != 0 || chdir(folder) != 0)
    {
        complain("cannot prepare the working folder '%s': %s", folder, strerror(errno));
        return false;
    }
    return true;
}

bool Capture::prepareOutputs()
{
    if (m_pngFolder.empty())
        return true;
    if (mkdir(m_pngFolder.c_str(), 0777) != 0 && errno != EEXIST)
    {
        complain("cannot make the PNG folder '%s': %s", m_options.m_pngFolder.c_str(),
                 strerror(errno));
        return false;
    }
    struct stat status = {};
    if (stat(m_pngFolder.c_str(), &status) != 0 || !S_ISDIR(status.st_mode) ||
        access(m_pngFolder.c_str(), W_OK) != 0)
    {
        complain("'%s' is not a folder that can be written to", m_options.m_pngFolder.c_str());
        return false;
    }
    return true;
}

bool Capture::openOutputs(VideoEncoder* a_encoder, std::unique_ptr<StagedFile>* a_video,
                          std::unique_ptr<TraceWriter>* a_trace)
{
    if (!m_output.empty() && !m_options.m_printRange)
    {
        a_video->reset(new StagedFile(m_output));
        a_encoder->m_withVideo = !m_options.m_soundOnly;
        a_encoder->m_withSound = !m_options.m_noSound;
        a_encoder->m_lossless = m_options.m_lossless;
        if (!a_encoder->open((*a_video)->temporaryPath(), m_options.m_width, m_options.m_height,
                             m_options.m_fps, kSampleRate))
        {
            complain("%s", a_encoder->m_error.c_str());
            return false;
        }
    }
    if (!m_traceFile.empty() && !m_options.m_printRange)
    {
        a_trace->reset(new TraceWriter(m_traceFile));
        if (!(*a_trace)->open())
            return false;
    }
    return prepareOutputs();
}

// The launcher's choices: one display mode of the picture's size, a window,
// no loop (the demo's end is the capture's); the capture audio device, and
// no waiting in Sleep.
bool Capture::startDemo(Tarvo* a_tarvo)
{
    const uint32_t width = m_options.m_width;
    const uint32_t height = m_options.m_height;
    D3D9Offline::setDisplayMode(width, height, m_options.m_fps);
    g_displayMode = 0;
    g_windowed = true;
    g_fullScreen = false;
    g_loop = false;
    g_aspect = m_options.m_aspect > 0.0f ? m_options.m_aspect : float(width) / float(height);
    BassCapture::select(m_options.m_fps);
    Win32Offline::skipSleeps(true);

    ReturnCode opened = FileSystem::open();
    if (opened.failed())
    {
        complain("cannot load the archive '%s'", m_options.m_archive.c_str());
        return false;
    }
    HWND window = createMainWindow(GetModuleHandleA(nullptr));
    // The demo draws at its window's outer size.
    MoveWindow(window, 0, 0, int(width), int(height), FALSE);
    ReturnCode initialised = a_tarvo->init(window);
    FileSystem::close();
    if (initialised.failed() || !a_tarvo->m_soundtrack)
    {
        complain(g_fatalErrorShown ? "the demo could not start (see the message above)"
                                   : "the demo could not start");
        return false;
    }
    return true;
}

bool Capture::resolveRange(const DemoState* a_demo, FrameRange* a_range)
{
    const uint32_t fps = m_options.m_fps;
    const float end = beats(a_demo, Timeline::kLastBeat);
    if (!a_range->resolve(m_options.m_frames, m_options.m_beats, fps, secondsPerBeat(a_demo),
                          FrameRange::framesBefore(end, fps), Timeline::kLastBeat))
    {
        complain("%s", a_range->m_error.c_str());
        return false;
    }
    return true;
}

// One frame, a_frame->index: drawn and, with a_reader, its read-back asked
// for, or only described; then its samples stepped.
bool Capture::stepFrame(Tarvo* a_tarvo, bool a_draw, BackBufferReader* a_reader,
                        CapturedFrame* a_frame)
{
    pumpMessages();
    if (!a_draw)
        a_tarvo->advance();
    else if (a_tarvo->update().failed() || (a_reader && !a_reader->request()))
    {
        complain("frame %u failed to render", a_frame->index);
        return false;
    }
    const uint32_t samplesPerFrame = kSampleRate / m_options.m_fps;
    const uint32_t stepped = BassCapture::step(a_frame->samples);
    if (stepped < samplesPerFrame || stepped > samplesPerFrame + 1)
    {
        complain("the capture audio device stepped %u samples for frame %u", stepped,
                 a_frame->index);
        return false;
    }
    return true;
}

// The oldest frame whose read-back was asked for, a_frame, with its pixels
// to the encoder thread.
int Capture::handOver(BackBufferReader* a_reader, CapturedFrame* a_frame, EncoderThread* a_encoding)
{
    if (!a_reader->collect(&a_frame->pixels))
    {
        complain("frame %u could not be read back", a_frame->index);
        return kFailed;
    }
    if (!a_encoding->submit(std::move(*a_frame)))
    {
        complain("%s", a_encoding->error().c_str());
        return kFailed;
    }
    return kDone;
}

namespace
{

double processorSeconds()
{
    timespec now = {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

}  // namespace

// Frames before the range (and every frame of a sound-only capture) are
// described and not drawn: the timeline hands on what a drawn frame would,
// and the clock and the sound step as they do for a drawn frame. The frame
// just before the range is drawn, not read back: a frame starts with some
// of the device's states as the frame before left them (the cull mode of
// its last pass), which the range's first frame must find as a whole run
// leaves them. A frame's read-back is collected once the next frame is
// drawn, so the copy runs behind that drawing; the last is collected after
// the loop.
int Capture::renderFrames(Tarvo* a_tarvo, const FrameRange& a_range, VideoEncoder* a_encoder,
                          TraceWriter* a_trace)
{
    const uint32_t width = m_options.m_width;
    const uint32_t height = m_options.m_height;
    const bool drawing = !m_options.m_soundOnly;
    const bool writing = a_encoder || !m_pngFolder.empty();
    const bool reading = writing && drawing;
    BackBufferReader reader;
    if (reading && !reader.open(a_tarvo->m_renderer->device(), a_tarvo->m_renderer->m_backBuffer,
                                width, height))
    {
        complain("cannot read frames back from the device");
        return kFailed;
    }

    const DemoState* demo = a_tarvo->m_demo;
    const float end = beats(demo, Timeline::kLastBeat);
    EncoderThread encoding(a_encoder, m_pngFolder, width, height);
    encoding.start();
    ProgressReporter progress(stderr, isatty(STDERR_FILENO) != 0, a_range.m_first, a_range.m_last);
    CapturedFrame waiting;  // drawn, its pixels on their way
    std::chrono::steady_clock::time_point start;
    double processorStart = 0.0;
    int status = kDone;
    for (uint32_t k = 0; k < a_range.m_last && status == kDone; ++k)
    {
        if (g_interrupted)
        {
            status = kInterrupted;
            break;
        }
        // FrameRange counted the frames with the clock's own rounding; this
        // only guards the timeline's end of the process.
        if (k > 0 && Timer::heardTime(a_tarvo->m_soundtrack) >= end)
            break;
        const bool drawn = k >= a_range.m_first;
        if (k == a_range.m_first)
        {
            start = std::chrono::steady_clock::now();
            processorStart = processorSeconds();
        }
        CapturedFrame frame;
        frame.index = k;
        const bool draw = drawing && (drawn || k + 1 == a_range.m_first);
        if (!stepFrame(a_tarvo, draw, drawn && reading ? &reader : nullptr, &frame))
        {
            status = kFailed;
            break;
        }
        if (!drawn)
            continue;
        if (a_trace)
            a_trace->write(k, demo->m_frame);
        // A frame read back waits for its pixels until the next is drawn.
        if (reading && reader.waiting() > 1)
            status = handOver(&reader, &waiting, &encoding);
        if (status != kDone)
            break;
        if (reading)
            waiting = std::move(frame);
        else if (writing && !encoding.submit(std::move(frame)))
        {
            complain("%s", encoding.error().c_str());
            status = kFailed;
            break;
        }
        ++m_rendered;
        if (!m_quiet)
            progress.frameDone(k, demo->m_frame.beat, demo->m_frame.part);
    }
    if (status == kDone && reader.waiting() > 0)
        status = handOver(&reader, &waiting, &encoding);
    const bool written = encoding.finish();
    if (status == kDone && !written)
    {
        complain("%s", encoding.error().c_str());
        status = kFailed;
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    m_framesPerSecond = seconds > 0.0 ? m_rendered / seconds : 0.0;
    m_processorSecondsPerFrame =
        m_rendered > 0 ? (processorSeconds() - processorStart) / m_rendered : 0.0;
    if (status == kInterrupted)
        complain("interrupted; no output was completed");
    else if (status == kDone && !m_quiet)
        progress.finish();
    return status;
}

// The order matters: outputs are checked before the slow start of the demo,
// the range once the demo knows its tempo. Every path out before the final
// renames leaves only the temporary files, which their owners remove.
int Capture::run()
{
    // Headless whatever the session has: no window and no message box may
    // wait for a user.
    D3D9Offline::selectOffscreen();
    m_output = absolute(m_options.m_output);
    m_pngFolder = absolute(m_options.m_pngFolder);
    m_traceFile = absolute(m_options.m_traceFile);

    VideoEncoder encoder;
    std::unique_ptr<StagedFile> video;
    std::unique_ptr<TraceWriter> trace;
    if (!openOutputs(&encoder, &video, &trace))
        return kBadInput;
    WorkFolder work;
    const bool archiveReady = prepareArchive();
    work.path = m_workFolder;
    if (!archiveReady)
        return kBadInput;

    DemoState* demo = new DemoState();  // lives until the process ends, as the demo's own
    Tarvo tarvo(demo);
    if (!startDemo(&tarvo))
        return kFailed;
    FrameRange range;
    if (!resolveRange(demo, &range))
        return kBadInput;
    if (m_options.m_printRange)
    {
        printf("%u %u\n", range.m_first, range.m_last);
        return fflush(stdout) == 0 ? kDone : kFailed;
    }
    if (!m_quiet)
        complain("frames %u to %u (%.2f s to %.2f s of the demo) at %u x %u, %u frames per second",
                 range.m_first, range.m_last - 1, double(range.m_first) / m_options.m_fps,
                 double(range.m_last) / m_options.m_fps, m_options.m_width, m_options.m_height,
                 m_options.m_fps);

    const int status = renderFrames(&tarvo, range, video ? &encoder : nullptr, trace.get());
    if (status != kDone)
        return status;
    if (video && (!encoder.finish() || !video->commit()))
    {
        if (!encoder.m_error.empty())
            complain("%s", encoder.m_error.c_str());
        return kFailed;
    }
    if (trace && !trace->finish())
        return kFailed;
    if (video && !m_quiet)
        complain("wrote %s", m_output.c_str());
    return kDone;
}
