// A window of the demo's class, driven by the demo's own window procedure
// (quit on Escape and on destruction, drag by the client area), with every
// message the procedure receives recorded. Written against the Win32 API
// alone, so that the cases using it run on our layer and on Windows.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

class DemoWindow : public testing::Test
{
public:
    struct Received
    {
        HWND window;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };

    static LRESULT CALLBACK procedure(HWND a_window, UINT a_message, WPARAM a_wParam,
                                      LPARAM a_lParam);

protected:
    // Small enough for any screen: Windows keeps a resizable window within
    // the screen's size when it is created.
    static constexpr int kLeft = 50;
    static constexpr int kTop = 50;
    static constexpr int kWidth = 640;
    static constexpr int kHeight = 360;
    static const char kClass[];

    static void SetUpTestSuite();
    // The class outlives the suite's windows only; a repeated run registers
    // it again.
    static void TearDownTestSuite();

    void SetUp() override;
    void TearDown() override;

    // Takes every pending message, as the demo's pump does, and returns them.
    static std::vector<MSG> drain();

    // What the procedure received, every message and those of the given
    // kinds in order: Windows sends more than a program asks for (sizing,
    // activation, painting), and a case looks at the ones it is about.
    static std::vector<Received>& log();
    static std::vector<UINT> received(std::initializer_list<UINT> a_kinds);

    HWND m_window = nullptr;
};
