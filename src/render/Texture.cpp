// Texture loading: the colour file, its alpha companion, and every level the
// device reports filled by the integer box filter.
#include "render/Texture.h"

#include "core/FatalError.h"
#include "archive/FileSystem.h"
#include "core/Assert.h"
#include "render/BoxFilter.h"
#include "render/Image.h"
#include "render/JpegDecoder.h"
#include "render/Renderer.h"

#include <d3dx9.h>

#include <string.h>

#include <new>
#include <utility>

namespace
{

// The companion's name is built in a buffer of Windows' MAX_PATH bytes, so a
// name may have at most 260 - 1 - 10 + 4 = 253 characters.
constexpr size_t kNameBufferSize = 260;
const char kAlphaSuffix[] = "_alpha.jpg";
constexpr size_t kExtensionLength = 4;
constexpr size_t kMaxNameLength = kNameBufferSize - sizeof(kAlphaSuffix) + kExtensionLength;
// Worded like the file system's messages, after the file's name.
const char kUndecodable[] = "File is not a whole JPEG image.";

}

// Names come from the program and its scene files; one outside the limits is
// a fault of either, refused by an assertion before anything is read. The
// files' contents are data, which may be damaged: readImages refuses them
// with a message.
Texture* Texture::load(const char* a_name, Renderer* a_renderer)
{
    std::unique_ptr<Image> image;
    std::unique_ptr<Image> alphaImage;
    if (!readImages(a_name, image, alphaImage))
        return nullptr;

    Texture* texture = new (std::nothrow) Texture();
    TARVO_ASSERT(texture);
    texture->m_renderer = a_renderer;
    ReturnCode created = texture->create(*image, alphaImage.get());
    if (created.failed())
    {
        delete texture;
        return nullptr;
    }
    return texture;
}

bool Texture::readImages(const char* a_name, std::unique_ptr<Image>& a_colour,
                         std::unique_ptr<Image>& a_alpha)
{
    const size_t nameLength = a_name ? strlen(a_name) : 0;
    TARVO_ASSERT(nameLength >= kExtensionLength && nameLength <= kMaxNameLength);
    File file;
    ReturnCode read = FileSystem::readFile(a_name, file);
    if (read.failed())
        return false;
    std::unique_ptr<Image> colour = decodeJpeg(file.m_data, file.m_size);
    if (!colour)
    {
        fatalError(a_name, kUndecodable);
        return false;
    }

    // The last four characters go whatever they are: "spot.jpg" and
    // "spot.png" alike give "spot_alpha.jpg".
    char alphaName[kNameBufferSize] = {};
    memcpy(alphaName, a_name, nameLength - kExtensionLength);
    memcpy(alphaName + nameLength - kExtensionLength, kAlphaSuffix, sizeof(kAlphaSuffix));
    std::unique_ptr<Image> alpha;
    if (FileSystem::fileExists(alphaName))
    {
        File alphaFile;
        ReturnCode alphaRead = FileSystem::readFile(alphaName, alphaFile);
        if (alphaRead.failed())
            return false;
        alpha = decodeJpeg(alphaFile.m_data, alphaFile.m_size);
        if (!alpha)
        {
            fatalError(alphaName, kUndecodable);
            return false;
        }
        // The box filter takes alpha pixel for pixel from the companion.
        if (alpha->width != colour->width || alpha->height != colour->height)
        {
            fatalError(alphaName, "Alpha image is not the size of its colour image.");
            return false;
        }
    }
    a_colour = std::move(colour);
    a_alpha = std::move(alpha);
    return true;
}

Texture::~Texture()
{
    if (m_texture)
    {
        m_texture->Release();
        m_texture = nullptr;
    }
}

void Texture::bind(DWORD a_stage)
{
    m_renderer->device()->SetTexture(a_stage, m_texture);
}

// True when every pixel of a_image equals its first.
static bool uniform(const Image& a_image)
{
    const size_t count = size_t(a_image.width) * size_t(a_image.height);
    const uint32_t* pixels = a_image.pixels.get();
    for (size_t i = 1; i < count; ++i)
        if (pixels[i] != pixels[0])
            return false;
    return true;
}

// With D3DUSAGE_AUTOGENMIPMAP the device reports one level and builds the
// smaller ones from it; a device that reports more gets each of them from the
// box filter. A level that cannot be locked or unlocked fails the texture
// rather than leave its contents undefined. Direct3D 9 locks a texture of
// D3DPOOL_DEFAULT only when it is dynamic (D3DUSAGE_DYNAMIC); without it
// every LockRect fails and no texture could be filled.
ReturnCode Texture::create(const Image& a_colour, const Image* a_alpha)
{
    // The box filter's mean of equal texels is that texel, so the levels stay uniform too.
    m_uniform = uniform(a_colour) && (!a_alpha || uniform(*a_alpha));
    IDirect3DDevice9* device = m_renderer->device();
    if (FAILED(D3DXCreateTexture(device, UINT(a_colour.width), UINT(a_colour.height), 0,
                                 D3DUSAGE_DYNAMIC | D3DUSAGE_AUTOGENMIPMAP, D3DFMT_A8R8G8B8,
                                 D3DPOOL_DEFAULT, &m_texture)))
    {
        m_texture = nullptr;
        return ReturnCode(ReturnCode::kFailure);
    }
    for (DWORD level = 0; level < m_texture->GetLevelCount(); ++level)
    {
        D3DSURFACE_DESC description;
        D3DLOCKED_RECT locked;
        if (FAILED(m_texture->GetLevelDesc(level, &description)) ||
            FAILED(m_texture->LockRect(level, &locked, nullptr, 0)))
            return ReturnCode(ReturnCode::kFailure);
        boxFilter(a_colour, a_alpha, level, static_cast<uint8_t*>(locked.pBits), locked.Pitch,
                  description.Width, description.Height);
        if (FAILED(m_texture->UnlockRect(level)))
            return ReturnCode(ReturnCode::kFailure);
    }
    return ReturnCode(ReturnCode::kSuccess);
}
