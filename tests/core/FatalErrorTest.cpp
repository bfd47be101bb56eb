// Fatal errors: one modal box per run, with the program's caption.
#include "core/FatalError.h"

#include <MessageBoxRecorder.h>

#include <gtest/gtest.h>

#include <stdlib.h>

namespace
{

class FatalError : public testing::Test
{
protected:
    void SetUp() override { g_fatalErrorShown = false; }
    void TearDown() override { g_fatalErrorShown = false; }

    MessageBoxRecorder m_boxes;
};

}

// The first error shows an error box without owner, with the caption and text.
TEST_F(FatalError, ShowsErrorBox)
{
    fatalError("Device lost.");
    ASSERT_EQ(m_boxes.boxes().size(), 1u);
    const MessageBoxRecorder::Box& box = m_boxes.boxes()[0];
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_EQ(box.caption, "Tarvo2 - Fatal error");
    EXPECT_EQ(box.text, "Device lost.");
    EXPECT_EQ(box.type, static_cast<UINT>(MB_ICONERROR));
    EXPECT_TRUE(g_fatalErrorShown);
}

// A subject comes first, then a colon and a blank, then the text.
TEST_F(FatalError, SubjectPrecedesText)
{
    fatalError("hog.qor", "File not found.");
    ASSERT_EQ(m_boxes.boxes().size(), 1u);
    EXPECT_EQ(m_boxes.boxes()[0].text, "hog.qor: File not found.");
    EXPECT_EQ(m_boxes.boxes()[0].caption, "Tarvo2 - Fatal error");
}

// Only the first error of a run is shown, whichever form the later ones take.
TEST_F(FatalError, OnlyFirstErrorIsShown)
{
    fatalError("first");
    fatalError("second");
    fatalError("subject", "third");
    ASSERT_EQ(m_boxes.boxes().size(), 1u);
    EXPECT_EQ(m_boxes.boxes()[0].text, "first");
}

// With no display the box goes to standard error, caption first.
TEST(FatalErrorWithoutDisplay, WritesCaptionAndTextToStandardError)
{
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    g_fatalErrorShown = false;
    testing::internal::CaptureStderr();
    fatalError("tarvo.fs", "File not found.");
    const std::string output = testing::internal::GetCapturedStderr();
    g_fatalErrorShown = false;
    EXPECT_EQ(output, "Tarvo2 - Fatal error: tarvo.fs: File not found.\n");
}
