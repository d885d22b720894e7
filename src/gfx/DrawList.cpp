#include "gfx/DrawList.h"

#include <algorithm>

namespace {

// splitmix64's finaliser: every input bit moves every output bit.
uint64_t Mix(uint64_t h) {
    h ^= h >> 30;
    h *= 0xbf58476d1ce4e5b9ULL;
    h ^= h >> 27;
    h *= 0x94d049bb133111ebULL;
    return h ^ (h >> 31);
}

// Order matters: the same calls in another order can leave other pixels on top. For a given h,
// different values v give different results (an odd multiplier, xor and Mix are all one-to-one).
uint64_t Combine(uint64_t h, uint64_t v) {
    constexpr uint64_t kOdd = 0x9e3779b97f4a7c15ULL;
    return Mix(h ^ (v * kOdd + kOdd));
}

template <typename... Values>
uint64_t Digest(uint64_t kind, Values... values) {
    uint64_t h = Mix(kind);
    ((h = Combine(h, static_cast<uint64_t>(values))), ...);
    return h;
}

bool Overlaps(const Clip& a, const Clip& b) {
    return a.x0 < b.x1 && b.x0 < a.x1 && a.y0 < b.y1 && b.y0 < a.y1;
}

}  // namespace

bool DrawList::CoversOpaquely(const Call& call, const Clip& clip) {
    const BlitCall* blit = std::get_if<BlitCall>(&call.what);
    return blit && blit->opaque && call.bounds.x0 <= clip.x0 && call.bounds.y0 <= clip.y0 &&
           call.bounds.x1 >= clip.x1 && call.bounds.y1 >= clip.y1;
}

void DrawList::Reset(int32_t width, int32_t height) {
    m_width = width;
    m_height = height;
    m_calls.clear();
    m_tiles.Reset(width, height);
    m_tileDigest.assign(static_cast<size_t>(m_tiles.TilesX()) * m_tiles.TilesY(), 0);
    m_shownDigest = m_tileDigest;
    m_shownKnown = false;
}

void DrawList::ForgetShown() {
    m_shownKnown = false;
}

void DrawList::Add(const BlitCall& call, int32_t slot) {
    Push(Bounds(call), Digest(1, slot, call.sx, call.sy, call.l, call.t, call.w, call.h, call.opaque), call);
}

void DrawList::Add(const OutlineCall& call) {
    Push(Bounds(call), Digest(2, call.x, call.y, call.w, call.h, call.colour), call);
}

void DrawList::Add(const BevelCall& call) {
    Push(Bounds(call),
         Digest(3, call.x, call.y, call.w, call.h, call.depth, call.light, call.face, call.dark), call);
}

void DrawList::Push(const Clip& bounds, uint64_t digest, const decltype(Call::what)& what) {
    const Clip inside{std::max<int64_t>(bounds.x0, 0), std::max<int64_t>(bounds.y0, 0),
                      std::min<int64_t>(bounds.x1, m_width), std::min<int64_t>(bounds.y1, m_height)};
    if (inside.x0 >= inside.x1 || inside.y0 >= inside.y1) return;  // draws nothing on the screen
    m_calls.push_back(Call{what, inside, digest});
}

void DrawList::DrawAll(Surface& back) {
    DrawRegion(back, plat::Rect{0, 0, m_width, m_height});
    m_calls.clear();
    ForgetShown();
}

const std::vector<plat::Rect>& DrawList::Compose(Surface& back) {
    DigestTiles();
    m_tiles.Clear();
    for (int ty = 0; ty < m_tiles.TilesY(); ++ty) {
        for (int tx = 0; tx < m_tiles.TilesX(); ++tx) {
            const size_t i = static_cast<size_t>(ty) * m_tiles.TilesX() + tx;
            if (!m_shownKnown || m_tileDigest[i] != m_shownDigest[i]) m_tiles.Mark(tx, ty);
        }
    }
    const std::vector<plat::Rect>& regions = m_tiles.Merge();
    for (const plat::Rect& r : regions) DrawRegion(back, r);
    std::swap(m_tileDigest, m_shownDigest);
    m_shownKnown = true;
    m_calls.clear();
    return regions;
}

// Each tile's digest follows every call that reaches into it, in order.
void DrawList::DigestTiles() {
    std::fill(m_tileDigest.begin(), m_tileDigest.end(), 0);
    const int tilesX = m_tiles.TilesX();
    for (const Call& c : m_calls) {
        const int64_t tx0 = c.bounds.x0 / plat::kTileW, tx1 = (c.bounds.x1 - 1) / plat::kTileW;
        const int64_t ty0 = c.bounds.y0 / plat::kTileH, ty1 = (c.bounds.y1 - 1) / plat::kTileH;
        for (int64_t ty = ty0; ty <= ty1; ++ty) {
            uint64_t* row = &m_tileDigest[static_cast<size_t>(ty) * tilesX];
            for (int64_t tx = tx0; tx <= tx1; ++tx) row[tx] = Combine(row[tx], c.digest);
        }
    }
}

// The region starts black, as the whole back buffer does after a flip, unless its first call
// covers it with an opaque picture (the background, nearly always).
void DrawList::DrawRegion(Surface& back, const plat::Rect& region) const {
    const Clip clip{region.x, region.y, int64_t{region.x} + region.w, int64_t{region.y} + region.h};
    auto first =
        std::find_if(m_calls.begin(), m_calls.end(), [&](const Call& c) { return Overlaps(c.bounds, clip); });
    if (first == m_calls.end() || !CoversOpaquely(*first, clip)) {
        for (int64_t y = clip.y0; y < clip.y1; ++y) {
            std::fill_n(back.Row(static_cast<int32_t>(y)) + clip.x0, clip.x1 - clip.x0, uint16_t{0});
        }
    }
    for (auto c = first; c != m_calls.end(); ++c) {
        if (Overlaps(c->bounds, clip)) std::visit([&](const auto& what) { Draw(back, what, clip); }, c->what);
    }
}
