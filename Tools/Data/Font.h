#pragma once

#include "Image.h"

#include <filesystem>
#include <string_view>

// A TrueType face drawn with FreeType's antialiased renderer.
class Font {
public:
    // Throws std::runtime_error when the file can't be read as a font.
    explicit Font(const std::filesystem::path& file);
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    // The pen advance of the text at a height of size pixels.
    int measure(std::string_view text, int size) const;

    // Raises the pixels under the glyphs to value times their coverage; the
    // baseline starts at (x, baseline).
    void draw(Grey_Image& image, std::string_view text, int size, int x, int baseline, float value = 1.0f) const;

    // Draws the text centred on column centre_x.
    void draw_centred(Grey_Image& image, std::string_view text, int size, int centre_x, int baseline,
                      float value = 1.0f) const;

private:
    struct Face;
    Face* m_face;
};

// The show's typefaces, from Debian's fonts-dejavu-core.
std::filesystem::path Font_File(std::string_view name);
