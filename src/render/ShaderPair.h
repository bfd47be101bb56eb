// The vertex and pixel shader of one draw.
#pragma once

class Shader;

struct ShaderPair
{
    Shader* vertex;
    Shader* pixel;
};
