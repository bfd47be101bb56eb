// The colours of the program's artwork: chrome titles with a cyan rim and a magenta glow, and hot sun colours.
#pragma once

#include "Colour.h"
#include "Gradient.h"

class Palette
{
public:
    // Chrome lettering from the top of the capitals (0) to the baseline (1): white into cyan
    // above a dark waist line, pink below it.
    static Gradient chrome()
    {
        return {{0.0f, 0xffffff},
                {0.48f, 0x8fe9ff},
                {0.5f, 0x2a1060},
                {0.62f, 0xc03aa8},
                {1.0f, 0xffd6f4}};
    }
    // The sun's colours from top to bottom, and the hotter, shorter ramp of accents set in them.
    static Gradient sun() { return {{0.0f, 0xfff27a}, {0.45f, 0xffa23f}, {1.0f, 0xff2f8c}}; }
    static Gradient hot() { return {{0.0f, 0xfff27a}, {1.0f, 0xff3f9a}}; }

    // Around lettering: the glow, the rim of light and the dark outline between rim and letter.
    static Colour glow() { return Colour::fromHex(0xd02cff); }
    static Colour rim() { return Colour::fromHex(0x3ff0ff); }
    static Colour outline() { return Colour::fromHex(0x0a0322); }
};
