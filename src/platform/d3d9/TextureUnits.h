// The textures and sampler states of the device's stages, as the device
// records them, carried to GL texture units and sampler objects at draw
// time: what changed since the last draw reaches GL, once; a texture set
// again on its stage is bound again only when the GL state cache is
// bypassed. Stage s is texture unit s.
#pragma once

#include "Gl.h"

#include <d3d9.h>

class TextureUnits
{
public:
    static const unsigned Units = 16;
    static const unsigned States = D3DSAMP_MIPFILTER + 1;

    // a_states: the device's recorded sampler states, [unit][D3DSAMPLERSTATETYPE].
    explicit TextureUnits(const DWORD (*a_states)[States]) : m_states(a_states) {}

    // GL's sampler objects; the device's context must be current.
    void createGl();
    void releaseGl();

    // Recording. a_target: 0 (no texture), GL_TEXTURE_2D or GL_TEXTURE_CUBE_MAP.
    void setTexture(unsigned a_unit, GLuint a_name, GLenum a_target);
    void samplerStateChanged(unsigned a_unit, DWORD a_type);
    GLenum target(unsigned a_unit) const { return m_units[a_unit].target; }

    // Draw time: binds the changed textures and samplers and applies the
    // changed sampler states.
    void apply();

private:
    struct Unit
    {
        GLuint name = 0;
        GLenum target = 0;
        bool bindingDirty = true;
        bool samplerUnbound = true;      // no sampler object bound to the unit yet
        bool cubeSamplerBound = false;   // which of the unit's two is bound
        unsigned statesDirty = (1u << States) - 1;  // bit per D3DSAMPLERSTATETYPE
    };

    void applyState(unsigned a_unit, DWORD a_type);

    const DWORD (*m_states)[States];
    Unit m_units[Units];
    unsigned m_dirtyUnits = 0;  // bit per unit with a change to apply
    GLuint m_samplers[Units] = {};
    // Clamp-to-edge twins for units holding a cube texture: D3D9's address
    // modes do not apply to cube coordinates.
    GLuint m_cubeSamplers[Units] = {};
};
