// Test seams of the d3d9 layer: reading back what the device drew, limiting
// the capabilities, switching the GL state cache off and skipping drawing.
// (The display-mode seam lives with AdapterModes.)
#include "D3D9Testing.h"

#include "ComObject.h"
#include "D3D9Offline.h"
#include "Device9.h"
#include "DriverCaps.h"
#include "GlStateCache.h"

HRESULT D3D9Testing::readSurface(IDirect3DSurface9* a_surface, std::vector<unsigned char>* a_bytes)
{
    return D3D9Offline::readSurface(a_surface, a_bytes);
}

HRESULT D3D9Testing::readWindow(IDirect3DDevice9* a_device, std::vector<DWORD>* a_pixels,
                                UINT* a_width, UINT* a_height)
{
    Device9* device = dynamic_cast<Device9*>(a_device);
    if (!device)
        return D3DERR_INVALIDCALL;
    return device->readWindow(a_pixels, a_width, a_height);
}

void D3D9Testing::bypassGlStateCache(bool a_bypass)
{
    GlStateCache::setBypass(a_bypass);
}

long D3D9Testing::liveObjects()
{
    return g_liveComObjects;
}

void D3D9Testing::limitCaps(DWORD a_vertexShaderVersion, DWORD a_pixelShaderVersion,
                            DWORD a_renderTargets)
{
    DriverCaps::limit(a_vertexShaderVersion, a_pixelShaderVersion, a_renderTargets);
}

void D3D9Testing::clearCapsLimit()
{
    DriverCaps::limit(0, 0, 0);
}
