// Paints the launcher's banner: a night sky over a neon grid, a striped sun behind mountains, and the title.
#include "Banner.h"

#include "FontRenderer.h"
#include "Gradient.h"
#include "Image.h"
#include "Lettering.h"
#include "Mask.h"
#include "Palette.h"

#include <algorithm>
#include <math.h>
#include <stddef.h>
#include <stdint.h>
#include <string>
#include <vector>

namespace
{

// Every layer is painted at kScale x kScale samples per pixel and averaged down at the end.
// Positions below are in pixels of the finished picture.
constexpr int kScale = 4;
constexpr float kHorizon = 104.0f;
constexpr float kSunX = 336.0f;
constexpr float kSunY = 68.0f;
constexpr float kSunRadius = 42.0f;

// A small linear congruential generator (Knuth's MMIX constants): the same stars and
// mountains on every machine.
class Random
{
public:
    explicit Random(uint64_t a_seed) : m_state(a_seed) {}
    float next()  // 0..1
    {
        m_state = m_state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<float>(m_state >> 40) / 16777216.0f;
    }

private:
    uint64_t m_state;
};

// Calls a_paint(pixel, x, y) for every sample, with x and y the sample's centre in pixels of
// the finished picture.
template <typename Paint>
void forEachSample(Image& a_image, Paint a_paint)
{
    for (int sy = 0; sy < a_image.height(); ++sy)
        for (int sx = 0; sx < a_image.width(); ++sx)
            a_paint(a_image.at(sx, sy), (static_cast<float>(sx) + 0.5f) / kScale,
                    (static_cast<float>(sy) + 0.5f) / kScale);
}

// A ridge line: heights above the horizon at each whole pixel column, by midpoint displacement
// shaped by an envelope.
std::vector<float> ridge(uint64_t a_seed, float a_roughness, float (*a_envelope)(float))
{
    constexpr int kSegments = 512;
    std::vector<float> heights(kSegments + 1, 0.0f);
    Random random(a_seed);
    heights[0] = random.next();
    heights[kSegments] = random.next();
    float amplitude = 1.0f;
    for (int step = kSegments; step > 1; step /= 2)
    {
        for (int i = step / 2; i < kSegments; i += step)
            heights[i] = 0.5f * (heights[i - step / 2] + heights[i + step / 2]) +
                         (random.next() - 0.5f) * amplitude;
        amplitude *= a_roughness;
    }
    std::vector<float> columns(Banner::kWidth + 1);
    for (int x = 0; x <= Banner::kWidth; ++x)
    {
        const float position = static_cast<float>(x) * kSegments / Banner::kWidth;
        const int index = std::min(static_cast<int>(position), kSegments - 1);
        const float t = position - static_cast<float>(index);
        const float height = heights[index] * (1.0f - t) + heights[index + 1] * t;
        columns[x] = a_envelope(static_cast<float>(x)) *
                     (0.55f + 0.45f * std::clamp(height + 0.5f, 0.0f, 1.0f));
    }
    return columns;
}

float heightAt(const std::vector<float>& a_columns, float a_x)
{
    const float x = std::clamp(a_x, 0.0f, static_cast<float>(Banner::kWidth) - 0.001f);
    const int index = static_cast<int>(x);
    const float t = x - static_cast<float>(index);
    return a_columns[index] * (1.0f - t) + a_columns[index + 1] * t;
}

// A Gaussian hill of height 1 at a_centre, a_width wide.
float bump(float a_x, float a_centre, float a_width)
{
    const float distance = (a_x - a_centre) / a_width;
    return exp(-distance * distance);
}

// The far range rises behind the title's end and at both edges; the near one only at the edges.
float farEnvelope(float a_x)
{
    return 10.0f + 18.0f * bump(a_x, 230.0f, 50.0f) + 14.0f * bump(a_x, 395.0f, 35.0f) +
           10.0f * bump(a_x, 60.0f, 45.0f);
}

float nearEnvelope(float a_x)
{
    return 4.0f + 30.0f * bump(a_x, 0.0f, 70.0f) + 26.0f * bump(a_x, 400.0f, 45.0f);
}

// The sky from deep night blue to magenta at the horizon, with the sun's halo in it.
void paintSky(Image& a_image)
{
    const Gradient sky{{0.0f, 0x04031a},
                       {0.35f, 0x170a46},
                       {0.68f, 0x4a1372},
                       {0.88f, 0xa8257f},
                       {1.0f, 0xff5a8a}};
    const Colour halo = Colour::fromHex(0xff6a6a);
    forEachSample(a_image, [&](Colour& a_pixel, float a_x, float a_y) {
        a_pixel = sky.at(a_y / kHorizon);
        const float distance = hypot(a_x - kSunX, a_y - kSunY) - kSunRadius;
        if (distance > 0.0f)
            a_pixel += halo * (0.45f * exp(-distance / 10.0f) + 0.22f * exp(-distance / 42.0f));
        a_pixel.a = 1.0f;
    });
}

// Stars: soft dots, fainter and fewer towards the horizon's glow.
void paintStars(Image& a_image)
{
    constexpr int kStars = 110;
    Random random(0x7a3f);
    const Colour white = Colour::fromHex(0xe8ecff);
    for (int i = 0; i < kStars; ++i)
    {
        const float x = random.next() * Banner::kWidth;
        const float y = random.next() * random.next() * kHorizon * 0.8f;
        const float brightness = (0.25f + 0.75f * random.next() * random.next()) *
                                 (1.0f - Gradient::smoothstep(20.0f, 80.0f, y));
        const float size = 0.35f + 0.35f * random.next();
        const int reach = 3 * kScale;
        const int centreX = static_cast<int>(x * kScale);
        const int centreY = static_cast<int>(y * kScale);
        for (int sy = std::max(0, centreY - reach);
             sy <= std::min(a_image.height() - 1, centreY + reach); ++sy)
            for (int sx = std::max(0, centreX - reach);
                 sx <= std::min(a_image.width() - 1, centreX + reach); ++sx)
            {
                const float dx = (static_cast<float>(sx) + 0.5f) / kScale - x;
                const float dy = (static_cast<float>(sy) + 0.5f) / kScale - y;
                a_image.at(sx, sy) +=
                    white * (brightness * exp(-(dx * dx + dy * dy) / (2.0f * size * size)));
            }
    }
}

// The sun: a yellow-to-pink disc whose lower half is cut by bands that widen downwards.
void paintSun(Image& a_image)
{
    const Gradient sun = Palette::sun();
    forEachSample(a_image, [&](Colour& a_pixel, float a_x, float a_y) {
        if (hypot(a_x - kSunX, a_y - kSunY) > kSunRadius)
            return;
        const float start = kSunY - 0.05f * kSunRadius;
        if (a_y > start)
        {
            const float depth = (a_y - start) / (kSunRadius * 1.05f);
            const float period = 7.0f;
            const float gap = 1.0f + 3.2f * depth;
            if (fmod(a_y - start, period) > period - gap)
                return;
        }
        a_pixel = sun.at((a_y - (kSunY - kSunRadius)) / (2.0f * kSunRadius));
    });
}

// Two ranges of mountains on the horizon, each with a rim of light along its ridge.
void paintMountains(Image& a_image)
{
    const std::vector<float> far = ridge(0x51ed, 0.68f, farEnvelope);
    const std::vector<float> near = ridge(0xc0de, 0.7f, nearEnvelope);
    const Colour farColour = Colour::fromHex(0x2a0c4f);
    const Colour farFoot = Colour::fromHex(0x5a1a6a);
    const Colour nearColour = Colour::fromHex(0x12062a);
    const Colour rim = Colour::fromHex(0xff6fc0);
    forEachSample(a_image, [&](Colour& a_pixel, float a_x, float a_y) {
        if (a_y > kHorizon)
            return;
        const float farTop = kHorizon - heightAt(far, a_x);
        const float nearTop = kHorizon - heightAt(near, a_x);
        if (a_y >= nearTop)
        {
            a_pixel = Colour::lerp(nearColour, rim,
                                   0.5f * (1.0f - Gradient::smoothstep(0.0f, 1.2f, a_y - nearTop)));
        }
        else if (a_y >= farTop)
        {
            const Colour body =
                Colour::lerp(farColour, farFoot, Gradient::smoothstep(farTop, kHorizon, a_y));
            a_pixel = Colour::lerp(body, rim,
                                   0.75f * (1.0f - Gradient::smoothstep(0.0f, 1.0f, a_y - farTop)));
        }
    });
}

// The ground: a dark plain with a glowing grid in perspective, the sun's reflection, and a
// haze along the horizon. Lines fade out where they crowd too close to draw.
void paintGround(Image& a_image)
{
    constexpr float kDepthScale = 40.0f;     // screen distance below the horizon times world depth
    constexpr float kDepthOffset = 0.35f;    // where the first line sits, in world units
    constexpr float kBottomSpacing = 34.0f;  // of the receding lines, at the bottom edge
    const float bottom = static_cast<float>(Banner::kHeight) - kHorizon;
    const Gradient ground{{0.0f, 0x2a0840}, {0.3f, 0x12042c}, {1.0f, 0x06021a}};
    const Colour line = Colour::fromHex(0xff3fc0);
    const Colour farLine = Colour::fromHex(0xffa0e8);
    const Colour reflection = Colour::fromHex(0xff5a9a);
    forEachSample(a_image, [&](Colour& a_pixel, float a_x, float a_y) {
        const float below = a_y - kHorizon;
        if (below <= 0.0f)
            return;
        a_pixel = ground.at(below / bottom);
        const float width = 0.45f + 0.55f * below / bottom;

        const float depth = kDepthScale / below;
        const float lineDepth = std::max(round(depth - kDepthOffset), 0.0f) + kDepthOffset;
        const float across = abs(below - kDepthScale / lineDepth);
        const float acrossSpacing = kDepthScale / (depth * depth);
        const float acrossLine =
            Gradient::smoothstep(2.0f, 7.0f, acrossSpacing) *
            (exp(-across * across / (width * width)) + 0.35f * exp(-across / (2.5f * width)));

        const float spacing = kBottomSpacing * below / bottom;
        const float column = round((a_x - Banner::kWidth * 0.5f) / spacing);
        const float slope = column * kBottomSpacing / bottom;
        const float along =
            abs(a_x - Banner::kWidth * 0.5f - column * spacing) / sqrt(1.0f + slope * slope);
        const float alongLine =
            Gradient::smoothstep(1.2f, 5.0f, spacing / sqrt(1.0f + slope * slope)) *
            (exp(-along * along / (width * width)) + 0.35f * exp(-along / (2.5f * width)));

        const Colour lineColour =
            Colour::lerp(farLine, line, Gradient::smoothstep(0.0f, 18.0f, below));
        a_pixel += lineColour * std::min(acrossLine + alongLine, 1.4f);
        a_pixel += reflection * (0.35f * bump(a_x, kSunX, 16.0f) * exp(-below / 14.0f));
        a_pixel.a = 1.0f;
    });
    const Colour haze = Colour::fromHex(0xff4f9f);
    forEachSample(a_image, [&](Colour& a_pixel, float, float a_y) {
        const float distance = abs(a_y - kHorizon);
        a_pixel += haze * (0.55f * exp(-distance / 2.5f) + 0.18f * exp(-distance / 12.0f));
        a_pixel.a = 1.0f;
    });
}

// The title in chrome, cyan above a dark waist line and pink below, with a dark outline, a cyan
// rim and a magenta glow; the "2" in hot sun colours.
void paintTitle(Image& a_image, const FontRenderer& a_font)
{
    constexpr int kTitleSize = 68;
    constexpr float kTitleX = 18.0f;
    constexpr float kBaseline = 80.0f;
    constexpr float kCapRatio = 0.73f;  // DejaVu's capitals stand 0.73 em
    constexpr float kCapHeight = kCapRatio * kTitleSize;
    constexpr int kSubtitleSize = 34;
    const std::string title = "TARVO";
    const std::string subtitle = "2";

    // The "2" stands as a superscript: its top level with the title's capitals.
    const float subtitleX = kTitleX + a_font.measure(title, kTitleSize * kScale) / kScale + 4.0f;
    const float subtitleHeight = kCapRatio * kSubtitleSize;
    const float top = kBaseline - kCapHeight;
    Mask titleMask(a_image.width(), a_image.height());
    Mask subtitleMask(a_image.width(), a_image.height());
    a_font.draw(titleMask, title, kTitleSize * kScale, kTitleX * kScale, kBaseline * kScale);
    a_font.draw(subtitleMask, subtitle, kSubtitleSize * kScale, subtitleX * kScale,
                (top + subtitleHeight) * kScale);
    Lettering lettering(a_image.width(), a_image.height());
    lettering.add(titleMask, Palette::chrome(), top, kCapHeight);
    lettering.add(subtitleMask, Palette::hot(), top, subtitleHeight);
    lettering.paint(a_image, {2.6f * kScale, 1.6f * kScale, 6.0f * kScale, 0.85f}, kScale);
}

// A gentle darkening towards the edges, which holds the eye on the middle.
void paintVignette(Image& a_image)
{
    forEachSample(a_image, [](Colour& a_pixel, float a_x, float a_y) {
        const float dx = a_x / Banner::kWidth - 0.5f;
        const float dy = a_y / Banner::kHeight - 0.5f;
        const float keep = 1.0f - 0.5f * (dx * dx + dy * dy * 0.6f);
        a_pixel = a_pixel * keep;
        a_pixel.a = 1.0f;
    });
}

}

Image Banner::paint(const FontRenderer& a_font)
{
    Image image(kWidth * kScale, kHeight * kScale);
    paintSky(image);
    paintStars(image);
    paintSun(image);
    paintMountains(image);
    paintGround(image);
    paintTitle(image, a_font);
    paintVignette(image);
    return image.downsampled(kScale);
}
