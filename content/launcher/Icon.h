// Paints the program's icon: a white-to-cyan "T" on a rounded tile in the banner's night-to-magenta colours.
#pragma once

class Image;

class Icon
{
public:
    // Size of the finished picture in pixels.
    static constexpr int kSize = 16;

    // The finished, anti-aliased picture: transparent outside the tile's rounded corners.
    static Image paint();
};
