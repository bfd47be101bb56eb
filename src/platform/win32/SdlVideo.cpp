// SDL video start-up.
#include "SdlVideo.h"

#include <SDL.h>

bool SdlVideo::start()
{
    if (SDL_WasInit(SDL_INIT_VIDEO))
        return true;
    // Closing the last window is a WM_CLOSE for the program to handle, not
    // a reason for SDL to quit on its own.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
    {
        SDL_Log("SDL video: %s", SDL_GetError());
        return false;
    }
    return true;
}
