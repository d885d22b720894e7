// A frame's calls drawn at the flip, only where they differ from the last frame's, must give the
// picture that drawing every call at once gives, frame after frame, whatever the calls are.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "gfx/CDisplay.h"
#include "support/FakeBackend.h"

namespace {

constexpr int kWidth = 800, kHeight = 600;

class RecordingBackend : public FakeBackend {
public:
    bool VideoWholeFrames() override { return wholeFrames; }
    void VideoPresentChanged(const uint16_t* pixels, int width, int height,
                             const std::vector<plat::Rect>& rects) override {
        changed = rects;
        VideoPresent(pixels, width, height);
    }
    bool wholeFrames = false;
    std::vector<plat::Rect> changed;
};

// One drawing call with its arguments, replayed on both displays.
struct Call {
    int kind, x, y, w, h, a, b;
    void On(CDisplay& d) const {
        if (kind == 0) d.Blit(x, y, w, h, a % 4, b % 9 - 4, b % 7 - 3, b % 9);
        if (kind == 1) d.DrawRectOutline(x, y, w, h, static_cast<ColorRef>(a * 0x010203));
        if (kind == 2)
            d.DrawBevelBox(x, y, w, h, b % 40 - 5, 0x00FFFFFF, static_cast<ColorRef>(a * 77), 0x00404040);
    }
};

Call RandomCall(std::mt19937& rng) {
    auto in = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    return Call{in(0, 2),     in(-100, kWidth + 50), in(-100, kHeight + 50),
                in(-20, 300), in(-20, 200),          in(0, 1000),
                in(0, 1000)};
}

void MakeSlots(CDisplay& d) {
    d.AllocSlots(4);
    const int sizes[4][2] = {{kWidth + 80, kHeight}, {40, 15}, {11, 11}, {64, 64}};
    for (int s = 0; s < 4; ++s) {
        d.CreateSlot(s, sizes[s][0], sizes[s][1]);
        SlotDC dc;
        d.GetSlotDC(s, &dc);
        for (int i = 0; i < sizes[s][0] * sizes[s][1]; ++i) {
            // Slot 0 opaque (a background); the others with colour-key holes.
            dc.surface->pixels[i] =
                static_cast<uint16_t>(s == 0 ? 1 + i % 4093 : (i % 5 == 0 ? 0 : i * (s + 3)));
        }
        d.ReleaseSlotDC(s, &dc);
    }
}

}  // namespace

TEST(DeferredDrawing, PresentsWhatDrawingAtOnceDoesAndSaysWhereItChanged) {
    RecordingBackend backend;
    CDisplay deferred, atOnce;
    deferred.CreateDirectDraw();
    atOnce.CreateDirectDraw();
    ASSERT_EQ(deferred.Init(1, kWidth, kHeight, 16), 1);
    backend.wholeFrames = true;
    ASSERT_EQ(atOnce.Init(1, kWidth, kHeight, 16), 1);
    MakeSlots(deferred);
    MakeSlots(atOnce);

    std::mt19937 rng(7);
    std::vector<Call> scene = {{0, 0, 0, kWidth, kHeight, 0, 4 + 9 * 40}};  // the background first
    for (int i = 0; i < 40; ++i) scene.push_back(RandomCall(rng));
    std::vector<uint16_t> before(kWidth * kHeight, 0);
    for (int frame = 0; frame < 300; ++frame) {
        SCOPED_TRACE(frame);
        // Most frames move a call or two; some change nothing, some move the background.
        for (int n = frame % 3; n > 0; --n) scene[1 + rng() % (scene.size() - 1)] = RandomCall(rng);
        if (frame % 17 == 0) scene[0].x = (scene[0].x + 1) % 4;  // by one pixel
        if (frame % 50 == 25) scene.erase(scene.begin());        // a frame without the background
        for (const Call& c : scene) c.On(atOnce);
        atOnce.Flip();
        const std::vector<uint16_t> expected = backend.presented;
        for (const Call& c : scene) c.On(deferred);
        if (frame % 41 == 40) {
            ASSERT_NE(deferred.BackBuffer(), nullptr);  // a look before the flip
        }
        backend.changed.assign(1, plat::Rect{0, 0, kWidth, kHeight});
        deferred.Flip();
        ASSERT_EQ(backend.presented, expected);
        std::vector<uint16_t> outside = before;
        for (const plat::Rect& r : backend.changed) {
            for (int y = r.y; y < r.y + r.h; ++y) {
                std::copy_n(&expected[y * kWidth + r.x], r.w, &outside[y * kWidth + r.x]);
            }
        }
        ASSERT_EQ(outside, expected);  // nothing changed outside the rectangles
        before = expected;
    }
}
