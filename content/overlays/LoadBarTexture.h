// The texture of every loading-bar segment, "loadbar.jpg": a glowing bar, white-hot along its middle.
#pragma once

#include <stdint.h>
#include <vector>

class LoadBarTexture
{
public:
    // Segments are drawn 23 pixels wide and 8 to 72 high, so the texture is tall and narrow;
    // linear filtering stretches it.
    static constexpr int kWidth = 32;
    static constexpr int kHeight = 128;

    // kWidth x kHeight RGB, top row first. Across the bar (v) it runs from black at the top
    // and bottom rows through the glow's magenta and the rim's cyan to white in the middle.
    // Along it (u) it darkens towards both sides: each segment shows only the 6 pixels the
    // next one leaves uncovered, so the dark left side parts the bar into columns.
    static std::vector<uint8_t> picture();

    // How the bar looks on the loading screen with a_segments segments of random heights,
    // sampled linearly from picture(): the part of the black 1280 x 720 frame around the bar,
    // kPreviewWidth x kPreviewHeight RGB.
    static constexpr int kPreviewWidth = 704;
    static constexpr int kPreviewHeight = 176;
    static std::vector<uint8_t> preview(int a_segments);
};
