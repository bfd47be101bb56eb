// The fog: blends a distance fog over a composed image by the view distance in G-buffer 3.
#pragma once

#include "lights/Light.h"

class LightFog : public Light
{
public:
    // The light with its own "fog.psh" and "quad.vsh", or null when either is
    // missing (after the file system's message).
    static LightFog* create(Renderer* a_renderer);
    ~LightFog() override;

    // One screen-quad draw blending the fog by its alpha; blending is off after.
    void apply() override;

private:
    LightFog() = default;
};
