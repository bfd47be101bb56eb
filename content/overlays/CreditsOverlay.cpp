// The two credits pages, held steady over the picture: what made the production, and the libraries it stands on.
#include "CreditsOverlay.h"

#include "OverlayCanvas.h"
#include "Palette.h"

#include <string>

namespace
{

constexpr float kMiddleX = 0.5f * OverlayCanvas::kWidth;

// A page's heading in chrome with a short rule of light under it.
void paintHeading(OverlayCanvas& a_canvas, const std::string& a_heading)
{
    constexpr int kSize = 96;
    constexpr float kMiddle = 128.0f;
    a_canvas.chromeLine(a_heading, kSize, kMiddleX, kMiddle, 12.0f);
    const float rule = kMiddle + 0.5f * OverlayCanvas::kCapRatio * kSize + 34.0f;
    a_canvas.neonLine(kMiddleX - 260.0f, kMiddleX + 260.0f, rule, 2.0f, 200.0f, 200.0f,
                      Palette::glow());
}

}

void CreditsOverlay::paintMakers(OverlayCanvas& a_canvas)
{
    paintHeading(a_canvas, "CREDITS");
    const struct
    {
        const char* role;
        const char* means;
    } entries[] = {
        {"CODE", "C++, shaded in real time by a deferred renderer"},
        {"GRAPHICS", "scenes, textures and lettering generated at build time"},
        {"MUSIC", "170 BPM drum & bass, synthesised at build time"},
    };
    // Roles in spaced cyan capitals over the means in white: read at a glance, then in full.
    float baseline = 300.0f;
    for (const auto& entry : entries)
    {
        a_canvas.plainLine(entry.role, true, 26, kMiddleX, baseline, Palette::rim(), 9.0f);
        a_canvas.plainLine(entry.means, false, 40, kMiddleX, baseline + 54.0f,
                           Colour::fromHex(0xffffff));
        baseline += 128.0f;
    }
    a_canvas.plainLine("everything you see and hear is made by the program itself", false, 26,
                       kMiddleX, 676.0f, Colour::fromHex(0xffd6f4));
}

void CreditsOverlay::paintThanks(OverlayCanvas& a_canvas)
{
    paintHeading(a_canvas, "THANKS");
    a_canvas.plainLine("TO THE OPEN-SOURCE LIBRARIES IT STANDS ON", true, 26, kMiddleX, 300.0f,
                       Palette::rim(), 9.0f);
    const char* const rows[] = {
        "SDL  \u00b7  Mesa  \u00b7  MojoShader",
        "Dear ImGui  \u00b7  FreeType  \u00b7  libjpeg-turbo",
        "mpg123  \u00b7  LAME  \u00b7  kissfft  \u00b7  zlib",
    };
    float baseline = 380.0f;
    for (const char* row : rows)
    {
        a_canvas.plainLine(row, true, 50, kMiddleX, baseline, Colour::fromHex(0xffffff));
        baseline += 80.0f;
    }
    a_canvas.plainLine("lettering set in the DejaVu fonts", false, 26, kMiddleX, 676.0f,
                       Colour::fromHex(0xffd6f4));
}
