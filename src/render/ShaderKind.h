// Whether a shader program runs per vertex or per pixel.
#pragma once

#include <stdint.h>

enum class ShaderKind : int32_t
{
    Vertex = 0,
    Pixel = 1,
};
