// The BMP info block (everything after the 14-byte file header): its layout, colour table and
// pixels, checked against the bytes actually read so nothing outside the block is ever touched.
#pragma once

#include <cstdint>

namespace bmp {

inline constexpr int32_t kFileHeaderSize = 14;
inline constexpr uint16_t kTypeBM = 0x4D42;
// Pictures larger than this are refused as broken: no sprite sheet comes near it.
inline constexpr int64_t kMaxPixels = int64_t{64} << 20;

enum Compression : uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitfields = 3 };

struct Layout {
    uint32_t headerSize = 0;
    bool infoHeader = false;  // the 40-byte info header (or the V4/V5 headers that begin with it)
    int64_t width = 0;
    int64_t height = 0;  // rows, always >= 0
    bool topDown = false;
    uint32_t bitCount = 0;
    uint32_t compression = kRgb;
    uint32_t masks[3] = {};  // red, green, blue, for 16- and 32-bit pixels
    int64_t colorCount = 0;
    int64_t tableOffset = 0;
    int32_t entryBytes = 4;  // 4 after an info header, 3 after a core header
    int64_t pixelOffset = 0;
};

inline uint16_t Le16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
inline uint32_t Le32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// Reads the header of a block of size bytes. False when the header, its masks or its colour table
// do not fit in the block, or the picture's size or format is one we do not read.
bool ReadLayout(const uint8_t* block, int64_t size, Layout* layout);

// Colour-table entry i as 0x00RRGGBB (the layout guarantees it lies inside the block).
uint32_t TableEntry(const uint8_t* block, const Layout& layout, int64_t i);

// Decodes every pixel into out (width x height, top row first, 0x00RRGGBB, zero-filled by the
// caller: run-length data may skip pixels). Palette indices at or beyond paletteCount give black. False when
// uncompressed rows do not fit in the block; run-length data is read only as far as the block goes and never
// writes outside the picture.
bool DecodePixels(const uint8_t* block, int64_t size, const Layout& layout, const uint32_t* palette,
                  int64_t paletteCount, uint32_t* out);

// False when uncompressed rows do not fit in the block of size bytes: such a picture is refused
// before memory for its pixels is taken (a few hundred bytes may declare millions of pixels).
bool PixelsFit(int64_t size, const Layout& layout);

}  // namespace bmp
