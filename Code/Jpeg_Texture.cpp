#include "Texture.h"

#include "Scramble_Key.h"
#include "Throw_Assertion.h"

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include <jpeglib.h>
#include <jerror.h>

namespace {

constexpr const char* Source_File = "Texture";
constexpr size_t Input_Buffer_Size = 4096;

// A picture larger than this is taken for a damaged header.
constexpr long long Max_Pixel_Bytes = 64LL * 1024 * 1024;

struct Jpeg_Error_Manager {
    jpeg_error_mgr m_manager;
    jmp_buf m_jump;
    char m_reason[JMSG_LENGTH_MAX]; // why the picture was not loaded, for the report
};

void Jpeg_Error_Exit(j_common_ptr info) {
    auto* errors = reinterpret_cast<Jpeg_Error_Manager*>(info->err);
    errors->m_manager.output_message(info);
    errors->m_manager.format_message(info, errors->m_reason);
    std::longjmp(errors->m_jump, 1);
}

struct Scrambled_Source {
    jpeg_source_mgr m_manager;
    FILE* m_file;
    JOCTET* m_buffer;
    bool m_start_of_file;
    bool m_scrambled;
    int m_key;
};

Scrambled_Source* Source_Of(j_decompress_ptr info) { return reinterpret_cast<Scrambled_Source*>(info->src); }

void Init_Source(j_decompress_ptr info) {
    Scrambled_Source* source = Source_Of(info);
    source->m_start_of_file = true;
    source->m_scrambled = false;
    source->m_key = Scramble_Key_Start;
}

boolean Fill_Input_Buffer(j_decompress_ptr info) {
    Scrambled_Source* source = Source_Of(info);
    size_t count = std::fread(source->m_buffer, 1, Input_Buffer_Size, source->m_file);
    if (count == 0) {
        if (source->m_start_of_file)
            ERREXIT(info, JERR_INPUT_EMPTY);
        WARNMS(info, JWRN_JPEG_EOF);
        source->m_buffer[0] = 0xFF;
        source->m_buffer[1] = JPEG_EOI;
        count = 2;
    } else {
        // Every plain JPEG file starts with a marker's 0xFF.
        if (source->m_start_of_file && source->m_buffer[0] != 0xFF)
            source->m_scrambled = true;
        if (source->m_scrambled) {
            for (size_t i = 0; i < count; ++i) {
                source->m_buffer[i] ^= JOCTET(source->m_key);
                source->m_key = (source->m_key + Scramble_Key_Step) & 0xFF;
            }
        }
    }
    source->m_manager.next_input_byte = source->m_buffer;
    source->m_manager.bytes_in_buffer = count;
    source->m_start_of_file = false;
    return TRUE;
}

void Skip_Input_Data(j_decompress_ptr info, long count) {
    Scrambled_Source* source = Source_Of(info);
    if (count <= 0)
        return;
    while (count > long(source->m_manager.bytes_in_buffer)) {
        count -= long(source->m_manager.bytes_in_buffer);
        Fill_Input_Buffer(info);
    }
    source->m_manager.next_input_byte += count;
    source->m_manager.bytes_in_buffer -= size_t(count);
}

void Term_Source(j_decompress_ptr) {}

// Takes the place of jpeg_stdio_src: the record and its buffer live in the
// decompressor's permanent pool.
void Scrambled_Src(j_decompress_ptr info, FILE* file) {
    if (info->src == nullptr) {
        auto* source = static_cast<Scrambled_Source*>(
            info->mem->alloc_small(reinterpret_cast<j_common_ptr>(info), JPOOL_PERMANENT, sizeof(Scrambled_Source)));
        source->m_buffer = static_cast<JOCTET*>(
            info->mem->alloc_small(reinterpret_cast<j_common_ptr>(info), JPOOL_PERMANENT, Input_Buffer_Size));
        info->src = &source->m_manager;
    }
    Scrambled_Source* source = Source_Of(info);
    source->m_manager.init_source = Init_Source;
    source->m_manager.fill_input_buffer = Fill_Input_Buffer;
    source->m_manager.skip_input_data = Skip_Input_Data;
    source->m_manager.resync_to_restart = jpeg_resync_to_restart;
    source->m_manager.term_source = Term_Source;
    source->m_manager.bytes_in_buffer = 0;
    source->m_manager.next_input_byte = nullptr;
    source->m_file = file;
}

enum class Decoded { Ok, Jpeg_Error, Unsupported };

// Everything a decoding touches, kept outside the frame that libjpeg jumps
// back into, so that no local changes between setjmp and longjmp.
struct Jpeg_Decoding {
    Jpeg_Error_Manager errors;
    jpeg_decompress_struct info;
    int width = 0;
    int height = 0;
    uint8_t* rows = nullptr; // width * height * 3 bytes from malloc
};

// libjpeg leaves through longjmp into this frame: nothing here may need a
// destructor.
Decoded Decode(FILE* file, Jpeg_Decoding* picture) {
    jpeg_decompress_struct& info = picture->info;
    info.err = jpeg_std_error(&picture->errors.m_manager);
    picture->errors.m_manager.error_exit = Jpeg_Error_Exit;
    if (setjmp(picture->errors.m_jump)) {
        jpeg_destroy_decompress(&info);
        std::free(picture->rows);
        picture->rows = nullptr;
        return Decoded::Jpeg_Error;
    }
    jpeg_create_decompress(&info);
    Scrambled_Src(&info, file);
    jpeg_read_header(&info, TRUE);

    // The rows are read three bytes a pixel: grey is widened to RGB by
    // libjpeg, and four-component pictures are refused.
    if (info.jpeg_color_space == JCS_GRAYSCALE)
        info.out_color_space = JCS_RGB;
    const char* refusal = nullptr;
    if (info.out_color_space != JCS_RGB)
        refusal = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK
                      ? "CMYK pictures are not supported"
                      : "only colour and greyscale pictures are supported";
    else if (4LL * info.image_width * info.image_height > Max_Pixel_Bytes)
        refusal = "the picture is too large";
    if (refusal) {
        std::snprintf(picture->errors.m_reason, sizeof picture->errors.m_reason, "%s", refusal);
        jpeg_destroy_decompress(&info);
        return Decoded::Unsupported;
    }

    jpeg_start_decompress(&info);
    picture->width = int(info.output_width);
    picture->height = int(info.output_height);
    size_t row_bytes = size_t(picture->width) * 3;
    picture->rows = static_cast<uint8_t*>(std::malloc(row_bytes * picture->height));
    if (!picture->rows)
        ERREXIT1(&info, JERR_OUT_OF_MEMORY, 0);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = picture->rows + info.output_scanline * row_bytes;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return Decoded::Ok;
}

class Jpeg_Texture : public Texture {
public:
    int width() override { return m_width; }
    int height() override { return m_height; }
    const uint8_t* pixels() override { return m_pixels.get(); }
    int bytes_per_pixel() override { return 4; }

