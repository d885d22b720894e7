#include "gfx/CDibImage.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "gfx/BmpFormat.h"
#include "platform/Platform.h"
#include "platform/base/Files.h"
#include "platform/base/LittleEndian.h"

namespace {

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

// One axis of a scaled copy: n destination pixels show the source window [s, s + m) of a picture
// limit pixels long, and the visible ones are i0 .. i1 - 1. In units of 1/n source pixel, source
// pixel q spans [(q - s) n, (q - s + 1) n) and destination pixel i spans [i m, (i + 1) m): a
// destination pixel averages the source pixels it overlaps, by overlap.
struct Axis {
    struct Span {
        int64_t first, end;  // source pixels [first, end), clipped to the picture
    };
    int64_t n, s, m, i0;
    std::vector<Span> spans;  // one per visible destination pixel

    Axis(int64_t n_, int64_t s_, int64_t m_, int64_t limit, int64_t i0_, int64_t i1)
        : n(n_), s(s_), m(m_), i0(i0_) {
        for (int64_t i = i0; i < i1; ++i) {
            const int64_t first = std::max<int64_t>(s + i * m / n, 0);
            const int64_t end = std::min<int64_t>(s + ((i + 1) * m + n - 1) / n, limit);
            spans.push_back({first, std::max(first, end)});
        }
    }
    // The weight of source pixel q in visible destination pixel k (counted from i0).
    double Weight(int64_t k, int64_t q) const {
        const int64_t i = i0 + k, rel = q - s;
        return static_cast<double>(std::min((i + 1) * m, (rel + 1) * n) - std::max(i * m, rel * n));
    }
    // Source pixels summed over all destination pixels, and the range they come from.
    int64_t Taps() const {
        int64_t taps = 0;
        for (const Span& span : spans) taps += span.end - span.first;
        return taps;
    }
    // The source pixels some destination pixel covers lie in [Low(), High()).
    int64_t Low() const {
        for (const Span& span : spans) {
            if (span.end > span.first) return span.first;
        }
        return 0;
    }
    int64_t High() const {
        for (auto span = spans.rbegin(); span != spans.rend(); ++span) {
            if (span->end > span->first) return span->end;
        }
        return 0;
    }
};

// A weighted sum of colours. The weights are whole numbers, so for pictures of sprite size every
// sum is exact and the order of adding does not change the result.
struct Sum {
    double red = 0, green = 0, blue = 0, total = 0;
    bool visible = false;

    void Add(double weight, uint32_t px) {
        red += weight * (px >> 16);
        green += weight * ((px >> 8) & 255);
        blue += weight * (px & 255);
        total += weight;
        visible = visible || Pack(px) != 0;
    }
    void Add(double weight, const Sum& other) {
        red += weight * other.red;
        green += weight * other.green;
        blue += weight * other.blue;
        total += weight * other.total;
        visible = visible || other.visible;
    }
};

// Scaled copies average separably, one axis after the other, in the order that costs less: a
// picture 2^26 pixels wide drawn as 800 x 600 reduces its one row once instead of once per
// destination row, and a tall one sums its rows down before going across.
class Resampler {
public:
    Resampler(const uint32_t* pixels, int64_t width, const Axis& across, const Axis& down)
        : m_pixels(pixels), m_width(width), m_across(across), m_down(down) {
        const int64_t cols = static_cast<int64_t>(across.spans.size());
        const int64_t rows = static_cast<int64_t>(down.spans.size());
        const int64_t srcCols = across.High() - across.Low();
        const int64_t acrossFirst =
            (down.High() - down.Low()) * (srcCols + across.Taps()) + down.Taps() * cols;
        const int64_t downFirst = down.Taps() * srcCols + rows * across.Taps();
        m_acrossFirst = acrossFirst <= downFirst;
    }

    // The sums of visible destination row k.
    void Row(int64_t k, std::vector<Sum>* line) {
        line->assign(m_across.spans.size(), Sum{});
        if (m_acrossFirst) {
            AcrossFirst(k, line);
        } else {
            DownFirst(k, line);
        }
    }

private:
    // Each source row the destination row covers is reduced across once; the last two are kept,
    // as the next destination row starts on one of them.
    void AcrossFirst(int64_t k, std::vector<Sum>* line) {
        const Axis::Span rows = m_down.spans[k];
        for (int64_t qy = rows.first; qy < rows.end; ++qy) {
            const std::vector<Sum>& reduced = Reduced(qy);
            const double wy = m_down.Weight(k, qy);
            for (size_t c = 0; c < line->size(); ++c) (*line)[c].Add(wy, reduced[c]);
        }
    }

    const std::vector<Sum>& Reduced(int64_t qy) {
        for (const Cached& cached : m_cache) {
            if (cached.row == qy) return cached.sums;
        }
        Cached& slot = m_cache[m_next];
        m_next = 1 - m_next;
        slot.row = qy;
        slot.sums.assign(m_across.spans.size(), Sum{});
        const uint32_t* src = m_pixels + qy * m_width;
        for (size_t c = 0; c < m_across.spans.size(); ++c) {
            for (int64_t qx = m_across.spans[c].first; qx < m_across.spans[c].end; ++qx) {
                slot.sums[c].Add(m_across.Weight(static_cast<int64_t>(c), qx), src[qx]);
            }
        }
        return slot.sums;
    }

