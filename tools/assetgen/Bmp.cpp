#include "Bmp.h"

#include "Bytes.h"
#include "Palette.h"

namespace assetgen {
namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kPixelsPerMetre = 2835;  // 72 dpi

uint32_t RowBytes(int width, int bitsPerPixel) {
    return ((uint32_t(width) * bitsPerPixel + 31) / 32) * 4;
}

void Headers(Bytes& out, const Image& image, int bitsPerPixel, uint32_t colours) {
    uint32_t pixelBytes = RowBytes(image.Width(), bitsPerPixel) * image.Height();
    uint32_t pixelOffset = kFileHeaderSize + kInfoHeaderSize + colours * 4;
    out.U16(0x4D42);
    out.U32(pixelOffset + pixelBytes);
    out.U16(0);
    out.U16(0);
    out.U32(pixelOffset);
    out.U32(kInfoHeaderSize);
    out.I32(image.Width());
    out.I32(image.Height());  // positive: rows stored from the bottom up
    out.U16(1);
    out.U16(static_cast<uint16_t>(bitsPerPixel));
    out.U32(0);  // BI_RGB
    out.U32(pixelBytes);
    out.U32(kPixelsPerMetre);
    out.U32(kPixelsPerMetre);
    out.U32(colours);
    out.U32(colours);
}

}  // namespace

bool WriteBmp24(const std::string& path, const Image& image) {
    Bytes out;
    Headers(out, image, 24, 0);
    size_t padding = RowBytes(image.Width(), 24) - size_t(image.Width()) * 3;
    for (int y = image.Height() - 1; y >= 0; --y) {
        for (int x = 0; x < image.Width(); ++x) {
            Rgb c = image.At(x, y);
            out.U8(c.b);
            out.U8(c.g);
            out.U8(c.r);
        }
        out.Pad(padding);
    }
    return WriteFile(path, out);
}

bool WriteBmp8(const std::string& path, const Image& image) {
    std::optional<IndexedImage> table = ToIndexed(image);
    if (!table) return false;
    const IndexedImage& indexed = *table;
    Bytes out;
    Headers(out, image, 8, static_cast<uint32_t>(indexed.palette.size()));
    for (Rgb c : indexed.palette) {
        out.U8(c.b);
        out.U8(c.g);
        out.U8(c.r);
        out.U8(0);
    }
    size_t padding = RowBytes(image.Width(), 8) - size_t(image.Width());
    for (int y = image.Height() - 1; y >= 0; --y) {
        const uint8_t* row = &indexed.pixels[size_t(y) * image.Width()];
        for (int x = 0; x < image.Width(); ++x) out.U8(row[x]);
        out.Pad(padding);
    }
    return WriteFile(path, out);
}

}  // namespace assetgen
