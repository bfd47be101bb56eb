// D3DCAPS9 as the GL driver supports it.
#pragma once

#include <d3d9.h>

class DriverCaps
{
public:
    // Asks the current GL context, or a short-lived hidden window's one when no
    // context is current; false when no GL 4.5 context can be made.
    static bool read(D3DCAPS9* a_caps);
    // The GL context attributes every context of the layer is made with.
    static void requestContext();

    // Test seam: report no more than these from now on (0 = no limit).
    static void limit(DWORD a_vertexShaderVersion, DWORD a_pixelShaderVersion,
                      DWORD a_renderTargets);
};
