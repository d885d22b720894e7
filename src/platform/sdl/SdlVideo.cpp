#include "platform/sdl/SdlVideo.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "platform/present/PauseOverlay.h"
#include "platform/present/ShopMarker.h"

namespace plat::sdl {

bool IsCpuRasterizer(std::string_view glRenderer) {
    for (std::string_view name : {"llvmpipe", "softpipe", "swrast", "Software Rasterizer"}) {
        if (glRenderer.find(name) != std::string_view::npos) return true;
    }
    return false;
}

namespace {

// The marker's colours: the cursor white, the rest of a row of cells grey.
constexpr uint8_t kLit = 255, kUnlit = 110;

// The four sides of a box, one pixel wide.
std::vector<SDL_Rect> Outline(const Rect& r) {
    return {SDL_Rect{r.x, r.y, r.w, 1}, SDL_Rect{r.x, r.y + r.h - 1, r.w, 1}, SDL_Rect{r.x, r.y, 1, r.h},
            SDL_Rect{r.x + r.w - 1, r.y, 1, r.h}};
}

void BuildTable(Rgb565Table* table, uint32_t format) {
    SDL_PixelFormat* f = SDL_AllocFormat(format);
    if (!f) return;
    table->Build([f](uint8_t r, uint8_t g, uint8_t b) { return SDL_MapRGB(f, r, g, b); });
    SDL_FreeFormat(f);
}

// ---- the window surface, scaled on the CPU ------------------------------------------------------
class SurfacePresenter final : public Presenter {
public:
    static std::unique_ptr<Presenter> Create(SDL_Window* window, const GameShape& shape,
                                             std::string* description) {
        // Must be set before the window's first surface: otherwise SDL puts the surface on a
        // renderer, which under a CPU rasterizer is the slow path this one avoids.
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        SDL_Surface* s = SDL_GetWindowSurface(window);
        if (!s || s->format->BytesPerPixel != 4) return nullptr;
        *description = std::string("software framebuffer (window surface ") +
                       SDL_GetPixelFormatName(s->format->format) +
                       ", 4:3 fill: whole-number nearest, edges blended)";
        return std::unique_ptr<Presenter>(new SurfacePresenter(window, shape));
    }

    void Show(const uint16_t* pixels, const std::vector<Rect>& regions) override {
        SDL_Surface* s = SDL_GetWindowSurface(m_window);
        if (!s || s->format->BytesPerPixel != 4) return;
        const bool changed =
            s != m_surface || s->w != m_outW || s->h != m_outH || s->format->format != m_format;
        if (changed) Adopt(s);
        std::vector<MarkerBox> marks;
        if (cursor >= 0) marks = ShopMarker(m_fit, m_shape, cursor);
        const bool marking = !marks.empty() || !m_marks.empty();
        const std::vector<Rect>& draw = changed ? m_whole : regions;
        if (draw.empty() && !marking) return;  // the window already shows this picture
        m_rects.clear();
        // The old marker goes (the picture under it is drawn again below), the new one comes last.
        for (const MarkerBox& m : m_marks) Fill(s, m.rect, 0);
        m_draw.assign(draw.begin(), draw.end());
        if (marking) m_draw.push_back(ShopMarkerArea(m_shape));
        if (SDL_MUSTLOCK(s) && SDL_LockSurface(s) != 0) return;
        for (const Rect& r : m_draw) {
            m_scaler.Draw(pixels, r, m_table, static_cast<uint8_t*>(s->pixels), s->pitch);
            const Rect out = m_scaler.OutputOf(r);
            if (out.w > 0) m_rects.push_back(SDL_Rect{out.x, out.y, out.w, out.h});
        }
        if (SDL_MUSTLOCK(s)) SDL_UnlockSurface(s);
        for (const MarkerBox& m : marks) {
            if (m.lit) {
                Fill(s, m.rect, kLit);
            } else {
                for (const SDL_Rect& side : Outline(m.rect))
                    Fill(s, Rect{side.x, side.y, side.w, side.h}, kUnlit);
            }
        }
        m_marks = std::move(marks);
        if (changed) {
            SDL_UpdateWindowSurface(m_window);  // the borders too, once
        } else if (!m_rects.empty()) {
            SDL_UpdateWindowSurfaceRects(m_window, m_rects.data(), static_cast<int>(m_rects.size()));
        }
    }

    void Invalidate() override { m_surface = nullptr; }

private:
    SurfacePresenter(SDL_Window* window, const GameShape& shape)
        : m_window(window),
          m_shape(shape),
          m_picW(shape.width),
          m_picH(shape.height),
          m_whole{Rect{0, 0, shape.width, shape.height}} {}

