// The pictures an imported scene's materials name, turned into the JPEG
// files the demo loads: colour maps with an "_alpha.jpg" companion when
// they are not opaque, and grey maps taken from one channel (occlusion,
// height, reflection). Files of the editor's folder and pictures embedded
// in the scene are decoded alike. Nothing is written until write(), so
// that a failed import leaves no file behind.
#pragma once

#include <assimp/scene.h>

#include <stdint.h>

#include <map>
#include <string>
#include <vector>

class TextureWriter
{
public:
    // a_sourceFolder: where the scene's picture paths start.
    TextureWriter(const aiScene& a_scene, const std::string& a_sourceFolder);

    // a_path as a colour map, named "<stem>.jpg"; a_alphaName is set to
    // "<stem>_alpha.jpg" when any texel is not fully opaque, else cleared.
    // False with a_problem when the picture cannot be read.
    bool colour(const aiString& a_path, std::string& a_name, std::string& a_alphaName,
                std::string& a_problem);

    // Channel a_channel (0 red, 1 green, 2 blue) of a_path as a grey map:
    // "<stem>.jpg" when the picture is grey already, else
    // "<stem>_<a_use>.jpg". False with a_problem when it cannot be read.
    bool grey(const aiString& a_path, int a_channel, const char* a_use, std::string& a_name,
              std::string& a_problem);

    // Writes every picture into a_folder; false with a_error at the first
    // that cannot be written.
    bool write(const std::string& a_folder, std::string& a_error) const;

private:
    struct Image
    {
        uint32_t width = 0;
        uint32_t height = 0;
        std::vector<uint8_t> rgba;  // top row first
        std::string stem;           // the file name the demo's names start from
    };
    struct Picture
    {
        uint32_t width;
        uint32_t height;
        std::vector<uint8_t> rgb;
    };

    bool load(const aiString& a_path, Image& a_image, std::string& a_problem) const;
    static Picture blank(const Image& a_image);
    // A file name no other picture holds, for the picture a_key.
    std::string claim(const std::string& a_wanted, const std::string& a_key);

    const aiScene& m_scene;
    std::string m_sourceFolder;
    std::map<std::string, Picture> m_pictures;   // by file name
    std::map<std::string, std::string> m_names;  // picture key -> file name
};
