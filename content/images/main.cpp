// Writes the images of the content folder named on the command line:
//
// - the shared textures "null_white.jpg", "null_grey.jpg" and
//   "null_black.jpg": each an 8 x 8 picture of one grey level, as a baseline
//   JPEG at quality 100: every quantiser is 1, a uniform block has only its
//   DC term, and white, grey and black have no colour difference, so each
//   decodes to exactly its level;
// - "noise2.jpg", the seamless tiling noise of the "Break" filter (see
//   TilingNoise), at quality 95;
// - "spot.jpg", the spot lights' projected image (see SpotImage).
#include "JpegWriter.h"
#include "SpotImage.h"
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
    if (!writeJpeg(folder + "noise2.jpg", side, side, TilingNoise::breakNoiseImage(), kNoiseQuality))
        return 1;
    if (!writeJpeg(folder + "spot.jpg", SpotImage::kSide, SpotImage::kSide, SpotImage::picture(), kNoiseQuality))
        return 1;
    return 0;
}
