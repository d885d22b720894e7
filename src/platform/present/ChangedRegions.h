// Which parts of the picture changed since the last one shown: tiles marked, runs of marked tiles
// merged into rectangles, so that only those are converted, scaled and sent to the window.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/Rect.h"

namespace plat {

inline constexpr int kTileW = 32;  // compared in whole tiles: a changed pixel sends its tile
inline constexpr int kTileH = 16;

// The tiles of a picture, each marked or not, and the few rectangles that cover the marked ones.
class TileGrid {
public:
    void Reset(int picW, int picH);
    int TilesX() const { return m_tilesX; }
    int TilesY() const { return m_tilesY; }
    void Clear();
    void Mark(int tx, int ty) { m_marked[static_cast<size_t>(ty) * m_tilesX + tx] = 1; }
    bool Marked(int tx, int ty) const { return m_marked[static_cast<size_t>(ty) * m_tilesX + tx] != 0; }
    // Runs of marked tiles in a band become one rectangle; a run under one of the same columns
    // that reaches down to it extends that one instead.
    const std::vector<Rect>& Merge();

private:
    int m_picW = 0, m_picH = 0;
    int m_tilesX = 0, m_tilesY = 0;
    std::vector<uint8_t> m_marked;
    std::vector<Rect> m_regions;
    std::vector<size_t> m_open, m_nextOpen;  // rectangles reaching the band being merged
};

// The picture the window shows, kept to compare the next one with.
class ShownFrame {
public:
    void Reset(int picW, int picH);
    // Takes the parts of next that changed and returns them as rectangles (none when nothing
    // changed): the given ones, when whoever drew the picture knows where it changed, otherwise
    // the changed tiles found by comparing next with the kept picture. When more than half the
    // picture changed, the one rectangle of the whole picture.
    // A drawer that knows what changed also keeps next as it is until its next picture, so it is
    // shown from there and not copied.
    const std::vector<Rect>& Update(const uint16_t* next, const std::vector<Rect>* changed = nullptr);
    // Takes the whole of next: for the first frame and whenever the whole window is drawn again.
    void Assign(const uint16_t* next);
    const uint16_t* Pixels() const { return m_lent ? m_lent : m_pixels.data(); }

private:
    void FindTiles(const uint16_t* next);
    bool IsMost(const std::vector<Rect>& regions) const;  // more than half the picture

    int m_picW = 0, m_picH = 0;
    std::vector<uint16_t> m_pixels;
    const uint16_t* m_lent = nullptr;  // the drawer's picture, while it keeps it for us
    TileGrid m_tiles;
    std::vector<Rect> m_whole;
};

}  // namespace plat
