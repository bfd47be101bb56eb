// D3DCAPS9 as the GL driver supports it.
#include "DriverCaps.h"

#include "Gl.h"
#include "SdlVideo.h"

#include <SDL.h>

#include <algorithm>

namespace
{

// D3D9 allows at most four simultaneous render targets
// (D3D_MAX_SIMULTANEOUS_RENDERTARGETS), whatever the driver could do.
const GLint g_maxRenderTargets = 4;

// What the layer does on any OpenGL 4.5 driver, in D3DCAPS9's terms: textures
// of any size (no power-of-two rule), mipmaps and cube maps, the compare and
// blend functions of the GlEnums tables, four targets with blending and
// their own formats, shader model 3.0.
void fill(D3DCAPS9* a_caps)
{
    GLint drawBuffers = 0;
    GLint colorAttachments = 0;
    GLint textureSize = 0;
    GLint anisotropy = 1;
    glGetIntegerv(GL_MAX_DRAW_BUFFERS, &drawBuffers);
    glGetIntegerv(GL_MAX_COLOR_ATTACHMENTS, &colorAttachments);
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &textureSize);
    glGetIntegerv(GL_MAX_TEXTURE_MAX_ANISOTROPY, &anisotropy);
    *a_caps = D3DCAPS9{};
    a_caps->DeviceType = D3DDEVTYPE_HAL;
    a_caps->AdapterOrdinal = D3DADAPTER_DEFAULT;
    a_caps->Caps2 = D3DCAPS2_DYNAMICTEXTURES | D3DCAPS2_CANAUTOGENMIPMAP;
    a_caps->PresentationIntervals = D3DPRESENT_INTERVAL_ONE | D3DPRESENT_INTERVAL_IMMEDIATE;
    a_caps->DevCaps = D3DDEVCAPS_EXECUTESYSTEMMEMORY | D3DDEVCAPS_TLVERTEXSYSTEMMEMORY |
                      D3DDEVCAPS_TEXTUREVIDEOMEMORY | D3DDEVCAPS_DRAWPRIMTLVERTEX |
                      D3DDEVCAPS_CANRENDERAFTERFLIP | D3DDEVCAPS_DRAWPRIMITIVES2 |
                      D3DDEVCAPS_DRAWPRIMITIVES2EX | D3DDEVCAPS_HWTRANSFORMANDLIGHT |
                      D3DDEVCAPS_HWRASTERIZATION;
    a_caps->PrimitiveMiscCaps = D3DPMISCCAPS_MASKZ | D3DPMISCCAPS_CULLNONE | D3DPMISCCAPS_CULLCW |
                                D3DPMISCCAPS_CULLCCW | D3DPMISCCAPS_COLORWRITEENABLE |
                                D3DPMISCCAPS_BLENDOP | D3DPMISCCAPS_MRTINDEPENDENTBITDEPTHS |
                                D3DPMISCCAPS_MRTPOSTPIXELSHADERBLENDING;
    a_caps->RasterCaps = D3DPRASTERCAPS_ZTEST | D3DPRASTERCAPS_SCISSORTEST;
    a_caps->ZCmpCaps = D3DPCMPCAPS_NEVER | D3DPCMPCAPS_LESS | D3DPCMPCAPS_EQUAL |
                       D3DPCMPCAPS_LESSEQUAL | D3DPCMPCAPS_GREATER | D3DPCMPCAPS_NOTEQUAL |
                       D3DPCMPCAPS_GREATEREQUAL | D3DPCMPCAPS_ALWAYS;
    a_caps->AlphaCmpCaps = a_caps->ZCmpCaps;
    a_caps->SrcBlendCaps = D3DPBLENDCAPS_ZERO | D3DPBLENDCAPS_ONE | D3DPBLENDCAPS_SRCCOLOR |
                           D3DPBLENDCAPS_INVSRCCOLOR | D3DPBLENDCAPS_SRCALPHA |
                           D3DPBLENDCAPS_INVSRCALPHA | D3DPBLENDCAPS_DESTALPHA |
                           D3DPBLENDCAPS_INVDESTALPHA | D3DPBLENDCAPS_DESTCOLOR |
                           D3DPBLENDCAPS_INVDESTCOLOR;
    a_caps->DestBlendCaps = a_caps->SrcBlendCaps;
    a_caps->TextureCaps = D3DPTEXTURECAPS_PERSPECTIVE | D3DPTEXTURECAPS_ALPHA |
                          D3DPTEXTURECAPS_CUBEMAP | D3DPTEXTURECAPS_MIPMAP |
                          D3DPTEXTURECAPS_MIPCUBEMAP;
    a_caps->TextureFilterCaps = D3DPTFILTERCAPS_MINFPOINT | D3DPTFILTERCAPS_MINFLINEAR |
                                D3DPTFILTERCAPS_MIPFPOINT | D3DPTFILTERCAPS_MIPFLINEAR |
                                D3DPTFILTERCAPS_MAGFPOINT | D3DPTFILTERCAPS_MAGFLINEAR;
    a_caps->CubeTextureFilterCaps = a_caps->TextureFilterCaps;
    a_caps->TextureAddressCaps = D3DPTADDRESSCAPS_WRAP | D3DPTADDRESSCAPS_MIRROR |
                                 D3DPTADDRESSCAPS_CLAMP | D3DPTADDRESSCAPS_BORDER |
                                 D3DPTADDRESSCAPS_INDEPENDENTUV | D3DPTADDRESSCAPS_MIRRORONCE;
    a_caps->MaxTextureWidth = static_cast<DWORD>(textureSize);
    a_caps->MaxTextureHeight = static_cast<DWORD>(textureSize);
    a_caps->MaxTextureRepeat = 8192;
    a_caps->MaxTextureAspectRatio = static_cast<DWORD>(textureSize);
    a_caps->MaxAnisotropy = static_cast<DWORD>(std::max(anisotropy, 1));
    a_caps->MaxVertexW = 1e10f;
    // Pre-transformed vertices are clipped, not guarded: no band beyond the target.
    a_caps->GuardBandLeft = -1.0f;
    a_caps->GuardBandTop = -1.0f;
    a_caps->GuardBandRight = 1.0f;
    a_caps->GuardBandBottom = 1.0f;
    a_caps->FVFCaps = 8;  // texture coordinate sets, in D3DFVFCAPS_TEXCOORDCOUNTMASK
    a_caps->TextureOpCaps = D3DTEXOPCAPS_DISABLE | D3DTEXOPCAPS_SELECTARG1 |
                            D3DTEXOPCAPS_SELECTARG2 | D3DTEXOPCAPS_MODULATE;
    // The fixed-function path blends stage 0 alone (see QUIRKS.md).
    a_caps->MaxTextureBlendStages = 1;
    a_caps->MaxSimultaneousTextures = 1;
    a_caps->MaxPointSize = 1.0f;
    a_caps->MaxPrimitiveCount = 0xFFFFF;
    a_caps->MaxVertexIndex = 0xFFFFFF;
    a_caps->MaxStreams = 1;  // stream 0 only
    a_caps->MaxStreamStride = 255;
    a_caps->VertexShaderVersion = D3DVS_VERSION(3, 0);
    a_caps->MaxVertexShaderConst = 256;
    a_caps->PixelShaderVersion = D3DPS_VERSION(3, 0);
    a_caps->PixelShader1xMaxValue = 1.0f;
    a_caps->NumberOfAdaptersInGroup = 1;
    a_caps->NumSimultaneousRTs =
        static_cast<DWORD>(std::min({drawBuffers, colorAttachments, g_maxRenderTargets}));
    a_caps->VS20Caps = D3DVSHADERCAPS2_0{0, 24, 32, 4};
    a_caps->PS20Caps = D3DPSHADERCAPS2_0{0, 24, 32, 4, 512};
    a_caps->MaxVShaderInstructionsExecuted = 65535;
    a_caps->MaxPShaderInstructionsExecuted = 65535;
    a_caps->MaxVertexShader30InstructionSlots = 32768;
    a_caps->MaxPixelShader30InstructionSlots = 32768;
}

}  // namespace

