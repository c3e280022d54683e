#include "Font.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include <ft2build.h>
#include FT_FREETYPE_H

struct Font::Face {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
};

namespace {

// Walks the glyphs of an ASCII text, calling each with the glyph slot and
// the pen position in whole pixels.
template <class Visit>
int Lay_Out(FT_Face face, std::string_view text, int size, bool render, Visit visit) {
    FT_Set_Pixel_Sizes(face, 0, FT_UInt(size));
    FT_Pos pen = 0;
    FT_UInt previous = 0;
    for (char c : text) {
        FT_UInt glyph = FT_Get_Char_Index(face, FT_ULong(static_cast<unsigned char>(c)));
        if (previous && glyph && FT_HAS_KERNING(face)) {
            FT_Vector kerning;
            FT_Get_Kerning(face, previous, glyph, FT_KERNING_DEFAULT, &kerning);
            pen += kerning.x;
        }
        if (FT_Load_Glyph(face, glyph, render ? FT_LOAD_RENDER : FT_LOAD_DEFAULT) == 0) {
            visit(face->glyph, int((pen + 32) >> 6));
            pen += face->glyph->advance.x;
        }
        previous = glyph;
    }
    return int((pen + 32) >> 6);
}

}  // namespace

Font::Font(const std::filesystem::path& file) : m_face(new Face) {
    if (FT_Init_FreeType(&m_face->library) != 0 || FT_New_Face(m_face->library, file.c_str(), 0, &m_face->face) != 0) {
        if (m_face->library) FT_Done_FreeType(m_face->library);
        delete m_face;
        throw std::runtime_error("cannot load the font " + file.string() + " (Debian package fonts-dejavu-core)");
    }
}

Font::~Font() {
    FT_Done_Face(m_face->face);
    FT_Done_FreeType(m_face->library);
    delete m_face;
}

int Font::measure(std::string_view text, int size) const {
    return Lay_Out(m_face->face, text, size, false, [](FT_GlyphSlot, int) {});
}

void Font::draw(Grey_Image& image, std::string_view text, int size, int x, int baseline, float value) const {
    Lay_Out(m_face->face, text, size, true, [&](FT_GlyphSlot slot, int pen) {
        const FT_Bitmap& bitmap = slot->bitmap;
        int left = x + pen + slot->bitmap_left;
        int top = baseline - slot->bitmap_top;
        for (int row = 0; row < int(bitmap.rows); ++row) {
            int py = top + row;
            if (py < 0 || py >= image.height) continue;
            const unsigned char* line = bitmap.buffer + row * bitmap.pitch;
            for (int column = 0; column < int(bitmap.width); ++column) {
                int px = left + column;
                if (px < 0 || px >= image.width) continue;
                float cover = float(line[column]) / 255.0f;
                image.at(px, py) = std::max(image.at(px, py), value * cover);
            }
        }
    });
}

void Font::draw_centred(Grey_Image& image, std::string_view text, int size, int centre_x, int baseline,
                        float value) const {
    draw(image, text, size, centre_x - measure(text, size) / 2, baseline, value);
}

std::filesystem::path Font_File(std::string_view name) {
    return std::filesystem::path("/usr/share/fonts/truetype/dejavu") / std::string(name);
}
