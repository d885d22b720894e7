// One BMP file read into memory and painted, whole, in part or scaled, into a slot surface.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "gfx/Surface.h"

namespace bmp {
struct Layout;
}
namespace plat {
class ByteSource;
}

// While one lives, every picture read takes its decoded size from this one budget, and a picture
// that would pass it is refused as broken: twenty tiny files that each declare the largest picture
// the reader takes cannot hold gigabytes between them.
class PictureBudget {
public:
    explicit PictureBudget(int64_t bytes);
    ~PictureBudget();
    PictureBudget(const PictureBudget&) = delete;
    PictureBudget& operator=(const PictureBudget&) = delete;

    // False, taking nothing, when fewer than bytes are left; always true with no budget alive.
    static bool Take(int64_t bytes);

private:
    int64_t m_left;
    PictureBudget* m_previous;
};

class CDibImage {
public:
    explicit CDibImage(const char* path);
    // Reads a BMP already in memory (the whole file's bytes); name stands for the path in messages.
    CDibImage(const char* name, const uint8_t* bytes, size_t size);
    virtual ~CDibImage();

    int32_t GetWidth() const { return m_nWidth; }
    int32_t GetHeight() const { return m_nHeight; }
    bool IsLoaded() const;
    // Entries in the picture's colour table (0 for pictures without one).
    int32_t GetColorCount() const { return m_nColorCount; }
    // The text of the last load failure; "" after a good load.
    const char* GetMessageText() const { return m_strMessage; }

    void Draw(int32_t x, int32_t y, SlotDC* dc);
    void DrawStretched(int32_t x, int32_t y, int32_t width, int32_t height, SlotDC* dc);
    void DrawPart(int32_t x, int32_t y, int32_t width, int32_t height, SlotDC* dc, int32_t sx, int32_t sy);
    void DrawPartStretched(int32_t x, int32_t y, int32_t width, int32_t height, SlotDC* dc, int32_t sx,
                           int32_t sy, int32_t sw, int32_t sh);

private:
    void SetPath(const char* path);
    // 1 when the picture was read; 0 with the failure's text in m_strMessage.
    int Load(const plat::ByteSource& source);
    int Decode(const plat::ByteSource& source, int64_t size, const bmp::Layout& layout);
    int Fail(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void Paint(SlotDC* dc, int64_t x, int64_t y, int64_t w, int64_t h, int64_t sx, int64_t sy, int64_t sw,
               int64_t sh) const;
    void Copy(Surface& dst, int64_t x, int64_t y, int64_t w, int64_t h, int64_t sx, int64_t sy) const;
    void Scale(Surface& dst, int64_t x, int64_t y, int64_t w, int64_t h, int64_t sx, int64_t sy, int64_t sw,
               int64_t sh) const;

    char m_strMessage[102] = {};
    int32_t m_nColorCount = 0;
    int32_t m_nWidth = 0;
    int32_t m_nHeight = 0;
    char m_strPath[260] = {};
    // The decoded picture, top row first, 0x00RRGGBB; painting packs it to the surface's 5-6-5.
    std::unique_ptr<uint32_t[]> m_pPixels;
};
