#include "platform/web/PageCanvas.h"

#include <emscripten/emscripten.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/present/PauseOverlay.h"

// clang-format off
EM_JS(void, plinkwell_present, (const uint8_t* message, size_t size), {
    Module.plinkwellPage.present(HEAPU8.subarray(message, message + size));
});
// clang-format on

namespace plat::web {

namespace {

constexpr int kBand = 16;  // rows compared together: a changed pixel sends its band's changed columns

// Where rows a and b (count pixels) differ: [first, last), empty when they do not. Four pixels at a
// time where they agree.
std::pair<int, int> ChangedSpan(const uint16_t* a, const uint16_t* b, int count) {
    const auto quad = [](const uint16_t* p) {
        uint64_t v;
        std::memcpy(&v, p, sizeof v);
        return v;
    };
    int first = 0;
    while (first + 4 <= count && quad(a + first) == quad(b + first)) first += 4;
    while (first < count && a[first] == b[first]) ++first;
    if (first == count) return {count, count};
    int last = count;
    while (last - 4 >= first && quad(a + last - 4) == quad(b + last - 4)) last -= 4;
    while (a[last - 1] == b[last - 1]) --last;
    return {first, last};
}

}  // namespace

// The changed parts are copied: the display frees its picture before it says it is done with it.
// They reach the page at the next display frame (Flush), with the parts of any other picture made
// before it; when they cover most of the picture, the whole of it is one part.
void PageCanvas::Show(const uint16_t* pic, int picW, int picH, const std::vector<Rect>* changed) {
    const bool resized = picW != m_picW || picH != m_picH;
    if (resized) {
        m_picW = picW;
        m_picH = picH;
        m_picture.assign(static_cast<size_t>(picW) * picH, 0);
        m_whole.assign(1, Rect{0, 0, picW, picH});
    }
    for (const Rect& r : changed && !resized ? *changed : m_whole) Take(pic, r);
    if (m_paused) SetPaused(true);
    if (resized || m_pendingArea > int64_t{picW} * picH / 2) m_pending = m_whole;
}

// Copies region r of pic; the pixels that differ from the picture taken before, band by band, are
// pending for the page. A region the display marked may have changed in only a few of its pixels.
void PageCanvas::Take(const uint16_t* pic, const Rect& r) {
    for (int band = r.y; band < r.y + r.h; band += kBand) {
        int x0 = r.w, x1 = 0, y0 = 0, y1 = 0;
        for (int y = band; y < std::min(band + kBand, r.y + r.h); ++y) {
            const size_t at = static_cast<size_t>(y) * m_picW + r.x;
            const auto [first, last] = ChangedSpan(&m_picture[at], pic + at, r.w);
            if (first == last) continue;
            if (x0 > x1) y0 = y;
            x0 = std::min(x0, first);
            x1 = std::max(x1, last);
            y1 = y + 1;
            std::memcpy(&m_picture[at + first], pic + at + first,
                        static_cast<size_t>(last - first) * sizeof(uint16_t));
        }
        if (x0 >= x1) continue;
        m_pending.push_back(Rect{r.x + x0, y0, x1 - x0, y1 - y0});
        m_pendingArea += int64_t{x1 - x0} * (y1 - y0);
    }
}

void PageCanvas::Flush() {
    Draw(m_picture.data(), m_pending);
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

// The message to the page (canvas.js reads it): the number of parts; x, y, width and height of
// each; then their RGB565 pixels, one part after the other, each part's rows in turn.
void PageCanvas::Draw(const uint16_t* pic, const std::vector<Rect>& regions) {
    if (regions.empty()) return;
    std::vector<int32_t> head{static_cast<int32_t>(regions.size())};
    size_t pixels = 0;
    for (const Rect& r : regions) {
        head.insert(head.end(), {r.x, r.y, r.w, r.h});
        pixels += static_cast<size_t>(r.w) * r.h;
    }
    const size_t headWords = head.size() * sizeof(int32_t) / sizeof(uint16_t);
    m_message.resize(headWords + pixels);
    std::memcpy(m_message.data(), head.data(), head.size() * sizeof(int32_t));
    uint16_t* out = m_message.data() + headWords;
    for (const Rect& r : regions) {
        for (int y = r.y; y < r.y + r.h; ++y, out += r.w) {
            std::memcpy(out, pic + static_cast<size_t>(y) * m_picW + r.x,
                        static_cast<size_t>(r.w) * sizeof(uint16_t));
        }
    }
    m_pending.clear();
    m_pendingArea = 0;
    plinkwell_present(reinterpret_cast<const uint8_t*>(m_message.data()),
                      m_message.size() * sizeof(uint16_t));
}

PageCanvas& Canvas() {
    static PageCanvas canvas;
    return canvas;
}

}  // namespace plat::web
