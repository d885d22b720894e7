#include "platform/web/PageCanvas.h"

#include <emscripten/emscripten.h>

#include <cstring>

#include "platform/present/PauseOverlay.h"

// clang-format off
EM_JS(void, plinkwell_present, (const uint8_t* rgba, int width, int height, const int32_t* boxes, int count), {
    Module.plinkwellPage.present(HEAPU8.subarray(rgba, rgba + width * height * 4), width, height,
                                 HEAP32.subarray(boxes >> 2, (boxes >> 2) + count * 4));
});
// clang-format on

namespace plat::web {

PageCanvas::PageCanvas() {
    m_table.Build([](uint8_t r, uint8_t g, uint8_t b) {
        return uint32_t{r} | uint32_t{g} << 8 | uint32_t{b} << 16 | 0xFF000000u;
    });
}

// The changed parts are copied: the display frees its picture before it says it is done with it.
// When they cover most of the picture, the whole of it is one part.
void PageCanvas::Show(const uint16_t* pic, int picW, int picH, const std::vector<Rect>* changed) {
    const bool resized = picW != m_picW || picH != m_picH;
    if (resized) {
        m_picW = picW;
        m_picH = picH;
        m_picture.assign(static_cast<size_t>(picW) * picH, 0);
        m_rgba.assign(m_picture.size(), 0);
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

void PageCanvas::Draw(const uint16_t* pic, const std::vector<Rect>& regions) {
    m_boxes.clear();
    auto* out = reinterpret_cast<uint8_t*>(m_rgba.data());
    for (const Rect& r : regions) {
        ConvertScaled(pic, m_picW, Placement{1, r, r.x, r.y, r.w, r.h}, m_table, out, m_picW * 4);
        m_boxes.insert(m_boxes.end(), {r.x, r.y, r.w, r.h});
    }
    if (m_boxes.empty()) return;
    plinkwell_present(out, m_picW, m_picH, m_boxes.data(), static_cast<int>(m_boxes.size() / 4));
}

PageCanvas& Canvas() {
    static PageCanvas canvas;
    return canvas;
}

}  // namespace plat::web
