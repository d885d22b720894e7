#include "gfx/CDisplay.h"

Surface::Surface(int32_t w, int32_t h) : width(w), height(h), pixels(new uint16_t[static_cast<size_t>(w) * h]()) {}
void CDisplay::CreateDirectDraw() {}
int CDisplay::Init(int32_t, int32_t, int32_t, int32_t) { return 0; }
void CDisplay::AllocSlots(int32_t) {}
int CDisplay::CreateSlot(SlotIndex, int32_t, int32_t) { return 0; }
int CDisplay::GetSlotDC(SlotIndex, SlotDC*) { return 0; }
int CDisplay::ReleaseSlotDC(SlotIndex, SlotDC*) { return 0; }
int32_t CDisplay::GetSlotWidth(SlotIndex) const { return 0; }
int32_t CDisplay::GetSlotHeight(SlotIndex) const { return 0; }
int CDisplay::Blit(int32_t, int32_t, int32_t, int32_t, SlotIndex, int32_t, int32_t, int32_t) { return 0; }
int CDisplay::DrawRectOutline(int32_t, int32_t, int32_t, int32_t, ColorRef) { return 0; }
int CDisplay::DrawBevelBox(int32_t, int32_t, int32_t, int32_t, int32_t, ColorRef, ColorRef, ColorRef) { return 0; }
void CDisplay::Flip() {}
void CDisplay::Release() {}
uint16_t CDisplay::ConvertColor(ColorRef) { return 0; }
