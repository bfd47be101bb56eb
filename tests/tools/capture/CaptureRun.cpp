// Running tarvo-capture and reading its PNG frames.
#include "CaptureRun.h"

#include <png.h>
#include <sys/wait.h>

#include <stdio.h>
#include <string.h>

#include <fstream>
#include <sstream>

namespace
{

std::string quoted(const std::string& a_text)
{
    std::string result = "'";
    for (char c : a_text)
        result += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return result + "'";
}

}  // namespace

CaptureRun CaptureRun::start(const std::string& a_folder,
                             const std::vector<std::string>& a_arguments)
{
    const std::string messages = a_folder + "/messages.txt";
    std::string command = "cd " + quoted(a_folder) + " && " + quoted(TARVO_CAPTURE);
    for (const std::string& argument : a_arguments)
        command += " " + quoted(argument);
    command += " 2>" + quoted(messages) + " </dev/null";
    CaptureRun run;
    const int result = system(command.c_str());
    run.status = WIFEXITED(result) ? WEXITSTATUS(result) : -1;
    std::ifstream file(messages);
    std::stringstream text;
    text << file.rdbuf();
    run.messages = text.str();
    return run;
}

std::vector<uint8_t> CaptureRun::readPng(const std::string& a_path, uint32_t* a_width,
                                         uint32_t* a_height)
{
    png_image image;
    memset(&image, 0, sizeof(image));
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, a_path.c_str()))
        return {};
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr))
        return {};
    if (a_width)
        *a_width = image.width;
    if (a_height)
        *a_height = image.height;
    return pixels;
}
