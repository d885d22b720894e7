// Where the pad's shop cursor shows: beside the picture where there is room, else just under the item.
#include <gtest/gtest.h>

#include "platform/present/ShopMarker.h"

namespace {

using plat::Rect;

constexpr plat::GameShape kMarkerShape{800, 600, 15, {320, 10, 15, 23}, 16};

TEST(ShopMarker, BesideThePictureWhereThereIsRoomElseUnderTheItem) {
    const struct {
        const char* what;
        Rect picture;
        size_t boxes;
        Rect cursorBox;
    } kCases[] = {
        {"a bar above: over the item", {0, 50, 800, 600}, 1, {352, 45, 15, 4}},
        {"full screen 1920 x 1080: ten cells in the left bar", {240, 0, 1440, 1080}, 10, {57, 18, 20, 20}},
        {"a window at 2x with no bar: under the item, off the bar", {0, 0, 1600, 1200}, 1, {708, 68, 22, 6}},
        {"a window at 1x", {0, 0, 800, 600}, 1, {354, 34, 11, 3}},
    };
    for (const auto& c : kCases) {
        const std::vector<plat::MarkerBox> boxes = plat::ShopMarker(c.picture, kMarkerShape, 2);
        ASSERT_EQ(boxes.size(), c.boxes) << c.what;
        int lit = 0;
        for (const plat::MarkerBox& b : boxes) {
            lit += b.lit;
            if (b.lit) {
                EXPECT_EQ(b.rect, c.cursorBox) << c.what;
            }
            const bool inPicture = b.rect.x < c.picture.x + c.picture.w &&
                                   b.rect.x + b.rect.w > c.picture.x &&
                                   b.rect.y < c.picture.y + c.picture.h && b.rect.y + b.rect.h > c.picture.y;
            EXPECT_EQ(inPicture, c.picture.x == 0 && c.picture.y == 0) << c.what;
        }
        EXPECT_EQ(lit, 1) << c.what;
    }
}

}  // namespace
