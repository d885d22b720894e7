// A display opened at 800 x 600 x 16 with every sprite slot made at its catalogue size, for
// tests that read back what a frame draws.
#pragma once

#include <cstdint>

#include "game/CGame.h"

struct SlotSize {
    int32_t w, h;
};

inline SlotSize CatalogueSize(SlotIndex slot) {
    if (slot <= 9) return {76, 10};
    if (slot <= 17) return {11, 11};
    if (slot <= 24) return {40, 15};
    if (slot == 25) return {872, 600};
    if (slot <= 61) return {16, 15};
    if (slot == 62) return {160, 23};
    if (slot == 63) return {30, 4};
    if (slot == 64) return {17, 38};
    if (slot <= 71) return {13, 13};
    if (slot <= 76) return {6, 6};
    if (slot == 77) return {76, 10};
    if (slot <= 87) return {136, 10};
    return {800, 600};
}

// Sets every pixel of a slot's surface to pixel(x, y).
template <class PixelAt>
void PaintSlot(CDisplay& display, SlotIndex slot, PixelAt pixel) {
    SlotDC dc;
    display.GetSlotDC(slot, &dc);
    if (dc.surface != nullptr) {
        for (int32_t y = 0; y < dc.surface->height; ++y) {
            for (int32_t x = 0; x < dc.surface->width; ++x) dc.surface->Row(y)[x] = pixel(x, y);
        }
    }
    display.ReleaseSlotDC(slot, &dc);
}

// Opens the display and makes every slot, each painted with pixelOf(slot, x, y).
template <class PixelOf>
void OpenCatalogueDisplay(CDisplay& display, PixelOf pixelOf) {
    display.CreateDirectDraw();
    display.Init(1, 800, 600, 16);
    display.AllocSlots(kSpriteSlots);
    for (SlotIndex slot = 0; slot < kSpriteSlots; ++slot) {
        const SlotSize size = CatalogueSize(slot);
        display.CreateSlot(slot, size.w, size.h);
        PaintSlot(display, slot, [&](int32_t x, int32_t y) { return pixelOf(slot, x, y); });
    }
}
