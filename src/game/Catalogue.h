// What each number of the game stands for, written once: the screen, the block field, the sprite
// slots and the sheets they are cut from, the sound effects, the block kinds and the shop. Plain
// constants with no platform behind them, so the tools and tests read the same table as the game.
#pragma once

#include <cstdint>

#include "input/DIK.h"

// ---- the screen ----
inline constexpr int32_t kScreenWidth = 800;
inline constexpr int32_t kScreenHeight = 600;
inline constexpr int32_t kScreenBpp = 16;
// Milliseconds from one frame to the next.
inline constexpr uint32_t kFrameInterval = 15;

// The read-outs' row at the top, and the item bar centred on it.
inline constexpr int32_t kReadoutY = 10;
inline constexpr int32_t kItemBarWidth = 160;
inline constexpr int32_t kItemBarHeight = 23;

// ---- the block field: 15 x 20 cells of 40 x 15 pixels from (100, 55) ----
inline constexpr int kColumns = 15;
inline constexpr int kRows = 20;
inline constexpr int kCells = kColumns * kRows;
inline constexpr int32_t kFieldLeft = 100;
inline constexpr int32_t kFieldTop = 55;
inline constexpr int32_t kCellWidth = 40;
inline constexpr int32_t kCellHeight = 15;
inline constexpr int32_t kFieldRight = kFieldLeft + kColumns * kCellWidth;
inline constexpr int32_t kFieldBottom = kFieldTop + kRows * kCellHeight;

// The screen position of a cell's left edge and top edge.
constexpr int32_t CellLeft(int32_t column) {
    return kFieldLeft + kCellWidth * column;
}
constexpr int32_t CellTop(int32_t row) {
    return kFieldTop + kCellHeight * row;
}

// The column and row a screen point falls in, the divisions truncating toward zero (so points up to
// a cell's size left of or above the field give column or row 0), and whether they are on the grid.
constexpr int32_t ColumnOf(int32_t x) {
    return (x - kFieldLeft) / kCellWidth;
}
constexpr int32_t RowOf(int32_t y) {
    return (y - kFieldTop) / kCellHeight;
}
constexpr bool InGrid(int32_t column, int32_t row) {
    return column >= 0 && column < kColumns && row >= 0 && row < kRows;
}

// ---- sprite slots ----
inline constexpr int kSpriteSlots = 89;
inline constexpr int32_t kSlotPaddle = 0;  // ten frames: rest, then the hit flash
inline constexpr int32_t kPaddleFrames = 10;
inline constexpr int32_t kSlotBall = 10;
inline constexpr int32_t kSlotBallTrail = 11;  // seven frames, newest first
inline constexpr int32_t kSlotBackground = 25;
inline constexpr int32_t kSlotDigit = 26;   // '0' to '9'
inline constexpr int32_t kSlotLetter = 36;  // 'A' to 'Z'; also the text glyph size
inline constexpr int32_t kSlotItemBar = 62;
inline constexpr int32_t kSlotLife = 63;
inline constexpr int32_t kSlotRocket = 64;
inline constexpr int32_t kSlotFlame = 65;     // seven exhaust frames, newest first
inline constexpr int32_t kSlotParticle = 72;  // five chips: ivory, red, green, blue, gold
inline constexpr int32_t kSlotMurkPaddle = 77;
inline constexpr int32_t kSlotWidePaddle = 78;  // the ten paddle frames stretched
inline constexpr int32_t kSlotIntro = 88;

enum class Cut {
    Part,           // frames of the slot's size taken from a strip, unscaled
    Whole,          // the whole picture in a slot of the picture's own size
    Stretched,      // the whole picture scaled to the slot's size
    PartStretched,  // frames of the strip scaled to the slot's size
};

// One picture file and the run of slots it fills. Frame k of a strip is taken at (stepX * k, stepY * k).
struct Sheet {
    const char* file;
    int32_t first;
    int32_t count;
    Cut cut;
    int32_t width;
    int32_t height;
    int32_t stepX;
    int32_t stepY;
    int32_t frameWidth;  // PartStretched: the size of a frame in the picture
    int32_t frameHeight;
};

// What all the sheets' decoded pictures may take between them at start-up: the largest picture the
// reader takes (256 MiB decoded) and room for the rest (ours take a few MB in all). The picture that
// would pass it is refused as broken.
inline constexpr int64_t kPictureBudget = int64_t{320} << 20;

