#include "Draw.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

uint32_t Lcg::Next() {
    m_state = m_state * 1664525u + 1013904223u;
    return m_state >> 8;
}

double Lcg::Unit() {
    return Next() / double(1u << 24);
}

double Clamp01(double v) {
    return std::clamp(v, 0.0, 1.0);
}

double SmoothStep(double edge0, double edge1, double x) {
    double t = Clamp01((x - edge0) / (edge1 - edge0));
    return t * t * (3 - 2 * t);
}

Mask::Mask(int width, int height)
    : m_width(width), m_height(height), m_values(static_cast<size_t>(width) * height, 0.0) {}

double Mask::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) return 0;
    return m_values[size_t(y) * m_width + x];
}

void Mask::Set(int x, int y, double v) {
    if (x >= 0 && y >= 0 && x < m_width && y < m_height) m_values[size_t(y) * m_width + x] = v;
}

bool InDisc(double px, double py, double cx, double cy, double radius) {
    double dx = px - cx, dy = py - cy;
    return dx * dx + dy * dy <= radius * radius;
}

bool InRoundRect(double px, double py, double left, double top, double right, double bottom, double radius) {
    if (px < left || px >= right || py < top || py >= bottom) return false;
    double cx = std::clamp(px, left + radius, right - radius);
    double cy = std::clamp(py, top + radius, bottom - radius);
    return InDisc(px, py, cx, cy, radius);
}

namespace {

Mask BlurPass(const Mask& in, int radius, bool horizontal) {
    Mask out(in.Width(), in.Height());
    for (int y = 0; y < in.Height(); ++y)
        for (int x = 0; x < in.Width(); ++x) {
            double sum = 0;
            for (int k = -radius; k <= radius; ++k) sum += horizontal ? in.At(x + k, y) : in.At(x, y + k);
            out.Set(x, y, sum / (2 * radius + 1));
        }
    return out;
}

}  // namespace

Mask BoxBlur(const Mask& mask, int radius) {
    return BlurPass(BlurPass(mask, radius, true), radius, false);
}

Image Crop(const Image& source, int x, int y, int w, int h) {
    Image part(w, h);
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i)
            if (source.Inside(x + i, y + j)) part.PutRaw(i, j, source.At(x + i, y + j));
    return part;
}

void FillRect(Image& image, int x, int y, int w, int h, Col c) {
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i) image.Put(i, j, c);
}

std::vector<Point> LinePoints(Point a, Point b) {
    std::vector<Point> points;
    int dx = std::abs(b.x - a.x), dy = -std::abs(b.y - a.y);
    int sx = a.x < b.x ? 1 : -1, sy = a.y < b.y ? 1 : -1;
    int err = dx + dy;
    for (Point p = a;;) {
        points.push_back(p);
        if (p.x == b.x && p.y == b.y) break;
        int e2 = 2 * err;
        if (e2 >= dy) err += dy, p.x += sx;
        if (e2 <= dx) err += dx, p.y += sy;
    }
    return points;
}

Image FromRows(const std::vector<std::string>& rows, const CharPalette& palette) {
    int width = 0;
    for (const std::string& row : rows) width = std::max(width, int(row.size()));
    Image image(width, int(rows.size()));
    for (size_t y = 0; y < rows.size(); ++y)
        for (size_t x = 0; x < rows[y].size(); ++x) {
            auto it = palette.find(rows[y][x]);
            if (it != palette.end()) image.Put(int(x), int(y), it->second);
        }
    return image;
}

namespace {

constexpr int kBayer4[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

// Picks level floor(v / step + threshold) and spells it the way a 16-bit screen shows it.
uint8_t DitherChannel(double v, int bits, double threshold) {
    int maxLevel = (1 << bits) - 1;
    double step = 255.0 / maxLevel;
    int level = std::clamp(int(std::floor(v / step + threshold)), 0, maxLevel);
    return static_cast<uint8_t>((level << (8 - bits)) | (level >> (2 * bits - 8)));
}

}  // namespace

Rgb Dither565(Col c, int x, int y) {
    double threshold = (kBayer4[y & 3][x & 3] + 0.5) / 16.0;
    return {DitherChannel(c.r, 5, threshold), DitherChannel(c.g, 6, threshold),
            DitherChannel(c.b, 5, threshold)};
}

}  // namespace assetgen
