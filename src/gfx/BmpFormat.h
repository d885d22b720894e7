// The BMP info block (everything after the 14-byte file header): its layout from the first bytes of
// the header, its colour table and its pixels, read by range from the file so that nothing beyond
// the header, the table and the rows the picture needs is ever read or held.
#pragma once

#include <cstdint>

#include "platform/base/Files.h"

namespace bmp {

inline constexpr int32_t kFileHeaderSize = 14;
inline constexpr uint16_t kTypeBM = 0x4D42;
// Bytes of the info block that hold everything the layout needs: the 40-byte info header and the
// three masks after it (V4 and V5 headers keep their masks in the same place).
inline constexpr int64_t kHeadBytes = 52;
// A decoded picture (0x00RRGGBB per pixel) larger than this is refused as broken: no sprite sheet
// comes near it.
inline constexpr int64_t kMaxDecodedBytes = int64_t{256} << 20;
inline constexpr int64_t kMaxPixels = kMaxDecodedBytes / 4;

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

// Reads the layout of an info block of size bytes whose first min(size, kHeadBytes) bytes are head;
// offBits is the file header's pixel offset. False when the header, its masks or its colour table
// do not fit in the block, or the picture's size or format is one we do not read.
//
// The pixels follow the colour table of colorCount entries, except for a picture that declares
// fewer colours than its bit count allows yet keeps the full table and points offBits past it (as
// some tools write): when offBits is exactly the end of that full table and the rows fit in the
// block from there, the pixels are found at offBits.
bool ReadLayout(const uint8_t* head, int64_t size, uint32_t offBits, Layout* layout);

// Colour-table entries worth reading: those a pixel can index (none for 16 bits and more).
int64_t UsableColors(const Layout& layout);

// Entry i of a colour table read from the block's tableOffset, as 0x00RRGGBB.
uint32_t TableEntry(const uint8_t* table, const Layout& layout, int64_t i);

// False when uncompressed rows do not fit in the block of size bytes: such a picture is refused
// before memory for its pixels is taken (a few hundred bytes may declare millions of pixels).
bool PixelsFit(int64_t size, const Layout& layout);

// Decodes every pixel into out (width x height, top row first, 0x00RRGGBB, zero-filled by the
// caller: run-length data may skip pixels), reading the block of size bytes that starts at
// blockStart in source. Palette indices at or beyond paletteCount give black. Run-length data is read
// only as far as the block goes and never writes outside the picture. False when a read fails.
bool DecodePixels(const plat::ByteSource& source, int64_t blockStart, int64_t size, const Layout& layout,
                  const uint32_t* palette, int64_t paletteCount, uint32_t* out);

}  // namespace bmp
