// Frame ranges: the frames before the demo's end under the clock's
// single-precision rounding, ranges in frames and in beats, and the ranges
// refused for lying outside the demo or holding no frame.
#include "FrameRange.h"

#include <gtest/gtest.h>

namespace
{

// The demo's tempo and end as the timeline computes them in float.
const float kSecondsPerBeat = static_cast<float>(60.0 / 170.0);
const float kEndBeat = 456.0f;
const float kEnd = kEndBeat * kSecondsPerBeat;

}  // namespace

// Frame k is in when float(k / fps) < the end: an end on a frame's own time
// leaves that frame out.
TEST(FrameRangeTest, FramesBeforeTheEndFollowTheClocksRounding)
{
    const struct
    {
        float end;
        uint32_t fps;
        uint32_t frames;
    } cases[] = {
        {1.0f, 60, 60},  // frame 60 is at exactly 1 s
        {1.01f, 60, 61},  {0.0f, 60, 0},    {-1.0f, 60, 0},
        {0.5f, 1, 1},     {kEnd, 60, 9657},  // 160.941 s: frame 9656 at 160.933 s, 9657 at 160.95 s
        {kEnd, 30, 4829}, {kEnd, 25, 4024},
    };
    for (const auto& row : cases)
    {
        SCOPED_TRACE(std::to_string(row.end) + " s at " + std::to_string(row.fps));
        const uint32_t frames = FrameRange::framesBefore(row.end, row.fps);
        EXPECT_EQ(frames, row.frames);
        if (frames > 0)
        {
            EXPECT_LT(static_cast<float>(double(frames - 1) / row.fps), row.end);
        }
        EXPECT_GE(static_cast<float>(double(frames) / row.fps), row.end);
    }
}

TEST(FrameRangeTest, RangesResolveToFramesOrAreRefused)
{
    const uint32_t total = 9657;  // the demo at 60 frames per second
    const struct
    {
        const char* frames;
        const char* beats;
        uint32_t first, last;
        const char* message;  // empty when accepted
    } cases[] = {
        {"", "", 0, total, ""},
        {"600:1200", "", 600, 1200, ""},
        {"600:", "", 600, total, ""},
        {":10", "", 0, 10, ""},
        {":", "", 0, total, ""},
        {"9656:9657", "", 9656, 9657, ""},
        {"9656:9658", "", 0, 0,
         "--frames 9656:9658 reaches past the demo's end: its last frame is 9656"},
        {"10:10", "", 0, 0, "--frames 10:10 holds no frame"},
        {"10:5", "", 0, 0, "holds no frame"},
        {"10", "", 0, 0, "--frames must be FIRST:LAST in whole frames"},
        {"1:2:3", "", 0, 0, "--frames must be FIRST:LAST"},
        {"-1:5", "", 0, 0, "--frames must be FIRST:LAST"},
        {"a:b", "", 0, 0, "--frames must be FIRST:LAST"},
        // Beat b starts at frame ceil(b x 0.3529412 x 60): beat 64 at 1355.29.
        {"", "64:128", 1356, 2711, ""},
        {"", "0:1", 0, 22, ""},
        {"", "455:", 9636, total, ""},
        {"", "400:456", 8471, total, ""},
        {"", "400:456.5", 0, 0, "--beats 400:456.5 reaches past the demo's end at beat 456"},
        {"", "456:", 0, 0, "reaches past the demo's end at beat 456"},
        {"", "16.5:16.52", 0, 0, "--beats 16.5:16.52 holds no frame at 60 frames per second"},
        {"", "x:4", 0, 0, "--beats must be FROM:TO in beats"},
    };
    for (const auto& row : cases)
    {
        SCOPED_TRACE(std::string(row.frames) + "|" + row.beats);
        FrameRange range;
        const bool accepted =
            range.resolve(row.frames, row.beats, 60, kSecondsPerBeat, total, kEndBeat);
        EXPECT_EQ(accepted, row.message[0] == '\0') << range.m_error;
        if (accepted)
        {
            EXPECT_EQ(range.m_first, row.first);
            EXPECT_EQ(range.m_last, row.last);
        }
        else
        {
            EXPECT_NE(range.m_error.find(row.message), std::string::npos) << range.m_error;
        }
    }
}