// In slot order, which is the order the files are read in.
inline constexpr Sheet kSheets[] = {
    {"sprite/VantlerAni.bmp", kSlotPaddle, kPaddleFrames, Cut::Part, 76, 10, 0, 10, 0, 0},
    {"sprite/Ball.bmp", kSlotBall, 8, Cut::Part, 11, 11, 11, 0, 0, 0},
    {"sprite/Block.bmp", 18, 1, Cut::Whole, 0, 0, 0, 0, 0, 0},
    {"sprite/BlockRed.bmp", 19, 1, Cut::Whole, 0, 0, 0, 0, 0, 0},
    {"sprite/BlockGreen.bmp", 20, 1, Cut::Whole, 0, 0, 0, 0, 0, 0},
    {"sprite/BlockBlue.bmp", 21, 1, Cut::Whole, 0, 0, 0, 0, 0, 0},
    {"sprite/BlockGold.bmp", 22, 1, Cut::Whole, 0, 0, 0, 0, 0, 0},
    {"sprite/BlockSilver.bmp", 23, 1, Cut::Whole, 0, 0, 0, 0, 0, 0},
    {"sprite/Broken.bmp", 24, 1, Cut::Whole, 0, 0, 0, 0, 0, 0},
    {"sprite/BG.bmp", kSlotBackground, 1, Cut::Stretched, 872, kScreenHeight, 0, 0, 0, 0},
    {"sprite/Number.bmp", kSlotDigit, 10, Cut::Part, 16, 15, 16, 0, 0, 0},
    {"sprite/Alphabet.bmp", kSlotLetter, 26, Cut::Part, 16, 15, 16, 0, 0, 0},
    {"sprite/ItemBar.bmp", kSlotItemBar, 1, Cut::Stretched, kItemBarWidth, kItemBarHeight, 0, 0, 0, 0},
    {"sprite/Life.bmp", kSlotLife, 1, Cut::Stretched, 30, 4, 0, 0, 0, 0},
    {"sprite/Bullet.bmp", kSlotRocket, 1, Cut::Stretched, 17, 38, 0, 0, 0, 0},
    {"sprite/BulletExt.bmp", kSlotFlame, 7, Cut::Part, 13, 13, 13, 0, 0, 0},
    {"sprite/Particle.bmp", kSlotParticle, 5, Cut::Part, 6, 6, 6, 0, 0, 0},
    {"sprite/MurkVantler.bmp", kSlotMurkPaddle, 1, Cut::Stretched, 76, 10, 0, 0, 0, 0},
    {"sprite/VantlerAni.bmp", kSlotWidePaddle, kPaddleFrames, Cut::PartStretched, 136, 10, 0, 10, 76, 10},
    {"sprite/Intro.bmp", kSlotIntro, 1, Cut::Stretched, kScreenWidth, kScreenHeight, 0, 0, 0, 0},
};

// ---- block kinds: a cell's kind is the sprite slot that shows it ----
enum BlockKind : int8_t {
    kEmptyCell = -1,
    Block = 18,
    BlockRed = 19,
    BlockGreen = 20,
    BlockBlue = 21,
    BlockGold = 22,
    BlockSilver = 23,
    Broken = 24,
};

// Empty cells hold -1; a cell no stage was ever loaded into holds 0, which is no block either.
constexpr bool IsBlock(int8_t sprite) {
    return sprite >= Block && sprite <= Broken;
}

// Stage file codes 0 to 6 are the kinds in order; anything else is an empty cell.
constexpr int8_t KindOfCode(int32_t code) {
    return code >= 0 && code <= Broken - Block ? static_cast<int8_t>(Block + code) : int8_t{kEmptyCell};
}

// The particle chip a block's spray is drawn with, plain to broken.
inline constexpr int8_t kSprayOfKind[] = {
    kSlotParticle,     kSlotParticle + 1, kSlotParticle + 2, kSlotParticle + 3,
    kSlotParticle + 4, kSlotParticle,     kSlotParticle,
};

constexpr int8_t SprayOf(int8_t kind) {
    return kSprayOfKind[kind - Block];
}

// ---- sound effects ----
enum SoundEffect : int {
    kSoundVantler,    // a ball meets the paddle
    kSoundBlock,      // a block is destroyed
    kSoundBounce,     // a ball bounces off a wall or the top
    kSoundMetal,      // a hit that destroys nothing
    kSoundStart,      // the stage-start banner ends
    kSoundUseItem,    // an item is bought
    kSoundGiggle,     // the last ball in play is lost
    kSoundRocket,     // a rocket is launched
    kSoundNotEnough,  // the score is too low for an item
};
inline constexpr int kSoundSlots = 9;

inline constexpr const char* kSoundFiles[kSoundSlots] = {
    "sound/Vantler.wav", "sound/Block.wav",  "sound/Bounce.wav", "sound/Metal.wav",     "sound/Start.wav",
    "sound/UseItem.wav", "sound/Giggle.wav", "sound/Rocket.wav", "sound/NotEnough.wav",
};

// ---- the shop ----
struct ShopItem {
    int key;       // scan code of its number key
    int32_t cell;  // place on the item bar, 16 pixels apart
    int32_t price;
    const char* message;  // shown when bought; null: none
    const char* name;     // how the intro lists it
};

// By item number, which is also the number on its key.
inline constexpr ShopItem kShop[10] = {
    {DIK_0, 9, 1000, nullptr, "NEXT STAGE"},
    {DIK_1, 0, 100, "WIDE VANTLER", "WIDE VANTLER"},
    {DIK_2, 1, 100, "MURK VANTLERS", "MURK VANTLERS"},
    {DIK_3, 2, 200, "BRANCH BALL", "BRANCH BALL"},
    {DIK_4, 3, 300, "GLUE MODE", "GLUE MODE"},
    {DIK_5, 4, 400, "PIERCE MODE", "PIERCE MODE"},
    {DIK_6, 5, 500, "FULL BRANCH BALL", "FULL BRANCH BALL"},
    {DIK_7, 6, 600, "PRESS LEFT MOUSE BUTTON TO LAUNCH ROCKET", "ROCKET"},
    {DIK_8, 7, 700, "AUTOMATIC VANTLER", "AUTOMATIC VANTLER"},
    {DIK_9, 8, 800, "ONE MORE VANTLER", "ONE MORE VANTLER"},
};
inline constexpr int32_t kItemCellWidth = 16;
inline constexpr int32_t kItemOutlineWidth = 15;  // an item's outline on the bar, 14 high

inline constexpr int32_t kItemKeyDelay = 20;  // frames without keys after any action
inline constexpr int32_t kBranchLimit = 32;   // no ball splits once more are in play
