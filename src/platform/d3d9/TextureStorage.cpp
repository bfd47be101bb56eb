// The GL texture behind a 2D or cube texture, the back buffer or a depth buffer.
#include "TextureStorage.h"

#include "Format.h"
#include "Surface9.h"

#include "core/Assert.h"

#include <SDL.h>

#include <string.h>

#include <algorithm>

namespace
{

const DWORD g_knownUsage =
    D3DUSAGE_RENDERTARGET | D3DUSAGE_DEPTHSTENCIL | D3DUSAGE_DYNAMIC | D3DUSAGE_AUTOGENMIPMAP;

UINT fullChain(UINT a_width, UINT a_height)
{
    UINT levels = 1;
    for (UINT size = std::max(a_width, a_height); size > 1; size /= 2)
        ++levels;
    return levels;
}

}  // namespace

HRESULT TextureStorage::check(UINT a_width, UINT a_height, UINT a_levels, DWORD a_usage,
                              D3DFORMAT a_format, D3DPOOL a_pool, UINT* a_glLevels,
                              UINT* a_reportedLevels)
{
    const Format* format = Format::find(a_format);
    if (!format || a_width == 0 || a_height == 0 || a_width > kMaxSurfaceSide ||
        a_height > kMaxSurfaceSide)
        return D3DERR_INVALIDCALL;
    if ((a_usage & ~g_knownUsage) != 0 || a_pool > D3DPOOL_SCRATCH)
        return D3DERR_INVALIDCALL;
    // The managed pool keeps its own copy; D3D9 refuses to make it dynamic.
    if ((a_usage & D3DUSAGE_DYNAMIC) && a_pool == D3DPOOL_MANAGED)
        return D3DERR_INVALIDCALL;
    const bool renderTarget = (a_usage & D3DUSAGE_RENDERTARGET) != 0;
    const bool depthStencil = (a_usage & D3DUSAGE_DEPTHSTENCIL) != 0;
    // Targets of drawing live in video memory, and a depth format is only a
    // depth buffer.
    if ((renderTarget || depthStencil) && a_pool != D3DPOOL_DEFAULT)
        return D3DERR_INVALIDCALL;
    if (renderTarget && depthStencil)
        return D3DERR_INVALIDCALL;
    if (format->depth != depthStencil)
        return D3DERR_INVALIDCALL;
    const UINT chain = fullChain(a_width, a_height);
    if (a_levels > chain)
        return D3DERR_INVALIDCALL;
    if (a_usage & D3DUSAGE_AUTOGENMIPMAP)
    {
        // D3D9 keeps the chain to itself: the texture has one level to lock.
        if (a_levels > 1 || format->depth)
            return D3DERR_INVALIDCALL;
        *a_glLevels = chain;
        *a_reportedLevels = 1;
        return D3D_OK;
    }
    *a_glLevels = a_levels == 0 ? chain : a_levels;
    *a_reportedLevels = *a_glLevels;
    return D3D_OK;
}

TextureStorage::TextureStorage(GLenum a_target, const Format* a_format, UINT a_width, UINT a_height,
                               UINT a_glLevels, UINT a_reportedLevels, DWORD a_usage,
                               D3DPOOL a_pool)
    : m_target(a_target), m_format(a_format), m_width(a_width), m_height(a_height),
      m_glLevels(a_glLevels), m_reportedLevels(a_reportedLevels), m_usage(a_usage), m_pool(a_pool)
{
    TARVO_ASSERT(a_format && a_reportedLevels >= 1 && a_glLevels >= a_reportedLevels);
    m_staging.resize(faces() * m_reportedLevels);
    m_surfaces.resize(faces() * m_reportedLevels, nullptr);
}

TextureStorage::~TextureStorage()
{
    for (Surface9* surface : m_surfaces)
        delete surface;
}

