#include "gfx/CDibImage.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "gfx/BmpFormat.h"
#include "platform/Platform.h"

namespace bmp {

// Where a BMP's bytes come from: a file read with plain reads, or bytes already in memory.
class Source {
public:
    virtual ~Source() = default;
    // Reads up to count bytes; returns how many arrived, or -1 when the read fails.
    virtual int64_t Read(uint8_t* dst, int64_t count) = 0;
    // Bytes left to read: a declared size beyond this cannot be met, whatever memory there is.
    virtual int64_t Remaining() const = 0;
};

}  // namespace bmp

namespace {

class FileSource : public bmp::Source {
public:
    explicit FileSource(const char* path) : m_nFile(Open(path)) {}
    ~FileSource() override {
        if (m_nFile >= 0) ::close(m_nFile);
    }
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    int Handle() const { return m_nFile; }

    int64_t Read(uint8_t* dst, int64_t count) override {
        int64_t total = 0;
        while (total < count) {
            const ssize_t got =
                ::read(m_nFile, dst + total, static_cast<size_t>(std::min<int64_t>(count - total, 1 << 30)));
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) return -1;
            if (got == 0) break;
            total += got;
        }
        return total;
    }

    int64_t Remaining() const override {
        struct stat st;
        const off_t pos = ::lseek(m_nFile, 0, SEEK_CUR);
        if (::fstat(m_nFile, &st) != 0 || pos < 0) return 0;
        return std::max<int64_t>(st.st_size - pos, 0);
    }

private:
    // A directory opens for reading here but is no file: it fails as a missing file does.
    static int Open(const char* path) {
        const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
        struct stat st;
        if (fd >= 0 && ::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
            ::close(fd);
            return -1;
        }
        return fd;
    }

    int m_nFile;
};

class MemorySource : public bmp::Source {
public:
    MemorySource(const uint8_t* bytes, size_t size) : m_pBytes(bytes), m_nSize(bytes ? size : 0) {}

    int64_t Read(uint8_t* dst, int64_t count) override {
        const int64_t got = std::min(count, Remaining());
        if (got > 0) std::memcpy(dst, m_pBytes + m_nPos, static_cast<size_t>(got));
        m_nPos += got;
        return got;
    }
    int64_t Remaining() const override { return static_cast<int64_t>(m_nSize - m_nPos); }

private:
    const uint8_t* m_pBytes;
    size_t m_nSize;
    size_t m_nPos = 0;
};

uint16_t Pack(uint32_t rgb) {
    return PackRgb565(static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8),
                      static_cast<uint8_t>(rgb));
}

// An averaged colour as a surface pixel. Value 0 is transparent, so an average with any visible
// source pixel in it must not come out as 0: it takes the nearest non-zero 5-6-5 value instead.
uint8_t Round(double v) {
    return static_cast<uint8_t>(std::clamp(v + 0.5, 0.0, 255.0));
}

uint16_t PackAverage(double r, double g, double b, bool visible) {
    const uint16_t packed = PackRgb565(Round(r), Round(g), Round(b));
    if (packed != 0 || !visible) return packed;
    // The smallest step of each channel: green 4, red 8, blue 8 (in 8-bit terms).
    const double toGreen = r * r + (g - 4) * (g - 4) + b * b;
    const double toRed = (r - 8) * (r - 8) + g * g + b * b;
    const double toBlue = r * r + g * g + (b - 8) * (b - 8);
    if (toGreen <= toRed && toGreen <= toBlue) return 0x0020;
    return toRed <= toBlue ? 0x0800 : 0x0001;
}

// The source pixels behind each destination pixel of one axis of a scaled copy, with weights.
struct Taps {
    struct Span {
        int64_t first, end;  // source pixels [first, end), clipped to the picture
        size_t weights;      // where their weights start in the weights table
    };
    std::vector<Span> spans;  // one per visible destination pixel
    std::vector<double> weights;
};

