// The offline mode of the d3d9 layer.
#include "D3D9Offline.h"

#include "AdapterModes.h"
#include "Device9.h"
#include "Surface9.h"
#include "TextureStorage.h"

#include <stdlib.h>

// SDL picks its drivers from the environment when it starts: the offscreen
// video driver makes windows and GL contexts with no display, the dummy
// audio driver opens no device. Without DISPLAY and WAYLAND_DISPLAY the
// message boxes write to standard error instead of waiting for a click.
void D3D9Offline::selectOffscreen()
{
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
}

void D3D9Offline::setDisplayMode(UINT a_width, UINT a_height, UINT a_refreshRate)
{
    AdapterModes::setOverride({{a_width, a_height, a_refreshRate, D3DFMT_X8R8G8B8}});
}

HRESULT D3D9Offline::readSurface(IDirect3DSurface9* a_surface, std::vector<unsigned char>* a_bytes)
{
    Surface9* surface = dynamic_cast<Surface9*>(a_surface);
    if (!surface || !a_bytes || !surface->device())
        return D3DERR_INVALIDCALL;
    return surface->storage().read(surface->face(), surface->level(), a_bytes);
}
