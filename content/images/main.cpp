// Writes the images of the content folder named on the command line:
//
// - the shared textures "null_white.jpg", "null_grey.jpg" and
//   "null_black.jpg": each an 8 x 8 picture of one grey level, as a baseline
//   JPEG at quality 100: every quantiser is 1, a uniform block has only its
//   DC term, and white, grey and black have no colour difference, so each
//   decodes to exactly its level;
// - "noise2.jpg", the seamless tiling noise of the "Break" filter (see
//   TilingNoise), at quality 95;
// - "spot.jpg", the spot lights' projected image (see SpotImage);
// - the scenes' textures (PanelTexture, TileTexture, GlowTexture,
//   SpaceTexture, FleshTexture): colour maps at quality 92, height and
//   occlusion maps at quality 100, as the material pass reads a height
//   map's slope from neighbouring texels and would show the quantiser's
//   steps as bumps.
#include "FleshTexture.h"
#include "GlowTexture.h"
#include "JpegWriter.h"
#include "PanelTexture.h"
#include "SpaceTexture.h"
#include "SpotImage.h"
#include "TileTexture.h"
#include "TilingNoise.h"

#include <stdint.h>
#include <stdio.h>

#include <string>
#include <vector>

namespace
{

struct NullTexture
{
    const char* name;
    uint8_t level;
};

const NullTexture kNullTextures[] = {
    {"null_white.jpg", 255},
    {"null_grey.jpg", 128},
    {"null_black.jpg", 0},
};

constexpr uint32_t kNullSide = 8;
constexpr int kNoiseQuality = 95;
constexpr int kColourQuality = 92;
constexpr int kMapQuality = 100;

struct SceneImage
{
    const char* name;
    Picture (*paint)();
    int quality;
};

const SceneImage kSceneImages[] = {
    {"panels.jpg", PanelTexture::colour, kColourQuality},
    {"panels_height.jpg", PanelTexture::height, kMapQuality},
    {"tiles.jpg", TileTexture::colour, kColourQuality},
    {"tiles_height.jpg", TileTexture::height, kMapQuality},
    {"tiles_occlusion.jpg", TileTexture::occlusion, kColourQuality},
    {"spark.jpg", GlowTexture::spark, kColourQuality},
    {"glowlines.jpg", GlowTexture::lines, kColourQuality},
    {"streaks.jpg", GlowTexture::streaks, kColourQuality},
    {"grille.jpg", GlowTexture::grille, kMapQuality},
    {"solar.jpg", SpaceTexture::solar, kColourQuality},
    {"solar_height.jpg", SpaceTexture::solarHeight, kMapQuality},
    {"foil.jpg", SpaceTexture::foil, kColourQuality},
    {"foil_height.jpg", SpaceTexture::foilHeight, kMapQuality},
    {"planet.jpg", SpaceTexture::planet, kColourQuality},
    {"flesh.jpg", FleshTexture::colour, kColourQuality},
    {"flesh_height.jpg", FleshTexture::height, kMapQuality},
};

}

int main(int a_argc, char** a_argv)
{
    if (a_argc != 2)
    {
        fprintf(stderr, "usage: image_generator CONTENT_FOLDER\n");
        return 2;
    }
    const std::string folder = std::string(a_argv[1]) + "/";
    for (const NullTexture& texture : kNullTextures)
    {
        const std::vector<uint8_t> grey(kNullSide * kNullSide * 3, texture.level);
        if (!writeJpeg(folder + texture.name, kNullSide, kNullSide, grey, 100))
            return 1;
    }
    const uint32_t side = static_cast<uint32_t>(TilingNoise::kSide);
    if (!writeJpeg(folder + "noise2.jpg", side, side, TilingNoise::breakNoiseImage(),
                   kNoiseQuality))
        return 1;
    if (!writeJpeg(folder + "spot.jpg", SpotImage::kSide, SpotImage::kSide, SpotImage::picture(),
                   kNoiseQuality))
        return 1;
    for (const SceneImage& image : kSceneImages)
    {
        const Picture picture = image.paint();
        if (!writeJpeg(folder + image.name, uint32_t(picture.width()), uint32_t(picture.height()),
                       picture.bytes(), image.quality))
            return 1;
    }
    return 0;
}
