// The display modes of the one adapter: SDL's 32-bit modes of display 0, or a
// list a test gave through D3D9Testing.
#pragma once

#include <d3d9.h>

#include <vector>

class AdapterModes
{
public:
    // In D3D9's order: ascending width, then height, then refresh rate.
    static std::vector<D3DDISPLAYMODE> list();
    // The desktop's current mode.
    static D3DDISPLAYMODE current();

    static void setOverride(const std::vector<D3DDISPLAYMODE>& a_modes);
    static void clearOverride();
};
