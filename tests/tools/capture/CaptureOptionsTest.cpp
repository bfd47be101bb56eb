// The command line of tarvo-capture: defaults, every option's accepted
// values and its boundaries, and the messages for what is refused.
#include "CaptureOptions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(CaptureOptionsTest, DefaultsAreTheDemosSizeAtSixtyFramesIntoTarvoMp4)
{
    CaptureOptions options;
    ASSERT_TRUE(options.parse({}));
    EXPECT_EQ(options.m_width, 1280u);
    EXPECT_EQ(options.m_height, 720u);
    EXPECT_EQ(options.m_fps, 60u);
    EXPECT_EQ(options.m_aspect, 0.0f);
    EXPECT_EQ(options.m_output, "tarvo.mp4");
    EXPECT_EQ(options.m_archive, "tarvo.fs");
    EXPECT_TRUE(options.m_frames.empty() && options.m_beats.empty() &&
                options.m_pngFolder.empty() && options.m_traceFile.empty());
}

// PNG frames alone write no video unless -o asks for one too.
TEST(CaptureOptionsTest, OutputsFollowWhatWasAskedFor)
{
    const struct
    {
        std::vector<std::string> arguments;
        const char* output;
        const char* png;
        const char* archive;
    } cases[] = {
        {{"--png", "frames"}, "", "frames", "tarvo.fs"},
        {{"--png", "frames", "-o", "a.mp4"}, "a.mp4", "frames", "tarvo.fs"},
        {{"--output", "b.mp4", "other.fs"}, "b.mp4", "", "other.fs"},
        {{"other.fs", "--trace", "t.csv"}, "tarvo.mp4", "", "other.fs"},
    };
    for (const auto& row : cases)
    {
        SCOPED_TRACE(row.arguments.front());
        CaptureOptions options;
        ASSERT_TRUE(options.parse(row.arguments)) << options.m_error;
        EXPECT_EQ(options.m_output, row.output);
        EXPECT_EQ(options.m_pngFolder, row.png);
        EXPECT_EQ(options.m_archive, row.archive);
    }
}

// What the MP4 holds, for the parts of a capture split over machines.
TEST(CaptureOptionsTest, StreamChoicesAreFlagsWithoutValues)
{
    const struct
    {
        std::vector<std::string> arguments;
        bool noSound, soundOnly, lossless, printRange;
    } cases[] = {
        {{"a.fs"}, false, false, false, false},
        {{"--no-sound", "a.fs", "--lossless"}, true, false, true, false},
        {{"--sound-only", "a.fs"}, false, true, false, false},
        {{"--print-range", "--frames", "5:", "a.fs"}, false, false, false, true},
    };
    for (const auto& row : cases)
    {
        SCOPED_TRACE(row.arguments.front());
        CaptureOptions options;
        ASSERT_TRUE(options.parse(row.arguments)) << options.m_error;
        EXPECT_EQ(options.m_noSound, row.noSound);
        EXPECT_EQ(options.m_soundOnly, row.soundOnly);
        EXPECT_EQ(options.m_lossless, row.lossless);
        EXPECT_EQ(options.m_printRange, row.printRange);
        EXPECT_EQ(options.m_archive, "a.fs") << "a flag takes no value";
        EXPECT_EQ(options.m_output, "tarvo.mp4");
    }
}

TEST(CaptureOptionsTest, NumbersAreAcceptedUpToTheirBoundaries)
{
    const struct
    {
        std::vector<std::string> arguments;
        bool accepted;
        const char* message;  // part of the error when refused
    } cases[] = {
        // Sides: even, 16 to 8192.
        {{"--width", "16"}, true, ""},
        {{"--width", "14"},
         false,
         "--width must be an even number of pixels from 16 to 8192, not '14'"},
        {{"--height", "8192"}, true, ""},
        {{"--height", "8194"}, false, "--height must be an even number"},
        {{"--width", "321"}, false, "not '321'"},
        {{"--width", "-2"}, false, "not '-2'"},
        {{"--width", "12abc"}, false, "not '12abc'"},
        // Frame rates: 1 to 240, whole.
        {{"--fps", "1"}, true, ""},
        {{"--fps", "240"}, true, ""},
        {{"--fps", "241"}, false, "--fps must be a whole number from 1 to 240, not '241'"},
        {{"--fps", "29.97"}, false, "not '29.97'"},
        {{"--fps", "99999999999999999999"}, false, "not '99999999999999999999'"},
        // Aspects: a number or a ratio, 1:4 to 4:1.
        {{"--aspect", "16:9"}, true, ""},
        {{"--aspect", "4/3"}, true, ""},
        {{"--aspect", "1.6"}, true, ""},
        {{"--aspect", "4:1"}, true, ""},
        {{"--aspect", "5:1"}, false, "--aspect must be a ratio from 1:4 to 4:1"},
        {{"--aspect", "16:0"}, false, "not '16:0'"},
        {{"--aspect", "wide"}, false, "not 'wide'"},
        {{"--aspect", "1e3"}, false, "not '1e3'"},
    };
    for (const auto& row : cases)
    {
        SCOPED_TRACE(row.arguments[0] + " " + row.arguments[1]);
        CaptureOptions options;
        EXPECT_EQ(options.parse(row.arguments), row.accepted);
        EXPECT_NE(options.m_error.find(row.message), std::string::npos) << options.m_error;
    }
    CaptureOptions options;
    ASSERT_TRUE(options.parse({"--aspect", "16:10"}));
    EXPECT_FLOAT_EQ(options.m_aspect, 1.6f);
}

TEST(CaptureOptionsTest, MalformedCommandLinesAreRefusedByName)
{
    const struct
    {
        std::vector<std::string> arguments;
        const char* message;
    } cases[] = {
        {{"--widht", "320"}, "unknown option '--widht'"},
        {{"-x"}, "unknown option '-x'"},
        {{"--width"}, "option '--width' needs a value"},
        {{"-o", ""}, "option '-o' needs a value"},
        {{"a.fs", "b.fs"}, "more than one archive given: 'a.fs' and 'b.fs'"},
        {{"--frames", "0:10", "--beats", "0:4"},
         "--frames and --beats both give a range; give one"},
        {{"--no-sound", "--sound-only"},
         "--no-sound and --sound-only leave nothing to write; give one"},
        {{"--sound-only", "--png", "frames", "-o", "s.mp4"},
         "--sound-only draws no pictures, so it writes no PNG frames (--png)"},
        {{"--sound-only", "--lossless"},
         "--lossless is about pictures, which --sound-only does not write"},
        {{"--png", "frames", "--no-sound"},
         "--no-sound and --lossless are about the MP4; give it with -o"},
        {{"--lossless", "--png", "frames"},
         "--no-sound and --lossless are about the MP4; give it with -o"},
    };
    for (const auto& row : cases)
    {
        SCOPED_TRACE(row.message);
        CaptureOptions options;
        EXPECT_FALSE(options.parse(row.arguments));
        EXPECT_EQ(options.m_error, row.message);
    }
}

TEST(CaptureOptionsTest, HelpWinsOverEverythingAfterIt)
{
    CaptureOptions options;
    ASSERT_TRUE(options.parse({"--help", "--bogus"}));
    EXPECT_TRUE(options.m_help);
    EXPECT_NE(std::string(CaptureOptions::usage()).find("--frames FIRST:LAST"), std::string::npos);
}
