// Reduces an opaque floating-point picture to 256 colours without visible banding.
#include "Quantiser.h"

#include "Image.h"
#include "core/Assert.h"

#include <algorithm>
#include <math.h>

namespace
{

using Rgb = std::array<uint8_t, 3>;

// One distinct colour of the picture and how many pixels have it.
struct Entry
{
    std::array<float, 3> colour;
    double count;
    uint32_t key;  // 0xRRGGBB: breaks ties so that sorting is deterministic
};

// A run of entries that will become one palette colour.
struct Box
{
    size_t begin;
    size_t end;
    double error;  // summed squared distance of the entries to their weighted mean
    int channel;   // the channel with the largest spread
};

constexpr int kRefinementPasses = 4;
// Error diffusion carries at most this much error per channel (in 0..255 units) to the
// neighbours: where the palette has no near colour, a large error would otherwise travel into
// the next area and surface there as stray dots of a far colour.
constexpr float kErrorLimit = 24.0f;

uint8_t toByte(float a_value)
{
    return static_cast<uint8_t>(lround(std::clamp(a_value, 0.0f, 255.0f)));
}

std::array<float, 3> pixelBytes(const Colour& a_colour)
{
    return {a_colour.r * 255.0f, a_colour.g * 255.0f, a_colour.b * 255.0f};
}

std::vector<Entry> histogram(const Image& a_image)
{
    std::vector<uint32_t> keys;
    keys.reserve(static_cast<size_t>(a_image.width()) * static_cast<size_t>(a_image.height()));
    for (int y = 0; y < a_image.height(); ++y)
        for (int x = 0; x < a_image.width(); ++x)
        {
            const std::array<float, 3> bytes = pixelBytes(a_image.at(x, y));
            keys.push_back(static_cast<uint32_t>(toByte(bytes[0])) << 16 |
                           static_cast<uint32_t>(toByte(bytes[1])) << 8 | toByte(bytes[2]));
        }
    std::sort(keys.begin(), keys.end());
    std::vector<Entry> entries;
    for (size_t i = 0; i < keys.size();)
    {
        size_t next = i;
        while (next < keys.size() && keys[next] == keys[i])
            ++next;
        const uint32_t key = keys[i];
        entries.push_back({{static_cast<float>(key >> 16), static_cast<float>((key >> 8) & 0xffu),
                            static_cast<float>(key & 0xffu)},
                           static_cast<double>(next - i),
                           key});
        i = next;
    }
    return entries;
}

std::array<double, 3> mean(const std::vector<Entry>& a_entries, size_t a_begin, size_t a_end)
{
    std::array<double, 3> sum = {0.0, 0.0, 0.0};
    double weight = 0.0;
    for (size_t i = a_begin; i < a_end; ++i)
    {
        for (int c = 0; c < 3; ++c)
            sum[c] += a_entries[i].colour[c] * a_entries[i].count;
        weight += a_entries[i].count;
    }
    for (double& channel : sum)
        channel /= weight;
    return sum;
}

Box makeBox(const std::vector<Entry>& a_entries, size_t a_begin, size_t a_end)
{
    const std::array<double, 3> centre = mean(a_entries, a_begin, a_end);
    std::array<double, 3> spread = {0.0, 0.0, 0.0};
    for (size_t i = a_begin; i < a_end; ++i)
        for (int c = 0; c < 3; ++c)
        {
            const double distance = a_entries[i].colour[c] - centre[c];
            spread[c] += distance * distance * a_entries[i].count;
        }
    const int channel =
        static_cast<int>(std::max_element(spread.begin(), spread.end()) - spread.begin());
    return {a_begin, a_end, spread[0] + spread[1] + spread[2], channel};
}

// Splits a_box at the weighted median of its widest channel; both halves keep at least one entry.
size_t medianSplit(std::vector<Entry>& a_entries, const Box& a_box)
{
    const int channel = a_box.channel;
    std::sort(a_entries.begin() + static_cast<ptrdiff_t>(a_box.begin),
              a_entries.begin() + static_cast<ptrdiff_t>(a_box.end),
              [channel](const Entry& a_left, const Entry& a_right) {
                  if (a_left.colour[channel] != a_right.colour[channel])
                      return a_left.colour[channel] < a_right.colour[channel];
                  return a_left.key < a_right.key;
              });
    double total = 0.0;
    for (size_t i = a_box.begin; i < a_box.end; ++i)
        total += a_entries[i].count;
    double running = 0.0;
    size_t split = a_box.begin + 1;
    for (size_t i = a_box.begin; i + 1 < a_box.end; ++i)
    {
        running += a_entries[i].count;
        split = i + 1;
        if (running >= total / 2.0)
            break;
    }
    return split;
}

size_t nearest(const std::vector<std::array<float, 3>>& a_palette,
               const std::array<float, 3>& a_colour)
{
    size_t best = 0;
    float bestDistance = INFINITY;
    for (size_t i = 0; i < a_palette.size(); ++i)
    {
        const float dr = a_palette[i][0] - a_colour[0];
        const float dg = a_palette[i][1] - a_colour[1];
        const float db = a_palette[i][2] - a_colour[2];
        const float distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance)
        {
            bestDistance = distance;
            best = i;
        }
    }
    return best;
}

