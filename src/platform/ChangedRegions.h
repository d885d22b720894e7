// Which parts of the picture changed since the last one shown: tiles compared, runs of changed
// tiles merged into rectangles, so that only those are converted, scaled and sent to the window.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/FrameScaler.h"

namespace plat {

inline constexpr int kTileW = 32;  // compared in whole tiles: a changed pixel sends its tile
inline constexpr int kTileH = 16;

// The picture the window shows, kept to compare the next one with.
class ShownFrame {
public:
    void Reset(int picW, int picH);
    // Compares next with the kept picture, takes its changed tiles and returns them as
    // rectangles (none when nothing changed). When more than half the picture changed, the one
    // rectangle of the whole picture.
    const std::vector<Rect>& Update(const uint16_t* next);
    // Takes the whole of next: for the first frame and whenever the whole window is drawn again.
    void Assign(const uint16_t* next);
    const uint16_t* Pixels() const { return m_pixels.data(); }

private:
    void FindTiles(const uint16_t* next);
    void MergeTiles();

    int m_picW = 0, m_picH = 0;
    int m_tilesX = 0, m_tilesY = 0;
    std::vector<uint16_t> m_pixels;
    std::vector<uint8_t> m_dirty;  // one per tile
    std::vector<Rect> m_regions;
    std::vector<size_t> m_open, m_nextOpen;  // rectangles reaching the band being merged
};

}  // namespace plat