    // A grey box on the surface, noted for the window's update.
    void Fill(SDL_Surface* s, const Rect& r, uint8_t grey) {
        const SDL_Rect box{r.x, r.y, r.w, r.h};
        SDL_FillRect(s, &box, SDL_MapRGB(s->format, grey, grey, grey));
        m_rects.push_back(box);
    }

    // A new or resized surface: new colour table if its format changed, black borders, and the
    // picture filling it at its own proportions.
    void Adopt(SDL_Surface* s) {
        if (s->format->format != m_format || m_table.Empty()) BuildTable(&m_table, s->format->format);
        m_surface = s;
        m_outW = s->w;
        m_outH = s->h;
        m_format = s->format->format;
        m_fit = AspectFit(s->w, s->h, m_picW, m_picH);
        m_scaler.Configure(m_picW, m_picH, m_fit);
        SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, 0, 0, 0));
        m_marks.clear();
    }

    SDL_Window* m_window;
    GameShape m_shape;
    int m_picW, m_picH;
    std::vector<Rect> m_whole;
    std::vector<Rect> m_draw;
    Rect m_fit;
    std::vector<MarkerBox> m_marks;  // the marker on the window now
    SDL_Surface* m_surface = nullptr;
    int m_outW = 0, m_outH = 0;
    uint32_t m_format = SDL_PIXELFORMAT_UNKNOWN;
    Rgb565Table m_table;
    FitScaler m_scaler;
    std::vector<SDL_Rect> m_rects;
};

// ---- SDL's renderer: a streaming texture, enlarged on the GPU ---------------------------------
SDL_Renderer* CreateRenderer(SDL_Window* window) {
    // A blocking present would hold the game's 15 ms frame to the display's refresh.
    SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
    SDL_Renderer* r = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED);
    return r ? r : SDL_CreateRenderer(window, -1, 0);
}

std::string GlRendererName() {
    using GetString = const unsigned char* (*)(unsigned int);
    constexpr unsigned int kGlRenderer = 0x1F01;
    auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    const unsigned char* name = getString ? getString(kGlRenderer) : nullptr;
    return name ? reinterpret_cast<const char*>(name) : "";
}

uint32_t StreamFormat(const SDL_RendererInfo& info) {
    for (uint32_t i = 0; i < info.num_texture_formats; ++i) {
        const uint32_t f = info.texture_formats[i];
        if (!SDL_ISPIXELFORMAT_FOURCC(f) && SDL_BYTESPERPIXEL(f) == 4 && !SDL_ISPIXELFORMAT_INDEXED(f))
            return f;
    }
    return SDL_PIXELFORMAT_ARGB8888;
}

class RendererPresenter final : public Presenter {
public:
    static std::unique_ptr<Presenter> Create(SDL_Window* window, SDL_Renderer* renderer,
                                             const GameShape& shape, std::string* description) {
        std::unique_ptr<RendererPresenter> p(new RendererPresenter(window, shape));
        if (!p->Build(renderer)) return nullptr;
        SDL_RendererInfo info{};
        SDL_GetRendererInfo(p->m_renderer, &info);
        std::string gl = std::string_view(info.name).starts_with("opengl") ? GlRendererName() : "";
        *description =
            std::string("accelerated renderer (") + info.name + (gl.empty() ? "" : ", " + gl) + ", " +
            SDL_GetPixelFormatName(p->m_format) +
            (p->m_canUpscale ? ", whole-number nearest then smooth)" : ", whole-number scale, centred)");
        return p;
    }

    ~RendererPresenter() override { Destroy(); }

    void Show(const uint16_t* pixels, const std::vector<Rect>& regions) override {
        if (!m_renderer && !Build(CreateRenderer(m_window))) return;
        const std::vector<Rect> whole{Rect{0, 0, m_picW, m_picH}};
        const std::vector<Rect>& upload = m_whole ? whole : regions;
        m_whole = false;
        for (const Rect& r : upload) {
            if (!Upload(pixels, r)) return;
        }
        Draw();
    }

    void Invalidate() override { m_whole = true; }

    void Reset() override { Destroy(); }

private:
    RendererPresenter(SDL_Window* window, const GameShape& shape)
        : m_window(window), m_shape(shape), m_picW(shape.width), m_picH(shape.height) {}

    bool Build(SDL_Renderer* renderer) {
        if (!renderer) return false;
        m_renderer = renderer;
        SDL_RendererInfo info{};
        SDL_GetRendererInfo(renderer, &info);
        m_format = StreamFormat(info);
        m_canUpscale = (info.flags & SDL_RENDERER_TARGETTEXTURE) != 0;
        m_maxTexture = std::min(info.max_texture_width, info.max_texture_height);
        m_stream = SDL_CreateTexture(renderer, m_format, SDL_TEXTUREACCESS_STREAMING, m_picW, m_picH);
        if (!m_stream) {
            Destroy();
            return false;
        }
        BuildTable(&m_table, m_format);
        m_whole = true;
        return true;
    }

