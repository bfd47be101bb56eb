// launcher_generator: paints the launcher's banner (8-bit palettised BMP) and the program's icon (32-bit BMP with alpha,
// and an .ico file of it for the Windows build's resource script).
#include "Banner.h"
#include "BmpWriter.h"
#include "FontRenderer.h"
#include "Icon.h"
#include "Image.h"
#include "Quantiser.h"

#include <stdio.h>
#include <string.h>
#include <string>

namespace
{

const char kUsage[] =
    "usage: launcher_generator --font PATH --banner PATH --icon PATH [--ico PATH]\n"
    "\n"
    "Paints the launcher's 400 x 150 banner with its titles in the given font\n"
    "(TrueType or OpenType) and writes it as an 8-bit palettised BMP, and paints\n"
    "the 16 x 16 program icon and writes it as a 32-bit BMP with alpha, and with\n"
    "--ico as an .ico file as well.\n";

}

int main(int a_argc, char** a_argv)
{
    std::string fontPath;
    std::string bannerPath;
    std::string iconPath;
    std::string icoPath;
    for (int i = 1; i < a_argc; ++i)
    {
        if (i + 1 < a_argc && strcmp(a_argv[i], "--font") == 0)
            fontPath = a_argv[++i];
        else if (i + 1 < a_argc && strcmp(a_argv[i], "--banner") == 0)
            bannerPath = a_argv[++i];
        else if (i + 1 < a_argc && strcmp(a_argv[i], "--icon") == 0)
            iconPath = a_argv[++i];
        else if (i + 1 < a_argc && strcmp(a_argv[i], "--ico") == 0)
            icoPath = a_argv[++i];
        else
        {
            fputs(kUsage, stderr);
            return 2;
        }
    }
    if (fontPath.empty() || bannerPath.empty() || iconPath.empty())
    {
        fputs(kUsage, stderr);
        return 2;
    }

    std::string error;
    FontRenderer font;
    PalettedImage banner;
    if (!font.open(fontPath, error) ||
        !Quantiser::quantise(Banner::paint(font), 256, banner, error) ||
        !BmpWriter::writePaletted(banner, bannerPath, error) ||
        !BmpWriter::writeBgra(Icon::paint(), iconPath, error) ||
        (!icoPath.empty() && !BmpWriter::writeIcon(Icon::paint(), icoPath, error)))
    {
        fprintf(stderr, "launcher_generator: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
