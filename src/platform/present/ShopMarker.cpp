#include "platform/present/ShopMarker.h"

#include <algorithm>
#include <cmath>

namespace plat {
namespace {

constexpr int kItems = 10;
constexpr int kMinCell = 6;      // a row of cells narrower than this is not worth showing
constexpr int kUnderHeight = 3;  // the bar under the item, in picture pixels

int Scaled(int v, double s) {
    return static_cast<int>(std::lround(v * s));
}

}  // namespace

std::vector<MarkerBox> ShopMarker(const Rect& picture, const GameShape& shape, int cursor) {
    const double s = static_cast<double>(picture.w) / shape.width;
    const Rect& item = shape.shopItem;
    const int itemX = item.x + cursor * shape.shopStep;

    const int height = std::max(3, Scaled(4, s)), gap = std::max(1, Scaled(1, s));
    if (picture.y >= height + gap) {
        return {
            {Rect{picture.x + Scaled(itemX, s), picture.y - gap - height, Scaled(item.w, s), height}, true}};
    }
    const int margin = std::max(2, Scaled(4, s));
    const int cell = std::min(Scaled(shape.shopStep, s), (picture.x - 2 * margin) / kItems);
    if (cell >= kMinCell) {
        std::vector<MarkerBox> row;
        row.reserve(kItems);
        const int left = picture.x - margin - kItems * cell, top = picture.y + Scaled(item.y, s);
        const int size = cell - std::max(1, cell / 8);
        for (int i = 0; i < kItems; ++i) row.push_back({Rect{left + i * cell, top, size, size}, i == cursor});
        return row;
    }
    const Rect under{itemX + 2, item.y + item.h + 1, item.w - 4, kUnderHeight};
    return {{Rect{picture.x + Scaled(under.x, s), picture.y + Scaled(under.y, s),
                  std::max(1, Scaled(under.w, s)), std::max(1, Scaled(under.h, s))},
             true}};
}

Rect ShopMarkerArea(const GameShape& shape) {
    const Rect& item = shape.shopItem;
    return Rect{item.x - 1, item.y + item.h, kItems * shape.shopStep + 2,
                kUnderHeight + 2};  // and the rounding
}

}  // namespace plat
