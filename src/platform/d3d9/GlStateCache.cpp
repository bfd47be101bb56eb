// GL's state as the device last set it.
#include "GlStateCache.h"

#include "core/Assert.h"

namespace GlStateCacheSwitch
{
bool g_bypass = false;
}

void GlStateCache::setBypass(bool a_bypass)
{
    GlStateCacheSwitch::g_bypass = a_bypass;
}
bool GlStateCache::bypass()
{
    return GlStateCacheSwitch::g_bypass;
}

void GlStateCache::invalidate()
{
    for (int& enabled : m_enabled)
        enabled = Unknown;
    m_depthMask = Unknown;
    m_depthFunc = Unknown;
    m_blendSource = Unknown;
    m_blendDestination = Unknown;
    m_blendEquation = Unknown;
    m_cullFace = Unknown;
    m_colorMask = Unknown;
    for (GLint& value : m_viewport)
        value = Unknown;
    m_depthRange[0] = m_depthRange[1] = -1.0f;
    for (GLint& value : m_scissor)
        value = Unknown;
    m_program = Unknown;
    m_framebuffer = Unknown;
    m_clampVertex = Unknown;
    m_clampFragment = Unknown;
    for (GLint& texture : m_textures)
        texture = Unknown;
    for (GLint& sampler : m_samplers)
        sampler = Unknown;
    for (Sampler& sampler : m_samplerParameters)
        sampler = Sampler();
}

namespace
{

// True when the cached value differs (or the cache is off); stores the value.
template <typename T>
bool changes(T& a_cached, T a_value)
{
    if (!GlStateCache::bypass() && a_cached == a_value)
        return false;
    a_cached = a_value;
    return true;
}

}  // namespace

void GlStateCache::enable(GLenum a_capability, bool a_enabled)
{
    int index = 0;
    switch (a_capability)
    {
    case GL_DEPTH_TEST:
        index = DepthTest;
        break;
    case GL_BLEND:
        index = Blend;
        break;
    case GL_CULL_FACE:
        index = CullFace;
        break;
    case GL_SCISSOR_TEST:
        index = ScissorTest;
        break;
    default:
        TARVO_ASSERT(false && "capability the cache knows");
    }
    if (!changes(m_enabled[index], a_enabled ? 1 : 0))
        return;
    if (a_enabled)
        glEnable(a_capability);
    else
        glDisable(a_capability);
}

void GlStateCache::depthMask(bool a_write)
{
    if (changes(m_depthMask, a_write ? 1 : 0))
        glDepthMask(a_write ? GL_TRUE : GL_FALSE);
}

void GlStateCache::depthFunc(GLenum a_function)
{
    if (changes(m_depthFunc, static_cast<GLint>(a_function)))
        glDepthFunc(a_function);
}

void GlStateCache::blendFunc(GLenum a_source, GLenum a_destination)
{
    const bool source = changes(m_blendSource, static_cast<GLint>(a_source));
    const bool destination = changes(m_blendDestination, static_cast<GLint>(a_destination));
    if (source || destination)
        glBlendFunc(a_source, a_destination);
}

void GlStateCache::blendEquation(GLenum a_equation)
{
    if (changes(m_blendEquation, static_cast<GLint>(a_equation)))
        glBlendEquation(a_equation);
}

void GlStateCache::cullFace(GLenum a_face)
{
    if (changes(m_cullFace, static_cast<GLint>(a_face)))
        glCullFace(a_face);
}

void GlStateCache::colorMask(unsigned a_rgbaBits)
{
    if (changes(m_colorMask, static_cast<int>(a_rgbaBits & 0xF)))
        glColorMask((a_rgbaBits & 1) ? GL_TRUE : GL_FALSE, (a_rgbaBits & 2) ? GL_TRUE : GL_FALSE,
                    (a_rgbaBits & 4) ? GL_TRUE : GL_FALSE, (a_rgbaBits & 8) ? GL_TRUE : GL_FALSE);
}

void GlStateCache::viewport(GLint a_x, GLint a_y, GLsizei a_width, GLsizei a_height)
{
    const bool x = changes(m_viewport[0], a_x);
    const bool y = changes(m_viewport[1], a_y);
    const bool width = changes(m_viewport[2], static_cast<GLint>(a_width));
    const bool height = changes(m_viewport[3], static_cast<GLint>(a_height));
    if (x || y || width || height)
        glViewport(a_x, a_y, a_width, a_height);
}

