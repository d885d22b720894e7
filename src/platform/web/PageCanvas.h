// The page's canvas: the game's pictures converted to RGBA and scaled to the canvas's own size in
// device pixels (FitScaler: sharp at any size), only the parts that changed, and the page told
// which parts to put on the canvas. It keeps its own copy of the picture, so the canvas can be
// drawn again at a new size or under the pause overlay, during a run and after it.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/Rect.h"
#include "platform/present/FrameScaler.h"

namespace plat::web {

class PageCanvas {
public:
    PageCanvas();

    // The canvas is now outW x outH device pixels (and blank): the picture is drawn on it again.
    void Resize(int outW, int outH);
    // Shows pic; changed says where it differs from the last picture shown (nothing outside
    // changed), null when not known. Nothing changed: the page is not called at all.
    void Show(const uint16_t* pic, int picW, int picH, const std::vector<Rect>* changed);
    // The picture shown is dimmed under "PAUSED", or shown plain again.
    void SetPaused(bool paused);

private:
    void Fit(int picW, int picH);
    void Draw(const uint16_t* pic, const std::vector<Rect>& regions);

    int m_outW = 1, m_outH = 1;
    int m_picW = 0, m_picH = 0;
    Rgb565Table m_table;
    FitScaler m_scaler;
    std::vector<uint16_t> m_picture;  // the picture shown
    std::vector<uint16_t> m_dimmed;   // the same under the pause overlay, while paused
    bool m_paused = false;
    std::vector<Rect> m_whole;
    std::vector<uint32_t> m_rgba;  // the canvas's pixels
    std::vector<int32_t> m_boxes;  // the parts for the page to put: x, y, w, h each
};

// The page's one canvas.
PageCanvas& Canvas();

}  // namespace plat::web
