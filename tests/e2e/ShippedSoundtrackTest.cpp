// The shipped archive as the demo starts from it: the application initialises
// from its programs and textures, content loading's soundtrack is created
// from its song, the archive is released, and the frames then play the song
// from the first beat to the last on the capture device at 60 frames per
// second, with demo time taken from the heard position every frame.
#include "core/FatalError.h"
#include "core/LauncherSettings.h"
#include "app/MainWindow.h"
#include "app/Tarvo.h"
#include "archive/FileSystem.h"
#include "platform/bass/Mp3TestData.h"
#include "sound/Time.h"
#include "support/TemporaryFolder.h"
#include "support/LaunchSettings.h"

#include <BassCapture.h>
#include <MessageBoxRecorder.h>

#include <gtest/gtest.h>

#include <math.h>
#include <stdlib.h>

#include <algorithm>
#include <fstream>
#include <vector>

namespace
{

const uint32_t kFps = 60;
const uint32_t kFramesPerStep = 44100 / kFps;  // 735 exactly
const double kSongBeats = 456.0;
const double kBpm = 170.0;

class ShippedSoundtrackTest : public testing::Test
{
protected:
    void SetUp() override
    {
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        LaunchSettings::launchWindowed();
        std::ifstream archive(TARVO_ARCHIVE_FILE, std::ios::binary);
        std::ofstream copy("tarvo.fs", std::ios::binary);
        copy << archive.rdbuf();
    }

    void TearDown() override
    {
        FileSystem::close();
        BassCapture::deselect();
        LaunchSettings::reset();
        if (m_window)
            DestroyWindow(m_window);
    }

    TemporaryFolder m_folder{true};
    MessageBoxRecorder m_boxes;
    HWND m_window = nullptr;
};

}

TEST_F(ShippedSoundtrackTest, PlaysTheSongFromStartToEndOnTheDemoClock)
{
    ReturnCode opened = FileSystem::open();
    ASSERT_TRUE(opened.succeeded());
    ASSERT_TRUE(BassCapture::select(kFps));
    m_window = createMainWindow(GetModuleHandleA(nullptr));
    Tarvo tarvo;
    ReturnCode initialised = tarvo.init(m_window);
    ASSERT_TRUE(initialised.succeeded());
    ReturnCode created = tarvo.createSoundtrack(static_cast<float>(kBpm));
    ASSERT_TRUE(created.succeeded());

    // What a player decodes from the archived song is the reference.
    File song;
    ReturnCode read = FileSystem::readFile("KUV-2.mp3", song);
    ASSERT_TRUE(read.succeeded());
    const std::vector<int16_t> reference =
        Mp3TestData::decode(std::vector<uint8_t>(song.m_data, song.m_data + song.m_size));
    const uint64_t length = reference.size() / 2;
    ASSERT_GE(double(length) / 44100.0, kSongBeats * 60.0 / kBpm) << "the song covers the demo";
    FileSystem::close();

    // Half a second beyond the end: the clock stops there and silence follows.
    const uint64_t frames = (length + kFramesPerStep - 1) / kFramesPerStep + kFps / 2;
    std::vector<int16_t> heard;
    double worstLag = 0.0;
    for (uint64_t k = 0; k < frames; ++k)
    {
        ReturnCode updated = tarvo.update();
        ASSERT_TRUE(updated.succeeded()) << "frame " << k;
        const double expected = double(std::min<uint64_t>(k * kFramesPerStep, length)) / 44100.0;
        worstLag = std::max(worstLag, fabs(double(Time::g_time) - expected));
        ASSERT_EQ(BassCapture::step(heard), kFramesPerStep);
    }
    EXPECT_EQ(Time::g_soundtrack, tarvo.m_soundtrack);
    EXPECT_LT(worstLag, 1.0e-4) << "seconds between demo time and the frames played";
    EXPECT_NEAR(Time::g_time, double(length) / 44100.0, 1.0e-4);

    ASSERT_EQ(heard.size(), frames * kFramesPerStep * 2);
    size_t differing = 0;
    for (size_t i = 0; i < reference.size(); ++i)
        differing += heard[i] != reference[i];
    EXPECT_EQ(differing, 0u) << "samples unlike the decoded song";
    EXPECT_TRUE(std::all_of(heard.begin() + long(reference.size()), heard.end(),
                            [](int16_t a_sample) { return a_sample == 0; }))
        << "silence after the end";
    EXPECT_TRUE(m_boxes.boxes().empty());
}
