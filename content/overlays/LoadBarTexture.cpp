// The texture of every loading-bar segment, "loadbar.jpg": a glowing bar, white-hot along its middle.
#include "LoadBarTexture.h"

#include "Gradient.h"

#include "core/LauncherSettings.h"
#include "Palette.h"

#include <algorithm>
#include <math.h>
#include <stddef.h>

std::vector<uint8_t> LoadBarTexture::picture()
{
    // By distance from the middle row (0) to the top or bottom row (1).
    const Gradient across{{0.0f, 0xffffff},
                          {0.22f, 0xc8faff},
                          {0.45f, 0x3ff0ff},
                          {0.72f, 0xd02cff},
                          {1.0f, 0x000000}};
    std::vector<uint8_t> bytes;
    bytes.reserve(static_cast<size_t>(kWidth) * kHeight * 3);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
        {
            const float u = (static_cast<float>(x) + 0.5f) / kWidth;
            const float v = (static_cast<float>(y) + 0.5f) / kHeight;
            const float side =
                Gradient::smoothstep(0.0f, 0.16f, u) * Gradient::smoothstep(0.0f, 0.16f, 1.0f - u);
            const Colour colour = across.at(abs(2.0f * v - 1.0f)) * (0.3f + 0.7f * side);
            for (const float channel : {colour.r, colour.g, colour.b})
                bytes.push_back(Colour::level(channel));
        }
    return bytes;
}

std::vector<uint8_t> LoadBarTexture::preview(int a_segments)
{
    // The loading screen's geometry in pixels of its 1280 x 720 frame: segments 23.04 wide
    // and 6 apart from x = 313.6, centred on y = 576, half-heights 0.01 to 0.039 of the
    // frame's height and 0.05 for the last. Later segments cover earlier ones.
    constexpr float kLeft = 288.0f;
    constexpr float kTop = 488.0f;
    const std::vector<uint8_t> texture = picture();
    std::vector<uint8_t> frame(static_cast<size_t>(kPreviewWidth) * kPreviewHeight * 3, 0);
    uint32_t state = 12345u;
    for (int i = 0; i < a_segments; ++i)
    {
        state = state * 1103515245u + 12345u;
        const float random = static_cast<float>((state >> 16) % 100u) / 100.0f;
        const float half = i == a_segments - 1 ? 0.05f : random / kFrameHeight * 21.0f + 0.01f;
        const float left = 313.6f + 6.0f * static_cast<float>(i) - kLeft;
        const float right = left + 23.04f;
        const float top = (0.8f - half) * kFrameHeight - kTop;
        const float bottom = (0.8f + half) * kFrameHeight - kTop;
        for (int y = std::max(0, static_cast<int>(top));
             y < std::min(kPreviewHeight, static_cast<int>(bottom) + 1); ++y)
            for (int x = std::max(0, static_cast<int>(left));
                 x < std::min(kPreviewWidth, static_cast<int>(right) + 1); ++x)
            {
                const float px = static_cast<float>(x) + 0.5f;
                const float py = static_cast<float>(y) + 0.5f;
                if (px < left || px >= right || py < top || py >= bottom)
                    continue;
                // Linear filtering, clamped at the texture's edges.
                const float tx =
                    std::clamp((px - left) / (right - left) * kWidth - 0.5f, 0.0f, kWidth - 1.0f);
                const float ty =
                    std::clamp((py - top) / (bottom - top) * kHeight - 0.5f, 0.0f, kHeight - 1.0f);
                const int x0 = static_cast<int>(tx);
                const int y0 = static_cast<int>(ty);
                const int x1 = std::min(x0 + 1, kWidth - 1);
                const int y1 = std::min(y0 + 1, kHeight - 1);
                const float fx = tx - static_cast<float>(x0);
                const float fy = ty - static_cast<float>(y0);
                for (size_t channel = 0; channel < 3; ++channel)
                {
                    const auto at = [&](int a_x, int a_y) {
                        return static_cast<float>(
                            texture[(static_cast<size_t>(a_y) * kWidth + static_cast<size_t>(a_x)) *
                                        3 +
                                    channel]);
                    };
                    const float upper = at(x0, y0) + (at(x1, y0) - at(x0, y0)) * fx;
                    const float lower = at(x0, y1) + (at(x1, y1) - at(x0, y1)) * fx;
                    frame[(static_cast<size_t>(y) * kPreviewWidth + static_cast<size_t>(x)) * 3 +
                          channel] = static_cast<uint8_t>(lround(upper + (lower - upper) * fy));
                }
            }
    }
    return frame;
}
