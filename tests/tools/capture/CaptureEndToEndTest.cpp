// tarvo-capture run as a user runs it, on the shipped archive at small sizes
// and short ranges: the MP4 read back with FFmpeg's own reader (rate, frame
// count, duration, the soundtrack's samples for the range, frames equal to
// the PNG frames), flashes in the frames where the timeline puts them, a
// range equal to the same frames of a longer run, the trace, and bad input.
//
// Not tested here: the terminal progress bar (needs a terminal), the whole
// demo to its last beat (minutes; ./run.sh does it), and interruption.
#include "CaptureRun.h"
#include "Mp4Reader.h"

#include "archive/format/ArchiveReader.h"
#include "platform/bass/Mp3TestData.h"
#include "support/ShippedArchive.h"
#include "support/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <math.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace
{

const uint32_t kWidth = 96;
const uint32_t kHeight = 54;
const uint32_t kFps = 30;
const uint32_t kRate = 44100;
const uint32_t kSamplesPerFrame = kRate / kFps;
const double kSecondsPerBeat = 60.0 / 170.0;

// Around beat 16 (frame 169.4): the hog's second camera cuts in with the
// flash of the envelope, which drops B to 0 just after the beat.
const uint32_t kFirst = 160;
const uint32_t kLast = 200;
const double kFlashBeat = 16.0;

std::string frameName(const std::string& a_folder, uint32_t a_frame)
{
    char name[32];
    snprintf(name, sizeof(name), "/frame-%06u.png", a_frame);
    return a_folder + name;
}

double meanLevel(const std::vector<uint8_t>& a_rgb)
{
    double sum = 0.0;
    for (uint8_t value : a_rgb)
        sum += value;
    return a_rgb.empty() ? 0.0 : sum / double(a_rgb.size());
}

// The standard deviation of every channel value: 0 for a flat picture.
double contrast(const std::vector<uint8_t>& a_rgb)
{
    const double mean = meanLevel(a_rgb);
    double sum = 0.0;
    for (uint8_t value : a_rgb)
        sum += (value - mean) * (value - mean);
    return a_rgb.empty() ? 0.0 : sqrt(sum / double(a_rgb.size()));
}

double meanDifference(const std::vector<uint8_t>& a_one, const std::vector<uint8_t>& a_other)
{
    if (a_one.size() != a_other.size() || a_one.empty())
        return 1.0e9;
    double sum = 0.0;
    for (size_t i = 0; i < a_one.size(); ++i)
        sum += fabs(double(a_one[i]) - double(a_other[i]));
    return sum / double(a_one.size());
}

// The trace as rows of named columns.
std::vector<std::map<std::string, std::string>> readTrace(const std::string& a_path)
{
    std::ifstream file(a_path);
    std::string line;
    std::vector<std::string> names;
    std::vector<std::map<std::string, std::string>> rows;
    while (std::getline(file, line))
    {
        std::vector<std::string> fields;
        std::stringstream stream(line);
        std::string field;
        while (std::getline(stream, field, ','))
            fields.push_back(field);
        if (!line.empty() && line.back() == ',')
            fields.push_back("");
        if (names.empty())
        {
            names = fields;
            continue;
        }
        std::map<std::string, std::string> row;
        for (size_t i = 0; i < names.size() && i < fields.size(); ++i)
            row[names[i]] = fields[i];
        row["#fields"] = std::to_string(fields.size());
        rows.push_back(row);
    }
    return rows;
}

// The song as a player decodes it from the archive: the reference samples.
std::vector<int16_t> soundtrack()
{
    ArchiveReader reader;
    if (!reader.read(TARVO_ARCHIVE_FILE) || !reader.valid())
        return {};
    for (const FileEntry& entry : reader.entries())
        if (entry.name == "KUV-2.mp3")
            return Mp3TestData::decode(std::vector<uint8_t>(
                reader.data() + entry.offset, reader.data() + entry.offset + entry.size));
    return {};
}

class CaptureEndToEndTest : public testing::Test
{
protected:
    // One capture of the flash range with every output, shared by the tests
    // that read it.
    static void SetUpTestSuite()
    {
        s_folder = new TemporaryFolder();
        const std::string folder = s_folder->path().string();
        s_run = new CaptureRun(CaptureRun::start(
            folder,
            {"--width", std::to_string(kWidth), "--height", std::to_string(kHeight), "--fps",
             std::to_string(kFps), "--frames", std::to_string(kFirst) + ":" + std::to_string(kLast),
             "--png", "frames", "--trace", "trace.csv", "-o", "range.mp4", TARVO_ARCHIVE_FILE}));
    }

    static void TearDownTestSuite()
    {
        delete s_run;
        delete s_folder;
    }

    void SetUp() override { ASSERT_EQ(s_run->status, 0) << s_run->messages; }

    static std::string file(const std::string& a_name) { return s_folder->file(a_name); }

    static TemporaryFolder* s_folder;
    static CaptureRun* s_run;
};

TemporaryFolder* CaptureEndToEndTest::s_folder = nullptr;
CaptureRun* CaptureEndToEndTest::s_run = nullptr;

}  // namespace

