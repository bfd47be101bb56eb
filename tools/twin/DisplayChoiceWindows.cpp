// The display on Windows: a mode of the adapter's own list, as the launcher
// would offer it.
#include "DisplayChoice.h"

#include "core/LauncherSettings.h"

#include <d3d9.h>

#include <stdio.h>

bool DisplayChoice::choose(uint32_t a_width, uint32_t a_height, uint32_t, std::string* a_error)
{
    IDirect3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
    if (!d3d)
    {
        *a_error = "Direct3D 9 is not available";
        return false;
    }
    const UINT count = d3d->GetAdapterModeCount(D3DADAPTER_DEFAULT, D3DFMT_X8R8G8B8);
    std::string seen;
    int32_t found = -1;
    for (UINT index = 0; index < count && found < 0; ++index)
    {
        D3DDISPLAYMODE mode = {};
        if (FAILED(d3d->EnumAdapterModes(D3DADAPTER_DEFAULT, D3DFMT_X8R8G8B8, index, &mode)))
            continue;
        if (mode.Width == a_width && mode.Height == a_height)
            found = int32_t(index);
        char size[32];
        snprintf(size, sizeof(size), " %ux%u", mode.Width, mode.Height);
        seen += size;
    }
    d3d->Release();
    if (found < 0)
    {
        *a_error = "the adapter has no " + std::to_string(a_width) + "x" +
                   std::to_string(a_height) + " mode; it has" + seen;
        return false;
    }
    g_displayMode = found;
    return true;
}
