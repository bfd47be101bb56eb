// A contact sheet of generated pictures: each scaled into a tile of a grid, its file name under it.
#include "ContactSheet.h"

#include "FontRenderer.h"
#include "Mask.h"
#include "core/Assert.h"

#include <algorithm>
#include <math.h>
#include <stddef.h>

namespace
{

constexpr int kGutter = 20;
constexpr int kLabelHeight = 34;
constexpr int kLabelSize = 18;
constexpr uint8_t kBackground = 0x30;  // grey, so that black tiles show their extent

// A channel of a_rgb at (a_x, a_y) pixels, filtered linearly, clamped at the edges.
float sample(const std::vector<uint8_t>& a_rgb, int a_width, int a_height, float a_x, float a_y,
             int a_channel)
{
    const float x = std::clamp(a_x - 0.5f, 0.0f, static_cast<float>(a_width - 1));
    const float y = std::clamp(a_y - 0.5f, 0.0f, static_cast<float>(a_height - 1));
    const int x0 = static_cast<int>(x);
    const int y0 = static_cast<int>(y);
    const int x1 = std::min(x0 + 1, a_width - 1);
    const int y1 = std::min(y0 + 1, a_height - 1);
    const auto at = [&](int a_px, int a_py) {
        return static_cast<float>(a_rgb[(static_cast<size_t>(a_py) * static_cast<size_t>(a_width) +
                                         static_cast<size_t>(a_px)) *
                                            3 +
                                        static_cast<size_t>(a_channel)]);
    };
    const float tx = x - static_cast<float>(x0);
    const float ty = y - static_cast<float>(y0);
    const float top = at(x0, y0) + (at(x1, y0) - at(x0, y0)) * tx;
    const float bottom = at(x0, y1) + (at(x1, y1) - at(x0, y1)) * tx;
    return top + (bottom - top) * ty;
}

}

ContactSheet::ContactSheet(const FontRenderer& a_font) : m_font(a_font) {}

void ContactSheet::add(const std::string& a_label, int a_width, int a_height,
                       const std::vector<uint8_t>& a_rgb, int a_repeat)
{
    TARVO_ASSERT(a_width > 0 && a_height > 0 && a_repeat > 0 &&
                 a_rgb.size() == static_cast<size_t>(a_width) * static_cast<size_t>(a_height) * 3);
    const float shownWidth = static_cast<float>(a_width * a_repeat);
    const float shownHeight = static_cast<float>(a_height * a_repeat);
    const float scale = std::min(kTileWidth / shownWidth, kTileHeight / shownHeight);
    const float left = 0.5f * (kTileWidth - shownWidth * scale);
    const float top = 0.5f * (kTileHeight - shownHeight * scale);
    // Four by four samples a pixel: a box filter when shrinking, linear when enlarging.
    constexpr int kSamples = 4;
    Tile tile{a_label,
              std::vector<uint8_t>(static_cast<size_t>(kTileWidth) * kTileHeight * 3, kBackground)};
    for (int y = 0; y < kTileHeight; ++y)
        for (int x = 0; x < kTileWidth; ++x)
        {
            float sum[3] = {};
            int inside = 0;
            for (int sy = 0; sy < kSamples; ++sy)
                for (int sx = 0; sx < kSamples; ++sx)
                {
                    const float px = (static_cast<float>(x) +
                                      (static_cast<float>(sx) + 0.5f) / kSamples - left) /
                                     scale;
                    const float py =
                        (static_cast<float>(y) + (static_cast<float>(sy) + 0.5f) / kSamples - top) /
                        scale;
                    if (px < 0.0f || py < 0.0f || px >= shownWidth || py >= shownHeight)
                        continue;
                    ++inside;
                    const float wrappedX = fmod(px, static_cast<float>(a_width));
                    const float wrappedY = fmod(py, static_cast<float>(a_height));
                    for (int channel = 0; channel < 3; ++channel)
                        sum[channel] +=
                            sample(a_rgb, a_width, a_height, wrappedX, wrappedY, channel);
                }
            if (inside == 0)
                continue;
            const float cover = static_cast<float>(inside) / (kSamples * kSamples);
            for (int channel = 0; channel < 3; ++channel)
            {
                const float value = sum[channel] / static_cast<float>(inside) * cover +
                                    kBackground * (1.0f - cover);
                tile.rgb[(static_cast<size_t>(y) * kTileWidth + static_cast<size_t>(x)) * 3 +
                         static_cast<size_t>(channel)] = static_cast<uint8_t>(lround(value));
            }
        }
    m_tiles.push_back(std::move(tile));
}

int ContactSheet::width() const
{
    return kColumns * (kTileWidth + kGutter) + kGutter;
}

int ContactSheet::height() const
{
    const int rows = (static_cast<int>(m_tiles.size()) + kColumns - 1) / kColumns;
    return rows * (kTileHeight + kLabelHeight + kGutter) + kGutter;
}

std::vector<uint8_t> ContactSheet::rgb() const
{
    const int sheetWidth = width();
    const int sheetHeight = height();
    std::vector<uint8_t> sheet(
        static_cast<size_t>(sheetWidth) * static_cast<size_t>(sheetHeight) * 3, 0x18);
    Mask labels(sheetWidth, sheetHeight);
    for (size_t i = 0; i < m_tiles.size(); ++i)
    {
        const int left = kGutter + static_cast<int>(i % kColumns) * (kTileWidth + kGutter);
        const int top =
            kGutter + static_cast<int>(i / kColumns) * (kTileHeight + kLabelHeight + kGutter);
        for (int y = 0; y < kTileHeight; ++y)
            std::copy_n(m_tiles[i].rgb.begin() + static_cast<ptrdiff_t>(y) * kTileWidth * 3,
                        kTileWidth * 3,
                        sheet.begin() + (static_cast<ptrdiff_t>(top + y) * sheetWidth + left) * 3);
        m_font.draw(labels, m_tiles[i].label, kLabelSize, static_cast<float>(left),
                    static_cast<float>(top + kTileHeight + 24));
    }
    for (int y = 0; y < sheetHeight; ++y)
        for (int x = 0; x < sheetWidth; ++x)
        {
            const float cover = labels.value(x, y);
            if (cover <= 0.0f)
                continue;
            for (int channel = 0; channel < 3; ++channel)
            {
                uint8_t& value = sheet[(static_cast<size_t>(y) * static_cast<size_t>(sheetWidth) +
                                        static_cast<size_t>(x)) *
                                           3 +
                                       static_cast<size_t>(channel)];
                value = static_cast<uint8_t>(lround(value + (220.0f - value) * cover));
            }
        }
    return sheet;
}
