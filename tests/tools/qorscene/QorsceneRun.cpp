// The tool, its scene files through the reader, the shipped scenes.
#include "QorsceneRun.h"

#include "scene/format/QorReader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

ToolRun qorscene(const std::string& a_arguments)
{
    return runTool(std::string(QORSCENE_PATH) + " " + a_arguments);
}

QorFile readScene(const std::string& a_path)
{
    std::ifstream stream(a_path, std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(stream)),
                                     std::istreambuf_iterator<char>());
    QorFile file;
    std::string error;
    EXPECT_TRUE(QorReader::read(bytes.data(), bytes.size(), file, error))
        << a_path << ": " << error;
    return file;
}

std::vector<std::string> shippedScenes()
{
    std::vector<std::string> scenes;
#ifdef TARVO_CONTENT_DIR
    for (const std::filesystem::directory_entry& entry :
         std::filesystem::directory_iterator(TARVO_CONTENT_DIR))
    {
        if (entry.path().extension() == ".qor")
            scenes.push_back(entry.path().string());
    }
#endif
    return scenes;
}
