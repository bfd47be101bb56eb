// The frame twin's options, set-up and frame loop.
#include "FrameTwin.h"

#include "BackBufferReader.h"
#include "DisplayChoice.h"
#include "PngWriter.h"

#include "app/MainWindow.h"
#include "app/Tarvo.h"
#include "archive/FileSystem.h"
#include "archive/format/ArchiveReader.h"
#include "core/FatalError.h"
#include "core/LauncherSettings.h"
#include "demo/DemoState.h"
#include "demo/Timeline.h"
#include "filters/FilterBreak.h"
#include "render/Renderer.h"
#include "sound/Soundtrack.h"
#include "sound/Time.h"

#include <BassCapture.h>
#include <windows.h>

#include <errno.h>
#include <math.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <system_error>

namespace
{

// The name the demo opens in its working directory.
const char* const kArchiveName = "tarvo.fs";

const uint32_t kLargestSide = 4096;
const uint32_t kFastestRate = 240;

void complain(const char* a_format, ...) __attribute__((format(printf, 1, 2)));
void complain(const char* a_format, ...)
{
    va_list arguments;
    va_start(arguments, a_format);
    fputs("tarvo-frames: ", stderr);
    vfprintf(stderr, a_format, arguments);
    fputc('\n', stderr);
    va_end(arguments);
}

// A whole decimal number from 1 to a_largest, nothing else.
bool parseCount(const std::string& a_text, uint32_t a_largest, uint32_t* a_value)
{
    if (a_text.empty() || a_text.size() > 9 ||
        a_text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    const unsigned long value = strtoul(a_text.c_str(), nullptr, 10);
    if (value < 1 || value > a_largest)
        return false;
    *a_value = uint32_t(value);
    return true;
}

bool parseSize(const std::string& a_text, uint32_t* a_width, uint32_t* a_height)
{
    const size_t x = a_text.find('x');
    return x != std::string::npos && parseCount(a_text.substr(0, x), kLargestSide, a_width) &&
           parseCount(a_text.substr(x + 1), kLargestSide, a_height);
}

// Beats as decimal numbers separated by commas, each from 0 to the last beat.
bool parseBeats(const std::string& a_text, std::vector<float>* a_beats)
{
    a_beats->clear();
    size_t start = 0;
    while (start <= a_text.size())
    {
        size_t end = a_text.find(',', start);
        if (end == std::string::npos)
            end = a_text.size();
        const std::string item = a_text.substr(start, end - start);
        if (item.empty() || item.find_first_not_of("0123456789.") != std::string::npos)
            return false;
        char* rest = nullptr;
        const float beat = strtof(item.c_str(), &rest);
        if (*rest != '\0' || !(beat >= 0.0f) || beat >= Timeline::kLastBeat)
            return false;
        a_beats->push_back(beat);
        start = end + 1;
    }
    return !a_beats->empty();
}

// X8R8G8B8 rows as read back (bytes blue, green, red, unused) to RGB rows.
void toRgb(const std::vector<uint8_t>& a_pixels, std::vector<uint8_t>* a_rgb)
{
    a_rgb->resize(a_pixels.size() / 4 * 3);
    uint8_t* out = a_rgb->data();
    for (size_t i = 0; i < a_pixels.size(); i += 4, out += 3)
    {
        out[0] = a_pixels[i + 2];
        out[1] = a_pixels[i + 1];
        out[2] = a_pixels[i + 0];
    }
}

std::string frameName(float a_beat)
{
    char name[48];
    snprintf(name, sizeof(name), "beat%06.2f.png", double(a_beat));
    return name;
}

}  // namespace

const char* FrameTwin::usage()
{
    return "Usage: tarvo-frames [OPTIONS] ARCHIVE FOLDER\n"
           "Runs the demo on ARCHIVE (a file named tarvo.fs) in a window, its clock stepped\n"
           "from 0 at a fixed rate, every frame drawn, and writes the frames nearest to the\n"
           "chosen beats into FOLDER as beatBBB.BB.png. Prints a line for each of them (what\n"
           "it was drawn from) and one at the end: frames drawn and milliseconds of drawing\n"
           "per frame.\n"
           "  --size WxH      the picture (default 640x360); the display must have that mode\n"
           "  --fps N         steps of the clock per second of demo time (default 2)\n"
           "  --beats B,B...  the beats to write (default 32,100,136,224,336: one in each part)\n"
           "  --help          this text\n";
}

bool FrameTwin::parse(const std::vector<std::string>& a_arguments)
{
    std::vector<std::string> positional;
    for (size_t i = 0; i < a_arguments.size(); ++i)
    {
        const std::string& argument = a_arguments[i];
        const bool hasValue = i + 1 < a_arguments.size();
        if (argument == "--help")
        {
            m_help = true;
            return true;
        }
        if (argument == "--size" || argument == "--fps" || argument == "--beats")
        {
            if (!hasValue)
            {
                m_error = argument + " needs a value";
                return false;
            }
            const std::string& value = a_arguments[++i];
            const bool valid = argument == "--size"  ? parseSize(value, &m_width, &m_height)
                               : argument == "--fps" ? parseCount(value, kFastestRate, &m_fps)
                                                     : parseBeats(value, &m_beats);
            if (!valid)
            {
                m_error = "'" + value + "' is not a valid value for " + argument;
                return false;
            }
            continue;
        }
        if (argument.size() > 1 && argument[0] == '-')
        {
            m_error = "unknown option '" + argument + "'";
            return false;
        }
        positional.push_back(argument);
    }
    if (positional.size() != 2)
    {
        m_error = "an archive and an output folder are needed";
        return false;
    }
    m_archive = positional[0];
    m_folder = positional[1];
    return true;
}

// The demo opens "tarvo.fs" in its working directory: the program works in
// the archive's own folder.
bool FrameTwin::enterArchiveFolder()
{
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path archive = fs::absolute(m_archive, error);
    if (error || archive.filename() != kArchiveName)
    {
        complain("'%s' is not named %s, the name the demo opens", m_archive.c_str(), kArchiveName);
        return false;
    }
    ArchiveReader reader;
    if (!reader.read(archive.string().c_str()))
    {
        complain("cannot open the archive '%s': %s", m_archive.c_str(),
                 strerror(errno ? errno : ENOENT));
        return false;
    }
    if (!reader.valid())
    {
        complain("'%s' is not a valid demo archive: %s", m_archive.c_str(),
                 reader.firstError().c_str());
        return false;
    }
    const fs::path folder = fs::absolute(m_folder, error);
    if (!error)
        fs::create_directories(folder, error);
    if (error || !fs::is_directory(folder))
    {
        complain("cannot make the folder '%s': %s", m_folder.c_str(), error.message().c_str());
        return false;
    }
    m_folder = folder.string();
    fs::current_path(archive.parent_path(), error);
    if (error)
    {
        complain("cannot work in the archive's folder: %s", error.message().c_str());
        return false;
    }
    return true;
}

int FrameTwin::run()
{
    if (!enterArchiveFolder())
        return kBadInput;
    std::string error;
    if (!DisplayChoice::choose(m_width, m_height, m_fps, &error))
    {
        complain("%s", error.c_str());
        return kBadInput;
    }
    // The launcher's choices: a window, no loop.
    g_windowed = true;
    g_fullScreen = false;
    g_loop = false;
    g_aspect = float(m_width) / float(m_height);
    BassCapture::select(m_fps);

    if (FileSystem::open().failed())
    {
        complain("cannot load the archive '%s'", m_archive.c_str());
        return kFailed;
    }
    DemoState* demo = new DemoState();  // lives until the process ends, as the demo's own
    Tarvo tarvo(demo);
    HWND window = createMainWindow(GetModuleHandleA(nullptr));
    // The demo draws its inner targets at its window's outer size.
    MoveWindow(window, 0, 0, int(m_width), int(m_height), FALSE);
    const bool initialised = tarvo.init(window).succeeded();
    FileSystem::close();
    if (!initialised || !tarvo.m_soundtrack)
    {
        complain(g_fatalErrorShown ? "the demo could not start (see the message above)"
                                   : "the demo could not start");
        return kFailed;
    }

    // The frame of each chosen beat: frame k shows demo time k / fps.
    std::vector<uint32_t> frames;
    uint32_t last = 0;
    for (float beat : m_beats)
    {
        const uint32_t frame = uint32_t(lround(double(beats(demo, beat)) * m_fps));
        frames.push_back(frame);
        last = frame > last ? frame : last;
    }

    BackBufferReader reader;
    if (!reader.open(tarvo.m_renderer->device(), tarvo.m_renderer->m_backBuffer, m_width, m_height))
    {
        complain("cannot read frames back from the device");
        return kFailed;
    }
    std::vector<int16_t> samples;
    std::vector<uint8_t> pixels;
    std::vector<uint8_t> rgb;
    double drawing = 0.0;  // seconds spent in the demo's drawn frames
    uint32_t drawn = 0;
    int status = kDone;
    for (uint32_t k = 0; k <= last && status == kDone; ++k)
    {
        pumpMessages();
        // Only the chosen frames are drawn, each after the frame before it
        // (a frame finds some states as the one before left them); the
        // others are described, which hands on all the timeline carries.
        const bool draw = std::any_of(frames.begin(), frames.end(), [k](uint32_t a_frame) {
            return a_frame == k || a_frame == k + 1;
        });
        bool updated = true;
        if (draw)
        {
            const auto start = std::chrono::steady_clock::now();
            updated = tarvo.update().succeeded();
            drawing +=
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            ++drawn;
        }
        else
        {
            tarvo.advance();
        }
        if (!updated || tarvo.m_ended)
        {
            complain("frame %u failed to render", k);
            status = kFailed;
            break;
        }
        for (size_t i = 0; i < frames.size() && status == kDone; ++i)
        {
            if (frames[i] != k)
                continue;
            const std::string path = m_folder + "/" + frameName(m_beats[i]);
            if (!reader.read(&pixels))
            {
                complain("frame %u could not be read back", k);
                status = kFailed;
            }
            else
            {
                toRgb(pixels, &rgb);
                if (!writePng(path, m_width, m_height, rgb))
                    status = kFailed;
            }
            // What the frame was drawn from, so that a difference between the
            // builds can be told from the audio side (the spectrum's force)
            // or the demo's state rather than from drawing.
            const FrameDescription& trace = demo->m_frame;
            printf("%s time %.4f part %s camera %s scene-time %.3f camera-time %.3f force %.4f\n",
                   frameName(m_beats[i]).c_str(), double(Time::g_time), trace.part,
                   trace.cameraName ? trace.cameraName : "-", double(trace.sceneTime),
                   double(trace.cameraTime),
                   double(FilterBreak::force(Time::g_soundtrack->getSpectrum())));
        }
        samples.clear();
        BassCapture::step(samples);
    }
    if (status == kDone)
    {
        printf("frames %u ms-per-frame %.3f\n", drawn, drawn ? 1000.0 * drawing / drawn : 0.0);
        if (fflush(stdout) != 0)
            status = kFailed;
    }
    return status;
}