// The container states the range's length, frame count and rate; the audio
// is the song from frame 160's time on, aligned to the sample: the error is
// far smaller at lag 0 than one sample either side or at any other lag.
TEST_F(CaptureEndToEndTest, Mp4HoldsTheRangeWithTheSoundtracksSamples)
{
    Mp4Reader mp4;
    ASSERT_TRUE(mp4.read(file("range.mp4"))) << mp4.m_error;
    EXPECT_EQ(mp4.m_videoCodec, "h264");
    EXPECT_EQ(mp4.m_audioCodec, "aac");
    EXPECT_EQ(mp4.m_width, int(kWidth));
    EXPECT_EQ(mp4.m_height, int(kHeight));
    EXPECT_EQ(mp4.m_frameRateNumerator, int(kFps));
    EXPECT_EQ(mp4.m_frameRateDenominator, 1);
    EXPECT_EQ(mp4.m_declaredFrames, int64_t(kLast - kFirst));
    ASSERT_EQ(mp4.m_frames.size(), size_t(kLast - kFirst));
    for (size_t i = 0; i < mp4.m_frameTimes.size(); ++i)
        EXPECT_NEAR(mp4.m_frameTimes[i], double(i) / kFps, 1.0e-6) << "frame " << i;
    const double seconds = double(kLast - kFirst) / kFps;
    // AAC's last frame is whole: up to 1024 samples of padding at the end.
    EXPECT_GE(mp4.m_duration, seconds - 1.0e-3);
    EXPECT_LE(mp4.m_duration, seconds + 1024.0 / kRate + 1.0e-3);
    EXPECT_EQ(mp4.m_sampleRate, int(kRate));

    const std::vector<int16_t> song = soundtrack();
    ASSERT_FALSE(song.empty());
    const size_t count = size_t(kLast - kFirst) * kSamplesPerFrame;
    ASSERT_GE(mp4.m_samples.size() / 2, count);
    auto error = [&](long a_lag) {
        double signal = 0.0, noise = 0.0;
        for (size_t i = 2000; i + 2000 < count; ++i)
            for (size_t channel = 0; channel < 2; ++channel)
            {
                const double expected =
                    song[(size_t(kFirst) * kSamplesPerFrame + size_t(long(i) + a_lag)) * 2 +
                         channel] /
                    32768.0;
                const double heard = mp4.m_samples[i * 2 + channel];
                signal += expected * expected;
                noise += (heard - expected) * (heard - expected);
            }
        return 10.0 * log10(signal / std::max(noise, 1.0e-30));
    };
    const double aligned = error(0);
    // AAC keeps what is heard, not the waveform: 16 dB is typical here.
    EXPECT_GT(aligned, 10.0) << "signal to noise in dB of the AAC against the song";
    for (long lag : {-1470L, -100L, -2L, 2L, 100L, 1470L})
    {
        SCOPED_TRACE("lag " + std::to_string(lag));
        EXPECT_GT(aligned, error(lag) + 3.0);
    }
}

