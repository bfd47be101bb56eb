// scenepreview: renders shots of the shipped scenes through the demo's own
// deferred pipeline and writes them as PNG files.
//   scenepreview FOLDER shot OUT.png SCENE CAMERA CAMERA_TIME SCENE_TIME [FOV_SCALE]
//   scenepreview FOLDER sheet OUT.png     the contact sheet of docs/
//   scenepreview FOLDER image OUT.png NAME.jpg   a content image, decoded
//   scenepreview FOLDER stats             meshes, triangles, lights per scene
// FOLDER holds "tarvo.fs" or the loose content files.
#include "PngWriter.h"
#include "ShotRenderer.h"

#include "archive/FileSystem.h"
#include "render/JpegDecoder.h"
#include "scene/Scene.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace
{

const char g_usage[] =
    "usage: scenepreview FOLDER shot OUT.png SCENE CAMERA CAMERA_TIME SCENE_TIME [FOV_SCALE]\n"
    "       scenepreview FOLDER sheet OUT.png\n"
    "       scenepreview FOLDER image OUT.png NAME.jpg\n"
    "       scenepreview FOLDER stats\n";

const char* const g_scenes[] = {"hog.qor", "test.qor", "balls.qor", "blob.qor", "satellite.qor"};

// Area-averaged reduction of a 1280 x 720 frame into a tile of a sheet.
void place(const std::vector<uint8_t>& a_frame, std::vector<uint8_t>& a_sheet, int32_t a_sheetWidth,
           int32_t a_left, int32_t a_top, int32_t a_width, int32_t a_height)
{
    std::vector<uint32_t> sums(size_t(a_width) * size_t(a_height) * 4, 0);
    for (int32_t y = 0; y < ShotRenderer::kHeight; ++y)
    {
        const int32_t ty = y * a_height / ShotRenderer::kHeight;
        for (int32_t x = 0; x < ShotRenderer::kWidth; ++x)
        {
            const int32_t tx = x * a_width / ShotRenderer::kWidth;
            uint32_t* sum = &sums[(size_t(ty) * size_t(a_width) + size_t(tx)) * 4];
            const uint8_t* pixel = &a_frame[(size_t(y) * ShotRenderer::kWidth + size_t(x)) * 3];
            sum[0] += pixel[0];
            sum[1] += pixel[1];
            sum[2] += pixel[2];
            sum[3] += 1;
        }
    }
    for (int32_t y = 0; y < a_height; ++y)
    {
        for (int32_t x = 0; x < a_width; ++x)
        {
            const uint32_t* sum = &sums[(size_t(y) * size_t(a_width) + size_t(x)) * 4];
            uint8_t* out =
                &a_sheet[(size_t(a_top + y) * size_t(a_sheetWidth) + size_t(a_left + x)) * 3];
            for (int k = 0; k < 3; ++k)
                out[k] = uint8_t((sum[k] + sum[3] / 2) / sum[3]);
        }
    }
}

int sheet(ShotRenderer& a_renderer, const std::string& a_path)
{
    const int32_t columns = 4, width = 384, height = 216, gap = 4;
    const std::vector<Shot> shots = contactSheetShots();
    const int32_t rows = int32_t((shots.size() + columns - 1) / columns);
    const int32_t sheetWidth = columns * width + (columns + 1) * gap;
    const int32_t sheetHeight = rows * height + (rows + 1) * gap;
    std::vector<uint8_t> picture(size_t(sheetWidth) * size_t(sheetHeight) * 3, 40);
    for (size_t i = 0; i < shots.size(); ++i)
    {
        const std::vector<uint8_t> frame = a_renderer.render(shots[i]);
        if (frame.empty())
            return 1;
        const int32_t column = int32_t(i) % columns, row = int32_t(i) / columns;
        place(frame, picture, sheetWidth, gap + column * (width + gap), gap + row * (height + gap),
              width, height);
    }
    return writePng(a_path, uint32_t(sheetWidth), uint32_t(sheetHeight), picture) ? 0 : 1;
}

int image(const std::string& a_path, const char* a_name)
{
    File file;
    ReturnCode read = FileSystem::readFile(a_name, file);
    if (read.failed())
        return 1;
    const std::unique_ptr<Image> decoded = decodeJpeg(file.m_data, file.m_size);
    if (!decoded)
        return 1;
    std::vector<uint8_t> rgb;
    rgb.reserve(size_t(decoded->width) * size_t(decoded->height) * 3);
    for (int32_t y = 0; y < decoded->height; ++y)
    {
        for (int32_t x = 0; x < decoded->width; ++x)
        {
            const uint32_t pixel = decoded->pixel(x, y);
            rgb.insert(rgb.end(), {uint8_t(pixel >> 16), uint8_t(pixel >> 8), uint8_t(pixel)});
        }
    }
    return writePng(a_path, uint32_t(decoded->width), uint32_t(decoded->height), rgb) ? 0 : 1;
}

int stats(ShotRenderer& a_renderer)
{
    for (const char* name : g_scenes)
    {
        Scene* scene = a_renderer.scene(name);
        if (!scene)
            return 1;
        uint64_t triangles = 0;
        for (uint32_t i = 0; i < scene->m_meshes.count(); ++i)
            triangles += scene->m_meshes.at(i)->m_primitiveCount;
        printf("%s: %u meshes, %llu triangles, %u materials, %u cameras, %u lights\n", name,
               scene->m_meshes.count(), static_cast<unsigned long long>(triangles),
               scene->m_materials.count(), scene->m_cameras.count(), scene->m_lights.count());
    }
    return 0;
}

}  // namespace

int main(int a_argc, char** a_argv)
{
    if (a_argc < 3)
    {
        fputs(g_usage, stderr);
        return 2;
    }
    const std::string command = a_argv[2];
    // Output paths are taken before the renderer moves into the folder.
    std::string output = a_argc > 3 ? a_argv[3] : "";
    if (!output.empty() && output[0] != '/')
    {
        char* here = getcwd(nullptr, 0);
        output = std::string(here) + "/" + output;
        free(here);
    }
    ShotRenderer renderer;
    if (!renderer.init(a_argv[1]))
        return 1;
    if (command == "sheet" && a_argc == 4)
        return sheet(renderer, output);
    if (command == "stats" && a_argc == 3)
        return stats(renderer);
    if (command == "image" && a_argc == 5)
        return image(output, a_argv[4]);
    if (command == "shot" && (a_argc == 8 || a_argc == 9))
    {
        Shot one = makeShot(a_argv[4], uint32_t(atoi(a_argv[5])), float(atof(a_argv[6])),
                            float(atof(a_argv[7])), a_argc == 9 ? float(atof(a_argv[8])) : 0.0f);
        const std::vector<uint8_t> frame = renderer.render(one);
        if (frame.empty())
            return 1;
        return writePng(output, ShotRenderer::kWidth, ShotRenderer::kHeight, frame) ? 0 : 1;
    }
    fputs(g_usage, stderr);
    return 2;
}
