// The textures and sampler states of the device's stages carried to GL
// texture units and sampler objects at draw time, through the GL state
// cache: the stages the recorded state marks as changed are applied, and the
// cache lets through only what GL does not hold already. Stage s is texture
// unit s. Owns the sampler objects.
#pragma once

#include "DeviceState.h"
#include "Gl.h"

class GlStateCache;

class TextureUnits
{
public:
    static const unsigned Units = DeviceState::Samplers;

    // GL's sampler objects; the device's context must be current.
    void createGl();
    void releaseGl();

    // Draw time: sets the changed sampler states and binds the textures
    // (and the sampler objects they need) set since, then clears those
    // changes.
    void apply(DeviceState& a_state, GlStateCache& a_gl) const;

private:
    void applyState(unsigned a_unit, const DWORD* a_states, DWORD a_type, GlStateCache& a_gl) const;

    GLuint m_samplers[Units] = {};
    // Twins without the mip filter, for 2D textures of a single level (render
    // targets): they sample the same, and Mesa's software rasteriser skips
    // the per-pixel level of detail a mip filter would make it work out.
    GLuint m_singleLevelSamplers[Units] = {};
    // Clamp-to-edge twins for units holding a cube texture: D3D9's address
    // modes do not apply to cube coordinates.
    GLuint m_cubeSamplers[Units] = {};
};
