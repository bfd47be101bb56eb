// The application with a demo state, initialised on the loose files of
// DemoFiles in a scratch folder, drawing at 320 x 180 so that whole frames
// stay cheap.
#pragma once

#include "app/Tarvo.h"
#include "demo/DemoState.h"
#include "support/TemporaryFolder.h"

#include <MessageBoxRecorder.h>

class DemoApplication
{
public:
    static constexpr int kWidth = 320;
    static constexpr int kHeight = 180;

    // a_seconds of soundtrack; init runs, and its result is in m_ready.
    explicit DemoApplication(double a_seconds);
    ~DemoApplication();

    // One frame of the demo at a_beat beats; false, drawing nothing, once
    // the demo has ended.
    bool frameAt(float a_beat);

    TemporaryFolder m_folder{true};
    MessageBoxRecorder m_boxes;
    HWND m_window = nullptr;
    DemoState m_demo = {};
    Tarvo m_tarvo{&m_demo};
    bool m_ready = false;
};
