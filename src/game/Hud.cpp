// The read-outs drawn over the scene: bitmap-font text, stage and score, the item bar, the spare
// lives and the timed message in the middle of the screen.
#include <string>

#include "game/CGame.h"

namespace {

constexpr int32_t kScoreRight = 790;

constexpr int32_t kPulseTop = 255;
constexpr ColorRef kMarkGreen = 0x00FF00;

}  // namespace

// Only the capital letters have glyphs: a blank leaves its cell empty, and any other character is
// skipped the same way rather than reaching for a slot outside the font.
int CGame::DrawString(int32_t x, int32_t y, const std::string& text) {
    const int32_t w = m_display.GetSlotWidth(kSlotLetter);
    const int32_t h = m_display.GetSlotHeight(kSlotLetter);
    int32_t left = x;
    for (const char c : text) {
        if (c >= 'A' && c <= 'Z') m_display.Blit(left, y, w, h, c - 'A' + kSlotLetter, 0, 0, kAnchorTopLeft);
        left += w;
    }
    return 1;
}

// Right-aligned decimal digits ending at x = right - 1. A minus sign keeps its cell but has no glyph.
void CGame::DrawNumber(int32_t value, int32_t right) {
    const std::string text = std::to_string(value);
    const int32_t w = m_display.GetSlotWidth(kSlotDigit);
    const int32_t h = m_display.GetSlotHeight(kSlotDigit);
    int32_t left = right - w * static_cast<int32_t>(text.size());
    for (const char c : text) {
        if (c >= '0' && c <= '9')
            m_display.Blit(left, kReadoutY, w, h, c - '0' + kSlotDigit, 0, 0, kAnchorTopLeft);
        left += w;
    }
}

int CGame::DrawHud() {
    const int32_t w = m_display.GetSlotWidth(kSlotLetter);
    DrawString(10, kReadoutY, "STAGE");
    DrawString(kScoreRight - w * (5 + 5), kReadoutY, "SCORE");  // room for the label and five digits
    DrawNumber(m_nScore, kScoreRight);
    DrawNumber(m_nStage, 9 * w);
    return 1;
}

int CGame::DrawItemBar() {
    if (!m_bItemBarPlaced) {
        m_nItemBarX = (kScreenWidth - m_display.GetSlotWidth(kSlotItemBar)) / 2;
        m_bItemBarPlaced = true;
    }
    m_display.Blit(m_nItemBarX, kReadoutY, m_display.GetSlotWidth(kSlotItemBar),
                   m_display.GetSlotHeight(kSlotItemBar), kSlotItemBar, 0, 0, kAnchorTopLeft);

    const int32_t next = m_nPulseValue + m_nPulseStep;
    if (next >= kPulseTop || next <= 0) m_nPulseStep = static_cast<int8_t>(-m_nPulseStep);
    m_nPulseValue += m_nPulseStep;
    const ColorRef pulse = (static_cast<ColorRef>(m_nPulseValue) << 8) | 0xFF;  // red towards yellow

    for (const ShopItem& item : kShop) {
        if (m_nScore >= item.price)
            m_display.DrawRectOutline(m_nItemBarX + kItemCellWidth * item.cell, kReadoutY, kItemOutlineWidth,
                                      14, pulse);
    }

    // The items that stay on until the next stage or lost life, with whether each is on.
    const bool active[] = {m_bWidePaddle == 1, m_bMurkPaddles == 1, m_bGlueMode == 1,
                           m_bPierceMode == 1, m_bRocketMode == 1,  m_bAutoPaddle == 1};
    constexpr int kModeItems[] = {1, 2, 4, 5, 7, 8};
    for (int i = 0; i < 6; ++i) {
        const int32_t left = m_nItemBarX + kItemCellWidth * kShop[kModeItems[i]].cell + 2;
        if (active[i]) m_display.DrawRectOutline(left, 7, 11, 2, kMarkGreen);
    }
    return 1;
}

// The life in play is not shown: one bar per spare life.
int CGame::DrawLives() {
    const int32_t w = m_display.GetSlotWidth(kSlotLife);
    const int32_t h = m_display.GetSlotHeight(kSlotLife);
    for (int32_t i = 0; i < m_nLives - 1; ++i) {
        m_display.Blit(10 + i * (w + 2), 590 - h, w, h, kSlotLife, 0, 0, kAnchorTopLeft);
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
    const int32_t w = m_display.GetSlotWidth(kSlotLetter);
    const int32_t h = m_display.GetSlotHeight(kSlotLetter);
    const int32_t length = static_cast<int32_t>(m_strMessage.size());
    DrawString((kScreenWidth - length * w) / 2, (kScreenHeight - h) / 2, m_strMessage);
    return 1;
}
