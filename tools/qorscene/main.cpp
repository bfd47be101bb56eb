// qorscene: reads scene files exactly as the demo's loader does, imports
// editors' scenes and exports scene files back to glTF.
//   qorscene dump FILE
//   qorscene verify FILE...
//   qorscene import IN OUT.qor [--fps N] [--frames N] [--scale S] [--textures DIR]
//   qorscene export IN.qor OUT.gltf [--fps N]
#include "SceneDump.h"
#include "SceneExporter.h"
#include "SceneImporter.h"

#include "scene/format/QorReader.h"
#include "scene/format/QorWriter.h"

#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <filesystem>
#include <string>
#include <vector>

namespace
{

const char g_usage[] =
    "usage: qorscene dump FILE         every record of a scene file, in order\n"
    "       qorscene verify FILE...    every structural fault; exit status 1 if any\n"
    "       qorscene import IN OUT.qor [--fps N] [--frames N] [--scale S] [--textures DIR]\n"
    "                                  a scene from a 3D editor (glTF 2.0, .glb, OBJ, FBX,\n"
    "                                  COLLADA, ...) as a scene file; its pictures are\n"
    "                                  written as JPEG into DIR (default: beside OUT.qor).\n"
    "                                  --fps: animation frames per second (30); --frames:\n"
    "                                  frames to sample (default: the longest animation);\n"
    "                                  --scale: demo units per editor unit (1)\n"
    "       qorscene export IN.qor OUT.gltf [--fps N]\n"
    "                                  a scene file as glTF 2.0 for an editor, with the\n"
    "                                  pictures its materials name copied beside it\n"
    "       qorscene --help\n";

bool readBytes(const char* a_path, std::vector<uint8_t>& a_bytes)
{
    FILE* file = fopen(a_path, "rb");
    if (!file)
        return false;
    uint8_t buffer[65536];
    size_t read = 0;
    while ((read = fread(buffer, 1, sizeof(buffer), file)) != 0)
        a_bytes.insert(a_bytes.end(), buffer, buffer + read);
    const bool failed = ferror(file) != 0;
    fclose(file);
    return !failed;
}

// Reads and parses a_path; false after a message on standard error.
bool parse(const char* a_path, QorFile& a_file)
{
    std::vector<uint8_t> bytes;
    if (!readBytes(a_path, bytes))
    {
        fprintf(stderr, "%s: cannot read: %s\n", a_path, strerror(errno));
        return false;
    }
    std::string error;
    if (!QorReader::read(bytes.data(), bytes.size(), a_file, error))
    {
        fprintf(stderr, "%s: %s\n", a_path, error.c_str());
        return false;
    }
    return true;
}

bool writeBytes(const std::string& a_path, const std::vector<uint8_t>& a_bytes)
{
    FILE* file = fopen(a_path.c_str(), "wb");
    if (!file)
        return false;
    const bool written = fwrite(a_bytes.data(), 1, a_bytes.size(), file) == a_bytes.size();
    return fclose(file) == 0 && written;
}

// A positive number from a_text, or false.
bool positive(const char* a_text, double& a_value)
{
    char* end = nullptr;
    a_value = strtod(a_text, &end);
    return end != a_text && *end == '\0' && a_value > 0.0 && a_value < 1e9;
}

// Everything is converted and checked before the first file is written, so
// a failed import leaves nothing behind.
int import(int a_argc, char** a_argv)
{
    SceneImporter::Options options;
    std::string textures;
    std::vector<const char*> paths;
    for (int i = 2; i < a_argc; ++i)
    {
        const std::string option = a_argv[i];
        double value = 0.0;
        const bool hasValue = i + 1 < a_argc;
        if (option == "--fps" && hasValue && positive(a_argv[i + 1], value))
            options.fps = value;
        else if (option == "--frames" && hasValue && positive(a_argv[i + 1], value) &&
                 value == double(uint32_t(value)))
            options.frames = uint32_t(value);
        else if (option == "--scale" && hasValue && positive(a_argv[i + 1], value))
            options.scale = float(value);
        else if (option == "--textures" && hasValue)
            textures = a_argv[i + 1];
        else if (option.rfind("--", 0) != 0)
        {
            paths.push_back(a_argv[i]);
            continue;
        }
        else
        {
            fprintf(stderr, "qorscene import: %s needs %s\n", option.c_str(),
                    option == "--textures" ? "a folder"
                    : option == "--frames" ? "a whole number above 0"
                                           : "a number above 0");
            return 2;
        }
        ++i;
    }
    if (paths.size() != 2)
    {
        fputs(g_usage, stderr);
        return 2;
    }
    const std::string output = paths[1];
    if (textures.empty())
        textures = std::filesystem::absolute(output).parent_path().string();

    SceneImporter importer(options);
    QorFile file;
    std::string error;
    const bool imported = importer.import(paths[0], file, error);
    for (const std::string& warning : importer.warnings())
        fprintf(stderr, "%s: warning: %s\n", paths[0], warning.c_str());
    if (!imported)
    {
        fprintf(stderr, "%s: %s\n", paths[0], error.c_str());
        return 1;
    }
    std::vector<uint8_t> bytes;
    if (!QorWriter::write(file, bytes, error))
    {
        fprintf(stderr, "%s: %s\n", paths[0], error.c_str());
        return 1;
    }
    if (!importer.textures().write(textures, error))
    {
        fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    if (!writeBytes(output, bytes))
    {
        fprintf(stderr, "%s: cannot be written: %s\n", output.c_str(), strerror(errno));
        return 1;
    }
    printf("%s: %zu records, %u frames\n", output.c_str(), file.records.size(), file.frameCount);
    return 0;
}

int exportScene(int a_argc, char** a_argv)
{
    double fps = 30.0;
    if (a_argc == 6 && strcmp(a_argv[4], "--fps") == 0)
    {
        if (!positive(a_argv[5], fps))
        {
            fputs("qorscene export: --fps needs a number above 0\n", stderr);
            return 2;
        }
    }
    else if (a_argc != 4)
    {
        fputs(g_usage, stderr);
        return 2;
    }
    QorFile file;
    if (!parse(a_argv[2], file))
        return 1;
    SceneExporter exporter(fps);
    std::string error;
    const bool written = exporter.write(
        file, a_argv[3], std::filesystem::absolute(a_argv[2]).parent_path().string(), error);
    for (const std::string& warning : exporter.warnings())
        fprintf(stderr, "%s: warning: %s\n", a_argv[2], warning.c_str());
    if (!written)
    {
        fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    printf("%s: %zu records, %u frames\n", a_argv[3], file.records.size(), file.frameCount);
    return 0;
}

}  // namespace

int main(int a_argc, char** a_argv)
{
    if (a_argc == 2 && strcmp(a_argv[1], "--help") == 0)
    {
        fputs(g_usage, stdout);
        return 0;
    }
    if (a_argc == 3 && strcmp(a_argv[1], "dump") == 0)
    {
        QorFile file;
        if (!parse(a_argv[2], file))
            return 1;
        fputs(dumpScene(file).c_str(), stdout);
        return 0;
    }
    if (a_argc >= 3 && strcmp(a_argv[1], "verify") == 0)
    {
        int status = 0;
        for (int i = 2; i < a_argc; ++i)
        {
            QorFile file;
            if (parse(a_argv[i], file))
                printf("%s: ok, %zu records, %u frames\n", a_argv[i], file.records.size(),
                       file.frameCount);
            else
                status = 1;
        }
        return status;
    }
    if (a_argc >= 2 && strcmp(a_argv[1], "import") == 0)
        return import(a_argc, a_argv);
    if (a_argc >= 2 && strcmp(a_argv[1], "export") == 0)
        return exportScene(a_argc, a_argv);
    fputs(g_usage, stderr);
    return 2;
}