    int m_width = 0;
    int m_height = 0;
    std::unique_ptr<uint8_t[]> m_pixels;
};

struct Free {
    void operator()(uint8_t* memory) const { std::free(memory); }
};

}

Holder<Texture> Load_Jpeg(const char* file_name) {
    auto* texture = new Jpeg_Texture;
    Holder<Texture> holder(texture);
    const std::string about = std::string("cannot load the picture ") + file_name + ": ";

    FILE* file = std::fopen(file_name, "rb");
    if (!file)
        QEV_Lib::Throw_Assertion("file != 0", (about + std::strerror(errno)).c_str(), Source_File, 0);
    Jpeg_Decoding picture;
    Decoded result = Decode(file, &picture);
    std::fclose(file);
    std::unique_ptr<uint8_t, Free> rows(picture.rows);
    if (result == Decoded::Jpeg_Error)
        QEV_Lib::Throw_Assertion("false", ("\"JPG Error\": " + about + picture.errors.m_reason).c_str(),
                                 Source_File, 100);
    if (result == Decoded::Unsupported)
        QEV_Lib::Throw_Assertion("output_components == 3", (about + picture.errors.m_reason).c_str(), Source_File, 0);

    size_t count = size_t(picture.width) * picture.height;
    texture->m_width = picture.width;
    texture->m_height = picture.height;
    texture->m_pixels.reset(new uint8_t[count * 4]);
    const uint8_t* in = rows.get();
    uint8_t* out = texture->m_pixels.get();
    for (size_t i = 0; i < count; ++i, in += 3, out += 4) {
        out[0] = in[2];
        out[1] = in[1];
        out[2] = in[0];
        out[3] = 255;
    }
    return holder;
}
