// A 2D texture: its levels in one GL texture.
#include "Texture9.h"

#include "Device9.h"
#include "Surface9.h"

HRESULT Texture9::create(Device9* a_device, UINT a_width, UINT a_height, UINT a_levels,
                         DWORD a_usage, D3DFORMAT a_format, D3DPOOL a_pool,
                         IDirect3DTexture9** a_texture)
{
    if (!a_texture)
        return D3DERR_INVALIDCALL;
    *a_texture = nullptr;
    UINT glLevels = 0;
    UINT reportedLevels = 0;
    const HRESULT checked = TextureStorage::check(a_width, a_height, a_levels, a_usage, a_format,
                                                  a_pool, &glLevels, &reportedLevels);
    if (checked != D3D_OK)
        return checked;
    Texture9* texture = new Texture9(a_device, a_width, a_height, glLevels, reportedLevels, a_usage,
                                     Format::find(a_format), a_pool);
    if (!texture->m_storage.create())
    {
        texture->Release();
        return D3DERR_OUTOFVIDEOMEMORY;
    }
    *a_texture = texture;
    return D3D_OK;
}

Texture9::Texture9(Device9* a_device, UINT a_width, UINT a_height, UINT a_glLevels,
                   UINT a_reportedLevels, DWORD a_usage, const Format* a_format, D3DPOOL a_pool)
    : DeviceResource(a_device), m_storage(GL_TEXTURE_2D, a_format, a_width, a_height, a_glLevels,
                                          a_reportedLevels, a_usage, a_pool)
{
}

Texture9::~Texture9()
{
    releaseGlIfAlive();
}

void Texture9::releaseGl()
{
    device()->forgetTexture(m_storage.name());
    m_storage.releaseGl();
}

HRESULT Texture9::GetLevelDesc(UINT a_level, D3DSURFACE_DESC* a_desc)
{
    return m_storage.describe(a_level, a_desc);
}

HRESULT Texture9::GetSurfaceLevel(UINT a_level, IDirect3DSurface9** a_surface)
{
    if (!a_surface)
        return D3DERR_INVALIDCALL;
    Surface9* surface = device() ? m_storage.surface(device(), this, 0, a_level) : nullptr;
    *a_surface = surface;
    if (!surface)
        return D3DERR_INVALIDCALL;
    surface->AddRef();
    return D3D_OK;
}

HRESULT Texture9::LockRect(UINT a_level, D3DLOCKED_RECT* a_locked, const RECT* a_rect,
                           DWORD a_flags)
{
    if (!contextCurrent())
        return D3DERR_INVALIDCALL;
    if (!m_storage.textureLocks())
        return D3DERR_INVALIDCALL;
    return m_storage.lock(0, a_level, a_locked, a_rect, a_flags);
}

HRESULT Texture9::UnlockRect(UINT a_level)
{
    if (!contextCurrent())
        return D3DERR_INVALIDCALL;
    return m_storage.unlock(0, a_level);
}
