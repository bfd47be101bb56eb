// The GL texture behind a 2D or cube texture, the back buffer or a depth
// buffer: its levels, their locks (a staging copy uploaded on unlock), the
// read-backs on their way into a system-memory level, and the surface object
// of each face and level.
#pragma once

#include "Format.h"
#include "Gl.h"
#include "TargetDownload.h"

#include <d3d9.h>

#include <memory>
#include <vector>

class Device9;
class Surface9;

class TextureStorage
{
public:
    // Checks a texture request as CreateTexture and CreateCubeTexture do and
    // works out the levels: GL allocates a full chain when D3D9 is asked for
    // 0 levels or for automatic mip-maps, while the texture reports one level
    // for automatic mip-maps.
    static HRESULT check(UINT a_width, UINT a_height, UINT a_levels, DWORD a_usage,
                         D3DFORMAT a_format, D3DPOOL a_pool, UINT* a_glLevels,
                         UINT* a_reportedLevels);

    TextureStorage(GLenum a_target, const Format* a_format, UINT a_width, UINT a_height,
                   UINT a_glLevels, UINT a_reportedLevels, DWORD a_usage, D3DPOOL a_pool);
    ~TextureStorage();  // GL objects are the owner's to release first
    TextureStorage(const TextureStorage&) = delete;
    TextureStorage& operator=(const TextureStorage&) = delete;

    // Makes the GL texture; false (logged) when GL refuses.
    bool create();
    // Deletes the GL texture and the surfaces' GL side; the storage is dead after.
    void releaseGl();

    GLuint name() const { return m_name; }
    GLenum target() const { return m_target; }
    const Format& format() const { return *m_format; }
    UINT faces() const { return m_target == GL_TEXTURE_CUBE_MAP ? 6 : 1; }
    UINT levels() const { return m_reportedLevels; }
    // GL holds a single level: no mip filter can change what it samples.
    bool singleLevel() const { return m_glLevels == 1; }
    UINT width(UINT a_level) const;
    UINT height(UINT a_level) const;
    DWORD usage() const { return m_usage; }
    D3DPOOL pool() const { return m_pool; }
    // A texture's levels lock outside the default pool, and in it only when
    // dynamic; plain surfaces lock in every pool.
    bool textureLocks() const { return m_pool != D3DPOOL_DEFAULT || (m_usage & D3DUSAGE_DYNAMIC); }
    HRESULT describe(UINT a_level, D3DSURFACE_DESC* a_desc) const;

    // The surface of a face and level, made on first use; it counts its
    // references against a_container.
    Surface9* surface(Device9* a_device, IUnknown* a_container, UINT a_face, UINT a_level);

    HRESULT lock(UINT a_face, UINT a_level, D3DLOCKED_RECT* a_locked, const RECT* a_rect,
                 DWORD a_flags);
    // A level that is not locked unlocks with D3D_OK and nothing done.
    HRESULT unlock(UINT a_face, UINT a_level);
    bool locked(UINT a_face, UINT a_level) const
    {
        return valid(a_face, a_level) && m_staging[slot(a_face, a_level)].locked;
    }
    // The level's bytes in D3D9's layout, read from GL.
    HRESULT read(UINT a_face, UINT a_level, std::vector<unsigned char>* a_bytes);
    // GetRenderTargetData into a system-memory level: queues the copy of
    // a_source (same size and format) and returns; what reads the level
    // later waits for it.
    HRESULT download(UINT a_face, UINT a_level, const Surface9& a_source);

private:
    struct Staging
    {
        std::vector<unsigned char> bytes;
        bool locked = false;
        bool readOnly = false;  // D3DLOCK_READONLY: nothing to upload on unlock
        // The last read-back into the level; while downloaded it holds the
        // level's contents, newer than the GL texture's.
        std::unique_ptr<TargetDownload> download;
        bool downloaded = false;
    };

    bool valid(UINT a_face, UINT a_level) const;
    UINT slot(UINT a_face, UINT a_level) const { return a_face * m_reportedLevels + a_level; }

    GLenum m_target;
    const Format* m_format;
    UINT m_width;
    UINT m_height;
    UINT m_glLevels;
    UINT m_reportedLevels;
    DWORD m_usage;
    D3DPOOL m_pool;
    GLuint m_name = 0;
    std::vector<Staging> m_staging;     // per face and reported level
    std::vector<Surface9*> m_surfaces;  // owned, per face and reported level; null until asked
};
