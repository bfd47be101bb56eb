// A surface: one face and level of a texture, or a surface of its own.
#include "Surface9.h"

#include "TextureStorage.h"

#include "core/Assert.h"

Surface9::Surface9(Device9* a_device, IUnknown* a_container, TextureStorage* a_storage, UINT a_face,
                   UINT a_level)
    : DeviceChild(a_device), m_container(a_container),
      m_containerChild(dynamic_cast<DeviceChild*>(a_container)), m_storage(a_storage),
      m_face(a_face), m_level(a_level), m_references(a_container ? 0 : 1)
{
    if (!m_container)
        publicCountRose();
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

// A texture's surface counts as its texture: each reference to the surface
// is one on the texture, and the count given back is the texture's.
ULONG Surface9::AddRef()
{
    if (m_container)
        return m_container->AddRef();
    if (m_references++ == 0)
        publicCountRose();
    return m_references;
}

ULONG Surface9::Release()
{
    if (m_container)
        return m_container->Release();  // may delete this surface with its texture
    TARVO_ASSERT(m_references > 0);
    const ULONG left = --m_references;
    if (left == 0)
        publicCountFell();  // may delete this surface
    return left;
}

void Surface9::bind()
{
    if (m_containerChild)
        m_containerChild->bind();
    else
        DeviceChild::bind();
}

void Surface9::unbind()
{
    if (m_containerChild)
        m_containerChild->unbind();
    else
        DeviceChild::unbind();
}

HRESULT Surface9::GetDesc(D3DSURFACE_DESC* a_desc)
{
    return m_storage->describe(m_level, a_desc);
}

HRESULT Surface9::LockRect(D3DLOCKED_RECT* a_locked, const RECT* a_rect, DWORD a_flags)
{
    if (!contextCurrent())
        return D3DERR_INVALIDCALL;
    if (m_container && !m_storage->textureLocks())
        return D3DERR_INVALIDCALL;
    return m_storage->lock(m_face, m_level, a_locked, a_rect, a_flags);
}

// Unlike a texture's level, a surface that is not locked refuses the unlock.
HRESULT Surface9::UnlockRect()
{
    if (!contextCurrent())
        return D3DERR_INVALIDCALL;
    if (!m_storage->locked(m_face, m_level))
        return D3DERR_INVALIDCALL;
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
