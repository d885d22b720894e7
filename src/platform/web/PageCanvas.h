// The page's canvas: the game's pictures at their own size, only the parts that changed, handed to
// the page with where each goes, at most once a display frame (the page's worker converts and puts
// them; the browser enlarges the canvas itself). It keeps its own copy of the picture, so the
// picture can be shown under the pause overlay and plain again.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/Rect.h"

namespace plat::web {

class PageCanvas {
public:
    // Takes pic to show; changed says where it differs from the last picture taken (nothing outside
    // changed), null when not known.
    void Show(const uint16_t* pic, int picW, int picH, const std::vector<Rect>* changed);
    // Hands the page what changed since the last time. Nothing changed: the page is not called.
    void Flush();
    // The picture shown is dimmed under "PAUSED", or shown plain again.
    void SetPaused(bool paused);

private:
    void Take(const uint16_t* pic, const Rect& r);
    void Draw(const uint16_t* pic, const std::vector<Rect>& regions);

    int m_picW = 0, m_picH = 0;
    std::vector<uint16_t> m_picture;  // the picture shown
    std::vector<uint16_t> m_dimmed;   // the same under the pause overlay, while paused
    bool m_paused = false;
    std::vector<Rect> m_whole;
    std::vector<Rect> m_pending;  // the parts not yet handed to the page
    int64_t m_pendingArea = 0;
    std::vector<uint16_t> m_message;  // to the page: see Draw
};

// The page's one canvas.
PageCanvas& Canvas();

}  // namespace plat::web