// Each decoded picture is its PNG frame up to the 4:2:0 video's loss, and
// nearer to it than to its neighbours wherever those differ.
TEST_F(CaptureEndToEndTest, Mp4FramesAreThePngFrames)
{
    Mp4Reader mp4;
    ASSERT_TRUE(mp4.read(file("range.mp4"))) << mp4.m_error;
    ASSERT_EQ(mp4.m_frames.size(), size_t(kLast - kFirst));
    for (uint32_t k = kFirst; k < kLast; ++k)
    {
        SCOPED_TRACE("frame " + std::to_string(k));
        uint32_t width = 0, height = 0;
        const std::vector<uint8_t> png =
            CaptureRun::readPng(frameName(file("frames"), k), &width, &height);
        ASSERT_EQ(width, kWidth);
        ASSERT_EQ(height, kHeight);
        const std::vector<uint8_t>& video = mp4.m_frames[k - kFirst];
        const double own = meanDifference(video, png);
        EXPECT_LT(own, 4.0);
        for (uint32_t other : {k - 1, k + 1})
        {
            if (other < kFirst || other >= kLast)
                continue;
            const std::vector<uint8_t> neighbour =
                CaptureRun::readPng(frameName(file("frames"), other));
            if (meanDifference(png, neighbour) > 8.0)
            {
                EXPECT_LT(own, meanDifference(video, neighbour)) << "against frame " << other;
            }
        }
    }
}

// The flash just after beat 16 (B near 0: no contrast, saturation or
// brightness left, the fog's grey over all) flattens the first frame the
// trace shows past the beat, in the PNG frames and at that time in the MP4:
// the largest fall in contrast between neighbouring frames lies there,
// within one frame of the beat's time.
TEST_F(CaptureEndToEndTest, FlashAppearsInTheFramesAtTheTimelinesTime)
{
    const auto trace = readTrace(file("trace.csv"));
    ASSERT_EQ(trace.size(), size_t(kLast - kFirst));
    uint32_t flashFrame = 0;
    for (const auto& row : trace)
        if (!flashFrame && atof(row.at("envelope").c_str()) < 0.2)
            flashFrame = uint32_t(atoi(row.at("frame").c_str()));
    ASSERT_NE(flashFrame, 0u) << "the trace shows no flash";
    const double flashTime = kFlashBeat * kSecondsPerBeat;
    EXPECT_NEAR(double(flashFrame) / kFps, flashTime, 1.0 / kFps);

    Mp4Reader mp4;
    ASSERT_TRUE(mp4.read(file("range.mp4"))) << mp4.m_error;
    ASSERT_EQ(mp4.m_frames.size(), size_t(kLast - kFirst));
    uint32_t pngFall = 0, videoFall = 0;
    double pngLargest = 0.0, videoLargest = 0.0;
    for (uint32_t k = kFirst + 1; k < kLast; ++k)
    {
        const double pngChange = contrast(CaptureRun::readPng(frameName(file("frames"), k - 1))) -
                                 contrast(CaptureRun::readPng(frameName(file("frames"), k)));
        if (pngChange > pngLargest)
            pngLargest = pngChange, pngFall = k;
        const double videoChange =
            contrast(mp4.m_frames[k - 1 - kFirst]) - contrast(mp4.m_frames[k - kFirst]);
        if (videoChange > videoLargest)
            videoLargest = videoChange, videoFall = k;
    }
    EXPECT_EQ(pngFall, flashFrame);
    EXPECT_GT(pngLargest, 15.0) << "the flash flattens the picture";
    EXPECT_NEAR(mp4.m_frameTimes[videoFall - kFirst] + double(kFirst) / kFps, flashTime,
                1.0 / kFps);
}

// One line per frame of the range under the header, every column filled
// as the header names them; frame k's time is k / fps as the clock reads it.
TEST_F(CaptureEndToEndTest, TraceHasALinePerFrameAtItsTime)
{
    const auto trace = readTrace(file("trace.csv"));
    ASSERT_EQ(trace.size(), size_t(kLast - kFirst));
    for (uint32_t k = kFirst; k < kLast; ++k)
    {
        SCOPED_TRACE("frame " + std::to_string(k));
        const auto& row = trace[k - kFirst];
        EXPECT_EQ(row.at("#fields"), "21");
        EXPECT_EQ(row.at("frame"), std::to_string(k));
        EXPECT_EQ(strtof(row.at("time").c_str(), nullptr), float(double(k) / kFps));
        EXPECT_EQ(row.at("part"), "hog");
        EXPECT_EQ(row.at("camera"), k < 170 ? "Camera01" : "Camera02");
        EXPECT_EQ(row.at("break_brightness"), "1");
    }
    EXPECT_EQ(s_run->messages.find('\r'), std::string::npos)
        << "no bar when standard error is a file";
    EXPECT_NE(s_run->messages.find("tarvo-capture: frame 199/199"), std::string::npos)
        << s_run->messages;
}

