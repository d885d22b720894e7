// Frame costs of the display's drawing operations.
#include <benchmark/benchmark.h>

#include "game/Catalogue.h"
#include "gfx/CDisplay.h"
#include "platform/Platform.h"

namespace {

// Presents nowhere: only the display's own work is measured.
class NullBackend : public plat::Backend {
public:
    bool VideoSetMode(int, int, bool) override { return true; }
};

struct Scene {
    NullBackend backend;
    plat::BackendScope installed{backend};
    CDisplay display;
    Scene() {
        display.CreateDirectDraw();
        display.Init(1, kScreenWidth, kScreenHeight, kScreenBpp);
        display.AllocSlots(2);
        Fill(0, kCellWidth, kCellHeight, false);  // a block: opaque
        Fill(1, 872, 600, true);                  // the background sheet, with see-through pixels
    }
    void Fill(SlotIndex slot, int w, int h, bool holes) {
        display.CreateSlot(slot, w, h);
        SlotDC dc;
        display.GetSlotDC(slot, &dc);
        for (int i = 0; i < w * h; ++i)
            dc.surface->pixels[i] = (holes && i % 7 == 0) ? 0 : static_cast<uint16_t>(i | 1);
        display.ReleaseSlotDC(slot, &dc);
    }
};

// A full block field: 15 rows of 15 blocks, as the game draws every frame.
void BM_BlitBlockField(benchmark::State& state) {
    Scene scene;
    for (auto _ : state) {
        for (int r = 0; r < 15; ++r) {
            for (int c = 0; c < 15; ++c)
                scene.display.Blit(kFieldLeft + kCellWidth * c, kFieldTop + kCellHeight * r, kCellWidth,
                                   kCellHeight, 0, 0, 0, kAnchorTopLeft);
        }
        benchmark::DoNotOptimize(scene.display.BackBuffer()->pixels[0]);
    }
    state.SetItemsProcessed(state.iterations() * 225);
}
BENCHMARK(BM_BlitBlockField);

void BM_BlitBackground(benchmark::State& state) {
    Scene scene;
    for (auto _ : state) {
        scene.display.Blit(0, 0, kScreenWidth, kScreenHeight, 1, 36, 0, kAnchorTopLeft);
        benchmark::DoNotOptimize(scene.display.BackBuffer()->pixels[0]);
    }
}
BENCHMARK(BM_BlitBackground);

void BM_BevelBox(benchmark::State& state) {
    Scene scene;
    for (auto _ : state) {
        scene.display.DrawBevelBox(300, 200, 40, 15, 10, 255, 255, 255);
        benchmark::DoNotOptimize(scene.display.BackBuffer()->pixels[0]);
    }
}
BENCHMARK(BM_BevelBox);

void BM_Flip(benchmark::State& state) {
    Scene scene;
    for (auto _ : state) scene.display.Flip();
}
BENCHMARK(BM_Flip);

}  // namespace
