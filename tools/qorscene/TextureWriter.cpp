// Pictures decoded with stb_image, re-encoded with libjpeg-turbo.
#include "TextureWriter.h"

#include "JpegWriter.h"

#include <stb_image.h>

#include <ctype.h>
#include <stdio.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace
{

constexpr int kQuality = 95;
// Leaves room for "_alpha.jpg" and "_occlusion.jpg" within the 259 bytes a
// texture name may hold.
constexpr size_t kMaxStem = 200;

// Lower case, letters, digits, '-' and '_' only, as the demo's content
// files are named.
std::string cleanStem(const std::string& a_name)
{
    std::string stem = fs::path(a_name).stem().string();
    std::string clean;
    for (char c : stem)
    {
        const unsigned char u = static_cast<unsigned char>(c);
        clean += (isalnum(u) || c == '-' || c == '_') ? char(tolower(u)) : '_';
    }
    if (clean.empty())
        clean = "texture";
    if (clean.size() > kMaxStem)
        clean.resize(kMaxStem);
    return clean;
}

// "%20" and the like in a glTF image URI.
std::string percentDecoded(const std::string& a_uri)
{
    std::string text;
    for (size_t i = 0; i < a_uri.size(); ++i)
    {
        if (a_uri[i] == '%' && i + 2 < a_uri.size() &&
            isxdigit(static_cast<unsigned char>(a_uri[i + 1])) &&
            isxdigit(static_cast<unsigned char>(a_uri[i + 2])))
        {
            text += char(std::stoi(a_uri.substr(i + 1, 2), nullptr, 16));
            i += 2;
        }
        else
        {
            text += a_uri[i];
        }
    }
    return text;
}

bool decode(const uint8_t* a_data, size_t a_size, std::vector<uint8_t>& a_rgba, uint32_t& a_width,
            uint32_t& a_height)
{
    if (a_size > size_t(INT32_MAX))
        return false;
    int width = 0, height = 0, channels = 0;
    stbi_uc* pixels = stbi_load_from_memory(a_data, int(a_size), &width, &height, &channels, 4);
    if (!pixels)
        return false;
    a_width = uint32_t(width);
    a_height = uint32_t(height);
    a_rgba.assign(pixels, pixels + size_t(a_width) * a_height * 4);
    stbi_image_free(pixels);
    return true;
}

}  // namespace

TextureWriter::TextureWriter(const aiScene& a_scene, const std::string& a_sourceFolder)
    : m_scene(a_scene), m_sourceFolder(a_sourceFolder)
{
}

bool TextureWriter::load(const aiString& a_path, Image& a_image, std::string& a_problem) const
{
    const std::string path = a_path.C_Str();
    if (const aiTexture* embedded = m_scene.GetEmbeddedTexture(a_path.C_Str()))
    {
        a_image.stem =
            cleanStem(embedded->mFilename.length ? embedded->mFilename.C_Str() : "embedded");
        if (embedded->mHeight == 0)
        {
            // Compressed: mWidth bytes of a picture file.
            if (!decode(reinterpret_cast<const uint8_t*>(embedded->pcData), embedded->mWidth,
                        a_image.rgba, a_image.width, a_image.height))
            {
                a_problem =
                    "embedded picture \"" + path + "\" cannot be decoded: " + stbi_failure_reason();
                return false;
            }
            return true;
        }
        a_image.width = embedded->mWidth;
        a_image.height = embedded->mHeight;
        a_image.rgba.resize(size_t(a_image.width) * a_image.height * 4);
        for (size_t i = 0; i < size_t(a_image.width) * a_image.height; ++i)
        {
            const aiTexel& texel = embedded->pcData[i];
            a_image.rgba[i * 4 + 0] = texel.r;
            a_image.rgba[i * 4 + 1] = texel.g;
            a_image.rgba[i * 4 + 2] = texel.b;
            a_image.rgba[i * 4 + 3] = texel.a;
        }
        return true;
    }

    fs::path file = fs::path(m_sourceFolder) / path;
    if (!fs::exists(file))
        file = fs::path(m_sourceFolder) / percentDecoded(path);
    std::ifstream stream(file, std::ios::binary);
    if (!stream)
    {
        a_problem = "picture \"" + path + "\" cannot be read";
        return false;
    }
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(stream)),
                                     std::istreambuf_iterator<char>());
    if (!decode(bytes.data(), bytes.size(), a_image.rgba, a_image.width, a_image.height))
    {
        a_problem = "picture \"" + path + "\" cannot be decoded: " + stbi_failure_reason();
        return false;
    }
    a_image.stem = cleanStem(file.filename().string());
    return true;
}