bool TextureStorage::create()
{
    while (glGetError() != GL_NO_ERROR)
    {
    }
    glCreateTextures(m_target, 1, &m_name);
    glTextureStorage2D(m_name, static_cast<GLsizei>(m_glLevels), m_format->internalFormat,
                       static_cast<GLsizei>(m_width), static_cast<GLsizei>(m_height));
    const GLenum error = glGetError();
    if (error != GL_NO_ERROR)
    {
        SDL_Log("d3d9: GL refused a %ux%u %s texture (GL error 0x%x)", m_width, m_height,
                m_format->name, error);
        releaseGl();
        return false;
    }
    glTextureParameteriv(m_name, GL_TEXTURE_SWIZZLE_RGBA, m_format->swizzle);
    glTextureParameteri(m_name, GL_TEXTURE_MAX_LEVEL, static_cast<GLint>(m_glLevels - 1));
    return true;
}

void TextureStorage::releaseGl()
{
    for (Staging& staging : m_staging)
    {
        if (staging.download)
            staging.download->releaseGl();
        staging.downloaded = false;
    }
    if (m_name)
        glDeleteTextures(1, &m_name);
    m_name = 0;
}

UINT TextureStorage::width(UINT a_level) const
{
    return std::max(1u, m_width >> a_level);
}
UINT TextureStorage::height(UINT a_level) const
{
    return std::max(1u, m_height >> a_level);
}

HRESULT TextureStorage::describe(UINT a_level, D3DSURFACE_DESC* a_desc) const
{
    if (!a_desc || a_level >= m_reportedLevels)
        return D3DERR_INVALIDCALL;
    *a_desc =
        D3DSURFACE_DESC{m_format->format, D3DRTYPE_SURFACE, m_usage, m_pool, D3DMULTISAMPLE_NONE, 0,
                        width(a_level),   height(a_level)};
    return D3D_OK;
}

Surface9* TextureStorage::surface(Device9* a_device, IUnknown* a_container, UINT a_face,
                                  UINT a_level)
{
    if (!valid(a_face, a_level))
        return nullptr;
    Surface9*& surface = m_surfaces[slot(a_face, a_level)];
    if (!surface)
        surface = new Surface9(a_device, a_container, this, a_face, a_level);
    return surface;
}

bool TextureStorage::valid(UINT a_face, UINT a_level) const
{
    return a_face < faces() && a_level < m_reportedLevels;
}

// D3D9 only locks what the CPU may write: not render targets, not depth
// buffers. The level's current contents are read into the staging copy
// unless the caller discards them.
HRESULT TextureStorage::lock(UINT a_face, UINT a_level, D3DLOCKED_RECT* a_locked,
                             const RECT* a_rect, DWORD a_flags)
{
    if (!a_locked || !valid(a_face, a_level) || !m_name)
        return D3DERR_INVALIDCALL;
    if (m_usage & (D3DUSAGE_RENDERTARGET | D3DUSAGE_DEPTHSTENCIL))
        return D3DERR_INVALIDCALL;
    Staging& staging = m_staging[slot(a_face, a_level)];
    if (staging.locked)
        return D3DERR_INVALIDCALL;
    const UINT levelWidth = width(a_level);
    const UINT levelHeight = height(a_level);
    RECT area = {0, 0, static_cast<LONG>(levelWidth), static_cast<LONG>(levelHeight)};
    if (a_rect)
    {
        if (a_rect->left < 0 || a_rect->top < 0 || a_rect->left >= a_rect->right ||
            a_rect->top >= a_rect->bottom || a_rect->right > area.right ||
            a_rect->bottom > area.bottom)
            return D3DERR_INVALIDCALL;
        area = *a_rect;
    }
    const bool readOnly = (a_flags & D3DLOCK_READONLY) != 0;
    // A read-only lock of a read-back points into the mapped copy itself:
    // a frame read back every frame is copied once less.
    const unsigned char* bytes = nullptr;
    if (readOnly && staging.downloaded)
    {
        bytes = staging.download->map();
        if (!bytes)
            return D3DERR_INVALIDCALL;
    }
    else if (a_flags & D3DLOCK_DISCARD)
        staging.bytes.assign(size_t(levelWidth) * levelHeight * m_format->bytesPerPixel, 0);
    else if (read(a_face, a_level, &staging.bytes) != D3D_OK)
        return D3DERR_INVALIDCALL;
    if (!bytes)
        bytes = staging.bytes.data();
    const size_t pitch = size_t(levelWidth) * m_format->bytesPerPixel;
    staging.locked = true;
    staging.readOnly = readOnly;
    a_locked->Pitch = static_cast<INT>(pitch);
    a_locked->pBits = const_cast<unsigned char*>(bytes) + size_t(area.top) * pitch +
                      size_t(area.left) * m_format->bytesPerPixel;
    return D3D_OK;
}

