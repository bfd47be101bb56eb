// Lettering in the program's chrome style: letters filled with vertical gradients, ringed by a dark outline, a cyan rim and a magenta glow.
#pragma once

#include "Gradient.h"
#include "Mask.h"

#include <vector>

class Image;

class Lettering
{
public:
    // Sizes around the letters, in samples of the picture painted (which may be supersampled).
    struct Style
    {
        float rim;           // radius of the cyan rim
        float outline;       // radius of the dark outline inside the rim
        float glow;          // standard deviation of the glow, blurred from the rim
        float glowStrength;  // 0..1
    };

    // Lettering for a picture of a_width x a_height samples.
    Lettering(int a_width, int a_height);

    // Adds a_letters (coverage, the picture's size) filled with a_fill, which runs from a_top
    // (0) to a_top + a_height (1). a_top and a_height are in pixels of the finished picture:
    // a sample's position is its centre divided by the supersampling factor given to paint().
    void add(const Mask& a_letters, const Gradient& a_fill, float a_top, float a_height);

    // Paints the glow, rim, outline and the letters' fills, in that order, over a_image, which
    // has the lettering's size and a_scale x a_scale samples per finished pixel. The picture
    // comes out opaque.
    void paint(Image& a_image, const Style& a_style, int a_scale) const;

private:
    struct Layer
    {
        Mask letters;
        Gradient fill;
        float top;
        float height;
    };

    Mask m_all;  // every layer's letters: what the rim and the glow surround
    std::vector<Layer> m_layers;
};
