// An image texture made from a JPEG file of the archive, with alpha from an
// optional companion JPEG: for name.jpg, name_alpha.jpg.
#pragma once

#include "app/ReturnCode.h"

#include <d3d9.h>

class Renderer;
struct Image;

class Texture
{
public:
    // A ready texture, or null when the file is missing (after the file
    // system's message) or the device cannot make or fill the texture
    // (silently). A file or companion that is not a decodable JPEG fails an
    // assertion. Names run from 4 to 253 characters, the last four being the
    // extension.
    static Texture* load(const char* a_name, Renderer* a_renderer);
    ~Texture();
    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;

    // Makes this the texture of sampler stage a_stage.
    void bind(DWORD a_stage);

    IDirect3DTexture9* m_texture = nullptr;  // A8R8G8B8, default pool, automatic mip-maps
    Renderer* m_renderer = nullptr;          // not owned

private:
    Texture() = default;
    ReturnCode create(const Image& a_colour, const Image* a_alpha);
};