    // Converts the region into the same place of the streaming texture.
    bool Upload(const uint16_t* pixels, const Rect& region) {
        const SDL_Rect r{region.x, region.y, region.w, region.h};
        void* dst = nullptr;
        int pitch = 0;
        if (SDL_LockTexture(m_stream, &r, &dst, &pitch) != 0) return false;
        Placement p = Placement{1, Rect{0, 0, region.w, region.h}, region.x, region.y, region.w, region.h};
        ConvertScaled(pixels, m_picW, p, m_table, static_cast<uint8_t*>(dst),
                      pitch);  // locked from the corner
        SDL_UnlockTexture(m_stream);
        return true;
    }

    void Destroy() {
        if (m_upscaled) SDL_DestroyTexture(m_upscaled);
        if (m_stream) SDL_DestroyTexture(m_stream);
        if (m_renderer) SDL_DestroyRenderer(m_renderer);
        m_upscaled = m_stream = nullptr;
        m_renderer = nullptr;
        m_upscale = 0;
    }

    // Whole-number enlargement stays crisp; only a fractional remainder is smoothed, by
    // enlarging to the next whole number with nearest neighbour and shrinking that smoothly.
    void Draw() {
        int outW = 0, outH = 0;
        SDL_GetRendererOutputSize(m_renderer, &outW, &outH);
        const Rect fit = AspectFit(outW, outH, m_picW, m_picH);
        const Placement whole = PlaceInteger(outW, outH, m_picW, m_picH);
        SDL_SetRenderDrawColor(m_renderer, 0, 0, 0, 255);
        SDL_RenderClear(m_renderer);
        Rect shown = fit;
        if (fit.w <= m_picW || fit == whole.dst) {
            Copy(m_stream, fit.w < m_picW ? SDL_ScaleModeLinear : SDL_ScaleModeNearest, fit);
        } else if (!m_canUpscale || !Upscale((fit.w + m_picW - 1) / m_picW)) {
            shown = whole.dst;
            Copy(m_stream, SDL_ScaleModeNearest, shown);
        } else {
            Copy(m_upscaled, SDL_ScaleModeLinear, fit);
        }
        if (cursor >= 0) DrawMarker(ShopMarker(shown, m_shape, cursor));
        SDL_RenderPresent(m_renderer);
    }

    void DrawMarker(const std::vector<MarkerBox>& marks) {
        for (const MarkerBox& m : marks) {
            const uint8_t grey = m.lit ? kLit : kUnlit;
            SDL_SetRenderDrawColor(m_renderer, grey, grey, grey, 255);
            const std::vector<SDL_Rect> sides =
                m.lit ? std::vector<SDL_Rect>{SDL_Rect{m.rect.x, m.rect.y, m.rect.w, m.rect.h}}
                      : Outline(m.rect);
            SDL_RenderFillRects(m_renderer, sides.data(), static_cast<int>(sides.size()));
        }
    }

    void Copy(SDL_Texture* texture, SDL_ScaleMode mode, const Rect& to) {
        SDL_SetTextureScaleMode(texture, mode);
        const SDL_Rect r{to.x, to.y, to.w, to.h};
        SDL_RenderCopy(m_renderer, texture, nullptr, &r);
    }

    // Draws the frame scale times larger into the intermediate texture.
    bool Upscale(int scale) {
        // A maximum of 0 means the renderer sets no limit.
        while (m_maxTexture > 0 && scale > 1 &&
               (scale * m_picW > m_maxTexture || scale * m_picH > m_maxTexture)) {
            --scale;
        }
        if (scale != m_upscale) {
            if (m_upscaled) SDL_DestroyTexture(m_upscaled);
            m_upscaled = SDL_CreateTexture(m_renderer, m_format, SDL_TEXTUREACCESS_TARGET, scale * m_picW,
                                           scale * m_picH);
            m_upscale = m_upscaled ? scale : 0;
            if (!m_upscaled) return false;
        }
        if (SDL_SetRenderTarget(m_renderer, m_upscaled) != 0) return false;
        SDL_SetTextureScaleMode(m_stream, SDL_ScaleModeNearest);
        SDL_RenderCopy(m_renderer, m_stream, nullptr, nullptr);
        SDL_SetRenderTarget(m_renderer, nullptr);
        return true;
    }

    SDL_Window* m_window;
    GameShape m_shape;
    int m_picW, m_picH;
    SDL_Renderer* m_renderer = nullptr;
    SDL_Texture* m_stream = nullptr;
    SDL_Texture* m_upscaled = nullptr;
    int m_upscale = 0;
    uint32_t m_format = SDL_PIXELFORMAT_ARGB8888;
    bool m_canUpscale = false;
    bool m_whole = true;  // the texture needs every row
    int m_maxTexture = 0;
    Rgb565Table m_table;
};

