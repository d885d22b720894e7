#include "platform/web/PageCanvas.h"

#include <emscripten/emscripten.h>

#include <cstring>

#include "platform/present/PauseOverlay.h"

// clang-format off
EM_JS(void, plinkwell_present, (const uint8_t* rgba, size_t size, const int32_t* boxes, int count), {
    Module.plinkwellPage.present(HEAPU8.subarray(rgba, rgba + size), HEAP32.slice(boxes >> 2, (boxes >> 2) + count * 4));
});
// clang-format on

namespace plat::web {

namespace {

// RGB565 -> the canvas's RGBA bytes, each channel widened as the desktop's conversion does
// (Rgb565Table::Expand5 and Expand6). A plain loop the compiler turns into vector code; no table
// to build while the page starts.
void ConvertRow(const uint16_t* pixels, int count, uint32_t* out) {
    for (int i = 0; i < count; ++i) {
        const uint32_t p = pixels[i];
        const uint32_t r = p >> 11, g = (p >> 5) & 0x3F, b = p & 0x1F;
        out[i] =
            ((r << 3) | (r >> 2)) | ((g << 2) | (g >> 4)) << 8 | ((b << 3) | (b >> 2)) << 16 | 0xFF000000u;
    }
}

}  // namespace

// The changed parts are copied: the display frees its picture before it says it is done with it.
// When they cover most of the picture, the whole of it is one part.
void PageCanvas::Show(const uint16_t* pic, int picW, int picH, const std::vector<Rect>* changed) {
    const bool resized = picW != m_picW || picH != m_picH;
    if (resized) {
        m_picW = picW;
        m_picH = picH;
        m_picture.assign(static_cast<size_t>(picW) * picH, 0);
        m_whole.assign(1, Rect{0, 0, picW, picH});
    }
    int64_t area = 0;
    if (changed && !resized) {
        for (const Rect& r : *changed) area += int64_t{r.w} * r.h;
    }
    const std::vector<Rect>& regions =
        !changed || resized || area > int64_t{picW} * picH / 2 ? m_whole : *changed;
    for (const Rect& r : regions) {
        for (int y = r.y; y < r.y + r.h; ++y) {
            const size_t at = static_cast<size_t>(y) * picW + r.x;
            std::memcpy(&m_picture[at], pic + at, static_cast<size_t>(r.w) * sizeof(uint16_t));
        }
    }
    if (m_paused) {
        SetPaused(true);
    } else if (!regions.empty()) {
        Draw(m_picture.data(), regions);
    }
}

void PageCanvas::SetPaused(bool paused) {
    m_paused = paused;
    if (m_picW == 0) return;
    if (paused) {
        m_dimmed = m_picture;
        DrawPausedOverlay(m_dimmed.data(), m_picW, m_picH);
    }
    Draw(paused ? m_dimmed.data() : m_picture.data(), m_whole);
}

// The parts go to the page one after the other, each part's rows in turn.
void PageCanvas::Draw(const uint16_t* pic, const std::vector<Rect>& regions) {
    m_boxes.clear();
    size_t size = 0;
    for (const Rect& r : regions) size += static_cast<size_t>(r.w) * r.h;
    m_rgba.resize(size);
    uint32_t* out = m_rgba.data();
    for (const Rect& r : regions) {
        for (int y = r.y; y < r.y + r.h; ++y, out += r.w) {
            ConvertRow(pic + static_cast<size_t>(y) * m_picW + r.x, r.w, out);
        }
        m_boxes.insert(m_boxes.end(), {r.x, r.y, r.w, r.h});
    }
    if (m_boxes.empty()) return;
    plinkwell_present(reinterpret_cast<const uint8_t*>(m_rgba.data()), size * sizeof(uint32_t),
                      m_boxes.data(), static_cast<int>(m_boxes.size() / 4));
}

PageCanvas& Canvas() {
    static PageCanvas canvas;
    return canvas;
}

}  // namespace plat::web