    // The source rows the destination row covers are summed down, column by column, then across.
    void DownFirst(int64_t k, std::vector<Sum>* line) {
        const Axis::Span rows = m_down.spans[k];
        const int64_t low = m_across.Low(), high = m_across.High();
        m_columns.assign(static_cast<size_t>(high - low), Sum{});
        for (int64_t qy = rows.first; qy < rows.end; ++qy) {
            const double wy = m_down.Weight(k, qy);
            const uint32_t* src = m_pixels + qy * m_width;
            for (int64_t qx = low; qx < high; ++qx) m_columns[qx - low].Add(wy, src[qx]);
        }
        for (size_t c = 0; c < line->size(); ++c) {
            for (int64_t qx = m_across.spans[c].first; qx < m_across.spans[c].end; ++qx) {
                (*line)[c].Add(m_across.Weight(static_cast<int64_t>(c), qx), m_columns[qx - low]);
            }
        }
    }

    struct Cached {
        int64_t row = -1;
        std::vector<Sum> sums;
    };
    const uint32_t* m_pixels;
    int64_t m_width;
    const Axis& m_across;
    const Axis& m_down;
    bool m_acrossFirst = true;
    Cached m_cache[2];
    int m_next = 0;
    std::vector<Sum> m_columns;
};

}  // namespace

CDibImage::CDibImage(const char* path) {
    SetPath(path);
    // Only a regular file is read; anything else is a file that could not be opened (handle -1).
    // One that is there but cannot be opened says why (too many open files, not a regular file).
    plat::Result<plat::DataFile> file = plat::DataFile::Open(path ? path : "");
    if (!file && plat::Exists(m_strPath)) {
        Fail("%d, %s.", -1, file.Error().c_str());
    } else if (!file) {
        Fail("%d, %s not found.", -1, m_strPath);
    } else {
        Load(*file);
    }
    if (!IsLoaded()) plat::MessageBox(m_strMessage);
}

CDibImage::CDibImage(const char* name, const uint8_t* bytes, size_t size) {
    SetPath(name);
    Load(plat::MemoryBytes(bytes, size));
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

namespace {
PictureBudget* g_budget = nullptr;
}  // namespace

PictureBudget::PictureBudget(int64_t bytes) : m_left(bytes), m_previous(g_budget) {
    g_budget = this;
}

PictureBudget::~PictureBudget() {
    g_budget = m_previous;
}

bool PictureBudget::Take(int64_t bytes) {
    if (!g_budget) return true;
    if (bytes > g_budget->m_left) return false;
    g_budget->m_left -= bytes;
    return true;
}

int CDibImage::Load(const plat::ByteSource& source) {
    uint8_t header[bmp::kFileHeaderSize];
    const int64_t got = source.ReadAt(0, header, bmp::kFileHeaderSize);
    if (got != bmp::kFileHeaderSize) {
        return Fail("%d:%d, %s header size mismatch", static_cast<int>(got), bmp::kFileHeaderSize, m_strPath);
    }
    if (plat::Le16(header) != bmp::kTypeBM) return Fail("%s not BMP file", m_strPath);
    // The declared size bounds what is read; it must be there in the file.
    const int64_t size = int64_t{plat::Le32(header + 2)} - bmp::kFileHeaderSize;
    if (size < 0 || size > source.Size() - bmp::kFileHeaderSize)
        return Fail(" %s can not read file", m_strPath);
    uint8_t head[bmp::kHeadBytes] = {};
    if (!source.ReadExactly(bmp::kFileHeaderSize, head, std::min(size, bmp::kHeadBytes))) {
        return Fail(" %s can not read file", m_strPath);
    }
    bmp::Layout layout;
    if (!bmp::ReadLayout(head, size, plat::Le32(header + 10), &layout) || !bmp::PixelsFit(size, layout) ||
        !PictureBudget::Take(layout.width * layout.height * int64_t{sizeof(uint32_t)})) {
        return Fail("%s broken BMP file", m_strPath);
    }
    return Decode(source, size, layout);
}

int CDibImage::Decode(const plat::ByteSource& source, int64_t size, const bmp::Layout& layout) {
    const int64_t paletteCount = bmp::UsableColors(layout);
    std::vector<uint8_t> table(static_cast<size_t>(paletteCount * layout.entryBytes));
    std::vector<uint32_t> palette(static_cast<size_t>(paletteCount));
    if (!source.ReadExactly(bmp::kFileHeaderSize + layout.tableOffset, table.data(),
                            static_cast<int64_t>(table.size()))) {
        return Fail(" %s can not read file", m_strPath);
    }
    for (int64_t i = 0; i < paletteCount; ++i) palette[i] = bmp::TableEntry(table.data(), layout, i);
    const int64_t count = layout.width * layout.height;
    const size_t slots = static_cast<size_t>(std::max<int64_t>(count, 1));
    std::unique_ptr<uint32_t[]> pixels(new (std::nothrow) uint32_t[slots]());
    if (!pixels) return Fail("not enough memory");
    if (!bmp::DecodePixels(source, bmp::kFileHeaderSize, size, layout, palette.data(), paletteCount,
                           pixels.get())) {
        return Fail(" %s can not read file", m_strPath);
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
    const Axis across(w, sx, sw, m_nWidth, c0 - x, c1 - x);
    const Axis down(h, sy, sh, m_nHeight, r0 - y, r1 - y);
    Resampler resampler(m_pPixels.get(), m_nWidth, across, down);
    std::vector<Sum> line;
    for (int64_t k = 0; k < r1 - r0; ++k) {
        resampler.Row(k, &line);
        uint16_t* out = dst.Row(static_cast<int32_t>(r0 + k)) + c0;
        for (size_t c = 0; c < line.size(); ++c) {
            const Sum& sum = line[c];
            // A pixel whose window lies wholly outside the picture is left as it was.
            if (sum.total > 0) {
                out[c] = PackAverage(sum.red / sum.total, sum.green / sum.total, sum.blue / sum.total,
                                     sum.visible);
            }
        }
    }
}
