// Presenting the game's RGB565 frame in the window. Two paths, picked at start-up: SDL's
// accelerated renderer where a real GPU drives it, and the plain window surface (scaled by our own
// code) where OpenGL would only be a CPU rasterizer, which costs several times more per frame.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/present/ChangedRegions.h"
#include "platform/present/FrameScaler.h"
#include "platform/sdl/SdlBackend.h"

namespace plat::sdl {

// True for the GL_RENDERER strings of Mesa's CPU rasterizers.
bool IsCpuRasterizer(std::string_view glRenderer);

// One way of getting a whole picture onto the window.
class Presenter {
public:
    virtual ~Presenter() = default;
    // pixels is the whole picture; only the regions changed since the last one shown (none:
    // nothing did), unless the output was lost meanwhile, in which case everything is drawn again.
    virtual void Show(const uint16_t* pixels, const std::vector<Rect>& regions) = 0;
    // The pad's shop cursor to show with the pictures from now on (ShopMarker); -1: none.
    void SetShopCursor(int item) { cursor = item; }
    // The window's contents were damaged: the next picture is drawn whole.
    virtual void Invalidate() = 0;
    // The GPU lost its textures or the device was reset: rebuild before the next picture.
    virtual void Reset() {}

protected:
    int cursor = -1;
};

class SdlVideo {
public:
    SdlVideo(const GameShape& shape, DisplayOptions::Renderer choice, bool wholeFrames, bool verbose);
    ~SdlVideo();

    bool Open(SDL_Window* window, int picW, int picH);
    void Close();
    bool IsOpen() const { return m_presenter != nullptr; }

    // pixels: picW x picH RGB565, rows packed; changed, when known, holds every part that may
    // differ from the last picture presented.
    void Present(const uint16_t* pixels, int picW, int picH, const std::vector<Rect>* changed);
    // While paused the window shows the last frame dimmed with "PAUSED" over it.
    void SetPaused(bool paused);
    // Shows the current picture again, whole (the window was exposed, resized or reset).
    void Repaint();
    void RenderReset();
    // The item under the pad's shop cursor, shown beside the picture from the next present on; -1:
    // none. Never while paused.
    void SetShopCursor(int cursor) { m_cursor = cursor; }

private:
    std::unique_ptr<Presenter> Choose(SDL_Window* window, std::string* description);

    GameShape m_shape;
    DisplayOptions::Renderer m_choice;
    bool m_wholeFrames;
    bool m_verbose;
    int m_picW = 0;
    int m_picH = 0;
    bool m_paused = false;
    int m_cursor = -1;
    ShownFrame m_last;                    // the last frame the game presented
    std::vector<Rect> m_whole;            // the one region of the whole picture
    std::vector<uint16_t> m_pausedFrame;  // that frame with the pause label
    std::unique_ptr<Presenter> m_presenter;
};

}  // namespace plat::sdl
