// A surface: one face and level of a texture, or a surface of its own.
#include "Surface9.h"

#include "TextureStorage.h"

#include "core/Assert.h"

Surface9::Surface9(Device9* a_device, IUnknown* a_container, TextureStorage* a_storage, UINT a_face,
                   UINT a_level)
    : DeviceChild(a_device), m_container(a_container), m_storage(a_storage), m_face(a_face),
      m_level(a_level), m_references(a_container ? 0 : 1)
{
}

Surface9* Surface9::createStandalone(Device9* a_device, const Format* a_format, UINT a_width,
                                     UINT a_height, DWORD a_usage, D3DPOOL a_pool)
{
    auto storage = std::make_unique<TextureStorage>(GL_TEXTURE_2D, a_format, a_width, a_height, 1,
                                                    1, a_usage, a_pool);
    if (!storage->create())
        return nullptr;
    Surface9* surface = new Surface9(a_device, nullptr, storage.get(), 0, 0);
    surface->m_ownStorage = std::move(storage);
    return surface;
}

Surface9::~Surface9()
{
    releaseGlIfAlive();
}

void Surface9::releaseGl()
{
    if (m_ownStorage)
        m_ownStorage->releaseGl();
}

HRESULT Surface9::QueryInterface(REFIID, void** a_object)
{
    if (a_object)
        *a_object = nullptr;
    return E_NOINTERFACE;
}

// A texture's surface lives as long as its texture: the first reference to
// the surface takes one on the texture, the last gives it back.
ULONG Surface9::AddRef()
{
    if (m_references++ == 0 && m_container)
        m_container->AddRef();
    return m_references;
}

ULONG Surface9::Release()
{
    TARVO_ASSERT(m_references > 0);
    const ULONG left = --m_references;
    if (left == 0)
    {
        if (m_container)
            m_container->Release();  // may delete this surface with its texture
        else
            delete this;
    }
    return left;
}

HRESULT Surface9::GetDesc(D3DSURFACE_DESC* a_desc)
{
    return m_storage->describe(m_level, a_desc);
}

HRESULT Surface9::LockRect(D3DLOCKED_RECT* a_locked, const RECT* a_rect, DWORD a_flags)
{
    if (m_container && !m_storage->textureLocks())
        return D3DERR_INVALIDCALL;
    return m_storage->lock(m_face, m_level, a_locked, a_rect, a_flags);
}

HRESULT Surface9::UnlockRect()
{
    return m_storage->unlock(m_face, m_level);
}

UINT Surface9::width() const
{
    return m_storage->width(m_level);
}
UINT Surface9::height() const
{
    return m_storage->height(m_level);
}
bool Surface9::isRenderTarget() const
{
    return (m_storage->usage() & D3DUSAGE_RENDERTARGET) != 0;
}
bool Surface9::isDepth() const
{
    return m_storage->format().depth;
}

void Surface9::attachTo(GLuint a_framebuffer, GLenum a_attachment) const
{
    if (m_storage->target() == GL_TEXTURE_CUBE_MAP)
        glNamedFramebufferTextureLayer(a_framebuffer, a_attachment, m_storage->name(),
                                       GLint(m_level), GLint(m_face));
    else
        glNamedFramebufferTexture(a_framebuffer, a_attachment, m_storage->name(), GLint(m_level));
}
