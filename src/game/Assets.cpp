#include <cstdint>
#include <memory>

#include "game/CGame.h"

namespace {

void Paint(CDibImage& image, const Sheet& sheet, int32_t k, int32_t w, int32_t h, SlotDC* dc) {
    switch (sheet.cut) {
        case Cut::Part:
            image.DrawPart(0, 0, w, h, dc, sheet.stepX * k, sheet.stepY * k);
            break;
        case Cut::Whole:
            image.Draw(0, 0, dc);
            break;
        case Cut::Stretched:
            image.DrawStretched(0, 0, w, h, dc);
            break;
        case Cut::PartStretched:
            image.DrawPartStretched(0, 0, w, h, dc, sheet.stepX * k, sheet.stepY * k, sheet.frameWidth,
                                    sheet.frameHeight);
            break;
    }
}

// Creates each slot of the sheet and paints its frame into it. A slot that could not be created
// (no display) gives no surface to paint on, and is left alone.
void CutSheet(CDisplay& display, CDibImage& image, const Sheet& sheet) {
    for (int32_t k = 0; k < sheet.count; ++k) {
        const SlotIndex slot = sheet.first + k;
        const bool whole = sheet.cut == Cut::Whole;
        const int32_t w = whole ? image.GetWidth() : sheet.width;
        const int32_t h = whole ? image.GetHeight() : sheet.height;
        display.CreateSlot(slot, w, h);
        SlotDC dc;
        display.GetSlotDC(slot, &dc);
        if (dc.surface == nullptr) continue;
        Paint(image, sheet, k, w, h, &dc);
        display.ReleaseSlotDC(slot, &dc);
    }
}

}  // namespace

int CGame::LoadAssets() {
    m_display.CreateDirectDraw();
    m_display.Init(1, kScreenWidth, kScreenHeight, kScreenBpp);
    m_sound.Create();
    m_keyboard.Create();
    m_mouse.Create();
    m_display.AllocSlots(kSpriteSlots);
    const PictureBudget budget(kPictureBudget);
    for (const Sheet& sheet : kSheets) {
        // The image reports its own failure; its slots are still made at their sizes.
        auto image = std::make_unique<CDibImage>(sheet.file);
        m_pLoadImage = image.get();
        CutSheet(m_display, *image, sheet);
        m_pLoadImage = nullptr;
    }
    m_bIntro = 1;
    m_sound.AllocSlots(kSoundSlots);
    for (int i = 0; i < kSoundSlots; ++i) m_sound.LoadWav(i, kSoundFiles[i], 0);
    return 1;
}
