// A contact sheet of generated pictures: each scaled into a tile of a grid, its file name under it.
#pragma once

#include <stdint.h>
#include <string>
#include <vector>

class FontRenderer;

class ContactSheet
{
public:
    static constexpr int kColumns = 4;
    static constexpr int kTileWidth = 400;  // a 16:9 tile, pixels
    static constexpr int kTileHeight = 225;

    // Labels are set in a_font, which must be open.
    explicit ContactSheet(const FontRenderer& a_font);

    // Adds a picture (3 bytes a pixel, top row first) to the next tile, scaled to fit it with
    // its proportions kept, and repeated a_repeat times each way (to show a texture's tiling).
    void add(const std::string& a_label, int a_width, int a_height,
             const std::vector<uint8_t>& a_rgb, int a_repeat = 1);

    // The sheet so far: its size and its pixels, 3 bytes each, top row first.
    int width() const;
    int height() const;
    std::vector<uint8_t> rgb() const;

private:
    struct Tile
    {
        std::string label;
        std::vector<uint8_t> rgb;  // kTileWidth x kTileHeight
    };

    const FontRenderer& m_font;
    std::vector<Tile> m_tiles;
};
