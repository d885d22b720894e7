// Where a pad's shop cursor shows on the window. The game's picture stays the game's own: the
// marker goes beside it where the window has room (a bar over the item above the picture; in a
// side bar, a row of ten cells at the item bar's height with the cursor's cell lit), and only in a
// window with no room at all onto the picture, as a thin bar just under the item on the item bar,
// where the game draws none of its outlines and marks.
#pragma once

#include <vector>

#include "platform/Platform.h"

namespace plat {

struct MarkerBox {
    Rect rect;  // on the output
    bool lit;   // the cursor's own: filled; the others of a row are outlines
    bool operator==(const MarkerBox&) const = default;
};

// The boxes for the cursor on item cursor (0 to 9) when the picture is shown at picture on the
// output, centred (the bars are what it leaves).
std::vector<MarkerBox> ShopMarker(const Rect& picture, const GameShape& shape, int cursor);

// The part of the picture a marker may cover, to be drawn again from the picture when it goes.
Rect ShopMarkerArea(const GameShape& shape);

}  // namespace plat
