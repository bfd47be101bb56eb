// Draws text into coverage masks with FreeType, anti-aliased, with the font's kerning.
#include "FontRenderer.h"

#include "Mask.h"
#include "core/Assert.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <math.h>
#include <stddef.h>

namespace
{

// The code point that starts at a_text[a_index], moving a_index past it. A malformed byte
// stands for itself, so a stray Latin-1 character still draws as something.
char32_t nextCodePoint(const std::string& a_text, size_t& a_index)
{
    const auto byte = [&](size_t a_at) {
        return static_cast<unsigned char>(a_text[a_at]);
    };
    const unsigned char lead = byte(a_index);
    const int length = lead < 0x80           ? 1
                       : (lead >> 5) == 0x6  ? 2
                       : (lead >> 4) == 0xe  ? 3
                       : (lead >> 3) == 0x1e ? 4
                                             : 0;
    if (length <= 1 || a_index + static_cast<size_t>(length) > a_text.size())
    {
        ++a_index;
        return lead;
    }
    char32_t code = lead & (0x7fu >> length);
    for (int i = 1; i < length; ++i)
    {
        const unsigned char continuation = byte(a_index + static_cast<size_t>(i));
        if ((continuation & 0xc0u) != 0x80u)
        {
            ++a_index;
            return lead;
        }
        code = (code << 6) | (continuation & 0x3fu);
    }
    a_index += static_cast<size_t>(length);
    return code;
}

}

FontRenderer::~FontRenderer()
{
    if (m_face)
        FT_Done_Face(m_face);
    if (m_library)
        FT_Done_FreeType(m_library);
}

bool FontRenderer::open(const std::string& a_path, std::string& a_error)
{
    TARVO_ASSERT(!m_library && !m_face);
    if (FT_Init_FreeType(&m_library) != 0)
    {
        m_library = nullptr;
        a_error = "cannot initialise FreeType";
        return false;
    }
    if (FT_New_Face(m_library, a_path.c_str(), 0, &m_face) != 0)
    {
        m_face = nullptr;
        a_error = "cannot open the font '" + a_path + "'";
        return false;
    }
    // Only outlines render to the 8-bit grey coverage that layout() reads.
    if (!FT_IS_SCALABLE(m_face))
    {
        a_error = "the font '" + a_path + "' has no outlines";
        return false;
    }
    return true;
}

float FontRenderer::measure(const std::string& a_text, int a_pixelSize, float a_tracking) const
{
    return layout(nullptr, a_text, a_pixelSize, 0.0f, 0.0f, a_tracking);
}

void FontRenderer::draw(Mask& a_target, const std::string& a_text, int a_pixelSize, float a_x,
                        float a_baseline, float a_tracking) const
{
    layout(&a_target, a_text, a_pixelSize, a_x, a_baseline, a_tracking);
}

float FontRenderer::layout(Mask* a_target, const std::string& a_text, int a_pixelSize, float a_x,
                           float a_baseline, float a_tracking) const
{
    TARVO_ASSERT(m_face && a_pixelSize > 0);
    FT_Set_Pixel_Sizes(m_face, 0, static_cast<FT_UInt>(a_pixelSize));

    // FreeType measures in 26.6 fixed point: 64 units per pixel. The pen keeps whole pixels
    // so that glyph bitmaps land on the grid they were rendered for.
    const int originX = static_cast<int>(lround(a_x));
    const int originY = static_cast<int>(lround(a_baseline));
    FT_Pos pen = 0;
    FT_UInt previous = 0;
    const FT_Pos tracking = static_cast<FT_Pos>(lround(a_tracking * 64.0f));
    for (size_t index = 0; index < a_text.size();)
    {
        if (index > 0)
            pen += tracking;
        const FT_UInt glyph = FT_Get_Char_Index(m_face, nextCodePoint(a_text, index));
        if (previous != 0 && FT_HAS_KERNING(m_face))
        {
            FT_Vector kerning;
            if (FT_Get_Kerning(m_face, previous, glyph, FT_KERNING_DEFAULT, &kerning) == 0)
                pen += kerning.x;
        }
        previous = glyph;
        if (FT_Load_Glyph(m_face, glyph, a_target ? FT_LOAD_RENDER : FT_LOAD_DEFAULT) != 0)
            continue;
        const FT_GlyphSlot slot = m_face->glyph;
        if (a_target)
        {
            const FT_Bitmap& bitmap = slot->bitmap;
            const int left = originX + static_cast<int>((pen + 32) / 64) + slot->bitmap_left;
            const int top = originY - slot->bitmap_top;
            for (unsigned row = 0; row < bitmap.rows; ++row)
                for (unsigned column = 0; column < bitmap.width; ++column)
                {
                    const unsigned char level =
                        bitmap.buffer[static_cast<long>(row) * bitmap.pitch + column];
                    a_target->cover(left + static_cast<int>(column), top + static_cast<int>(row),
                                    static_cast<float>(level) / 255.0f);
                }
        }
        pen += slot->advance.x;
    }
    return static_cast<float>(pen) / 64.0f;
}