// Frames rendered as a range equal the same frames of a run that starts
// earlier, to the byte: from the demo's first frame (whose first three
// frames are dark), and across the cut from the hog to the test room at
// beat 64 (frame 677.6 at 30 frames per second).
TEST(CaptureRangeTest, RangeEqualsTheSameFramesOfALongerRun)
{
    const struct
    {
        uint32_t longFirst, first, last;
    } cases[] = {
        {0, 1, 10},
        {0, 6, 10},
        {668, 678, 684},
    };
    for (const auto& row : cases)
    {
        SCOPED_TRACE(std::to_string(row.longFirst) + " and " + std::to_string(row.first) + " to " +
                     std::to_string(row.last));
        TemporaryFolder folder;
        const std::vector<std::string> common = {
            "--width", std::to_string(kWidth), "--height",        std::to_string(kHeight),
            "--fps",   std::to_string(kFps),   TARVO_ARCHIVE_FILE};
        for (const auto& pass : {std::make_pair(row.longFirst, std::string("long")),
                                 std::make_pair(row.first, std::string("short"))})
        {
            std::vector<std::string> arguments = common;
            arguments.insert(arguments.end(),
                             {"--frames",
                              std::to_string(pass.first) + ":" + std::to_string(row.last), "--png",
                              pass.second});
            const CaptureRun run = CaptureRun::start(folder.path().string(), arguments);
            ASSERT_EQ(run.status, 0) << run.messages;
        }
        EXPECT_FALSE(std::filesystem::exists(folder.file("tarvo.mp4")))
            << "only PNG frames were asked for";
        EXPECT_FALSE(std::filesystem::exists(frameName(folder.file("short"), row.first - 1)));
        for (uint32_t k = row.first; k < row.last; ++k)
        {
            SCOPED_TRACE("frame " + std::to_string(k));
            const std::vector<uint8_t> whole =
                CaptureRun::readPng(frameName(folder.file("long"), k));
            const std::vector<uint8_t> alone =
                CaptureRun::readPng(frameName(folder.file("short"), k));
            ASSERT_FALSE(whole.empty());
            EXPECT_TRUE(whole == alone);
            if (k < 3)
            {
                EXPECT_EQ(meanLevel(whole), 0.0) << "the first three frames are dark";
            }
        }
    }
}

// Frames read back while the next one draws are the frames a capture of
// each alone reads, to the byte, none lost, repeated or out of order: the
// test room's camera moves from frame to frame there (not in every frame
// before 682), so a shift would show.
TEST(CaptureReadBackTest, FramesEqualTheFramesCapturedOneAtATime)
{
    const uint32_t first = 682;
    const uint32_t last = 686;
    TemporaryFolder folder;
    auto capture = [&](uint32_t a_first, uint32_t a_last, const std::string& a_pngFolder) {
        const CaptureRun run =
            CaptureRun::start(folder.path().string(),
                              {"--width", std::to_string(kWidth), "--height",
                               std::to_string(kHeight), "--fps", std::to_string(kFps), "--frames",
                               std::to_string(a_first) + ":" + std::to_string(a_last), "--png",
                               a_pngFolder, TARVO_ARCHIVE_FILE});
        EXPECT_EQ(run.status, 0) << run.messages;
    };
    capture(first, last, "together");
    for (uint32_t k = first; k < last; ++k)
        capture(k, k + 1, "alone");
    EXPECT_FALSE(std::filesystem::exists(frameName(folder.file("together"), last)));
    std::vector<uint8_t> previous;
    for (uint32_t k = first; k < last; ++k)
    {
        SCOPED_TRACE("frame " + std::to_string(k));
        const std::vector<uint8_t> together =
            CaptureRun::readPng(frameName(folder.file("together"), k));
        const std::vector<uint8_t> alone = CaptureRun::readPng(frameName(folder.file("alone"), k));
        ASSERT_FALSE(together.empty());
        EXPECT_TRUE(together == alone);
        EXPECT_FALSE(together == previous) << "neighbouring frames differ";
        previous = together;
    }
}

