// A cube texture: six faces of square levels in one GL cube map. D3D9 and GL
// pick the face and its (u, v) from a direction by the same rules, and row 0
// of a D3D9 face is v = 0 as row 0 of a GL face is t = 0, so faces upload as
// they are.
#include "CubeTexture9.h"

#include "Device9.h"
#include "Surface9.h"

HRESULT CubeTexture9::create(Device9* a_device, UINT a_edgeLength, UINT a_levels, DWORD a_usage,
                             D3DFORMAT a_format, D3DPOOL a_pool, IDirect3DCubeTexture9** a_texture)
{
    if (!a_texture)
        return D3DERR_INVALIDCALL;
    *a_texture = nullptr;
    UINT glLevels = 0;
    UINT reportedLevels = 0;
    const HRESULT checked = TextureStorage::check(a_edgeLength, a_edgeLength, a_levels, a_usage,
                                                  a_format, a_pool, &glLevels, &reportedLevels);
    if (checked != D3D_OK)
        return checked;
    CubeTexture9* texture = new CubeTexture9(a_device, a_edgeLength, glLevels, reportedLevels,
                                             a_usage, Format::find(a_format), a_pool);
    if (!texture->m_storage.create())
    {
        texture->Release();
        return D3DERR_OUTOFVIDEOMEMORY;
    }
    *a_texture = texture;
    return D3D_OK;
}

CubeTexture9::CubeTexture9(Device9* a_device, UINT a_edgeLength, UINT a_glLevels,
                           UINT a_reportedLevels, DWORD a_usage, const Format* a_format,
                           D3DPOOL a_pool)
    : DeviceResource(a_device), m_storage(GL_TEXTURE_CUBE_MAP, a_format, a_edgeLength, a_edgeLength,
                                          a_glLevels, a_reportedLevels, a_usage, a_pool)
{
}

CubeTexture9::~CubeTexture9()
{
    releaseGlIfAlive();
}

void CubeTexture9::releaseGl()
{
    device()->forgetTexture(m_storage.name());
    m_storage.releaseGl();
}

HRESULT CubeTexture9::GetLevelDesc(UINT a_level, D3DSURFACE_DESC* a_desc)
{
    return m_storage.describe(a_level, a_desc);
}

HRESULT CubeTexture9::GetCubeMapSurface(D3DCUBEMAP_FACES a_face, UINT a_level,
                                        IDirect3DSurface9** a_surface)
{
    if (!a_surface)
        return D3DERR_INVALIDCALL;
    Surface9* surface =
        device() ? m_storage.surface(device(), this, static_cast<UINT>(a_face), a_level) : nullptr;
    *a_surface = surface;
    if (!surface)
        return D3DERR_INVALIDCALL;
    surface->AddRef();
    return D3D_OK;
}

HRESULT CubeTexture9::LockRect(D3DCUBEMAP_FACES a_face, UINT a_level, D3DLOCKED_RECT* a_locked,
                               const RECT* a_rect, DWORD a_flags)
{
    if (!contextCurrent())
        return D3DERR_INVALIDCALL;
    if (!m_storage.textureLocks())
        return D3DERR_INVALIDCALL;
    return m_storage.lock(static_cast<UINT>(a_face), a_level, a_locked, a_rect, a_flags);
}

// Unlike a 2D texture's level, a face that is not locked refuses the
// unlock, as the runtime's.
HRESULT CubeTexture9::UnlockRect(D3DCUBEMAP_FACES a_face, UINT a_level)
{
    if (!contextCurrent())
        return D3DERR_INVALIDCALL;
    if (!m_storage.locked(static_cast<UINT>(a_face), a_level))
        return D3DERR_INVALIDCALL;
    return m_storage.unlock(static_cast<UINT>(a_face), a_level);
}
