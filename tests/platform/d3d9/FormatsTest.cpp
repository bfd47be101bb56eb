// Every format d3d9.h names, as every kind of resource: CheckDeviceFormat's
// answer agrees with what creation does, what is written through LockRect
// reads back the same in every level and face, and a render target of the
// format cleared to a colour reads that colour back.
#include "TestDevice.h"

#include <gtest/gtest.h>

#include <math.h>

#include <algorithm>
#include <string>
#include <vector>

namespace
{

struct FormatCase
{
    const char* name;
    D3DFORMAT format;
    UINT bytes;          // per pixel
    bool ignoredFourth;  // the fourth byte is X: not stored
    bool colour;         // false: depth or index
};

const FormatCase g_formats[] = {
    {"A8R8G8B8", D3DFMT_A8R8G8B8, 4, false, true},
    {"X8R8G8B8", D3DFMT_X8R8G8B8, 4, true, true},
    {"G16R16", D3DFMT_G16R16, 4, false, true},
    {"L8", D3DFMT_L8, 1, false, true},
    {"D24S8", D3DFMT_D24S8, 4, false, false},
    {"D24X8", D3DFMT_D24X8, 4, false, false},
    {"INDEX16", D3DFMT_INDEX16, 2, false, false},
    {"INDEX32", D3DFMT_INDEX32, 4, false, false},
    {"R16F", D3DFMT_R16F, 2, false, true},
    {"G16R16F", D3DFMT_G16R16F, 4, false, true},
    {"A16B16G16R16F", D3DFMT_A16B16G16R16F, 8, false, true},
    {"R32F", D3DFMT_R32F, 4, false, true},
    {"G32R32F", D3DFMT_G32R32F, 8, false, true},
    {"A32B32G32R32F", D3DFMT_A32B32G32R32F, 16, false, true},
};

enum class Kind
{
    ManagedTexture,
    DynamicTexture,
    TargetTexture,
    DepthTexture,
    ManagedCube,
    TargetCube,
    PlainSurface,
};

struct KindCase
{
    const char* name;
    Kind kind;
    DWORD usage;
    D3DRESOURCETYPE type;
};

const KindCase g_kinds[] = {
    {"managed texture", Kind::ManagedTexture, 0, D3DRTYPE_TEXTURE},
    {"dynamic texture", Kind::DynamicTexture, D3DUSAGE_DYNAMIC, D3DRTYPE_TEXTURE},
    {"render-target texture", Kind::TargetTexture, D3DUSAGE_RENDERTARGET, D3DRTYPE_TEXTURE},
    {"depth-stencil texture", Kind::DepthTexture, D3DUSAGE_DEPTHSTENCIL, D3DRTYPE_TEXTURE},
    {"managed cube texture", Kind::ManagedCube, 0, D3DRTYPE_CUBETEXTURE},
    {"render-target cube texture", Kind::TargetCube, D3DUSAGE_RENDERTARGET, D3DRTYPE_CUBETEXTURE},
    {"plain surface in system memory", Kind::PlainSurface, 0, D3DRTYPE_SURFACE},
};

const UINT g_width = 8;
const UINT g_height = 4;

// Bytes that are no NaN or infinity in any float format (every byte below
// 0x40 keeps the exponents short of all ones), different in every place.
unsigned char patternByte(UINT a_x, UINT a_byte, UINT a_y, UINT a_part)
{
    return static_cast<unsigned char>((a_x * 7 + a_byte * 3 + a_y * 13 + a_part * 5 + 1) & 0x3F);
}

// Writes the pattern through one lock, reads it back through another.
template <typename Lock, typename Unlock>
void roundTrip(const FormatCase& a_format, UINT a_width, UINT a_height, UINT a_part, Lock a_lock,
               Unlock a_unlock)
{
    D3DLOCKED_RECT locked = {};
    ASSERT_EQ(a_lock(&locked, 0), D3D_OK);
    ASSERT_NE(locked.pBits, nullptr);
    ASSERT_GE(UINT(locked.Pitch), a_width * a_format.bytes);
    for (UINT y = 0; y < a_height; ++y)
    {
        unsigned char* row = static_cast<unsigned char*>(locked.pBits) + size_t(y) * locked.Pitch;
        for (UINT x = 0; x < a_width; ++x)
            for (UINT b = 0; b < a_format.bytes; ++b)
                row[x * a_format.bytes + b] = patternByte(x, b, y, a_part);
    }
    ASSERT_EQ(a_unlock(), D3D_OK);
    ASSERT_EQ(a_lock(&locked, D3DLOCK_READONLY), D3D_OK);
    std::string wrong;
    for (UINT y = 0; y < a_height; ++y)
    {
        const unsigned char* row =
            static_cast<const unsigned char*>(locked.pBits) + size_t(y) * locked.Pitch;
        for (UINT x = 0; x < a_width; ++x)
            for (UINT b = 0; b < a_format.bytes; ++b)
                if (!(a_format.ignoredFourth && b == 3) &&
                    row[x * a_format.bytes + b] != patternByte(x, b, y, a_part) && wrong.empty())
                    wrong = "byte " + std::to_string(b) + " of (" + std::to_string(x) + ", " +
                            std::to_string(y) + ")";
    }
    ASSERT_EQ(a_unlock(), D3D_OK);
    EXPECT_EQ(wrong, "") << "part " << a_part << " reads back other bytes than were written";
}

// Creates one resource of a kind and format; D3D_OK when it was made, and
// then the lockable ones round-trip the pattern and the targets a clear.
HRESULT createAndUse(TestDevice& a_device, const KindCase& a_kind, const FormatCase& a_format)
{
    HRESULT result = E_FAIL;
    switch (a_kind.kind)
    {
    case Kind::ManagedTexture:
    case Kind::DynamicTexture:
    case Kind::TargetTexture:
    case Kind::DepthTexture:
    {
        const bool managed = a_kind.kind == Kind::ManagedTexture;
        IDirect3DTexture9* texture = nullptr;
        result = a_device->CreateTexture(
            g_width, g_height, managed ? 0 : 1, a_kind.usage, a_format.format,
            managed ? D3DPOOL_MANAGED : D3DPOOL_DEFAULT, &texture, nullptr);
        if (result != D3D_OK)
            break;
        EXPECT_NE(texture, nullptr);
        if (!texture)
            break;
        D3DSURFACE_DESC desc = {};
        EXPECT_EQ(texture->GetLevelDesc(0, &desc), D3D_OK);
        EXPECT_EQ(desc.Format, a_format.format);
        EXPECT_EQ(desc.Usage, a_kind.usage);
        if (managed || a_kind.kind == Kind::DynamicTexture)
            for (UINT level = 0; level < texture->GetLevelCount(); ++level)
            {
                SCOPED_TRACE("level " + std::to_string(level));
                roundTrip(
                    a_format, std::max(g_width >> level, 1u), std::max(g_height >> level, 1u),
                    level,
                    [&](D3DLOCKED_RECT* a_locked, DWORD a_flags) {
                        return texture->LockRect(level, a_locked, nullptr, a_flags);
                    },
                    [&] { return texture->UnlockRect(level); });
            }
        if (a_kind.kind == Kind::TargetTexture && a_format.format != D3DFMT_INDEX16 &&
            a_format.format != D3DFMT_INDEX32)
        {
            IDirect3DSurface9* surface = nullptr;
            EXPECT_EQ(texture->GetSurfaceLevel(0, &surface), D3D_OK);
            if (surface)
            {
                IDirect3DSurface9* previous = nullptr;
                a_device->GetRenderTarget(0, &previous);
                EXPECT_EQ(a_device->SetRenderTarget(0, surface), D3D_OK);
                // Grey for L8, whose one channel a colour has no single value for.
                const D3DCOLOR colour = a_format.format == D3DFMT_L8 ? 0xFF606060 : 0xC0408020;
                EXPECT_EQ(a_device->Clear(0, nullptr, D3DCLEAR_TARGET, colour, 1.0f, 0), D3D_OK);
                const std::vector<Rgba> pixels = a_device.readRgba(surface);
                const Rgba full = argb(colour);
                // Channels the format does not store are not compared.
                Rgba expected = full;
                switch (a_format.format)
                {
                case D3DFMT_X8R8G8B8:
                    expected.a = NAN;
                    break;
                case D3DFMT_L8:
                case D3DFMT_R16F:
                case D3DFMT_R32F:
                    expected = Rgba{full.r, NAN, NAN, NAN};
                    break;
                case D3DFMT_G16R16:
                case D3DFMT_G16R16F:
                case D3DFMT_G32R32F:
                    expected = Rgba{full.r, full.g, NAN, NAN};
                    break;
                default:
                    break;
                }
                EXPECT_EQ(pixels.size(), size_t(g_width) * g_height);
                if (!pixels.empty())
                {
                    expectNear(pixels.front(), expected, 1.5f / 255.0f);
                    expectNear(pixels.back(), expected, 1.5f / 255.0f);
                }
                a_device->SetRenderTarget(0, previous);
                if (previous)
                    previous->Release();
                surface->Release();
            }
        }
        texture->Release();
        break;
    }
    case Kind::ManagedCube:
    case Kind::TargetCube:
    {
        const bool managed = a_kind.kind == Kind::ManagedCube;
        IDirect3DCubeTexture9* cube = nullptr;
        result = a_device->CreateCubeTexture(g_height, 1, a_kind.usage, a_format.format,
                                             managed ? D3DPOOL_MANAGED : D3DPOOL_DEFAULT, &cube,
                                             nullptr);
        if (result != D3D_OK)
            break;
        EXPECT_NE(cube, nullptr);
        if (!cube)
            break;
        for (UINT face = 0; managed && face < 6; ++face)
        {
            SCOPED_TRACE("face " + std::to_string(face));
            const D3DCUBEMAP_FACES which = D3DCUBEMAP_FACES(face);
            roundTrip(
                a_format, g_height, g_height, face,
                [&](D3DLOCKED_RECT* a_locked, DWORD a_flags) {
                    return cube->LockRect(which, 0, a_locked, nullptr, a_flags);
                },
                [&] { return cube->UnlockRect(which, 0); });
        }
        cube->Release();
        break;
    }
    case Kind::PlainSurface:
    {
        IDirect3DSurface9* surface = nullptr;
        result = a_device->CreateOffscreenPlainSurface(g_width, g_height, a_format.format,
                                                       D3DPOOL_SYSTEMMEM, &surface, nullptr);
        if (result != D3D_OK)
            break;
        EXPECT_NE(surface, nullptr);
        if (!surface)
            break;
        roundTrip(
            a_format, g_width, g_height, 0,
            [&](D3DLOCKED_RECT* a_locked, DWORD a_flags) {
                return surface->LockRect(a_locked, nullptr, a_flags);
            },
            [&] { return surface->UnlockRect(); });
        surface->Release();
        break;
    }
    }
    return result;
}

// Whether CheckDeviceFormat and creation agree for every kind of a_format;
// the kinds made, by name.
std::vector<std::string> madeKinds(TestDevice& a_device, IDirect3D9* a_d3d,
                                   const FormatCase& a_format)
{
    std::vector<std::string> made;
    for (const KindCase& kind : g_kinds)
    {
        SCOPED_TRACE(std::string(a_format.name) + " as " + kind.name);
        const HRESULT offered =
            a_d3d->CheckDeviceFormat(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8,
                                     kind.usage, kind.type, a_format.format);
        EXPECT_TRUE(offered == D3D_OK || offered == D3DERR_NOTAVAILABLE) << offered;
        const HRESULT result = createAndUse(a_device, kind, a_format);
        EXPECT_EQ(result == D3D_OK, offered == D3D_OK)
            << "CheckDeviceFormat " << offered << ", creation " << result;
        if (result == D3D_OK)
            made.push_back(kind.name);
    }
    return made;
}

}  // namespace