// n destination pixels show the source window [s, s + m) of a picture limit pixels long; the
// visible ones are i0 .. i1 - 1. In units of 1/n source pixel, source pixel q spans
// [(q - s) n, (q - s + 1) n) and destination pixel i spans [i m, (i + 1) m): a destination pixel
// averages the source pixels it overlaps, by overlap.
Taps MakeTaps(int64_t n, int64_t s, int64_t m, int64_t limit, int64_t i0, int64_t i1) {
    Taps taps;
    for (int64_t i = i0; i < i1; ++i) {
        const int64_t first = std::max<int64_t>(s + i * m / n, 0);
        const int64_t end = std::min<int64_t>(s + ((i + 1) * m + n - 1) / n, limit);
        taps.spans.push_back({first, std::max(first, end), taps.weights.size()});
        for (int64_t q = first; q < end; ++q) {
            const int64_t rel = q - s;
            taps.weights.push_back(
                static_cast<double>(std::min((i + 1) * m, (rel + 1) * n) - std::max(i * m, rel * n)));
        }
    }
    return taps;
}

}  // namespace

CDibImage::CDibImage(const char* path) {
    SetPath(path);
    FileSource file(path ? path : "");
    if (file.Handle() < 0) {
        Fail("%d, %s not found.", file.Handle(), m_strPath);
    } else {
        Load(file);
    }
    if (!IsLoaded()) plat::MessageBox(m_strMessage);
}

CDibImage::CDibImage(const char* name, const uint8_t* bytes, size_t size) {
    SetPath(name);
    MemorySource memory(bytes, size);
    Load(memory);
    if (!IsLoaded()) plat::MessageBox(m_strMessage);
}

CDibImage::~CDibImage() = default;

bool CDibImage::IsLoaded() const {
    return m_pPixels != nullptr;
}

void CDibImage::SetPath(const char* path) {
    std::snprintf(m_strPath, sizeof m_strPath, "%s", path ? path : "");
}

int CDibImage::Fail(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vsnprintf(m_strMessage, sizeof m_strMessage, format, args);  // longer texts are cut to 101
    va_end(args);
    return 0;
}

int CDibImage::Load(bmp::Source& source) {
    uint8_t header[bmp::kFileHeaderSize];
    const int64_t got = source.Read(header, bmp::kFileHeaderSize);
    if (got != bmp::kFileHeaderSize) {
        return Fail("%d:%d, %s header size mismatch", static_cast<int>(got), bmp::kFileHeaderSize, m_strPath);
    }
    if (bmp::Le16(header) != bmp::kTypeBM) return Fail("%s not BMP file", m_strPath);
    // The declared size decides what is read; it is checked against the file before allocating.
    const int64_t size = int64_t{bmp::Le32(header + 2)} - bmp::kFileHeaderSize;
    if (size < 0 || size > source.Remaining()) return Fail(" %s can not read file", m_strPath);
    std::unique_ptr<uint8_t[]> block(new (std::nothrow)
                                         uint8_t[static_cast<size_t>(std::max<int64_t>(size, 1))]);
    if (!block) return Fail("not enough memory");
    if (source.Read(block.get(), size) != size) return Fail(" %s can not read file", m_strPath);
    return Decode(block.get(), size);
}

int CDibImage::Decode(const uint8_t* block, int64_t size) {
    bmp::Layout layout;
    if (!bmp::ReadLayout(block, size, &layout) || !bmp::PixelsFit(size, layout)) {
        return Fail("%s broken BMP file", m_strPath);
    }
    std::unique_ptr<uint32_t[]> palette;
    int64_t paletteCount = 0;
    if (layout.colorCount > 0) {
        palette.reset(new (std::nothrow) uint32_t[static_cast<size_t>(layout.colorCount)]);
        if (palette) {
            paletteCount = layout.colorCount;
            for (int64_t i = 0; i < paletteCount; ++i) palette[i] = bmp::TableEntry(block, layout, i);
        } else {
            Fail("%s palette memory not enough", m_strPath);  // a note only: the picture still loads
        }
    }
    const int64_t count = layout.width * layout.height;
    const size_t slots = static_cast<size_t>(std::max<int64_t>(count, 1));
    std::unique_ptr<uint32_t[]> pixels(new (std::nothrow) uint32_t[slots]());
    if (!pixels) return Fail("not enough memory");
    if (!bmp::DecodePixels(block, size, layout, palette.get(), paletteCount, pixels.get())) {
        return Fail("%s broken BMP file", m_strPath);
    }
    m_nColorCount = static_cast<int32_t>(layout.colorCount);
    m_nWidth = static_cast<int32_t>(layout.width);
    m_nHeight = static_cast<int32_t>(layout.height);
    m_pPixels = std::move(pixels);
    return 1;
}

