// Stage textures and sampler states carried to GL at draw time.
#include "TextureUnits.h"

#include "GlEnums.h"
#include "GlStateCache.h"

#include <initializer_list>

void TextureUnits::createGl()
{
    glCreateSamplers(Units, m_samplers);
    glCreateSamplers(Units, m_cubeSamplers);
    for (unsigned unit = 0; unit < Units; ++unit)
    {
        for (GLenum wrap : {GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T, GL_TEXTURE_WRAP_R})
            glSamplerParameteri(m_cubeSamplers[unit], wrap, GL_CLAMP_TO_EDGE);
        m_units[unit].bindingDirty = true;
        m_units[unit].samplerUnbound = true;
        m_units[unit].statesDirty = (1u << States) - 1;
    }
    m_dirtyUnits = (1u << Units) - 1;
}

void TextureUnits::releaseGl()
{
    glDeleteSamplers(Units, m_samplers);
    glDeleteSamplers(Units, m_cubeSamplers);
}

void TextureUnits::setTexture(unsigned a_unit, GLuint a_name, GLenum a_target)
{
    Unit& unit = m_units[a_unit];
    if (unit.name == a_name && unit.target == a_target && !GlStateCache::bypass())
        return;
    unit.name = a_name;
    unit.target = a_target;
    unit.bindingDirty = true;
    m_dirtyUnits |= 1u << a_unit;
}

void TextureUnits::samplerStateChanged(unsigned a_unit, DWORD a_type)
{
    m_units[a_unit].statesDirty |= 1u << a_type;
    m_dirtyUnits |= 1u << a_unit;
}

// Each change reaches GL once, at the next draw; with the cache bypassed a
// texture set again is bound again even when it is the one bound.
void TextureUnits::apply()
{
    for (unsigned index = 0; m_dirtyUnits != 0; ++index)
    {
        if (!(m_dirtyUnits & (1u << index)))
            continue;
        m_dirtyUnits &= ~(1u << index);
        Unit& unit = m_units[index];
        for (DWORD type = D3DSAMP_ADDRESSU; unit.statesDirty != 0 && type < States; ++type)
            if (unit.statesDirty & (1u << type))
                applyState(index, type);
        unit.statesDirty = 0;
        if (!unit.bindingDirty)
            continue;
        // A unit holds one texture for all its targets, as a D3D9 stage does.
        glBindTextures(index, 1, nullptr);
        if (unit.name)
            glBindTextureUnit(index, unit.name);
        const bool cube = unit.target == GL_TEXTURE_CUBE_MAP;
        if (cube != unit.cubeSamplerBound || unit.samplerUnbound || GlStateCache::bypass())
            glBindSampler(index, cube ? m_cubeSamplers[index] : m_samplers[index]);
        unit.cubeSamplerBound = cube;
        unit.samplerUnbound = false;
        unit.bindingDirty = false;
    }
}

// One sampler state into both sampler objects of the unit (the cube one
// keeps its wrap modes); a value the tables have no row for leaves GL as it was.
void TextureUnits::applyState(unsigned a_unit, DWORD a_type)
{
    const DWORD* states = m_states[a_unit];
    const DWORD value = states[a_type];
    for (const GLuint sampler : {m_samplers[a_unit], m_cubeSamplers[a_unit]})
        switch (a_type)
        {
        case D3DSAMP_ADDRESSU:
        case D3DSAMP_ADDRESSV:
        case D3DSAMP_ADDRESSW:
        {
            static const GLenum g_wraps[] = {GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T,
                                             GL_TEXTURE_WRAP_R};
            const GLenum mode = GlEnums::address(value);
            if (mode != GlEnums::None && sampler == m_samplers[a_unit])
                glSamplerParameteri(sampler, g_wraps[a_type - D3DSAMP_ADDRESSU], GLint(mode));
            break;
        }
        case D3DSAMP_BORDERCOLOR:
        {
            float color[4];
            GlEnums::color(value, color);
            glSamplerParameterfv(sampler, GL_TEXTURE_BORDER_COLOR, color);
            break;
        }
        case D3DSAMP_MAGFILTER:
        {
            const GLenum filter = GlEnums::magFilter(value);
            if (filter != GlEnums::None)
                glSamplerParameteri(sampler, GL_TEXTURE_MAG_FILTER, GLint(filter));
            break;
        }
        case D3DSAMP_MINFILTER:
        case D3DSAMP_MIPFILTER:
        {
            const GLenum filter =
                GlEnums::minFilter(states[D3DSAMP_MINFILTER], states[D3DSAMP_MIPFILTER]);
            if (filter != GlEnums::None)
                glSamplerParameteri(sampler, GL_TEXTURE_MIN_FILTER, GLint(filter));
            break;
        }
        default:
            break;
        }
}
