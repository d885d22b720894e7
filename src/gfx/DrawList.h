// A frame's drawing calls, kept until the flip instead of drawn at once. Most of a frame is the
// same as the last one (the same background, the same blocks), so at the flip only the tiles whose
// calls differ from the last frame's are drawn, and the rest of the back buffer, still holding the
// last frame, is left as it is: the picture is the same as drawing everything, for a fraction of
// the work, and the window is told which parts may have changed.
#pragma once

#include <cstdint>
#include <variant>
#include <vector>

#include "gfx/Raster.h"
#include "platform/present/ChangedRegions.h"

class DrawList {
public:
    // For a new back buffer of width x height: the next frame is drawn whole.
    void Reset(int32_t width, int32_t height);
    // The back buffer no longer holds the last frame (it was drawn or cleared some other way), or
    // what the calls draw changed (a slot was painted): the next frame is drawn whole.
    void ForgetShown();

    void Add(const BlitCall& call, int32_t slot);
    void Add(const OutlineCall& call);
    void Add(const BevelCall& call);
    bool Empty() const { return m_calls.empty(); }

    // Clears the back buffer and draws every call into it; the list is then empty.
    void DrawAll(Surface& back);
    // Draws the tiles whose calls differ from the last frame's (cleared first) and returns them as
    // rectangles; the list is then empty. The back buffer must hold the last frame composed.
    const std::vector<plat::Rect>& Compose(Surface& back);

private:
    struct Call {
        std::variant<BlitCall, OutlineCall, BevelCall> what;
        Clip bounds;      // inside the screen
        uint64_t digest;  // tells this call from any other that could draw differently
    };
    void Push(const Clip& bounds, uint64_t digest, const decltype(Call::what)& what);
    static bool CoversOpaquely(const Call& call, const Clip& clip);
    void DigestTiles();
    void DrawRegion(Surface& back, const plat::Rect& region) const;

    int32_t m_width = 0, m_height = 0;
    std::vector<Call> m_calls;
    std::vector<uint64_t> m_tileDigest, m_shownDigest;  // per tile: this frame's calls, the last frame's
    bool m_shownKnown = false;
    plat::TileGrid m_tiles;
};