void CDibImage::Draw(int32_t x, int32_t y, SlotDC* dc) {
    Paint(dc, x, y, m_nWidth, m_nHeight, 0, 0, m_nWidth, m_nHeight);
}

void CDibImage::DrawStretched(int32_t x, int32_t y, int32_t width, int32_t height, SlotDC* dc) {
    Paint(dc, x, y, width, height, 0, 0, m_nWidth, m_nHeight);
}

void CDibImage::DrawPart(int32_t x, int32_t y, int32_t width, int32_t height, SlotDC* dc, int32_t sx,
                         int32_t sy) {
    Paint(dc, x, y, width, height, sx, sy, width, height);
}

void CDibImage::DrawPartStretched(int32_t x, int32_t y, int32_t width, int32_t height, SlotDC* dc, int32_t sx,
                                  int32_t sy, int32_t sw, int32_t sh) {
    Paint(dc, x, y, width, height, sx, sy, sw, sh);
}

void CDibImage::Paint(SlotDC* dc, int64_t x, int64_t y, int64_t w, int64_t h, int64_t sx, int64_t sy,
                      int64_t sw, int64_t sh) const {
    if (!IsLoaded() || !dc || !dc->surface || !dc->surface->pixels) return;
    if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0) return;
    if (w == sw && h == sh) {
        Copy(*dc->surface, x, y, w, h, sx, sy);
    } else {
        Scale(*dc->surface, x, y, w, h, sx, sy, sw, sh);
    }
}

void CDibImage::Copy(Surface& dst, int64_t x, int64_t y, int64_t w, int64_t h, int64_t sx, int64_t sy) const {
    // Destination column c shows source column c - x + sx: keep both inside their pictures.
    const int64_t c0 = std::max({x, int64_t{0}, x - sx});
    const int64_t c1 = std::min({x + w, int64_t{dst.width}, m_nWidth + x - sx});
    const int64_t r0 = std::max({y, int64_t{0}, y - sy});
    const int64_t r1 = std::min({y + h, int64_t{dst.height}, m_nHeight + y - sy});
    for (int64_t r = r0; r < r1; ++r) {
        const uint32_t* src = m_pPixels.get() + (r - y + sy) * m_nWidth + (sx - x);
        uint16_t* out = dst.Row(static_cast<int32_t>(r));
        for (int64_t c = c0; c < c1; ++c) out[c] = Pack(src[c]);
    }
}

void CDibImage::Scale(Surface& dst, int64_t x, int64_t y, int64_t w, int64_t h, int64_t sx, int64_t sy,
                      int64_t sw, int64_t sh) const {
    const int64_t c0 = std::max<int64_t>(x, 0), c1 = std::min<int64_t>(x + w, dst.width);
    const int64_t r0 = std::max<int64_t>(y, 0), r1 = std::min<int64_t>(y + h, dst.height);
    if (c0 >= c1 || r0 >= r1) return;
    const Taps across = MakeTaps(w, sx, sw, m_nWidth, c0 - x, c1 - x);
    const Taps down = MakeTaps(h, sy, sh, m_nHeight, r0 - y, r1 - y);
    for (int64_t r = r0; r < r1; ++r) {
        const Taps::Span& rows = down.spans[r - r0];
        uint16_t* out = dst.Row(static_cast<int32_t>(r));
        for (int64_t c = c0; c < c1; ++c) {
            const Taps::Span& cols = across.spans[c - c0];
            double red = 0, green = 0, blue = 0, total = 0;
            bool visible = false;
            for (int64_t qy = rows.first; qy < rows.end; ++qy) {
                const double wy = down.weights[rows.weights + (qy - rows.first)];
                const uint32_t* src = m_pPixels.get() + qy * m_nWidth + cols.first;
                const double* wx = across.weights.data() + cols.weights;
                for (int64_t k = 0; k < cols.end - cols.first; ++k) {
                    const double weight = wy * wx[k];
                    const uint32_t px = src[k];
                    red += weight * (px >> 16);
                    green += weight * ((px >> 8) & 255);
                    blue += weight * (px & 255);
                    total += weight;
                    visible = visible || Pack(px) != 0;
                }
            }
            // A pixel whose window lies wholly outside the picture is left as it was.
            if (total > 0) out[c] = PackAverage(red / total, green / total, blue / total, visible);
        }
    }
}
