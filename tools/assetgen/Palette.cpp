#include "Palette.h"

#include <map>

namespace assetgen {
namespace {

constexpr size_t kTableSize = 256;

uint32_t Key(Rgb c) {
    return (uint32_t(c.r) << 16) | (uint32_t(c.g) << 8) | c.b;
}

// Every visible colour of the picture, ordered by value so the table is the same on every run.
std::map<uint32_t, Rgb> VisibleColours(const Image& image) {
    std::map<uint32_t, Rgb> colours;
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
            if (!image.IsClear(x, y)) colours.emplace(Key(image.At(x, y)), image.At(x, y));
    return colours;
}

}  // namespace

std::optional<IndexedImage> ToIndexed(const Image& image) {
    std::map<uint32_t, Rgb> colours = VisibleColours(image);
    if (colours.size() >= kTableSize) return std::nullopt;
    IndexedImage out;
    out.palette.push_back(kClear);
    std::map<uint32_t, uint8_t> index;
    for (const auto& [key, colour] : colours) {
        index[key] = uint8_t(out.palette.size());
        out.palette.push_back(colour);
    }
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
            out.pixels.push_back(image.IsClear(x, y) ? 0 : index.at(Key(image.At(x, y))));
    return out;
}

}  // namespace assetgen
