#include "Pictures.h"

#include "File_Io.h"
#include "Grey_Pictures.h"
#include "Jpeg_Writer.h"
#include "Letterbox.h"
#include "Scramble.h"
#include "Textures.h"
#include "Tga_Writer.h"

#include <string>

namespace {

constexpr int Jpeg_Quality = 92;

// The line scene's message, three verses of one line a second.
constexpr const char* Verses[][10] = {
    {"out of the dark", "a line", "then a thousand", "they hear the beat", "and start to move", "no film",
     "no tape", "just numbers"},
    {"numbers", "become light", "light", "becomes motion", "motion", "becomes music", "and music",
     "brings us here"},
    {"every pixel", "made now", "sixty times", "a second", "from nothing", "but code", "turn it up",
     "let it run", "this is", "Zizo"},
};
constexpr char Verse_Names[] = {'a', 'b', 'c'};
constexpr int Verse_Lengths[] = {8, 8, 10};

class Picture_Writer {
public:
    explicit Picture_Writer(const std::filesystem::path& directory) : m_directory(directory) {
        std::filesystem::create_directories(directory / "texture");
        std::filesystem::create_directories(directory / "tekstit");
    }

    void jpeg(const std::string& name, const Colour_Image& image, bool scrambled = false) {
        std::vector<uint8_t> bytes = Encode_Jpeg(image, Jpeg_Quality);
        if (scrambled) Scramble(bytes);
        Write_File(m_directory / name, bytes);
    }

    // Successive files take the storage variants in turn.
    void tga(const std::string& name, const Grey_Image& image) {
        constexpr Tga_Storage Storages[] = {Tga_Storage::Raw_Bottom_Up, Tga_Storage::Rle_Top_Down,
                                            Tga_Storage::Raw_Top_Down, Tga_Storage::Rle_Bottom_Up,
                                            Tga_Storage::Mapped_Bottom_Up};
        Write_File(m_directory / name, Encode_Tga(image, Storages[m_tga_count++ % std::size(Storages)]));
    }

private:
    std::filesystem::path m_directory;
    size_t m_tga_count = 0;
};

}  // namespace

void Write_Pictures(const std::filesystem::path& directory) {
    Picture_Writer out(directory);
    out.jpeg("texture/cinemascope.jpg", Make_Title_Card());
    out.jpeg("texture/mafia_368.jpg", Make_Closing_Picture(), true);

    out.jpeg("texture/teksture_krazy.jpg", Make_Krazy_Texture());
    out.jpeg("texture/teksture.jpg", Make_Panel_Texture());
    out.jpeg("texture/trash_punanen.jpg", Make_Red_Grunge_Texture(), true);
    out.jpeg("texture/joomu.jpg", Make_Swirl_Texture());
    out.jpeg("texture/trash_sininen_1.jpg", Make_Blue_Texture());
    out.jpeg("texture/trash_total_vihree.jpg", Make_Green_Texture());

    for (int i = 0; i < 4; ++i) out.tga("texture/MO_" + std::to_string(i + 1) + ".tga", Make_Overlay(i));

    constexpr const char* Drums[] = {"x1_basari", "x2_snare", "x3_vs1", "x1_vs2", "g1", "g2", "g3", "g4"};
    for (int i = 0; i < 8; ++i) out.tga(std::string("texture/") + Drums[i] + ".tga", Make_Drum_Picture(i));

    for (int verse = 0; verse < 3; ++verse)
        for (int line = 0; line < Verse_Lengths[verse]; ++line)
            out.tga("tekstit/" + std::string(1, Verse_Names[verse]) + std::to_string(line + 1) + ".tga",
                    Make_Text_Picture(Verses[verse][line]));
}
