// The Direct3D object: the one adapter, its display modes and capabilities,
// and device creation.
#include "Direct3D9.h"

#include "AdapterModes.h"
#include "Device9.h"
#include "DriverCaps.h"
#include "Format.h"
#include "TextureStorage.h"

IDirect3D9* Direct3DCreate9(UINT a_sdkVersion)
{
    if (a_sdkVersion != D3D_SDK_VERSION)
        return nullptr;
    return new Direct3D9();
}

UINT Direct3D9::GetAdapterCount()
{
    return 1;
}

UINT Direct3D9::GetAdapterModeCount(UINT a_adapter, D3DFORMAT a_format)
{
    if (a_adapter != D3DADAPTER_DEFAULT || a_format != D3DFMT_X8R8G8B8)
        return 0;
    return static_cast<UINT>(AdapterModes::list().size());
}

HRESULT Direct3D9::EnumAdapterModes(UINT a_adapter, D3DFORMAT a_format, UINT a_mode,
                                    D3DDISPLAYMODE* a_result)
{
    if (a_adapter != D3DADAPTER_DEFAULT || !a_result)
        return D3DERR_INVALIDCALL;
    if (a_format != D3DFMT_X8R8G8B8)
        return D3DERR_NOTAVAILABLE;
    const std::vector<D3DDISPLAYMODE> modes = AdapterModes::list();
    if (a_mode >= modes.size())
        return D3DERR_INVALIDCALL;
    *a_result = modes[a_mode];
    return D3D_OK;
}

HRESULT Direct3D9::GetAdapterDisplayMode(UINT a_adapter, D3DDISPLAYMODE* a_result)
{
    if (a_adapter != D3DADAPTER_DEFAULT || !a_result)
        return D3DERR_INVALIDCALL;
    *a_result = AdapterModes::current();
    return D3D_OK;
}

// The answer agrees with what the device's creation calls accept: a format
// of the table, as a surface, texture or cube texture, with the usage its
// kind allows (depth formats only as depth buffers, never mip-mapped).
HRESULT Direct3D9::CheckDeviceFormat(UINT a_adapter, D3DDEVTYPE a_type, D3DFORMAT a_adapterFormat,
                                     DWORD a_usage, D3DRESOURCETYPE a_resourceType,
                                     D3DFORMAT a_format)
{
    if (a_adapter != D3DADAPTER_DEFAULT || a_type != D3DDEVTYPE_HAL ||
        a_adapterFormat != D3DFMT_X8R8G8B8)
        return D3DERR_INVALIDCALL;
    if (a_resourceType != D3DRTYPE_SURFACE && a_resourceType != D3DRTYPE_TEXTURE &&
        a_resourceType != D3DRTYPE_CUBETEXTURE)
        return D3DERR_NOTAVAILABLE;
    // The query bits ask whether a format filters, and blends after the
    // pixel shader; OpenGL 4.5 does both for every colour format it
    // renders to or samples, float formats included. Depth buffers are never
    // filtered; the documentation is silent on blending with them, and the
    // reference implementation answers the blending query as it answers the
    // depth usage alone.
    const DWORD queries = D3DUSAGE_QUERY_FILTER | D3DUSAGE_QUERY_POSTPIXELSHADER_BLENDING;
    const Format* format = Format::find(a_format);
    if ((a_usage & queries) && !format)
        return D3DERR_NOTAVAILABLE;
    if ((a_usage & D3DUSAGE_QUERY_FILTER) && format->depth)
        return D3DERR_NOTAVAILABLE;
    UINT glLevels = 0;
    UINT reportedLevels = 0;
    const HRESULT checked = TextureStorage::check(1, 1, 1, a_usage & ~queries, a_format,
                                                  D3DPOOL_DEFAULT, &glLevels, &reportedLevels);
    return checked == D3D_OK ? D3D_OK : D3DERR_NOTAVAILABLE;
}

HRESULT Direct3D9::GetDeviceCaps(UINT a_adapter, D3DDEVTYPE a_type, D3DCAPS9* a_caps)
{
    if (a_adapter != D3DADAPTER_DEFAULT || a_type != D3DDEVTYPE_HAL || !a_caps)
        return D3DERR_INVALIDCALL;
    return DriverCaps::read(a_caps) ? D3D_OK : D3DERR_NOTAVAILABLE;
}

HRESULT Direct3D9::CreateDevice(UINT a_adapter, D3DDEVTYPE a_type, HWND a_focusWindow,
                                DWORD a_flags, D3DPRESENT_PARAMETERS* a_parameters,
                                IDirect3DDevice9** a_device)
{
    (void)a_flags;  // vertex processing always happens on the GL driver
    if (!a_device)
        return D3DERR_INVALIDCALL;
    *a_device = nullptr;
    if (a_adapter != D3DADAPTER_DEFAULT || a_type != D3DDEVTYPE_HAL || !a_parameters)
        return D3DERR_INVALIDCALL;
    return Device9::create(a_focusWindow, a_parameters, a_device);
}