// Lloyd's k-means passes: every entry goes to its nearest colour, every colour moves to the
// weighted mean of its entries. Median cut's boxes are axis-aligned; this lets the colours
// follow the picture's diagonal gradients.
void refine(const std::vector<Entry>& a_entries, std::vector<std::array<float, 3>>& a_palette)
{
    for (int pass = 0; pass < kRefinementPasses; ++pass)
    {
        std::vector<std::array<double, 4>> sums(a_palette.size(), {0.0, 0.0, 0.0, 0.0});
        for (const Entry& entry : a_entries)
        {
            std::array<double, 4>& sum = sums[nearest(a_palette, entry.colour)];
            for (int c = 0; c < 3; ++c)
                sum[c] += entry.colour[c] * entry.count;
            sum[3] += entry.count;
        }
        for (size_t i = 0; i < a_palette.size(); ++i)
            if (sums[i][3] > 0.0)
                for (int c = 0; c < 3; ++c)
                    a_palette[i][c] = static_cast<float>(sums[i][c] / sums[i][3]);
    }
}

}

std::vector<Rgb> Quantiser::buildPalette(const Image& a_image, size_t a_count)
{
    TARVO_ASSERT(a_count > 0 && a_count <= 256);
    std::vector<Entry> entries = histogram(a_image);
    std::vector<Rgb> palette;
    if (entries.size() <= a_count)
    {
        for (const Entry& entry : entries)
            palette.push_back(
                {toByte(entry.colour[0]), toByte(entry.colour[1]), toByte(entry.colour[2])});
        return palette;
    }

    std::vector<Box> boxes = {makeBox(entries, 0, entries.size())};
    while (boxes.size() < a_count)
    {
        auto worst = boxes.end();
        for (auto box = boxes.begin(); box != boxes.end(); ++box)
            if (box->end - box->begin > 1 && (worst == boxes.end() || box->error > worst->error))
                worst = box;
        if (worst == boxes.end())
            break;
        const Box whole = *worst;
        const size_t split = medianSplit(entries, whole);
        *worst = makeBox(entries, whole.begin, split);
        boxes.push_back(makeBox(entries, split, whole.end));
    }

    std::vector<std::array<float, 3>> colours;
    for (const Box& box : boxes)
    {
        const std::array<double, 3> centre = mean(entries, box.begin, box.end);
        colours.push_back({static_cast<float>(centre[0]), static_cast<float>(centre[1]),
                           static_cast<float>(centre[2])});
    }
    refine(entries, colours);
    for (const std::array<float, 3>& colour : colours)
        palette.push_back({toByte(colour[0]), toByte(colour[1]), toByte(colour[2])});
    return palette;
}

PalettedImage Quantiser::dither(const Image& a_image, const std::vector<Rgb>& a_palette)
{
    TARVO_ASSERT(!a_palette.empty() && a_palette.size() <= 256);
    std::vector<std::array<float, 3>> colours;
    for (const Rgb& entry : a_palette)
        colours.push_back({static_cast<float>(entry[0]), static_cast<float>(entry[1]),
                           static_cast<float>(entry[2])});

    PalettedImage result;
    result.width = a_image.width();
    result.height = a_image.height();
    result.palette = a_palette;
    result.indices.resize(static_cast<size_t>(result.width) * static_cast<size_t>(result.height));

    // Error carried into this row and the next, with a spare column on each side.
    const size_t columns = static_cast<size_t>(result.width) + 2;
    std::vector<std::array<float, 3>> current(columns, {0.0f, 0.0f, 0.0f});
    std::vector<std::array<float, 3>> below(columns, {0.0f, 0.0f, 0.0f});
    for (int y = 0; y < result.height; ++y)
    {
        const bool leftToRight = y % 2 == 0;
        const int step = leftToRight ? 1 : -1;
        for (int i = 0; i < result.width; ++i)
        {
            const int x = leftToRight ? i : result.width - 1 - i;
            const size_t slot = static_cast<size_t>(x + 1);
            std::array<float, 3> wanted = pixelBytes(a_image.at(x, y));
            for (int c = 0; c < 3; ++c)
                wanted[c] = std::clamp(wanted[c] + current[slot][c], 0.0f, 255.0f);
            const size_t index = nearest(colours, wanted);
            result.indices[static_cast<size_t>(y) * static_cast<size_t>(result.width) +
                           static_cast<size_t>(x)] = static_cast<uint8_t>(index);

            // Floyd and Steinberg's weights: 7/16 ahead, 3/16 behind below, 5/16 below, 1/16 ahead below.
            const size_t ahead = static_cast<size_t>(static_cast<int>(slot) + step);
            const size_t behind = static_cast<size_t>(static_cast<int>(slot) - step);
            for (int c = 0; c < 3; ++c)
            {
                const float error =
                    std::clamp(wanted[c] - colours[index][c], -kErrorLimit, kErrorLimit);
                current[ahead][c] += error * 7.0f / 16.0f;
                below[behind][c] += error * 3.0f / 16.0f;
                below[slot][c] += error * 5.0f / 16.0f;
                below[ahead][c] += error * 1.0f / 16.0f;
            }
        }
        current.swap(below);
        std::fill(below.begin(), below.end(), std::array<float, 3>{0.0f, 0.0f, 0.0f});
    }
    return result;
}

PalettedImage Quantiser::quantise(const Image& a_image)
{
    return dither(a_image, buildPalette(a_image, 256));
}
