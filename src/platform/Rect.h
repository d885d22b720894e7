// A rectangle of pixels: the unit in which changed parts of a picture travel to the window.
#pragma once

namespace plat {

struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
    bool operator==(const Rect&) const = default;
};

}  // namespace plat
