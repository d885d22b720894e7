// The read-outs drawn over the scene: bitmap-font text, stage and score, the item bar, the spare
// lives and the timed message in the middle of the screen.
#include <string>

#include "game/CGame.h"

namespace {

constexpr int32_t kTopLeft = 4;  // Blit anchor
constexpr SlotIndex kFirstDigit = 26;
constexpr SlotIndex kFirstLetter = 36;
constexpr SlotIndex kItemBar = 62;
constexpr SlotIndex kLifeBar = 63;

constexpr int32_t kScreenWidth = 800;
constexpr int32_t kScreenHeight = 600;
constexpr int32_t kReadoutY = 10;
constexpr int32_t kScoreRight = 790;

constexpr int32_t kPulseTop = 255;
constexpr ColorRef kMarkGreen = 0x00FF00;

// Outlines by the price of the cells they frame, dearest first.
struct Affordable {
    int32_t price;
    int32_t offset;
};
constexpr Affordable kAffordable[] = {{1000, 144}, {800, 128}, {700, 112}, {600, 96}, {500, 80},
                                      {400, 64},   {300, 48},  {200, 32},  {100, 0},  {100, 16}};

}  // namespace

// Only the capital letters have glyphs: a blank leaves its cell empty, and any other character is
// skipped the same way rather than reaching for a slot outside the font.
int CGame::DrawString(int32_t x, int32_t y, const std::string& text) {
    const int32_t w = m_display.GetSlotWidth(kFirstLetter);
    const int32_t h = m_display.GetSlotHeight(kFirstLetter);
    int32_t left = x;
    for (const char c : text) {
        if (c >= 'A' && c <= 'Z') m_display.Blit(left, y, w, h, c - 'A' + kFirstLetter, 0, 0, kTopLeft);
        left += w;
    }
    return 1;
}

// Right-aligned decimal digits ending at x = right - 1. A minus sign keeps its cell but has no glyph.
void CGame::DrawNumber(int32_t value, int32_t right) {
    const std::string text = std::to_string(value);
    const int32_t w = m_display.GetSlotWidth(kFirstDigit);
    const int32_t h = m_display.GetSlotHeight(kFirstDigit);
    int32_t left = right - w * static_cast<int32_t>(text.size());
    for (const char c : text) {
        if (c >= '0' && c <= '9')
            m_display.Blit(left, kReadoutY, w, h, c - '0' + kFirstDigit, 0, 0, kTopLeft);
        left += w;
    }
}

int CGame::DrawHud() {
    const int32_t w = m_display.GetSlotWidth(kFirstLetter);
    DrawString(10, kReadoutY, "STAGE");
    DrawString(kScoreRight - w * (5 + 5), kReadoutY, "SCORE");  // room for the label and five digits
    DrawNumber(m_nScore, kScoreRight);
    DrawNumber(m_nStage, 9 * w);
    return 1;
}

int CGame::DrawItemBar() {
    if (!m_bItemBarPlaced) {
        m_nItemBarX = (kScreenWidth - m_display.GetSlotWidth(kItemBar)) / 2;
        m_bItemBarPlaced = true;
    }
    m_display.Blit(m_nItemBarX, kReadoutY, m_display.GetSlotWidth(kItemBar),
                   m_display.GetSlotHeight(kItemBar), kItemBar, 0, 0, kTopLeft);

    const int32_t next = m_nPulseValue + m_nPulseStep;
    if (next >= kPulseTop || next <= 0) m_nPulseStep = static_cast<int8_t>(-m_nPulseStep);
    m_nPulseValue += m_nPulseStep;
    const ColorRef pulse = (static_cast<ColorRef>(m_nPulseValue) << 8) | 0xFF;  // red towards yellow

    for (const Affordable& cell : kAffordable) {
        if (m_nScore >= cell.price)
            m_display.DrawRectOutline(m_nItemBarX + cell.offset, kReadoutY, 15, 14, pulse);
    }

    const bool active[] = {m_bWidePaddle == 1, m_bMurkPaddles == 1, m_bGlueMode == 1,
                           m_bPierceMode == 1, m_bRocketMode == 1,  m_bAutoPaddle == 1};
    const int32_t markOffset[] = {2, 18, 50, 66, 98, 114};
    for (int i = 0; i < 6; ++i) {
        if (active[i]) m_display.DrawRectOutline(m_nItemBarX + markOffset[i], 7, 11, 2, kMarkGreen);
    }
    return 1;
}

// The life in play is not shown: one bar per spare life.
int CGame::DrawLives() {
    const int32_t w = m_display.GetSlotWidth(kLifeBar);
    const int32_t h = m_display.GetSlotHeight(kLifeBar);
    for (int32_t i = 0; i < m_nLives - 1; ++i) {
        m_display.Blit(10 + i * (w + 2), 590 - h, w, h, kLifeBar, 0, 0, kTopLeft);
    }
    return 1;
}

// The counter is shared by every message: a new text set while one shows gets only the frames left.
int CGame::DrawTimedMessage(int32_t frames) {
    const int32_t shown = m_nMessageFrames++;
    if (shown > frames) {
        m_bMessage = 0;
        m_nMessageFrames = 0;
    }
    if (m_strMessage.empty()) return 0;
    const int32_t w = m_display.GetSlotWidth(kFirstLetter);
    const int32_t h = m_display.GetSlotHeight(kFirstLetter);
    const int32_t length = static_cast<int32_t>(m_strMessage.size());
    DrawString((kScreenWidth - length * w) / 2, (kScreenHeight - h) / 2, m_strMessage);
    return 1;
}
