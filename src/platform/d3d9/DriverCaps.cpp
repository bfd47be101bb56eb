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

void fill(D3DCAPS9* a_caps)
{
    GLint drawBuffers = 0;
    GLint colorAttachments = 0;
    GLint textureSize = 0;
    glGetIntegerv(GL_MAX_DRAW_BUFFERS, &drawBuffers);
    glGetIntegerv(GL_MAX_COLOR_ATTACHMENTS, &colorAttachments);
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &textureSize);
    *a_caps = D3DCAPS9{};
    a_caps->DeviceType = D3DDEVTYPE_HAL;
    a_caps->AdapterOrdinal = D3DADAPTER_DEFAULT;
    a_caps->MaxTextureWidth = static_cast<DWORD>(textureSize);
    a_caps->MaxTextureHeight = static_cast<DWORD>(textureSize);
    a_caps->VertexShaderVersion = D3DVS_VERSION(3, 0);
    a_caps->MaxVertexShaderConst = 256;
    a_caps->PixelShaderVersion = D3DPS_VERSION(3, 0);
    a_caps->NumSimultaneousRTs =
        static_cast<DWORD>(std::min({drawBuffers, colorAttachments, g_maxRenderTargets}));
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

void DriverCaps::limit(DWORD a_vertexShaderVersion, DWORD a_pixelShaderVersion, DWORD a_renderTargets)
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
