// Colour tables for 8-bit pictures: entry 0 is the see-through black, the rest hold visible colours.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "Image.h"

namespace assetgen {

struct IndexedImage {
    std::vector<Rgb> palette;     // at most 256 entries, entry 0 = kClear
    std::vector<uint8_t> pixels;  // row-major from the top row
};

// An exact colour table, or nothing when the picture has more than 255 visible colours
// (pictures meant for a table are drawn with few enough).
std::optional<IndexedImage> ToIndexed(const Image& image);

}  // namespace assetgen
