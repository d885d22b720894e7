// One BMP file read into memory and painted, whole, in part or scaled, into a slot surface.
#pragma once

#include <cstdint>
#include <memory>

#include "gfx/Surface.h"

class CDibImage {
public:
    explicit CDibImage(const char* path);
    virtual ~CDibImage();

    int32_t GetWidth() const { return m_width; }
    int32_t GetHeight() const { return m_height; }
    bool IsLoaded() const;
    // The text of the last load failure ("" after a good load).
    const char* MessageText() const { return m_message; }

    void Draw(int32_t x, int32_t y, SlotDC* dc);
    void DrawStretched(int32_t x, int32_t y, int32_t width, int32_t height, SlotDC* dc);
    void DrawPart(int32_t x, int32_t y, int32_t width, int32_t height, SlotDC* dc, int32_t sx, int32_t sy);
    void DrawPartStretched(int32_t x, int32_t y, int32_t width, int32_t height, SlotDC* dc, int32_t sx,
                           int32_t sy, int32_t sw, int32_t sh);

private:
    char m_message[102] = {};
    int32_t m_width = 0;
    int32_t m_height = 0;
    char m_path[260] = {};
    // The decoded picture (top row first, RGB565); the gfx implementation owns its details.
    std::unique_ptr<uint16_t[]> m_pixels;
};
