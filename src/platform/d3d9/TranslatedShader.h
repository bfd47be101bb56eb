// A vertex or pixel shader's byte code as GLSL, with what the device needs to
// feed the program: which constant registers, vertex inputs and samplers the
// GLSL names, and where.
#pragma once

#include <string>
#include <vector>

struct TranslatedShader
{
    // Registers kept in one GLSL uniform array, in array order.
    struct RegisterRange
    {
        unsigned first;
        unsigned count;
    };

    struct Input
    {
        int usage;  // D3DDECLUSAGE value
        int index;
        std::string name;
    };

    struct Sampler
    {
        unsigned stage;
        std::string name;
    };

    bool vertex = false;
    unsigned majorVersion = 0;   // shader model
    unsigned colourOutputs = 0;  // pixel shaders: bit n set when oCn is written
    std::string glsl;
    std::string prefix;  // "vs" or "ps", as MojoShader names the uniform arrays
    std::vector<RegisterRange> floats;
    std::vector<RegisterRange> ints;
    std::vector<RegisterRange> bools;
    std::vector<Input> inputs;
    std::vector<Sampler> samplers;
};
