#include "Shapes.h"

namespace {

// One box pass along rows, written transposed so that the next pass runs
// along the columns.
Grey_Image Box_Pass_Transposed(const Grey_Image& in, int radius) {
    Grey_Image out(in.height, in.width);
    const float scale = 1.0f / float(2 * radius + 1);
    for (int y = 0; y < in.height; ++y) {
        auto sample = [&](int x) { return in.at(std::clamp(x, 0, in.width - 1), y); };
        float sum = 0;
        for (int x = -radius; x <= radius; ++x) sum += sample(x);
        for (int x = 0; x < in.width; ++x) {
            out.at(y, x) = sum * scale;
            sum += sample(x + radius + 1) - sample(x - radius);
        }
    }
    return out;
}

}  // namespace

Grey_Image Blur(const Grey_Image& image, int radius) {
    Grey_Image result = image;
    for (int pass = 0; pass < 3; ++pass)
        result = Box_Pass_Transposed(Box_Pass_Transposed(result, radius), radius);
    return result;
}
