// The benchmarks' application: the demo's own init on the content folder.
#include "BenchmarkDisplay.h"
#include "ContentApplication.h"

#include "core/LauncherSettings.h"
#include "app/MainWindow.h"
#include "sound/Time.h"

#include <D3D9Testing.h>

#include <stdlib.h>
#include <unistd.h>

ContentApplication& ContentApplication::instance()
{
    static ContentApplication application;
    return application;
}

ContentApplication::ContentApplication()
{
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (chdir(TARVO_CONTENT_FILES) != 0)
        return;
    useBenchmarkDisplay(1280, 720);
    m_window = createMainWindow(nullptr);
    ReturnCode initialised = m_tarvo.init(m_window);
    m_ready = initialised.succeeded();
    // The Break filter reads the soundtrack's spectrum.
    Time::g_soundtrack = m_tarvo.m_soundtrack;
}

ContentApplication::~ContentApplication()
{
    Time::g_soundtrack = nullptr;
    m_tarvo.shutdown();
    if (m_window)
        DestroyWindow(m_window);
}
