#include "platform/present/ChangedRegions.h"

#include <algorithm>
#include <cstring>

namespace plat {

void TileGrid::Reset(int picW, int picH) {
    m_picW = picW;
    m_picH = picH;
    m_tilesX = (picW + kTileW - 1) / kTileW;
    m_tilesY = (picH + kTileH - 1) / kTileH;
    m_marked.assign(static_cast<size_t>(m_tilesX) * m_tilesY, 0);
}

void TileGrid::Clear() {
    std::fill(m_marked.begin(), m_marked.end(), 0);
}

const std::vector<Rect>& TileGrid::Merge() {
    m_regions.clear();
    m_open.clear();
    for (int ty = 0; ty < m_tilesY; ++ty) {
        const uint8_t* marked = &m_marked[static_cast<size_t>(ty) * m_tilesX];
        const int y = ty * kTileH;
        const int h = std::min(kTileH, m_picH - y);
        m_nextOpen.clear();
        for (int t = 0; t < m_tilesX;) {
            if (!marked[t]) {
                ++t;
                continue;
            }
            const int first = t;
            while (t < m_tilesX && marked[t]) ++t;
            const int x = first * kTileW;
            const int w = std::min(t * kTileW, m_picW) - x;
            auto above = std::find_if(m_open.begin(), m_open.end(),
                                      [&](size_t i) { return m_regions[i].x == x && m_regions[i].w == w; });
            if (above != m_open.end()) {
                m_regions[*above].h += h;
                m_nextOpen.push_back(*above);
            } else {
                m_regions.push_back(Rect{x, y, w, h});
                m_nextOpen.push_back(m_regions.size() - 1);
            }
        }
        std::swap(m_open, m_nextOpen);
    }
    return m_regions;
}

void ShownFrame::Reset(int picW, int picH) {
    m_picW = picW;
    m_picH = picH;
    m_pixels.assign(static_cast<size_t>(picW) * picH, 0);
    m_lent = nullptr;
    m_tiles.Reset(picW, picH);
    m_whole.assign(1, Rect{0, 0, picW, picH});
}

void ShownFrame::Assign(const uint16_t* next) {
    m_lent = nullptr;
    std::memcpy(m_pixels.data(), next, m_pixels.size() * sizeof(uint16_t));
}

namespace {

int64_t Area(const std::vector<Rect>& regions) {
    int64_t area = 0;
    for (const Rect& r : regions) area += int64_t{r.w} * r.h;
    return area;
}

}  // namespace

bool ShownFrame::IsMost(const std::vector<Rect>& regions) const {
    return Area(regions) > int64_t{m_picW} * m_picH / 2;
}

// A drawer's own account of what changed is taken as it is: comparing would cost more than the
// few unchanged pixels it might leave out. Copying it too would cost about a tenth of the frame.
const std::vector<Rect>& ShownFrame::Update(const uint16_t* next, const std::vector<Rect>* changed) {
    if (changed) {
        m_lent = next;
        return IsMost(*changed) ? m_whole : *changed;
    }
    if (m_lent) {  // our copy is older than what the window shows: it cannot be compared with
        Assign(next);
        return m_whole;
    }
    m_tiles.Clear();
    FindTiles(next);
    const std::vector<Rect>& regions = m_tiles.Merge();
    if (IsMost(regions)) {
        Assign(next);
        return m_whole;
    }
    for (const Rect& r : regions) {
        for (int y = r.y; y < r.y + r.h; ++y) {
            const size_t at = static_cast<size_t>(y) * m_picW + r.x;
            std::memcpy(&m_pixels[at], next + at, static_cast<size_t>(r.w) * sizeof(uint16_t));
        }
    }
    return regions;
}

// A row that did not change at all costs one comparison; in a changed row only the tiles not yet
// known to have changed are compared.
void ShownFrame::FindTiles(const uint16_t* next) {
    const size_t rowBytes = static_cast<size_t>(m_picW) * sizeof(uint16_t);
    for (int y = 0; y < m_picH; ++y) {
        const uint16_t* a = next + static_cast<size_t>(y) * m_picW;
        const uint16_t* b = &m_pixels[static_cast<size_t>(y) * m_picW];
        if (std::memcmp(a, b, rowBytes) == 0) continue;
        const int ty = y / kTileH;
        for (int t = 0; t < m_tiles.TilesX(); ++t) {
            if (m_tiles.Marked(t, ty)) continue;
            const int x = t * kTileW;
            const size_t n = static_cast<size_t>(std::min(kTileW, m_picW - x)) * sizeof(uint16_t);
            if (std::memcmp(a + x, b + x, n) != 0) m_tiles.Mark(t, ty);
        }
    }
}

}  // namespace plat
