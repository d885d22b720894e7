#include "gfx/CDibImage.h"

CDibImage::CDibImage(const char*) {}
CDibImage::~CDibImage() {}
bool CDibImage::IsLoaded() const { return false; }
void CDibImage::Draw(int32_t, int32_t, SlotDC*) {}
void CDibImage::DrawStretched(int32_t, int32_t, int32_t, int32_t, SlotDC*) {}
void CDibImage::DrawPart(int32_t, int32_t, int32_t, int32_t, SlotDC*, int32_t, int32_t) {}
void CDibImage::DrawPartStretched(int32_t, int32_t, int32_t, int32_t, SlotDC*, int32_t, int32_t, int32_t, int32_t) {}
