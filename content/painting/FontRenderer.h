// Draws text into coverage masks with FreeType, anti-aliased, with the font's kerning.
#pragma once

#include <string>

class Mask;

// FreeType's handles, kept out of this header.
struct FT_LibraryRec_;
struct FT_FaceRec_;

class FontRenderer
{
public:
    FontRenderer() = default;
    ~FontRenderer();
    FontRenderer(const FontRenderer&) = delete;
    FontRenderer& operator=(const FontRenderer&) = delete;

    // Opens the font file a_path (TrueType, OpenType...). On failure returns false and says why in a_error.
    bool open(const std::string& a_path, std::string& a_error);

    // Text (UTF-8) at a_pixelSize pixels per em: its advance width in pixels, and drawing it
    // into a_target with its pen starting at (a_x, a_baseline). a_tracking pixels are added
    // between letters, for spaced capitals. Characters the font lacks draw as its
    // missing-glyph box. Needs an open font.
    float measure(const std::string& a_text, int a_pixelSize, float a_tracking = 0.0f) const;
    void draw(Mask& a_target, const std::string& a_text, int a_pixelSize, float a_x,
              float a_baseline, float a_tracking = 0.0f) const;

private:
    // Walks a_text glyph by glyph; with a_target, draws each one too. Returns the advance in pixels.
    float layout(Mask* a_target, const std::string& a_text, int a_pixelSize, float a_x,
                 float a_baseline, float a_tracking) const;

    FT_LibraryRec_* m_library = nullptr;  // owned
    FT_FaceRec_* m_face = nullptr;        // owned
};
