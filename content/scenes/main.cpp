// Writes the demo's scene files into the content folder:
//   scene_generator OUTPUT_DIR [NAME...]
// With names, only those files ("hog.qor" ...).
#include "BallsScene.h"
#include "BlobScene.h"
#include "HogScene.h"
#include "Primitives.h"
#include "SatelliteScene.h"
#include "TestScene.h"

#include "scene/format/QorWriter.h"

#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

namespace
{

bool writeScene(const std::string& a_folder, const char* a_name, const QorFile& a_scene)
{
    std::vector<uint8_t> bytes;
    std::string error;
    if (!QorWriter::write(a_scene, bytes, error))
    {
        fprintf(stderr, "scene_generator: %s: %s\n", a_name, error.c_str());
        return false;
    }
    const std::string path = a_folder + "/" + a_name;
    FILE* file = fopen(path.c_str(), "wb");
    bool written = file && fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (file)
        written = fclose(file) == 0 && written;
    if (!written)
        fprintf(stderr, "scene_generator: cannot write %s\n", path.c_str());
    return written;
}

const struct
{
    const char* name;
    QorFile (*recipe)();
} g_scenes[] = {
    {"primitives.qor", primitivesScene}, {"test.qor", testScene}, {"hog.qor", hogScene},
    {"balls.qor", ballsScene},           {"blob.qor", blobScene}, {"satellite.qor", satelliteScene},
};

bool wanted(const char* a_name, int a_argc, char** a_argv)
{
    if (a_argc <= 2)
        return true;
    for (int i = 2; i < a_argc; ++i)
    {
        if (strcmp(a_argv[i], a_name) == 0)
            return true;
    }
    return false;
}

}  // namespace

int main(int a_argc, char** a_argv)
{
    if (a_argc < 2)
    {
        fprintf(stderr, "usage: scene_generator OUTPUT_DIR [NAME...]\n");
        return 2;
    }
    for (const auto& scene : g_scenes)
    {
        if (wanted(scene.name, a_argc, a_argv) &&
            !writeScene(a_argv[1], scene.name, scene.recipe()))
            return 1;
    }
    return 0;
}
