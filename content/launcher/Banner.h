// Paints the launcher's banner: a night sky over a neon grid, a striped sun behind mountains, and the title.
#pragma once

class FontRenderer;
class Image;

class Banner
{
public:
    // Size of the finished picture in pixels.
    static constexpr int kWidth = 400;
    static constexpr int kHeight = 150;

    // The finished, anti-aliased picture (opaque), with its titles drawn in a_font, which must be open.
    static Image paint(const FontRenderer& a_font);
};
