// Armour plating.
#include "PanelTexture.h"

#include "TilingNoise.h"

#include <math.h>

#include <algorithm>

namespace
{

uint32_t next(uint32_t& a_seed)
{
    a_seed = a_seed * 1664525u + 1013904223u;
    return a_seed >> 8;
}

constexpr int32_t kCell = 128;
constexpr float kRivetInset = 7.0f;

bool inVent(int32_t a_x, int32_t a_y, int32_t a_width, int32_t a_height)
{
    const int32_t border = 14;
    if (a_x < border || a_y < border || a_x >= a_width - border || a_y >= a_height - border)
        return false;
    return (a_y - border) % 10 < 4;
}

bool onRivet(float a_x, float a_y, float a_width, float a_height, float& a_slope)
{
    const float xs[2] = {kRivetInset, a_width - kRivetInset};
    const float ys[2] = {kRivetInset, a_height - kRivetInset};
    for (float x : xs)
    {
        for (float y : ys)
        {
            const float d = sqrtf((a_x - x) * (a_x - x) + (a_y - y) * (a_y - y));
            if (d < 3.0f)
            {
                a_slope = 1.0f - d / 3.0f;
                return true;
            }
        }
    }
    return false;
}

}  // namespace

// Each 128-texel cell is one plate, two halves or four quarters.
std::vector<PanelTexture::Plate> PanelTexture::plates()
{
    std::vector<Plate> result;
    uint32_t seed = 2024u;
    for (int32_t cy = 0; cy < kSide / kCell; ++cy)
    {
        for (int32_t cx = 0; cx < kSide / kCell; ++cx)
        {
            const uint32_t split = next(seed) % 4;
            std::vector<Plate> parts;
            const int32_t x = cx * kCell, y = cy * kCell;
            if (split == 0)
                parts.push_back({x, y, kCell, kCell, 0, 0});
            else if (split == 1)
                parts = {{x, y, kCell, kCell / 2, 0, 0},
                         {x, y + kCell / 2, kCell, kCell / 2, 0, 0}};
            else if (split == 2)
                parts = {{x, y, kCell / 2, kCell, 0, 0},
                         {x + kCell / 2, y, kCell / 2, kCell, 0, 0}};
            else
                parts = {{x, y, kCell / 2, kCell / 2, 0, 0},
                         {x + kCell / 2, y, kCell / 2, kCell / 2, 0, 0},
                         {x, y + kCell / 2, kCell / 2, kCell / 2, 0, 0},
                         {x + kCell / 2, y + kCell / 2, kCell / 2, kCell / 2, 0, 0}};
            for (Plate& part : parts)
            {
                part.tone = 0.82f + 0.18f * float(next(seed) % 1000) / 1000.0f;
                const uint32_t pick = next(seed) % 10;
                part.kind = pick < 2 ? 1 : 0;
                result.push_back(part);
            }
        }
    }
    result[5].kind = 2;
    return result;
}

template <typename Paint>
void PanelTexture::eachTexel(Paint a_paint)
{
    for (const Plate& plate : plates())
    {
        for (int32_t y = 0; y < plate.height; ++y)
        {
            for (int32_t x = 0; x < plate.width; ++x)
            {
                const float edge = float(
                    std::min(std::min(x, plate.width - 1 - x), std::min(y, plate.height - 1 - y)));
                a_paint(plate, x, y, edge);
            }
        }
    }
}

Picture PanelTexture::colour()
{
    Picture picture(kSide, kSide);
    const TilingNoise grime(71u), speckle(72u);
    eachTexel([&](const Plate& a_plate, int32_t a_x, int32_t a_y, float a_edge) {
        const int32_t px = a_plate.x + a_x, py = a_plate.y + a_y;
        const float n = float(grime.smooth(px * 0.5, py * 0.5));
        const float fine = float(speckle.white(px, py)) - 0.5f;
        Rgb base{0.8f * a_plate.tone, 0.8f * a_plate.tone, 0.82f * a_plate.tone};
        if (a_plate.kind == 2)
        {
            const bool stripe = ((a_x + a_y) / 16) % 2 == 0;
            base = stripe ? Rgb{0.9f, 0.78f, 0.5f} : Rgb{0.3f, 0.3f, 0.3f};
        }
        Rgb c = scaled(base, 0.88f + 0.18f * n + 0.05f * fine);
        // Grime gathers along the seams.
        c = scaled(c, 0.75f + 0.25f * smoothStep(0.0f, 10.0f, a_edge));
        if (a_edge < 1.5f)
            c = grey(0.12f);
        else if (a_edge < 3.0f)
            c = scaled(c, 1.15f);
        if (a_plate.kind == 1 && inVent(a_x, a_y, a_plate.width, a_plate.height))
            c = grey(0.1f);
        float slope = 0.0f;
        if (onRivet(float(a_x), float(a_y), float(a_plate.width), float(a_plate.height), slope))
            c = grey(0.35f + 0.5f * slope);
        picture.at(px, py) = c;
    });
    return picture;
}

Picture PanelTexture::height()
{
    Picture picture(kSide, kSide);
    const TilingNoise dents(73u);
    eachTexel([&](const Plate& a_plate, int32_t a_x, int32_t a_y, float a_edge) {
        const int32_t px = a_plate.x + a_x, py = a_plate.y + a_y;
        float h = 0.5f + 0.004f * float(dents.smooth(px, py));
        h -= 0.09f * (1.0f - smoothStep(0.0f, 3.0f, a_edge));
        if (a_plate.kind == 1 && inVent(a_x, a_y, a_plate.width, a_plate.height))
            h -= 0.04f;
        float slope = 0.0f;
        if (onRivet(float(a_x), float(a_y), float(a_plate.width), float(a_plate.height), slope))
            h += 0.04f * slope;
        picture.at(px, py) = grey(h);
    });
    return picture;
}
