// Colour tables for 8-bit pictures: entry 0 is the see-through black, the rest hold visible colours.
#pragma once

#include <cstdint>
#include <vector>

#include "Image.h"

namespace assetgen {

struct IndexedImage {
    std::vector<Rgb> palette;     // at most 256 entries, entry 0 = kClear
    std::vector<uint8_t> pixels;  // row-major from the top row
};

// Exact when the picture has at most 255 visible colours, otherwise reduced by median cut.
// A visible pixel is never mapped to entry 0.
IndexedImage ToIndexed(const Image& image);

}  // namespace assetgen
