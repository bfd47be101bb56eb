// tarvo-frame-diff: compares two frames of the frame twin pixel by pixel
// against a tolerance and writes the differences as a picture (see --help).
#include "FrameDiff.h"
#include "PngWriter.h"

#include <png.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

namespace
{

const int kWithin = 0;
const int kBeyond = 1;
const int kBadInput = 2;

const char* const kUsage =
    "Usage: tarvo-frame-diff [OPTIONS] FIRST.png SECOND.png\n"
    "Compares two pictures of the same size pixel by pixel. A pixel differs when one of\n"
    "its channels is more than STEP apart (of 255) from the other picture's pixel there\n"
    "and from all of its pixels within REACH (either picture looked at from the other);\n"
    "the pictures match when at most SHARE per cent of the pixels differ. Prints the\n"
    "largest channel difference, the\n"
    "mean one and the share of differing pixels; exits 0 on a match, 1 otherwise, 2\n"
    "when a picture cannot be read or the sizes differ.\n"
    "  --step N       default 16\n"
    "  --reach R      default 0: the same pixel only\n"
    "  --share P      default 1\n"
    "  --diff FILE    writes the channel differences, times GAIN, as a PNG\n"
    "  --gain G       default 8\n"
    "  --help         this text\n";

bool readPng(const char* a_path, uint32_t* a_width, uint32_t* a_height, std::vector<uint8_t>* a_rgb)
{
    png_image image;
    memset(&image, 0, sizeof(image));
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, a_path))
    {
        fprintf(stderr, "tarvo-frame-diff: %s: %s\n", a_path, image.message);
        return false;
    }
    image.format = PNG_FORMAT_RGB;
    a_rgb->resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, a_rgb->data(), 0, nullptr))
    {
        fprintf(stderr, "tarvo-frame-diff: %s: %s\n", a_path, image.message);
        png_image_free(&image);
        return false;
    }
    *a_width = image.width;
    *a_height = image.height;
    return true;
}

bool parseNumber(const char* a_text, double a_largest, double* a_value)
{
    char* rest = nullptr;
    const double value = strtod(a_text, &rest);
    if (rest == a_text || *rest != '\0' || !(value >= 0.0) || value > a_largest)
        return false;
    *a_value = value;
    return true;
}

}  // namespace

int main(int a_count, char** a_arguments)
{
    double step = 16.0;
    double share = 1.0;
    double gain = 8.0;
    double reach = 0.0;
    std::string diffPath;
    std::vector<const char*> files;
    for (int i = 1; i < a_count; ++i)
    {
        const std::string argument = a_arguments[i];
        if (argument == "--help")
        {
            fputs(kUsage, stdout);
            return kWithin;
        }
        if (argument == "--step" || argument == "--share" || argument == "--gain" ||
            argument == "--reach" || argument == "--diff")
        {
            if (i + 1 >= a_count)
            {
                fprintf(stderr, "tarvo-frame-diff: %s needs a value\n", argument.c_str());
                return kBadInput;
            }
            const char* value = a_arguments[++i];
            bool valid = true;
            if (argument == "--diff")
                diffPath = value;
            else
                valid = parseNumber(value, argument == "--share" ? 100.0 : 255.0,
                                    argument == "--step"    ? &step
                                    : argument == "--share" ? &share
                                                            : &gain);
            if (!valid)
            {
                fprintf(stderr, "tarvo-frame-diff: '%s' is not a valid value for %s\n", value,
                        argument.c_str());
                return kBadInput;
            }
            continue;
        }
        files.push_back(a_arguments[i]);
    }
    if (files.size() != 2)
    {
        fputs("tarvo-frame-diff: two pictures are needed\nTry 'tarvo-frame-diff --help'.\n",
              stderr);
        return kBadInput;
    }
    uint32_t width[2] = {};
    uint32_t height[2] = {};
    std::vector<uint8_t> rgb[2];
    for (int i = 0; i < 2; ++i)
        if (!readPng(files[i], &width[i], &height[i], &rgb[i]))
            return kBadInput;
    if (width[0] != width[1] || height[0] != height[1])
    {
        fprintf(stderr, "tarvo-frame-diff: the pictures are %ux%u and %ux%u\n", width[0], height[0],
                width[1], height[1]);
        return kBadInput;
    }
    const FrameDiff diff(rgb[0], rgb[1], width[0], height[0], uint32_t(step), uint32_t(reach),
                         uint32_t(gain));
    const double differing = 100.0 * double(diff.m_differing) / double(diff.m_pixels);
    printf("largest %u mean %.3f differing %.3f%%\n", diff.m_largest, diff.m_mean, differing);
    if (!diffPath.empty() && !writePng(diffPath, width[0], height[0], diff.m_picture))
        return kBadInput;
    return differing <= share ? kWithin : kBeyond;
}
