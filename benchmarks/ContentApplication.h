// The real application object initialised on the content folder's loose
// files with the demo's whole content loaded, with a 1280 x 720 window on
// SDL's offscreen driver, for benchmarks of what the demo draws.
#pragma once

#include "app/Tarvo.h"
#include "demo/DemoState.h"

#include <windows.h>

class ContentApplication
{
public:
    // The one instance of the run, made on first use.
    static ContentApplication& instance();
    ~ContentApplication();

    // False when the content folder is missing or init failed.
    bool ready() const { return m_ready; }

    DemoState m_demo = {};
    Tarvo m_tarvo{&m_demo};

private:
    ContentApplication();

    HWND m_window = nullptr;
    bool m_ready = false;
};
