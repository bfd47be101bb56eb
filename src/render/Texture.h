// An image texture made from a JPEG file of the archive, with alpha from an
// optional companion JPEG: for name.jpg, name_alpha.jpg.
#pragma once

#include "core/ReturnCode.h"

#include <d3d9.h>

#include <memory>

class Renderer;
struct Image;

class Texture
{
public:
    // A ready texture, or null when readImages fails (after its message) or
    // the device cannot make or fill the texture (silently). Names run from 4
    // to 253 characters, the last four being the extension.
    static Texture* load(const char* a_name, Renderer* a_renderer);
    // The device-free half of load: the picture of a_name and its alpha
    // companion (a_alpha null when there is none), decoded and checked
    // against each other. False after one message naming the file at fault:
    // the file system's for a file that cannot be read, ours for one that is
    // not a whole JPEG or a companion of another size.
    static bool readImages(const char* a_name, std::unique_ptr<Image>& a_colour,
                           std::unique_ptr<Image>& a_alpha);
    ~Texture();
    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;

    // Makes this the texture of sampler stage a_stage.
    void bind(DWORD a_stage);

    IDirect3DTexture9* m_texture = nullptr;  // A8R8G8B8, default pool, automatic mip-maps
    Renderer* m_renderer = nullptr;          // not owned
    // Every texel of every level holds the same colour and alpha (the null
    // textures): any filter reads exactly that, so a point read will do.
    bool m_uniform = false;

private:
    Texture() = default;
    ReturnCode create(const Image& a_colour, const Image* a_alpha);
};