void DriverCaps::requestContext()
{
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 4);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 5);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
}

namespace
{

struct Limit
{
    DWORD vertexShaderVersion = 0;
    DWORD pixelShaderVersion = 0;
    DWORD renderTargets = 0;
};

Limit g_limit;

void applyLimit(D3DCAPS9* a_caps)
{
    if (g_limit.vertexShaderVersion && a_caps->VertexShaderVersion > g_limit.vertexShaderVersion)
        a_caps->VertexShaderVersion = g_limit.vertexShaderVersion;
    if (g_limit.pixelShaderVersion && a_caps->PixelShaderVersion > g_limit.pixelShaderVersion)
        a_caps->PixelShaderVersion = g_limit.pixelShaderVersion;
    if (g_limit.renderTargets && a_caps->NumSimultaneousRTs > g_limit.renderTargets)
        a_caps->NumSimultaneousRTs = g_limit.renderTargets;
}

}

void DriverCaps::limit(DWORD a_vertexShaderVersion, DWORD a_pixelShaderVersion,
                       DWORD a_renderTargets)
{
    g_limit = Limit{a_vertexShaderVersion, a_pixelShaderVersion, a_renderTargets};
}

bool DriverCaps::read(D3DCAPS9* a_caps)
{
    if (SDL_GL_GetCurrentContext())
    {
        fill(a_caps);
        applyLimit(a_caps);
        return true;
    }
    if (!SdlVideo::start())
        return false;
    requestContext();
    SDL_Window* window =
        SDL_CreateWindow("caps", 0, 0, 16, 16, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (!window)
        return false;
    SDL_GLContext context = SDL_GL_CreateContext(window);
    if (context)
    {
        fill(a_caps);
        applyLimit(a_caps);
        SDL_GL_MakeCurrent(window, nullptr);
        SDL_GL_DeleteContext(context);
    }
    SDL_DestroyWindow(window);
    return context != nullptr;
}
