// Writes the demo's scene files into the content folder:
//   scene_generator OUTPUT_DIR
#include "Primitives.h"

#include "scene/format/QorWriter.h"

#include <stdio.h>

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

}  // namespace

int main(int a_argc, char** a_argv)
{
    if (a_argc != 2)
    {
        fprintf(stderr, "usage: scene_generator OUTPUT_DIR\n");
        return 2;
    }
    return writeScene(a_argv[1], "primitives.qor", primitivesScene()) ? 0 : 1;
}
