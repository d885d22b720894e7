#include <cstdint>
#include <memory>

#include "game/CGame.h"

namespace {

enum class Cut {
    Part,           // frames of the slot's size taken from a strip, unscaled
    Whole,          // the whole picture in a slot of the picture's own size
    Stretched,      // the whole picture scaled to the slot's size
    PartStretched,  // frames of the strip scaled to the slot's size
};

// One picture file and the run of slots it fills. Frame k of a strip is taken at (stepX * k, stepY * k).
struct Sheet {
    const char* file;
    SlotIndex first;
    int32_t count;
    Cut cut;
    int32_t width;
    int32_t height;
    int32_t stepX;
    int32_t stepY;
    int32_t frameWidth;  // PartStretched: the size of a frame in the picture
    int32_t frameHeight;
};

// In slot order, which is the order the files are read in.
constexpr Sheet kSheets[] = {
    {"sprite/VantlerAni.bmp", 0, 10, Cut::Part, 76, 10, 0, 10, 0, 0},
    {"sprite/Ball.bmp", 10, 8, Cut::Part, 11, 11, 11, 0, 0, 0},
    {"sprite/Block.bmp", 18, 1, Cut::Whole, 0, 0, 0, 0, 0, 0},
    {"sprite/BlockRed.bmp", 19, 1, Cut::Whole, 0, 0, 0, 0, 0, 0},
    {"sprite/BlockGreen.bmp", 20, 1, Cut::Whole, 0, 0, 0, 0, 0, 0},
    {"sprite/BlockBlue.bmp", 21, 1, Cut::Whole, 0, 0, 0, 0, 0, 0},
    {"sprite/BlockGold.bmp", 22, 1, Cut::Whole, 0, 0, 0, 0, 0, 0},
    {"sprite/BlockSilver.bmp", 23, 1, Cut::Whole, 0, 0, 0, 0, 0, 0},
    {"sprite/Broken.bmp", 24, 1, Cut::Whole, 0, 0, 0, 0, 0, 0},
    {"sprite/BG.bmp", 25, 1, Cut::Stretched, 872, 600, 0, 0, 0, 0},
    {"sprite/Number.bmp", 26, 10, Cut::Part, 16, 15, 16, 0, 0, 0},
    {"sprite/Alphabet.bmp", 36, 26, Cut::Part, 16, 15, 16, 0, 0, 0},
    {"sprite/ItemBar.bmp", 62, 1, Cut::Stretched, 160, 23, 0, 0, 0, 0},
    {"sprite/Life.bmp", 63, 1, Cut::Stretched, 30, 4, 0, 0, 0, 0},
    {"sprite/Bullet.bmp", 64, 1, Cut::Stretched, 17, 38, 0, 0, 0, 0},
    {"sprite/BulletExt.bmp", 65, 7, Cut::Part, 13, 13, 13, 0, 0, 0},
    {"sprite/Particle.bmp", 72, 5, Cut::Part, 6, 6, 6, 0, 0, 0},
    {"sprite/MurkVantler.bmp", 77, 1, Cut::Stretched, 76, 10, 0, 0, 0, 0},
    {"sprite/VantlerAni.bmp", 78, 10, Cut::PartStretched, 136, 10, 0, 10, 76, 10},
    {"sprite/Intro.bmp", 88, 1, Cut::Stretched, 800, 600, 0, 0, 0, 0},
};

constexpr const char* kSoundFiles[kSoundSlots] = {
    "sound/Vantler.wav", "sound/Block.wav",  "sound/Bounce.wav", "sound/Metal.wav",     "sound/Start.wav",
    "sound/UseItem.wav", "sound/Giggle.wav", "sound/Rocket.wav", "sound/NotEnough.wav",
};

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
    m_display.Init(1, 800, 600, 16);
    m_sound.Create();
    m_keyboard.Create();
    m_mouse.Create();
    m_display.AllocSlots(kSpriteSlots);
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