void GlStateCache::depthRange(float a_near, float a_far)
{
    const bool nearChanged = changes(m_depthRange[0], a_near);
    const bool farChanged = changes(m_depthRange[1], a_far);
    if (nearChanged || farChanged)
        glDepthRangef(a_near, a_far);
}

void GlStateCache::scissor(GLint a_x, GLint a_y, GLsizei a_width, GLsizei a_height)
{
    const bool x = changes(m_scissor[0], a_x);
    const bool y = changes(m_scissor[1], a_y);
    const bool width = changes(m_scissor[2], static_cast<GLint>(a_width));
    const bool height = changes(m_scissor[3], static_cast<GLint>(a_height));
    if (x || y || width || height)
        glScissor(a_x, a_y, a_width, a_height);
}

void GlStateCache::useProgram(GLuint a_program)
{
    if (changes(m_program, static_cast<GLint>(a_program)))
        glUseProgram(a_program);
}

void GlStateCache::bindDrawFramebuffer(GLuint a_framebuffer)
{
    if (changes(m_framebuffer, static_cast<GLint>(a_framebuffer)))
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, a_framebuffer);
}

void GlStateCache::clampColors(bool a_vertex, bool a_fragment)
{
    if (changes(m_clampVertex, a_vertex ? 1 : 0))
        glClampColor(GL_CLAMP_VERTEX_COLOR, a_vertex ? GL_TRUE : GL_FALSE);
    if (changes(m_clampFragment, a_fragment ? 1 : 0))
        glClampColor(GL_CLAMP_FRAGMENT_COLOR, a_fragment ? GL_TRUE : GL_FALSE);
}

void GlStateCache::bindTexture(GLuint a_unit, GLuint a_texture)
{
    TARVO_ASSERT(a_unit < Units);
    if (!changes(m_textures[a_unit], static_cast<GLint>(a_texture)))
        return;
    glBindTextures(a_unit, 1, nullptr);
    if (a_texture)
        glBindTextureUnit(a_unit, a_texture);
}

void GlStateCache::bindSampler(GLuint a_unit, GLuint a_sampler)
{
    TARVO_ASSERT(a_unit < Units);
    if (changes(m_samplers[a_unit], static_cast<GLint>(a_sampler)))
        glBindSampler(a_unit, a_sampler);
}

GlStateCache::Sampler& GlStateCache::sampler(GLuint a_sampler)
{
    if (a_sampler < SamplerNames)
        return m_samplerParameters[a_sampler];
    m_uncached = Sampler();
    return m_uncached;
}

void GlStateCache::samplerParameter(GLuint a_sampler, GLenum a_parameter, GLint a_value)
{
    Sampler& cached = sampler(a_sampler);
    GLint* slot = nullptr;
    switch (a_parameter)
    {
    case GL_TEXTURE_WRAP_S:
        slot = &cached.wraps[0];
        break;
    case GL_TEXTURE_WRAP_T:
        slot = &cached.wraps[1];
        break;
    case GL_TEXTURE_WRAP_R:
        slot = &cached.wraps[2];
        break;
    case GL_TEXTURE_MAG_FILTER:
        slot = &cached.magFilter;
        break;
    case GL_TEXTURE_MIN_FILTER:
        slot = &cached.minFilter;
        break;
    default:
        TARVO_ASSERT(false && "sampler parameter the cache knows");
        return;
    }
    if (changes(*slot, a_value))
        glSamplerParameteri(a_sampler, a_parameter, a_value);
}

void GlStateCache::samplerBorderColor(GLuint a_sampler, const float a_color[4])
{
    float* cached = sampler(a_sampler).borderColor;
    bool changed = false;
    for (int i = 0; i < 4; ++i)
        changed = changes(cached[i], a_color[i]) || changed;
    if (changed)
        glSamplerParameterfv(a_sampler, GL_TEXTURE_BORDER_COLOR, a_color);
}

void GlStateCache::textureDeleted(GLuint a_texture)
{
    for (GLint& texture : m_textures)
        if (texture == static_cast<GLint>(a_texture))
            texture = 0;
}
