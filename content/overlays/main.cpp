// overlay_generator: paints the demo sequence's images into the content folder (the loading bar, the titles, the beat words, the credits, the logo and the grain noise), and on request a contact sheet of them all.
#include "ContactSheet.h"
#include "CreditsOverlay.h"
#include "FontRenderer.h"
#include "GrainNoise.h"
#include "JpegWriter.h"
#include "LoadBarTexture.h"
#include "OverlayCanvas.h"
#include "PngWriter.h"
#include "TitleOverlay.h"
#include "WordOverlay.h"

#include <stdio.h>
#include <string.h>
#include <string>
#include <vector>

namespace
{

const char kUsage[] =
    "usage: overlay_generator --bold PATH --regular PATH [--sheet PNG] CONTENT_FOLDER\n"
    "\n"
    "Writes the loading bar's segment texture, the 1280 x 720 overlays of the\n"
    "demo sequence (light on black) and the grain noise as JPEG files into\n"
    "CONTENT_FOLDER, with their text set in the given bold and regular fonts;\n"
    "with --sheet, also a contact sheet of them all as a PNG file.\n";

// Overlays are stretched over the frame and torn by the Break filter: high quality keeps the
// dark background free of ringing around the letters.
constexpr int kOverlayQuality = 92;
constexpr int kNoiseQuality = 95;

struct Overlay
{
    const char* file;
    void (*paint)(OverlayCanvas&);
};

const Overlay kOverlays[] = {
    {"title1.jpg", TitleOverlay::paintName},
    {"title2.jpg", TitleOverlay::paintNumber},
    {"title3.jpg", TitleOverlay::paintSubtitle},
    {"go.jpg",
     [](OverlayCanvas& a_canvas) {
         WordOverlay::paint(a_canvas, "GO", false);
     }},
    {"jump.jpg",
     [](OverlayCanvas& a_canvas) {
         WordOverlay::paint(a_canvas, "JUMP", false);
     }},
    {"step.jpg",
     [](OverlayCanvas& a_canvas) {
         WordOverlay::paint(a_canvas, "STEP", false);
     }},
    {"holdit.jpg",
     [](OverlayCanvas& a_canvas) {
         WordOverlay::paint(a_canvas, "HOLD IT", true);
     }},
    {"logo.jpg", TitleOverlay::paintLogo},
    {"credits1.jpg", CreditsOverlay::paintMakers},
    {"credits2.jpg", CreditsOverlay::paintThanks},
};

bool openFont(FontRenderer& a_font, const std::string& a_path)
{
    std::string error;
    if (a_font.open(a_path, error))
        return true;
    fprintf(stderr, "overlay_generator: %s\n", error.c_str());
    return false;
}

}

int main(int a_argc, char** a_argv)
{
    std::string boldPath;
    std::string regularPath;
    std::string sheetPath;
    std::string folder;
    for (int i = 1; i < a_argc; ++i)
    {
        if (i + 1 < a_argc && strcmp(a_argv[i], "--bold") == 0)
            boldPath = a_argv[++i];
        else if (i + 1 < a_argc && strcmp(a_argv[i], "--regular") == 0)
            regularPath = a_argv[++i];
        else if (i + 1 < a_argc && strcmp(a_argv[i], "--sheet") == 0)
            sheetPath = a_argv[++i];
        else if (folder.empty() && a_argv[i][0] != '-')
            folder = a_argv[i];
        else
        {
            fputs(kUsage, stderr);
            return 2;
        }
    }
    if (boldPath.empty() || regularPath.empty() || folder.empty())
    {
        fputs(kUsage, stderr);
        return 2;
    }
    FontRenderer bold;
    FontRenderer regular;
    if (!openFont(bold, boldPath) || !openFont(regular, regularPath))
        return 1;
    folder += "/";
    ContactSheet sheet(regular);

    const std::vector<uint8_t> loadBar = LoadBarTexture::picture();
    if (!writeJpeg(folder + "loadbar.jpg", LoadBarTexture::kWidth, LoadBarTexture::kHeight, loadBar,
                   kNoiseQuality))
        return 1;
    for (const Overlay& overlay : kOverlays)
    {
        OverlayCanvas canvas(bold, regular);
        overlay.paint(canvas);
        const std::vector<uint8_t> rgb = canvas.rgb();
        if (!writeJpeg(folder + overlay.file, OverlayCanvas::kWidth, OverlayCanvas::kHeight, rgb,
                       kOverlayQuality))
            return 1;
        sheet.add(overlay.file, OverlayCanvas::kWidth, OverlayCanvas::kHeight, rgb);
    }
    const std::vector<uint8_t> noise = GrainNoise::picture();
    if (!writeJpeg(folder + "smnoise.jpg", GrainNoise::kSide, GrainNoise::kSide, noise,
                   kNoiseQuality))
        return 1;

    if (sheetPath.empty())
        return 0;
    sheet.add("loadbar.jpg", LoadBarTexture::kWidth, LoadBarTexture::kHeight, loadBar);
    sheet.add("loadbar.jpg: the bar, 60 segments", LoadBarTexture::kPreviewWidth,
              LoadBarTexture::kPreviewHeight, LoadBarTexture::preview(60));
    sheet.add("smnoise.jpg, 2 x 2 tiles", GrainNoise::kSide, GrainNoise::kSide, noise, 2);
    return writePng(sheetPath, uint32_t(sheet.width()), uint32_t(sheet.height()), sheet.rgb()) ? 0
                                                                                               : 1;
}