HRESULT TextureStorage::unlock(UINT a_face, UINT a_level)
{
    if (!valid(a_face, a_level) || !m_name)
        return D3DERR_INVALIDCALL;
    Staging& staging = m_staging[slot(a_face, a_level)];
    // An unlock of a level that exists but is not locked succeeds and
    // changes nothing, as the runtime's.
    if (!staging.locked)
        return D3D_OK;
    staging.locked = false;
    // A read-only lock promised not to write, so the level is as it was
    // (a read-back locks a whole frame this way every frame).
    if (staging.readOnly)
    {
        if (staging.download)
            staging.download->unmap();
        std::vector<unsigned char>().swap(staging.bytes);
        return D3D_OK;
    }
    const GLsizei levelWidth = static_cast<GLsizei>(width(a_level));
    const GLsizei levelHeight = static_cast<GLsizei>(height(a_level));
    const GLint level = static_cast<GLint>(a_level);
    if (m_target == GL_TEXTURE_CUBE_MAP)
        glTextureSubImage3D(m_name, level, 0, 0, static_cast<GLint>(a_face), levelWidth,
                            levelHeight, 1, m_format->uploadFormat, m_format->uploadType,
                            staging.bytes.data());
    else
        glTextureSubImage2D(m_name, level, 0, 0, levelWidth, levelHeight, m_format->uploadFormat,
                            m_format->uploadType, staging.bytes.data());
    if ((m_usage & D3DUSAGE_AUTOGENMIPMAP) && a_level == 0)
        glGenerateTextureMipmap(m_name);
    std::vector<unsigned char>().swap(staging.bytes);
    staging.downloaded = false;  // the texture holds what was written over it
    return D3D_OK;
}

HRESULT TextureStorage::read(UINT a_face, UINT a_level, std::vector<unsigned char>* a_bytes)
{
    if (!valid(a_face, a_level) || !m_name || m_format->depth)
        return D3DERR_INVALIDCALL;
    const UINT levelWidth = width(a_level);
    const UINT levelHeight = height(a_level);
    a_bytes->resize(size_t(levelWidth) * levelHeight * m_format->bytesPerPixel);
    Staging& staging = m_staging[slot(a_face, a_level)];
    if (staging.downloaded)
    {
        // A read-only lock may hold the copy mapped; it stays so.
        TargetDownload& download = *staging.download;
        const bool wasMapped = download.mapped();
        const unsigned char* bytes = download.map();
        if (!bytes || download.size() != a_bytes->size())
            return D3DERR_INVALIDCALL;
        memcpy(a_bytes->data(), bytes, a_bytes->size());
        if (!wasMapped)
            download.unmap();
        return D3D_OK;
    }
    glGetTextureSubImage(m_name, static_cast<GLint>(a_level), 0, 0, static_cast<GLint>(a_face),
                         static_cast<GLsizei>(levelWidth), static_cast<GLsizei>(levelHeight), 1,
                         m_format->uploadFormat, m_format->uploadType,
                         static_cast<GLsizei>(a_bytes->size()), a_bytes->data());
    return D3D_OK;
}

HRESULT TextureStorage::download(UINT a_face, UINT a_level, const Surface9& a_source)
{
    if (!valid(a_face, a_level) || !m_name || m_format->depth)
        return D3DERR_INVALIDCALL;
    Staging& staging = m_staging[slot(a_face, a_level)];
    if (staging.locked)
        return D3DERR_INVALIDCALL;
    if (!staging.download)
        staging.download = std::make_unique<TargetDownload>();
    staging.downloaded = staging.download->start(a_source, *m_format);
    return staging.downloaded ? D3D_OK : D3DERR_INVALIDCALL;
}