// Bad input ends with status 2 and a message naming the fault, and leaves
// no file under the output's name, nor its temporary.
TEST(CaptureInputTest, BadInputFailsWithAMessageAndWritesNothing)
{
    TemporaryFolder folder;
    {
        std::ofstream damaged(folder.file("damaged.fs"), std::ios::binary);
        damaged << "QORFS2 not an archive";
    }
    const struct
    {
        const char* name;
        std::vector<std::string> arguments;
        const char* message;
    } cases[] = {
        {"unknown option", {"--colour", "red"}, "unknown option '--colour'"},
        {"missing value", {"--fps"}, "option '--fps' needs a value"},
        {"odd width", {"--width", "33"}, "--width must be an even number"},
        {"fps out of range", {"--fps", "0"}, "--fps must be a whole number from 1 to 240"},
        {"both ranges", {"--frames", "0:10", "--beats", "0:1"}, "give one"},
        {"missing archive", {"missing.fs"}, "cannot open the archive 'missing.fs'"},
        {"damaged archive", {"damaged.fs"}, "'damaged.fs' is not a valid demo archive"},
        {"unwritable output", {"-o", "no/such/folder/out.mp4"}, "cannot create"},
        {"range past the end",
         {"--frames", "9000:9999"},
         "reaches past the demo's end: its last frame is 4828"},
        {"beats past the end", {"--beats", "400:457"}, "reaches past the demo's end at beat 456"},
        {"malformed range", {"--frames", "10-20"}, "--frames must be FIRST:LAST"},
        {"empty range", {"--frames", "20:20"}, "holds no frame"},
    };
    for (const auto& row : cases)
    {
        SCOPED_TRACE(row.name);
        // The shipped archive first, so that an option missing its value is the last word.
        std::vector<std::string> arguments;
        if (std::string(row.name).find("archive") == std::string::npos)
            arguments.push_back(TARVO_ARCHIVE_FILE);
        arguments.insert(arguments.end(), {"--width", "32", "--height", "18", "--fps", "30"});
        arguments.insert(arguments.end(), row.arguments.begin(), row.arguments.end());
        const CaptureRun run = CaptureRun::start(folder.path().string(), arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.messages.find(row.message), std::string::npos) << run.messages;
        for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
        {
            const std::string name = entry.path().filename().string();
            EXPECT_TRUE(name == "damaged.fs" || name == "messages.txt") << "left behind: " << name;
        }
    }
}

// A user's own song plays whatever its rate; a song or file the demo cannot
// use ends the run with status 1 and the demo's own message on standard
// error, its caption first, before the capture's last word.
TEST(CaptureInputTest, TheDemosMessagesReachStandardErrorWithTheirCaption)
{
    TemporaryFolder folder;
    Mp3TestData::Encoding mono48;
    mono48.m_rate = 48000;
    mono48.m_channels = 1;
    Mp3TestData::Encoding stereo8;
    stereo8.m_rate = 8000;
    stereo8.m_vbr = true;
    stereo8.m_pictureBytes = 50000;
    const struct
    {
        const char* name;
        const char* file;
        std::vector<uint8_t> bytes;
        int status;
        const char* message;
    } cases[] = {
        {"48 kHz mono song", "KUV-2.mp3",
         Mp3TestData::encode(Mp3TestData::tone(440, 2.0, 0.5, 1, 48000), mono48), 0, ""},
        {"8 kHz VBR song with a picture", "KUV-2.mp3",
         Mp3TestData::encode(Mp3TestData::tone(440, 2.0, 0.5, 2, 8000), stereo8), 0, ""},
        {"damaged song", "KUV-2.mp3", std::vector<uint8_t>(20000, 'x'), 1,
         "Tarvo2 - Fatal error: KUV-2.mp3: Not an MP3 file the audio library can play.\n"
         "tarvo-capture: the demo could not start (see the message above)\n"},
        {"missing loading bar",
         "loadbar.jpg",
         {},
         1,
         "Tarvo2 - Fatal error: loadbar.jpg: File not found (.fs in use).\n"
         "tarvo-capture: the demo could not start (see the message above)\n"},
    };
    for (const auto& row : cases)
    {
        SCOPED_TRACE(row.name);
        ASSERT_TRUE(rewriteArchive(TARVO_ARCHIVE_FILE, folder.file("own.fs"), row.file, row.bytes));
        const CaptureRun run = CaptureRun::start(
            folder.path().string(), {"own.fs", "--width", "32", "--height", "18", "--fps", "30",
                                     "--frames", "0:3", "--png", "frames"});
        EXPECT_EQ(run.status, row.status) << run.messages;
        if (row.status == 0)
        {
            EXPECT_EQ(run.messages.find("Fatal error"), std::string::npos) << run.messages;
        }
        else
        {
            EXPECT_NE(run.messages.find(row.message), std::string::npos) << run.messages;
        }
    }
}
