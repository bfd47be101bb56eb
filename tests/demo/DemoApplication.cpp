// The demo on loose files, at a small size.
#include "demo/DemoApplication.h"

#include "core/FatalError.h"
#include "core/LauncherSettings.h"
#include "demo/DemoFiles.h"
#include "demo/Timeline.h"
#include "filters/FilterBlur.h"
#include "filters/FilterBreak.h"
#include "filters/FilterDof.h"
#include "filters/FilterGlow.h"
#include "filters/FilterRadialBlur.h"
#include "render/RenderTarget.h"
#include "render/Renderer.h"
#include "render/Texture.h"
#include "sound/Time.h"
#include "support/LaunchSettings.h"

#include <stdlib.h>

namespace
{

// The entry point never destroys its demo state, which lasts as long as the
// process; a test that ends its application releases what content loading
// made there (scenes and registered textures belong to the application).
void releaseContent(DemoState& a_demo)
{
    delete a_demo.m_blur;
    delete a_demo.m_radialBlur;
    delete a_demo.m_dof;
    delete a_demo.m_glow;
    delete a_demo.m_break;
    for (RenderTarget* target : a_demo.m_targets)
        delete target;
    Texture* images[] = {a_demo.m_titleImages[0], a_demo.m_titleImages[1], a_demo.m_titleImages[2],
                         a_demo.m_goImage,        a_demo.m_jumpImage,      a_demo.m_stepImage,
                         a_demo.m_logoImage,      a_demo.m_holditImage,    a_demo.m_credits1Image,
                         a_demo.m_credits2Image,  a_demo.m_loadBar};
    for (Texture* image : images)
        delete image;
    a_demo = DemoState{};
}

LRESULT CALLBACK plainProcedure(HWND a_window, UINT a_message, WPARAM a_wParam, LPARAM a_lParam)
{
    return DefWindowProcA(a_window, a_message, a_wParam, a_lParam);
}

}  // namespace

DemoApplication::DemoApplication(double a_seconds, bool a_loop)
{
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    LaunchSettings::launchWindowed();
    g_loop = a_loop;
    DemoFiles::write(a_seconds);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = plainProcedure;
    windowClass.lpszClassName = "demotest";
    RegisterClassA(&windowClass);
    // The renderer draws at the window's outer size.
    m_window = CreateWindowExA(0, "demotest", "", WS_OVERLAPPEDWINDOW, 0, 0, kWidth, kHeight,
                               nullptr, nullptr, nullptr, nullptr);
    ReturnCode initialised = m_tarvo.init(m_window);
    m_ready = initialised.succeeded();
    Time::g_soundtrack = m_tarvo.m_soundtrack;
}

DemoApplication::~DemoApplication()
{
    Time::g_soundtrack = nullptr;
    releaseContent(m_demo);
    m_tarvo.shutdown();
    DestroyWindow(m_window);
    LaunchSettings::reset();
}

bool DemoApplication::frameAt(float a_beat)
{
    Time::g_time = beats(&m_demo, a_beat);
    m_demo.m_frame = describeFrame(&m_demo, Time::g_time);
    if (m_demo.m_frame.ended)
        return false;
    Renderer* renderer = m_tarvo.m_renderer;
    ReturnCode begun = renderer->beginFrame();
    if (!begun.succeeded())
        return false;
    drawFrame(&m_demo, m_demo.m_frame);
    renderer->endFrame();
    return true;
}