// D3D9 answers CheckDeviceFormat for the adapter's display format; a device
// on that display makes exactly what the answers allow. Every colour format
// of d3d9.h is a texture, a dynamic texture, a render target, a cube of
// both kinds and a plain surface, and none a depth-stencil texture.
TEST(Formats, ColourFormatsAreEveryKindOfResourceAndHoldWhatIsWritten)
{
    TestDevice device(16, 16);
    IDirect3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
    ASSERT_NE(d3d, nullptr);
    const std::vector<std::string> all = {"managed texture",
                                          "dynamic texture",
                                          "render-target texture",
                                          "managed cube texture",
                                          "render-target cube texture",
                                          "plain surface in system memory"};
    for (const FormatCase& format : g_formats)
        if (format.colour)
        {
            SCOPED_TRACE(format.name);
            EXPECT_EQ(madeKinds(device, d3d, format), all);
        }
    d3d->Release();
}

// D24S8 and D24X8 are not lockable (only D16_LOCKABLE is, which d3d9.h
// does not name), so they are depth-stencil textures and nothing else; an
// index format is no pixel format at all.
TEST(Formats, DepthAndIndexFormatsAreOnlyWhatTheyAreFor)
{
    TestDevice device(16, 16);
    IDirect3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
    ASSERT_NE(d3d, nullptr);
    for (const FormatCase& format : g_formats)
        if (!format.colour)
        {
            SCOPED_TRACE(format.name);
            const bool depth = format.format == D3DFMT_D24S8 || format.format == D3DFMT_D24X8;
            EXPECT_EQ(madeKinds(device, d3d, format),
                      depth ? std::vector<std::string>{"depth-stencil texture"}
                            : std::vector<std::string>{});
        }
    d3d->Release();
}
