// A surface: one face and level of a texture (its references and bindings
// are the texture's, which owns it), or a surface of its own, the back
// buffer or a depth buffer.
#pragma once

#include "DeviceChild.h"
#include "Gl.h"

#include <d3d9.h>

#include <memory>

class TextureStorage;
struct Format;

class Surface9 final : public IDirect3DSurface9, public DeviceChild
{
public:
    Surface9(Device9* a_device, IUnknown* a_container, TextureStorage* a_storage, UINT a_face,
             UINT a_level);
    // A surface with storage of its own, one reference held by the caller;
    // null when GL refuses it.
    static Surface9* createStandalone(Device9* a_device, const Format* a_format, UINT a_width,
                                      UINT a_height, DWORD a_usage, D3DPOOL a_pool);
    ~Surface9() override;

    HRESULT QueryInterface(REFIID a_iid, void** a_object) override;
    ULONG AddRef() override;
    ULONG Release() override;

    HRESULT GetDevice(IDirect3DDevice9** a_device) override { return getDevice(a_device); }
    D3DRESOURCETYPE GetType() override { return D3DRTYPE_SURFACE; }

    HRESULT GetDesc(D3DSURFACE_DESC* a_desc) override;
    HRESULT LockRect(D3DLOCKED_RECT* a_locked, const RECT* a_rect, DWORD a_flags) override;
    HRESULT UnlockRect() override;

    void bind() override;
    void unbind() override;

    // What the device attaches when it draws into the surface.
    TextureStorage& storage() const { return *m_storage; }
    UINT face() const { return m_face; }
    UINT level() const { return m_level; }
    UINT width() const;
    UINT height() const;
    bool isRenderTarget() const;
    bool isDepth() const;
    // Attaches the surface's face and level to a_framebuffer at a_attachment.
    void attachTo(GLuint a_framebuffer, GLenum a_attachment) const;

private:
    bool referenced() const override { return m_references != 0; }
    void destroy() override { delete this; }
    void releaseGl() override;

    IUnknown* m_container;  // counts this surface's references; null for a standalone surface
    DeviceChild* m_containerChild;  // and its bindings
    TextureStorage* m_storage;
    std::unique_ptr<TextureStorage> m_ownStorage;  // standalone surfaces only
    UINT m_face;
    UINT m_level;
    ULONG m_references;  // standalone surfaces only
};
