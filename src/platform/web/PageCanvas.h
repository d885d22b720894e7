// The page's canvas: the game's pictures at their own size, only the parts that changed, converted
// to RGBA and handed to the page with where each goes (the browser enlarges the canvas itself). It keeps its
// own copy of the picture, so the picture can be shown under the pause overlay and plain again.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/Rect.h"

namespace plat::web {

class PageCanvas {
public:
    // Shows pic; changed says where it differs from the last picture shown (nothing outside
    // changed), null when not known. Nothing changed: the page is not called at all.
    void Show(const uint16_t* pic, int picW, int picH, const std::vector<Rect>* changed);
    // The picture shown is dimmed under "PAUSED", or shown plain again.
    void SetPaused(bool paused);

private:
    void Draw(const uint16_t* pic, const std::vector<Rect>& regions);

    int m_picW = 0, m_picH = 0;
    std::vector<uint16_t> m_picture;  // the picture shown
    std::vector<uint16_t> m_dimmed;   // the same under the pause overlay, while paused
    bool m_paused = false;
    std::vector<Rect> m_whole;
    std::vector<uint32_t> m_rgba;  // the parts' RGBA pixels, one part after the other
    std::vector<int32_t> m_boxes;  // the parts for the page to put: x, y, w, h each
};

// The page's one canvas.
PageCanvas& Canvas();

}  // namespace plat::web
