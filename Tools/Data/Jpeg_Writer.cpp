#include "Jpeg_Writer.h"

#include <cstdio>   // jpeglib.h needs FILE
#include <cstdlib>

#include <jpeglib.h>

std::vector<uint8_t> Encode_Jpeg(const Colour_Image& image, int quality) {
    jpeg_compress_struct compressor;
    jpeg_error_mgr errors;
    compressor.err = jpeg_std_error(&errors);
    // Compressing from memory to memory fails only on a bug; libjpeg's
    // default then prints its message and exits.
    jpeg_create_compress(&compressor);

    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&compressor, &buffer, &size);
    compressor.image_width = JDIMENSION(image.width);
    compressor.image_height = JDIMENSION(image.height);
    compressor.input_components = 3;
    compressor.in_color_space = JCS_RGB;
    jpeg_set_defaults(&compressor);
    jpeg_set_quality(&compressor, quality, TRUE);
    // Full-resolution colour keeps the thin coloured edges of titles clean.
    for (int i = 0; i < 3; ++i) compressor.comp_info[i].h_samp_factor = compressor.comp_info[i].v_samp_factor = 1;
    jpeg_start_compress(&compressor, TRUE);

    std::vector<JSAMPLE> row(size_t(image.width) * 3);
    while (compressor.next_scanline < compressor.image_height) {
        int y = int(compressor.next_scanline);
        for (int x = 0; x < image.width; ++x) {
            const Rgb& pixel = image.at(x, y);
            row[size_t(x) * 3 + 0] = To_Byte(pixel.r);
            row[size_t(x) * 3 + 1] = To_Byte(pixel.g);
            row[size_t(x) * 3 + 2] = To_Byte(pixel.b);
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&compressor, rows, 1);
    }
    jpeg_finish_compress(&compressor);
    jpeg_destroy_compress(&compressor);

    std::vector<uint8_t> bytes(buffer, buffer + size);
    std::free(buffer);
    return bytes;
}
