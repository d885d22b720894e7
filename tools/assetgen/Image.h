// An RGB picture in memory, the working surface of every generated sprite.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace assetgen {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(Rgb, Rgb) = default;
};

// A colour with real-valued channels (0..255) for shading arithmetic.
struct Col {
    double r = 0, g = 0, b = 0;
};

Col Lerp(Col a, Col b, double t);
Col Scale(Col c, double k);
Col Add(Col a, Col b);
Col FromHex(uint32_t rgb);

// The game treats every colour whose 5-6-5 packing is 0 as see-through.
bool PacksToZero(Rgb c);
constexpr Rgb kClear{0, 0, 0};

class Image {
public:
    Image(int width, int height);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < m_width && y < m_height; }

    Rgb At(int x, int y) const { return m_pixels[Index(x, y)]; }
    Col ColAt(int x, int y) const;
    bool IsClear(int x, int y) const { return PacksToZero(At(x, y)); }

    // Paints a visible colour: anything that would pack to 0 is lifted just above it.
    void Put(int x, int y, Col c);
    void PutRaw(int x, int y, Rgb c);
    void Clear(int x, int y) { PutRaw(x, y, kClear); }
    // Mixes c over the pixel with weight a (0..1); a clear pixel counts as black.
    void Blend(int x, int y, Col c, double a);

    // Copies src with its clear pixels left out, top-left corner at (x, y).
    void Paste(const Image& src, int x, int y);

private:
    size_t Index(int x, int y) const { return static_cast<size_t>(y) * m_width + x; }

    int m_width;
    int m_height;
    std::vector<Rgb> m_pixels;
};

}  // namespace assetgen
