#include "gfx/BmpFormat.h"

#include <algorithm>
#include <vector>

#include "platform/base/LittleEndian.h"

namespace bmp {
namespace {

using plat::Le16;
using plat::Le32;

constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kV4HeaderSize = 108;
constexpr uint32_t kV5HeaderSize = 124;
constexpr int64_t kCoreHeaderSize = 12;
constexpr int64_t kMaskBytes = 12;

int64_t CountForBits(uint32_t bitCount) {
    switch (bitCount) {
        case 1:
            return 2;
        case 4:
            return 16;
        case 8:
            return 256;
        default:
            return 0;
    }
}

bool FormatSupported(const Layout& l) {
    switch (l.compression) {
        case kRgb:
            return l.bitCount == 1 || l.bitCount == 4 || l.bitCount == 8 || l.bitCount == 16 ||
                   l.bitCount == 24 || l.bitCount == 32;
        case kRle8:
            return l.infoHeader && l.bitCount == 8;
        case kRle4:
            return l.infoHeader && l.bitCount == 4;
        case kBitfields:
            return l.infoHeader && (l.bitCount == 16 || l.bitCount == 32);
        default:
            return false;
    }
}

// Reads the 40-byte info header (V4 and V5 headers start with it). The masks of a bitfields
// picture follow a plain info header, ahead of any colour table.
bool ReadInfoHeader(const uint8_t* block, int64_t size, Layout* l) {
    const int32_t height = static_cast<int32_t>(Le32(block + 8));
    l->width = static_cast<int32_t>(Le32(block + 4));
    l->topDown = height < 0;
    l->height = l->topDown ? -int64_t{height} : height;
    l->bitCount = Le16(block + 14);
    l->compression = Le32(block + 16);
    const uint32_t colorsUsed = Le32(block + 32);
    l->colorCount = colorsUsed != 0 ? colorsUsed : CountForBits(l->bitCount);
    l->tableOffset = l->headerSize;
    if (l->compression != kBitfields) return true;
    if (l->headerSize == kInfoHeaderSize) {
        if (kInfoHeaderSize + kMaskBytes > size) return false;
        l->tableOffset += kMaskBytes;
    }
    for (int i = 0; i < 3; ++i) l->masks[i] = Le32(block + kInfoHeaderSize + 4 * i);
    return true;
}

void ReadCoreHeader(const uint8_t* block, Layout* l) {
    l->width = Le16(block + 4);
    l->height = Le16(block + 6);
    l->bitCount = Le16(block + 10);
    l->colorCount = CountForBits(l->bitCount);
    l->entryBytes = 3;
    l->tableOffset = l->headerSize;
}

// Uncompressed 16-bit pixels are 5-5-5, 32-bit ones 8-8-8 with the top byte unused.
void SetDefaultMasks(Layout* l) {
    static constexpr uint32_t k555[3] = {0x7C00, 0x03E0, 0x001F};
    static constexpr uint32_t k888[3] = {0xFF0000, 0x00FF00, 0x0000FF};
    if (l->compression != kRgb || (l->bitCount != 16 && l->bitCount != 32)) return;
    const uint32_t* masks = l->bitCount == 16 ? k555 : k888;
    std::copy(masks, masks + 3, l->masks);
}

// One colour channel of a masked 16- or 32-bit pixel, widened to 8 bits.
class Channel {
public:
    explicit Channel(uint32_t mask) : m_dwMask(mask) {
        if (mask == 0) return;
        while (((mask >> m_nShift) & 1) == 0) ++m_nShift;
        m_dwMax = mask >> m_nShift;
    }
    uint32_t operator()(uint32_t pixel) const {
        return m_dwMax == 0 ? 0
                            : static_cast<uint32_t>(uint64_t{(pixel & m_dwMask) >> m_nShift} * 255 / m_dwMax);
    }

private:
    uint32_t m_dwMask;
    int m_nShift = 0;
    uint32_t m_dwMax = 0;
};

struct Palette {
    const uint32_t* entries;
    int64_t count;
    uint32_t operator()(uint32_t i) const { return i < count ? entries[i] : 0; }
};

// Decodes count pixels of a row from bytes (count is a multiple of 8 unless it ends the row, so
// every piece starts on a byte).
void DecodeRow(const uint8_t* row, int64_t count, const Layout& l, const Palette& palette, uint32_t* out) {
    switch (l.bitCount) {
        case 1:
            for (int64_t x = 0; x < count; ++x) out[x] = palette((row[x >> 3] >> (7 - (x & 7))) & 1);
            return;
        case 4:
            for (int64_t x = 0; x < count; ++x) out[x] = palette((row[x >> 1] >> ((x & 1) ? 0 : 4)) & 15);
            return;
        case 8:
            for (int64_t x = 0; x < count; ++x) out[x] = palette(row[x]);
            return;
        case 24:
            for (int64_t x = 0; x < count; ++x) {
                const uint8_t* p = row + 3 * x;
                out[x] = (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
            }
            return;
        default: {
            const Channel red(l.masks[0]), green(l.masks[1]), blue(l.masks[2]);
            const int bytes = static_cast<int>(l.bitCount / 8);
            for (int64_t x = 0; x < count; ++x) {
                const uint32_t v = bytes == 2 ? Le16(row + 2 * x) : Le32(row + 4 * x);
                out[x] = (red(v) << 16) | (green(v) << 8) | blue(v);
            }
            return;
        }
    }
}

int64_t Stride(const Layout& l) {
    return (l.width * l.bitCount + 31) / 32 * 4;
}

// Uncompressed rows, read a bounded piece at a time: as many whole rows as fit in the piece, or a
// part of one long row.
bool DecodeRows(const plat::ByteSource& source, int64_t start, const Layout& l, const Palette& palette,
                uint32_t* out) {
    constexpr int64_t kPieceBytes = int64_t{1} << 20;
    const int64_t stride = Stride(l);
    // Pixels per read within a row: a multiple of 8, so that every part starts on a byte.
    const int64_t part =
        stride <= kPieceBytes ? l.width : std::max<int64_t>(kPieceBytes * 8 / l.bitCount / 8 * 8, 8);
    const int64_t rowsPerRead = stride <= kPieceBytes ? kPieceBytes / stride : 1;
    std::vector<uint8_t> buffer(static_cast<size_t>(std::min(kPieceBytes, stride * l.height)));
    for (int64_t s0 = 0; s0 < l.height; s0 += rowsPerRead) {
        const int64_t rows = std::min(rowsPerRead, l.height - s0);
        for (int64_t x = 0; x < l.width; x += part) {
            const int64_t count = std::min(part, l.width - x);
            const int64_t bytes = rows == 1 ? (count * l.bitCount + 7) / 8 : rows * stride;
            if (!source.ReadExactly(start + s0 * stride + x * l.bitCount / 8, buffer.data(), bytes))
                return false;
            for (int64_t k = 0; k < rows; ++k) {
                const int64_t s = s0 + k;
                uint32_t* row = out + (l.topDown ? s : l.height - 1 - s) * l.width;
                DecodeRow(buffer.data() + k * stride, count, l, palette, row + x);
            }
        }
    }
    return true;
}

// The run-length data as a stream of bytes, read in pieces; 0 past its end.
class ByteStream {
public:
    ByteStream(const plat::ByteSource& source, int64_t start, int64_t size)
        : m_source(source), m_pos(start), m_end(start + size) {}
    int64_t Left() const { return m_end - m_pos + (m_filled - m_next); }
    uint8_t Next() {
        if (m_next == m_filled && !Refill()) return 0;
        return m_buffer[m_next++];
    }
    void Skip(int64_t n) {
        for (int64_t i = 0; i < n && Left() > 0; ++i) Next();
    }
    bool Failed() const { return m_failed; }

private:
    bool Refill() {
        const int64_t want = std::min<int64_t>(sizeof m_buffer, m_end - m_pos);
        if (want <= 0) return false;
        if (!m_source.ReadExactly(m_pos, m_buffer, want)) {
            m_failed = true;
            m_end = m_pos;
            return false;
        }
        m_pos += want;
        m_next = 0;
        m_filled = want;
        return true;
    }

    const plat::ByteSource& m_source;
    int64_t m_pos, m_end;
    uint8_t m_buffer[65536];
    int64_t m_next = 0, m_filled = 0;
    bool m_failed = false;
};

// Run-length pixels: every write is checked against the picture; the data ends with the block.
bool DecodeRle(ByteStream& data, const Layout& l, const Palette& palette, uint32_t* out) {
    const bool four = l.compression == kRle4;
    const int64_t w = l.width, h = l.height;
    int64_t x = 0, y = 0;
    auto put = [&](int64_t col, uint32_t index) {
        out[(l.topDown ? y : h - 1 - y) * w + col] = palette(index);
    };
    while (data.Left() >= 2 && y < h) {
        const int64_t count = data.Next();
        const uint8_t value = data.Next();
        if (count > 0) {
            const int64_t run = std::clamp<int64_t>(w - x, 0, count);
            for (int64_t k = 0; k < run; ++k) put(x + k, four ? ((k & 1) ? value & 15 : value >> 4) : value);
            x += count;
        } else if (value == 0) {
            x = 0;
            ++y;
        } else if (value == 1) {
            break;
        } else if (value == 2) {
            if (data.Left() < 2) break;
            x += data.Next();
            y += data.Next();
        } else {
            const int64_t bytes = four ? (value + 1) / 2 : value;
            const int64_t avail = std::min(bytes, data.Left());
            const int64_t shown = four ? std::min<int64_t>(value, 2 * avail) : avail;
            uint8_t b = 0;
            for (int64_t k = 0; k < shown; ++k) {
                if (!four || (k & 1) == 0) b = data.Next();
                if (x + k < w) put(x + k, four ? ((k & 1) ? b & 15 : b >> 4) : b);
            }
            data.Skip(bytes - (four ? (shown + 1) / 2 : shown) + (bytes & 1));
            x += value;
        }
    }
    return !data.Failed();
}

// The one place the pixel offset of the file header counts: a short declared table followed by the
// full one, with the pixels after it (see ReadLayout).
void UseFullTableOffset(int64_t size, uint32_t offBits, Layout* l) {
    const int64_t full = CountForBits(l->bitCount);
    if (l->compression != kRgb || l->colorCount >= full) return;
    const int64_t offset = int64_t{offBits} - kFileHeaderSize;
    if (offset != l->tableOffset + full * l->entryBytes) return;
    if (Stride(*l) * l->height > size - offset) return;
    l->pixelOffset = offset;
}

}  // namespace

bool ReadLayout(const uint8_t* head, int64_t size, uint32_t offBits, Layout* layout) {
    Layout l;
    if (size < 4) return false;
    l.headerSize = Le32(head);
    l.infoHeader =
        l.headerSize == kInfoHeaderSize || l.headerSize == kV4HeaderSize || l.headerSize == kV5HeaderSize;
    if (l.headerSize > size || (l.infoHeader ? kInfoHeaderSize : kCoreHeaderSize) > size) return false;
    if (l.infoHeader) {
        if (!ReadInfoHeader(head, size, &l)) return false;
    } else {
        ReadCoreHeader(head, &l);
    }
    if (!FormatSupported(l)) return false;
    SetDefaultMasks(&l);
    l.pixelOffset = l.tableOffset + l.colorCount * l.entryBytes;
    if (l.pixelOffset > size) return false;
    const bool sized = l.width >= 0 && l.width <= kMaxPixels && l.height <= kMaxPixels;
    if (!sized || l.width * l.height > kMaxPixels) return false;
    UseFullTableOffset(size, offBits, &l);
    *layout = l;
    return true;
}

int64_t UsableColors(const Layout& layout) {
    return std::min(layout.colorCount, CountForBits(layout.bitCount));
}

uint32_t TableEntry(const uint8_t* table, const Layout& layout, int64_t i) {
    const uint8_t* e = table + i * layout.entryBytes;
    return (uint32_t{e[2]} << 16) | (uint32_t{e[1]} << 8) | e[0];
}

bool PixelsFit(int64_t size, const Layout& l) {
    if (l.compression == kRle8 || l.compression == kRle4) return true;
    return Stride(l) * l.height <= size - l.pixelOffset;
}

bool DecodePixels(const plat::ByteSource& source, int64_t blockStart, int64_t size, const Layout& l,
                  const uint32_t* palette, int64_t paletteCount, uint32_t* out) {
    const Palette lookup{palette, paletteCount};
    if (l.width == 0 || l.height == 0) return true;  // nothing to decode, however many empty rows
    if (l.compression == kRle8 || l.compression == kRle4) {
        ByteStream data(source, blockStart + l.pixelOffset, size - l.pixelOffset);
        return DecodeRle(data, l, lookup, out);
    }
    return DecodeRows(source, blockStart + l.pixelOffset, l, lookup, out);
}

}  // namespace bmp
