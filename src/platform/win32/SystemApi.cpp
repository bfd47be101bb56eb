// Screen metrics, module and cursor handles, ticks and sleeping.
#include <windows.h>

#include "SdlVideo.h"
#include "Win32Offline.h"

#include <SDL.h>
#include <time.h>

namespace
{

// The one module of the process: any non-null handle will do, as resources
// are looked up in the program's own table.
char g_module;
int g_cursorCount = 0;  // the cursor shows while this is 0 or more
bool g_skipSleeps = false;

}

// The frame and caption metrics are 0: the window manager draws a window's
// frame outside the size a program gives it, so no program needs to add it.
int WINAPI GetSystemMetrics(int nIndex)
{
    if ((nIndex != SM_CXSCREEN && nIndex != SM_CYSCREEN) || !SdlVideo::start())
        return 0;
    SDL_DisplayMode mode;
    if (SDL_GetDesktopDisplayMode(0, &mode) != 0)
        return 0;
    return nIndex == SM_CXSCREEN ? mode.w : mode.h;
}

HMODULE WINAPI GetModuleHandleA(LPCSTR lpModuleName)
{
    return lpModuleName ? nullptr : reinterpret_cast<HMODULE>(&g_module);
}

HCURSOR WINAPI LoadCursorA(HINSTANCE hInstance, LPCSTR lpCursorName)
{
    // Only the system's arrow, which every SDL window shows by default.
    static char arrow;
    if (hInstance || lpCursorName != IDC_ARROW)
        return nullptr;
    return reinterpret_cast<HCURSOR>(&arrow);
}

int WINAPI ShowCursor(BOOL bShow)
{
    g_cursorCount += bShow ? 1 : -1;
    if (SDL_WasInit(SDL_INIT_VIDEO))
        SDL_ShowCursor(g_cursorCount >= 0 ? SDL_ENABLE : SDL_DISABLE);
    return g_cursorCount;
}

// Milliseconds since the system started, wrapping after 49.7 days as Win32's.
DWORD WINAPI GetTickCount(void)
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<DWORD>(static_cast<uint64_t>(now.tv_sec) * 1000u +
                              static_cast<uint64_t>(now.tv_nsec) / 1000000u);
}

void Win32Offline::skipSleeps(bool a_skip)
{
    g_skipSleeps = a_skip;
}

VOID WINAPI Sleep(DWORD dwMilliseconds)
{
    if (g_skipSleeps)
        return;
    timespec duration;
    duration.tv_sec = static_cast<time_t>(dwMilliseconds / 1000);
    duration.tv_nsec = static_cast<long>(dwMilliseconds % 1000) * 1000000L;
    while (nanosleep(&duration, &duration) != 0)
    {
    }
}
