// The display's drawing primitives, each kept inside a clip rectangle: the whole screen when a
// call draws at once, one changed region when a deferred frame is drawn region by region.
#pragma once

#include <cstdint>

#include "gfx/Surface.h"

// Columns x0 .. x1 - 1 and rows y0 .. y1 - 1, inside the surface drawn on.
struct Clip {
    int64_t x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

// A blit already clipped to the screen and to its slot: w x h pixels from (sx, sy) of src to
// (l, t); opaque when the slot holds no colour-key pixel.
struct BlitCall {
    const Surface* src = nullptr;
    int64_t sx = 0, sy = 0, l = 0, t = 0, w = 0, h = 0;
    bool opaque = false;
};

struct OutlineCall {
    int32_t x = 0, y = 0, w = 0, h = 0;
    uint16_t colour = 0;
};

struct BevelCall {
    int32_t x = 0, y = 0, w = 0, h = 0, depth = 0;
    uint16_t light = 0, face = 0, dark = 0;
};

void Draw(Surface& s, const BlitCall& call, const Clip& clip);
void Draw(Surface& s, const OutlineCall& call, const Clip& clip);
void Draw(Surface& s, const BevelCall& call, const Clip& clip);

// Every pixel each call can set lies inside its bounds (which may reach beyond the screen).
Clip Bounds(const BlitCall& call);
Clip Bounds(const OutlineCall& call);
Clip Bounds(const BevelCall& call);
