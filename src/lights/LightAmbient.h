// The ambient light: adds a constant colour over the whole screen into both light buffers.
#pragma once

#include "lights/Light.h"

class LightAmbient : public Light
{
public:
    // The light with its own "ambient.psh" and "quad.vsh", or null when either is
    // missing (after the file system's message).
    static LightAmbient* create(Renderer* a_renderer);
    ~LightAmbient() override;

    // One screen-quad draw adding "color"; blending stays on at (one, one).
    void apply() override;

private:
    LightAmbient() = default;
};