// Without an accessible DRI device node there is no GPU to drive OpenGL, and probing it would
// only load a CPU rasterizer (a tenth of a second and tens of megabytes) to find that out.
bool HasGpuDeviceNode() {
#ifdef _WIN32
    return true;  // Direct3D is always there to try
#else
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator("/dev/dri", ec)) {
        const std::string name = entry.path().filename().string();
        const bool node = name.starts_with("renderD") || name.starts_with("card");
        if (node && access(entry.path().c_str(), R_OK | W_OK) == 0) return true;
    }
    return false;
#endif
}

}  // namespace

SdlVideo::SdlVideo(const GameShape& shape, DisplayOptions::Renderer choice, bool wholeFrames, bool verbose)
    : m_shape(shape), m_choice(choice), m_wholeFrames(wholeFrames), m_verbose(verbose) {}

SdlVideo::~SdlVideo() = default;

std::unique_ptr<Presenter> SdlVideo::Choose(SDL_Window* window, std::string* description) {
    using R = DisplayOptions::Renderer;
    GameShape shape = m_shape;
    shape.width = m_picW;
    shape.height = m_picH;
    std::string reason;
    if (m_choice == R::Accelerated || (m_choice == R::Auto && HasGpuDeviceNode())) {
        SDL_Renderer* renderer = CreateRenderer(window);
        SDL_RendererInfo info{};
        if (renderer && m_choice == R::Auto && SDL_GetRendererInfo(renderer, &info) == 0) {
            const std::string gl = std::string_view(info.name).starts_with("opengl") ? GlRendererName() : "";
            if (std::string_view(info.name) == "software" || IsCpuRasterizer(gl)) {
                reason = std::string(", as the renderer is ") + (gl.empty() ? info.name : gl);
                SDL_DestroyRenderer(renderer);
                renderer = nullptr;
            }
        }
        if (renderer) return RendererPresenter::Create(window, renderer, shape, description);
    } else if (m_choice == R::Auto) {
        reason = ", as no GPU device is accessible";
    }
    auto surface = SurfacePresenter::Create(window, shape, description);
    if (surface) {
        *description += reason;
        return surface;
    }
    // No 32-bit window surface: SDL's renderer (its own software one if need be) can still show it.
    return RendererPresenter::Create(window, CreateRenderer(window), shape, description);
}

bool SdlVideo::Open(SDL_Window* window, int picW, int picH) {
    Close();
    m_picW = picW;
    m_picH = picH;
    m_last.Reset(picW, picH);
    m_whole.assign(1, Rect{0, 0, picW, picH});
    std::string description;
    m_presenter = Choose(window, &description);
    if (m_verbose) {
        if (m_presenter) {
            std::fprintf(stderr, "plinkwell: presentation: %s\n", description.c_str());
        } else {
            std::fprintf(stderr, "plinkwell: presentation: none (%s)\n", SDL_GetError());
        }
    }
    return m_presenter != nullptr;
}

void SdlVideo::Close() {
    m_presenter.reset();
    m_last.Reset(m_picW, m_picH);  // the display's picture goes with it
    m_paused = false;
}

// Only the regions that changed are converted, scaled and sent: a still background costs nothing.
void SdlVideo::Present(const uint16_t* pixels, int picW, int picH, const std::vector<Rect>* changed) {
    if (!m_presenter || picW != m_picW || picH != m_picH) return;
    const std::vector<Rect>* regions = &m_whole;
    if (m_wholeFrames) {
        m_last.Assign(pixels);
    } else {
        regions = &m_last.Update(pixels, changed);
    }
    if (m_paused) {
        SetPaused(true);
    } else {
        m_presenter->SetShopCursor(m_cursor);
        m_presenter->Show(m_last.Pixels(), *regions);
    }
}

void SdlVideo::SetPaused(bool paused) {
    m_paused = paused;
    if (paused) {
        m_pausedFrame.assign(m_last.Pixels(), m_last.Pixels() + static_cast<size_t>(m_picW) * m_picH);
        DrawPausedOverlay(m_pausedFrame.data(), m_picW, m_picH);
    }
    Repaint();
}

void SdlVideo::Repaint() {
    if (!m_presenter) return;
    m_presenter->Invalidate();
    m_presenter->SetShopCursor(m_paused ? -1 : m_cursor);
    m_presenter->Show(m_paused ? m_pausedFrame.data() : m_last.Pixels(), m_whole);
}

void SdlVideo::RenderReset() {
    if (m_presenter) m_presenter->Reset();
}

}  // namespace plat::sdl