std::string TextureWriter::claim(const std::string& a_wanted, const std::string& a_key)
{
    const auto known = m_names.find(a_key);
    if (known != m_names.end())
        return known->second;
    // "autogen_cubemap.jpg" asks the loader for a cube map, not a picture.
    std::string name = a_wanted + ".jpg";
    for (int n = 2; m_pictures.count(name) != 0 || name == "autogen_cubemap.jpg"; ++n)
        name = a_wanted + "_" + std::to_string(n) + ".jpg";
    m_names[a_key] = name;
    return name;
}

TextureWriter::Picture TextureWriter::blank(const Image& a_image)
{
    return Picture{a_image.width, a_image.height,
                   std::vector<uint8_t>(size_t(a_image.width) * a_image.height * 3)};
}

bool TextureWriter::colour(const aiString& a_path, std::string& a_name, std::string& a_alphaName,
                           std::string& a_problem)
{
    Image image;
    if (!load(a_path, image, a_problem))
        return false;
    const size_t texels = size_t(image.width) * image.height;
    Picture rgb = blank(image);
    Picture alpha = blank(image);
    bool opaque = true;
    for (size_t i = 0; i < texels; ++i)
    {
        for (size_t c = 0; c < 3; ++c)
        {
            rgb.rgb[i * 3 + c] = image.rgba[i * 4 + c];
            alpha.rgb[i * 3 + c] = image.rgba[i * 4 + 3];
        }
        opaque = opaque && image.rgba[i * 4 + 3] == 255;
    }
    a_name = claim(image.stem, std::string("colour:") + a_path.C_Str());
    m_pictures[a_name] = std::move(rgb);
    a_alphaName.clear();
    if (!opaque)
    {
        // The loader finds the companion by putting "_alpha.jpg" in place
        // of the last four characters.
        a_alphaName = a_name.substr(0, a_name.size() - 4) + "_alpha.jpg";
        m_pictures[a_alphaName] = std::move(alpha);
    }
    return true;
}

bool TextureWriter::grey(const aiString& a_path, int a_channel, const char* a_use,
                         std::string& a_name, std::string& a_problem)
{
    Image image;
    if (!load(a_path, image, a_problem))
        return false;
    const size_t texels = size_t(image.width) * image.height;
    Picture picture = blank(image);
    bool alreadyGrey = true;
    for (size_t i = 0; i < texels; ++i)
    {
        const uint8_t* texel = &image.rgba[i * 4];
        alreadyGrey = alreadyGrey && texel[0] == texel[1] && texel[1] == texel[2];
        for (size_t c = 0; c < 3; ++c)
            picture.rgb[i * 3 + c] = texel[a_channel];
    }
    const std::string wanted = alreadyGrey ? image.stem : image.stem + "_" + a_use;
    a_name =
        claim(wanted, std::string(a_use) + ":" + std::to_string(a_channel) + ":" + a_path.C_Str());
    m_pictures[a_name] = std::move(picture);
    return true;
}

bool TextureWriter::write(const std::string& a_folder, std::string& a_error) const
{
    for (const auto& [name, picture] : m_pictures)
    {
        const std::string path = (fs::path(a_folder) / name).string();
        if (!writeJpeg(path, picture.width, picture.height, picture.rgb, kQuality))
        {
            a_error = path + ": cannot be written";
            return false;
        }
    }
    return true;
}
