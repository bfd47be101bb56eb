// Stage textures and sampler states carried to GL at draw time.
#include "TextureUnits.h"

#include "GlEnums.h"
#include "GlStateCache.h"
#include "TextureStorage.h"

#include <initializer_list>

static_assert(TextureUnits::Units <= GlStateCache::Units, "the cache keeps every unit");

void TextureUnits::createGl()
{
    glCreateSamplers(Units, m_samplers);
    glCreateSamplers(Units, m_singleLevelSamplers);
    glCreateSamplers(Units, m_cubeSamplers);
    for (unsigned unit = 0; unit < Units; ++unit)
        for (GLenum wrap : {GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T, GL_TEXTURE_WRAP_R})
            glSamplerParameteri(m_cubeSamplers[unit], wrap, GL_CLAMP_TO_EDGE);
}

void TextureUnits::releaseGl()
{
    glDeleteSamplers(Units, m_samplers);
    glDeleteSamplers(Units, m_singleLevelSamplers);
    glDeleteSamplers(Units, m_cubeSamplers);
}

void TextureUnits::apply(DeviceState& a_state, GlStateCache& a_gl) const
{
    DeviceState::Changes& changes = a_state.changes();
    for (unsigned index = 0; (changes.textures | changes.samplers) != 0; ++index)
    {
        const unsigned bit = 1u << index;
        if (changes.samplers & bit)
        {
            unsigned& states = changes.samplerStates[index];
            for (DWORD type = D3DSAMP_ADDRESSU; states != 0 && type < DeviceState::SamplerStates;
                 ++type)
                if (states & (1u << type))
                    applyState(index, a_state.samplerStates(index), type, a_gl);
            states = 0;
            changes.samplers &= ~bit;
        }
        if (!(changes.textures & bit))
            continue;
        changes.textures &= ~bit;
        const TextureStorage* storage = a_state.textureStorage(index);
        a_gl.bindTexture(index, storage ? storage->name() : 0);
        GLuint sampler = m_samplers[index];
        if (storage && storage->target() == GL_TEXTURE_CUBE_MAP)
            sampler = m_cubeSamplers[index];
        else if (storage && storage->singleLevel())
            sampler = m_singleLevelSamplers[index];
        a_gl.bindSampler(index, sampler);
    }
}

// One sampler state into the unit's sampler objects (the cube one keeps its
// wrap modes, the single-level one drops the mip filter); a value the tables
// have no row for leaves GL as it was.
void TextureUnits::applyState(unsigned a_unit, const DWORD* a_states, DWORD a_type,
                              GlStateCache& a_gl) const
{
    const DWORD value = a_states[a_type];
    for (const GLuint sampler :
         {m_samplers[a_unit], m_singleLevelSamplers[a_unit], m_cubeSamplers[a_unit]})
        switch (a_type)
        {
        case D3DSAMP_ADDRESSU:
        case D3DSAMP_ADDRESSV:
        case D3DSAMP_ADDRESSW:
        {
            static const GLenum g_wraps[] = {GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T,
                                             GL_TEXTURE_WRAP_R};
            const GLenum mode = GlEnums::address(value);
            if (mode != GlEnums::None && sampler != m_cubeSamplers[a_unit])
                a_gl.samplerParameter(sampler, g_wraps[a_type - D3DSAMP_ADDRESSU], GLint(mode));
            break;
        }
        case D3DSAMP_BORDERCOLOR:
        {
            float color[4];
            GlEnums::color(value, color);
            a_gl.samplerBorderColor(sampler, color);
            break;
        }
        case D3DSAMP_MAGFILTER:
        {
            const GLenum filter = GlEnums::magFilter(value);
            if (filter != GlEnums::None)
                a_gl.samplerParameter(sampler, GL_TEXTURE_MAG_FILTER, GLint(filter));
            break;
        }
        case D3DSAMP_MINFILTER:
        case D3DSAMP_MIPFILTER:
        {
            const DWORD mip = sampler == m_singleLevelSamplers[a_unit]
                                  ? DWORD(D3DTEXF_NONE)
                                  : a_states[D3DSAMP_MIPFILTER];
            const GLenum filter = GlEnums::minFilter(a_states[D3DSAMP_MINFILTER], mip);
            if (filter != GlEnums::None)
                a_gl.samplerParameter(sampler, GL_TEXTURE_MIN_FILTER, GLint(filter));
            break;
        }
        default:
            break;
        }
}
