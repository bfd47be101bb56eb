// The program's entry point: the launcher, the archive, the application
// object and its window, then the frame loop until the user quits.
#include "app/CommandLine.h"
#include "app/Launcher.h"
#include "app/LauncherResources.h"
#include "app/MainWindow.h"
#include "app/Tarvo.h"
#include "app/resource.h"
#include "archive/FileSystem.h"
#include "core/Assert.h"
#include "core/FatalError.h"
#include "demo/DemoState.h"

#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

#include <new>

// Every path of the demo returns 0: the user ended the demo, or was told why
// it could not run. --help and --version return 0 and a wrong argument 2
// before anything is shown.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR a_commandLine, int)
{
    const int answered = CommandLine(a_commandLine).answer(stdout, stderr);
    if (answered >= 0)
        return answered;

    // What Windows maps with the executable's image: the dialog, banner, icon.
    registerLauncherResources();

    if (DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_LAUNCHER), nullptr,
                        launcherProc, 0) == -1)
        return 0;
    g_fullScreen = !g_windowed;

    // A missing archive ends the program without a word; a damaged one has
    // shown its own message.
    ReturnCode opened = FileSystem::open();
    if (opened.failed())
        return 0;

    // The demo's content and timeline state: zero-filled, never freed.
    DemoState* demo = new (std::nothrow) DemoState();
    Tarvo* tarvo = new (std::nothrow) Tarvo(demo);
    TARVO_ASSERT(tarvo);
    HWND window = createMainWindow(GetModuleHandleA(nullptr));
    ReturnCode initialised = tarvo->init(window);
    // From here on files are read from the working directory.
    FileSystem::close();

    if (initialised.failed())
    {
        fatalError("Unknown error - failed to initialize.");
        tarvo->shutdown();
    }
    else
    {
        while (pumpMessages())
        {
            ReturnCode updated = tarvo->update();
            if (updated.failed())
            {
                ShowWindow(window, SW_HIDE);
                fatalError("Update failed unexpectedly.");
                break;
            }
            // The end of the demo ends the process at once, without teardown.
            if (tarvo->m_ended)
                exit(0);
        }
    }
    delete tarvo;
    return 0;
}
