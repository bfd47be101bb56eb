// The display modes of the one adapter.
#include "AdapterModes.h"

#include "D3D9Testing.h"
#include "SdlVideo.h"

#include <SDL.h>

#include <algorithm>
#include <tuple>

namespace AdapterModesSeam
{
bool g_overridden = false;
std::vector<D3DDISPLAYMODE> g_modes;
}  // namespace AdapterModesSeam

namespace
{

D3DDISPLAYMODE fromSdl(const SDL_DisplayMode& a_mode)
{
    return D3DDISPLAYMODE{static_cast<UINT>(a_mode.w), static_cast<UINT>(a_mode.h),
                          static_cast<UINT>(a_mode.refresh_rate), D3DFMT_X8R8G8B8};
}

// X8R8G8B8 is a 4-byte pixel; SDL calls such modes 24 or 32 bits deep.
bool isThirtyTwoBit(const SDL_DisplayMode& a_mode)
{
    return a_mode.w > 0 && a_mode.h > 0 && SDL_BYTESPERPIXEL(a_mode.format) == 4;
}

}  // namespace

std::vector<D3DDISPLAYMODE> AdapterModes::list()
{
    if (AdapterModesSeam::g_overridden)
        return AdapterModesSeam::g_modes;
    std::vector<D3DDISPLAYMODE> modes;
    if (!SdlVideo::start())
        return modes;
    const int count = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < count; ++i)
    {
        SDL_DisplayMode mode;
        if (SDL_GetDisplayMode(0, i, &mode) == 0 && isThirtyTwoBit(mode))
            modes.push_back(fromSdl(mode));
    }
    std::sort(modes.begin(), modes.end(), [](const D3DDISPLAYMODE& a, const D3DDISPLAYMODE& b) {
        return std::tie(a.Width, a.Height, a.RefreshRate) <
               std::tie(b.Width, b.Height, b.RefreshRate);
    });
    return modes;
}

D3DDISPLAYMODE AdapterModes::current()
{
    if (AdapterModesSeam::g_overridden)
        return AdapterModesSeam::g_modes.empty() ? D3DDISPLAYMODE{0, 0, 0, D3DFMT_X8R8G8B8}
                                                 : AdapterModesSeam::g_modes.back();
    SDL_DisplayMode mode;
    if (!SdlVideo::start() || SDL_GetDesktopDisplayMode(0, &mode) != 0)
        return D3DDISPLAYMODE{0, 0, 0, D3DFMT_X8R8G8B8};
    return fromSdl(mode);
}

void AdapterModes::setOverride(const std::vector<D3DDISPLAYMODE>& a_modes)
{
    AdapterModesSeam::g_overridden = true;
    AdapterModesSeam::g_modes = a_modes;
}

void AdapterModes::clearOverride()
{
    AdapterModesSeam::g_overridden = false;
    AdapterModesSeam::g_modes.clear();
}

void D3D9Testing::setDisplayModes(const std::vector<D3DDISPLAYMODE>& a_modes)
{
    AdapterModes::setOverride(a_modes);
}

void D3D9Testing::clearDisplayModes()
{
    AdapterModes::clearOverride();
}
