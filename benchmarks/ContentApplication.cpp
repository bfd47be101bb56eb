// The benchmarks' application: the demo's own init on the content folder.
#include "ContentApplication.h"

#include "app/LauncherSettings.h"
#include "app/MainWindow.h"

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
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    if (chdir(TARVO_CONTENT_FILES) != 0)
        return;
    D3D9Testing::setDisplayModes({{1280, 720, 60, D3DFMT_X8R8G8B8}});
    g_displayMode = 0;
    g_windowed = true;
    g_fullScreen = false;
    g_aspect = 16.0f / 9.0f;
    m_window = createMainWindow(nullptr);
    ReturnCode initialised = m_tarvo.init(m_window);
    m_ready = initialised.succeeded();
}

ContentApplication::~ContentApplication()
{
    m_tarvo.shutdown();
    if (m_window)
        DestroyWindow(m_window);
}
